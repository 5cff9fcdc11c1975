#pragma once

#include <deque>
#include <optional>
#include <vector>

#include "shell/document_commands.h"

namespace rek {

// Answers the document commands' questions from a script and records what they showed.
class FakeDocumentUi : public DocumentUi {
  public:
    std::deque<SaveAnswer> saveAnswers;
    std::deque<std::optional<QString>> openPaths;
    std::deque<std::optional<QString>> savePaths;
    bool overwriteAnswer = true;
    std::deque<RecoveryAnswer> recoveryAnswers;

    int saveQuestions = 0;
    int saveChoosers = 0;
    int newModelDialogs = 0;
    std::vector<UserMessage> messages;
    std::vector<QString> overwriteQuestions;
    struct RecoveryQuestion {
        QString displayName;
        QDateTime savedAt;
    };
    std::vector<RecoveryQuestion> recoveryQuestions;

    SaveAnswer askSaveChanges() override {
        ++saveQuestions;
        return next(saveAnswers, SaveAnswer::Cancel);
    }
    void showMessage(const UserMessage& message) override { messages.push_back(message); }
    std::optional<QString> chooseOpenPath(FileDialogState&) override {
        return next(openPaths, std::optional<QString>{});
    }
    std::optional<QString> chooseSavePath(FileDialogState&) override {
        ++saveChoosers;
        return next(savePaths, std::optional<QString>{});
    }
    bool confirmOverwrite(const QString& path) override {
        overwriteQuestions.push_back(path);
        return overwriteAnswer;
    }
    void runNewModelProperties() override { ++newModelDialogs; }
    RecoveryAnswer askRecovery(const QString& displayName, const QDateTime& savedAt) override {
        recoveryQuestions.push_back({displayName, savedAt});
        return next(recoveryAnswers, RecoveryAnswer::Later);
    }

  private:
    template <typename T>
    static T next(std::deque<T>& queue, T fallback) {
        if (queue.empty())
            return fallback;
        T value = queue.front();
        queue.pop_front();
        return value;
    }
};

}  // namespace rek
