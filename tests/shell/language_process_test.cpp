// The language the editor speaks, chosen at start-up from the locale or --lang: the real
// start-up in a process of its own (language_helper_main.cpp) under each environment.

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QLibraryInfo>
#include <QStringList>

#include "child_process.h"
#include "scratch_folder.h"
#include "shell_test_support.h"

namespace rek {
namespace {

class LanguageProcessTest : public ::testing::Test {
  protected:
    // What the helper shows under `locale` (variable=value pairs; every other locale variable
    // unset), one "name=text" line each, and its exit code.
    std::pair<int, QString> start(const QStringList& locale,
                                  std::vector<std::string> arguments = {},
                                  bool withErrors = false) {
        QProcessEnvironment environment = test::isolatedEnvironment(scratch.path());
        for (const char* name : {"LANG", "LANGUAGE", "LC_ALL", "LC_MESSAGES"})
            environment.remove(QString::fromLatin1(name));
        for (const QString& variable : locale)
            environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
        test::ChildProcess helper(LANGUAGE_HELPER, std::move(arguments), environment, withErrors);
        const int code = helper.wait().value_or(-2);
        return {code, QString::fromStdString(helper.output())};
    }

    // `buttons` is the save question's buttons, empty where only Qt's translation knows them.
    void expectShown(const QStringList& locale, std::vector<std::string> arguments,
                     QStringList expected, const QString& buttons) {
        const auto [code, shown] = start(locale, std::move(arguments));
        EXPECT_EQ(code, 0) << locale.join(' ').toStdString();
        QStringList lines = shown.split('\n', Qt::SkipEmptyParts);
        const QString shownButtons = lines.isEmpty() ? QString() : lines.takeLast();
        EXPECT_EQ(lines, expected) << locale.join(' ').toStdString();
        if (!buttons.isEmpty()) {
            EXPECT_EQ(shownButtons, QStringLiteral("buttons=") + buttons);
        } else if (QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                                     QStringLiteral("/qtbase_ja.qm"))) {
            EXPECT_FALSE(shownButtons.contains(QStringLiteral("&Yes")))
                << shownButtons.toStdString();
        }
    }

    void expectJapanese(const QStringList& locale, std::vector<std::string> arguments = {}) {
        expectShown(
            locale, std::move(arguments),
            {QStringLiteral("caption=") + test::programTitle() + QStringLiteral(" - [ 無題 ]"),
             QStringLiteral("tooltip=レクモデルを開く (Ctrl+O)"),
             QStringLiteral(
                 "hint=ドラッグで直線を引く。ドラッグ中に右クリックで中間の頂点を置く。"),
             QStringLiteral(
                 "filters=レクツール関係ファイル(*.rkm,*rk2) (*.rkm *rk2);;"
                 "レクモデルファイル(*.rkm) (*.rkm);;旧レクツールファイル(*.rk2) (*.rk2)"),
             QStringLiteral("question=変更されたファイルを保存しますか？")},
            {});
    }

    void expectEnglish(const QStringList& locale, std::vector<std::string> arguments = {}) {
        // The descriptions are translated, the patterns the chooser matches are not.
        expectShown(
            locale, std::move(arguments),
            {QStringLiteral("caption=RekTool Ver." REK_EXPECTED_VERSION " - [ Untitled ]"),
             QStringLiteral("tooltip=Open model (Ctrl+O)"),
             QStringLiteral("hint=Drag to draw a line. Right-click while dragging to add "
                            "a vertex in between."),
             QStringLiteral("filters=RekTool files (*.rkm, *.rk2) (*.rkm *rk2);;"
                            "Rek models (*.rkm) (*.rkm);;Old RekTool files (*.rk2) (*.rk2)"),
             QStringLiteral("question=Save changes to the file?")},
            QStringLiteral("&No|&Yes|Cancel"));
    }

    test::ScratchFolder scratch;
};

TEST_F(LanguageProcessTest, TheLocaleChoosesAndLangOverridesIt) {
    expectEnglish({"LANG=en_US.UTF-8"});
    // LANGUAGE comes before LANG; a language without a translation is passed over.
    expectEnglish({"LANG=ja_JP.UTF-8", "LANGUAGE=fr:en_GB:ja"});
    expectEnglish({"LANG=de_DE.UTF-8"});
    expectJapanese({"LANG=ja_JP.UTF-8"});
    expectJapanese({});
    expectJapanese({"LANG=en_US.UTF-8", "LC_ALL=C.UTF-8"});
    // As with gettext, LANGUAGE does not count in the C locale.
    expectJapanese({"LANG=C", "LANGUAGE=en"});
    expectJapanese({"LANG=en_US.UTF-8", "LC_MESSAGES=ja_JP.UTF-8"});
    expectEnglish({"LANG=ja_JP.UTF-8"}, {"--lang", "en"});
    expectJapanese({"LANG=en_US.UTF-8"}, {"--lang=ja"});
}

TEST_F(LanguageProcessTest, AnUnknownLanguageIsRefusedWithoutAWindow) {
    const auto [code, shown] = start({"LANG=en_US.UTF-8"}, {"--lang", "fr"}, true);
    EXPECT_EQ(code, 2);
    EXPECT_EQ(shown, QStringLiteral("rektool: --lang must be one of en, ja, not \"fr\"\n"));
}

}  // namespace
}  // namespace rek
