// The language the editor speaks, chosen at start-up from the locale or --lang: the real
// start-up in a process of its own (language_helper_main.cpp) under each environment.

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QLibraryInfo>
#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>
#include <filesystem>

#include "scratch_folder.h"
#include "shell_test_support.h"

namespace rek {
namespace {

namespace fs = std::filesystem;

struct EditorRun {
    int exitCode = -1;
    QMap<QString, QString> shown;  // name -> text, from the helper's lines
    QString errors;
};

class LanguageProcessTest : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"runtime", "config", "state", "home"})
            fs::create_directory(scratch.path(name));
        fs::permissions(scratch.path("runtime"), fs::perms::owner_all);
    }

    // The helper under `locale` (variable=value pairs; every other locale variable unset).
    EditorRun start(const QStringList& locale, const QStringList& arguments = {}) const {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LANG", "LANGUAGE", "LC_ALL", "LC_MESSAGES"})
            environment.remove(QString::fromLatin1(name));
        for (const QString& variable : locale)
            environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(scratch.file("runtime")));
        environment.insert("XDG_CONFIG_HOME", QString::fromStdString(scratch.file("config")));
        environment.insert("XDG_STATE_HOME", QString::fromStdString(scratch.file("state")));
        environment.insert("HOME", QString::fromStdString(scratch.file("home")));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(LANGUAGE_HELPER), arguments);
        EXPECT_TRUE(process.waitForFinished(60000));
        EditorRun run;
        run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        for (const QString& line : QString::fromUtf8(process.readAllStandardOutput()).split('\n')) {
            if (line.contains('='))
                run.shown.insert(line.section('=', 0, 0), line.section('=', 1));
        }
        run.errors = QString::fromUtf8(process.readAllStandardError());
        return run;
    }

    static void expectJapanese(const EditorRun& run) {
        ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
        EXPECT_EQ(run.shown["caption"], test::programTitle() + QStringLiteral(" - [ 無題 ]"));
        EXPECT_EQ(run.shown["tooltip"], QStringLiteral("レクモデルを開く (Ctrl+O)"));
        EXPECT_EQ(
            run.shown["hint"],
            QStringLiteral("ドラッグで直線を引く。ドラッグ中に右クリックで中間の頂点を置く。"));
        EXPECT_EQ(run.shown["question"], QStringLiteral("変更されたファイルを保存しますか？"));
        EXPECT_EQ(run.shown["filters"],
                  QStringLiteral("レクツール関係ファイル(*.rkm,*rk2) (*.rkm *rk2);;"
                                 "レクモデルファイル(*.rkm) (*.rkm);;"
                                 "旧レクツールファイル(*.rk2) (*.rk2)"));
        // Qt's own buttons follow where Qt's translations are installed.
        if (QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                              QStringLiteral("/qtbase_ja.qm"))) {
            EXPECT_FALSE(run.shown["buttons"].contains(QStringLiteral("&Yes")))
                << run.shown["buttons"].toStdString();
        }
    }

    static void expectEnglish(const EditorRun& run) {
        ASSERT_EQ(run.exitCode, 0) << run.errors.toStdString();
        EXPECT_EQ(run.shown["caption"],
                  QStringLiteral("RekTool Ver." REK_EXPECTED_VERSION " - [ Untitled ]"));
        EXPECT_EQ(run.shown["tooltip"], QStringLiteral("Open model (Ctrl+O)"));
        EXPECT_EQ(run.shown["hint"], QStringLiteral("Drag to draw a line. Right-click while "
                                                    "dragging to add a vertex in between."));
        EXPECT_EQ(run.shown["question"], QStringLiteral("Save changes to the file?"));
        // The descriptions are translated, the patterns the chooser matches are not.
        EXPECT_EQ(run.shown["filters"],
                  QStringLiteral("RekTool files (*.rkm, *.rk2) (*.rkm *rk2);;"
                                 "Rek models (*.rkm) (*.rkm);;Old RekTool files (*.rk2) (*.rk2)"));
        EXPECT_EQ(run.shown["buttons"], QStringLiteral("&No|&Yes|Cancel"));
    }

    test::ScratchFolder scratch;
};

TEST_F(LanguageProcessTest, AnEnglishLocaleGetsEnglish) {
    expectEnglish(start({"LANG=en_US.UTF-8"}));
    // LANGUAGE comes before LANG; a language without a translation is passed over.
    expectEnglish(start({"LANG=ja_JP.UTF-8", "LANGUAGE=fr:en_GB:ja"}));
}

TEST_F(LanguageProcessTest, JapaneseAndTheCLocaleKeepTheJapaneseTexts) {
    expectJapanese(start({"LANG=ja_JP.UTF-8"}));
    expectJapanese(start({"LANG=C"}));
    expectJapanese(start({}));
    expectJapanese(start({"LANG=en_US.UTF-8", "LC_ALL=C.UTF-8"}));
    // As with gettext, LANGUAGE does not count in the C locale.
    expectJapanese(start({"LANG=C", "LANGUAGE=en"}));
    expectJapanese(start({"LANG=en_US.UTF-8", "LC_MESSAGES=ja_JP.UTF-8"}));
}

TEST_F(LanguageProcessTest, ALocaleWithoutATranslationGetsEnglish) {
    expectEnglish(start({"LANG=de_DE.UTF-8"}));
}

TEST_F(LanguageProcessTest, LangOptionOverridesTheLocale) {
    expectEnglish(start({"LANG=ja_JP.UTF-8"}, {"--lang", "en"}));
    expectJapanese(start({"LANG=en_US.UTF-8"}, {"--lang=ja"}));
}

TEST_F(LanguageProcessTest, AnUnknownLanguageIsRefusedInTheLocalesLanguage) {
    const EditorRun english = start({"LANG=en_US.UTF-8"}, {"--lang", "fr"});
    EXPECT_EQ(english.exitCode, 2);
    EXPECT_EQ(english.errors,
              QStringLiteral("rektool: --lang must be one of en, ja, not \"fr\"\n"));
    EXPECT_TRUE(english.shown.isEmpty()) << "no window was opened";
    const EditorRun missing = start({"LANG=C"}, {"--lang"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.errors, QStringLiteral("rektool: missing value after '--lang'\n"));
}

}  // namespace
}  // namespace rek
