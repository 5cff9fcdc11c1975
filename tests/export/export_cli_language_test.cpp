// rektool-export's messages in the language of the locale or of --lang, and the byte-exact
// filling of their placeholders.

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <filesystem>
#include <fstream>

#include "export/cli/cli_text.h"
#include "image_test_support.h"
#include "model/model.h"
#include "model/model_file.h"

namespace rek {
namespace {

struct CliRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// rektool-export under `locale` (variable=value pairs; every other locale variable unset).
CliRun runUnder(const QStringList& locale, const QStringList& arguments,
                const QString& folder = QString()) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"LANG", "LANGUAGE", "LC_ALL", "LC_MESSAGES"})
        environment.remove(QString::fromLatin1(name));
    for (const QString& variable : locale)
        environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(REKTOOL_EXPORT_BINARY), arguments);
    EXPECT_TRUE(process.waitForFinished(60000));
    CliRun run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

const QStringList kEnglish{"LANG=en_US.UTF-8"};
const QStringList kJapaneseLocales[] = {{"LANG=ja_JP.UTF-8"}, {"LANG=C"}, {}};

class ExportCliLanguage : public ::testing::Test {
  protected:
    ExportCliLanguage() {
        std::ofstream(dir.path("text.rkm")) << "hello, this is not a model";
        Model model;
        model.properties.width = 300;
        saved = !saveModel(model, dir.path("empty.rkm").string()).has_value();
    }
    void SetUp() override { ASSERT_TRUE(saved); }
    QString path(const char* name) const { return QString::fromStdString(dir.path(name).string()); }

    test::TempDir dir;
    bool saved = false;
};

TEST_F(ExportCliLanguage, ErrorsAreEnglishUnderAnEnglishLocale) {
    const CliRun missing = runUnder(kEnglish, {path("missing.rkm"), "--info"});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_EQ(missing.err,
              "rektool-export: " + path("missing.rkm").toUtf8() + ": the file cannot be opened\n");
    const CliRun invalid = runUnder(kEnglish, {path("text.rkm"), "--info"});
    EXPECT_EQ(invalid.err,
              "rektool-export: " + path("text.rkm").toUtf8() + ": Not a valid rek model file.\n");
    // A request the engines refuse, in the dialogs' words.
    const CliRun tooLarge =
        runUnder(kEnglish, {path("empty.rkm"), "--gif", path("x.gif"), "--size", "20000x10"});
    EXPECT_EQ(tooLarge.exitCode, 2);
    EXPECT_TRUE(tooLarge.err.startsWith("rektool-export: The image is too large.\n"))
        << tooLarge.err.toStdString();
    EXPECT_TRUE(tooLarge.err.endsWith("\nTry 'rektool-export --help'.\n"));
}

TEST_F(ExportCliLanguage, JapaneseAndTheCLocaleKeepTodaysTexts) {
    for (const QStringList& locale : kJapaneseLocales) {
        const CliRun missing = runUnder(locale, {path("missing.rkm"), "--info"});
        EXPECT_EQ(missing.err, "rektool-export: " + path("missing.rkm").toUtf8() +
                                   ": the file cannot be opened\n");
        const CliRun invalid = runUnder(locale, {path("text.rkm"), "--info"});
        EXPECT_EQ(invalid.err,
                  "rektool-export: " + path("text.rkm").toUtf8() + ": " +
                      QStringLiteral("正しいレクモデルファイルではありません。\n").toUtf8())
            << locale.join(' ').toStdString();
        const CliRun help = runUnder(locale, {"--help"});
        EXPECT_TRUE(help.out.contains(
            QStringLiteral("Exports a レクツール model (.rkm or .rk2) without opening a window.\n")
                .toUtf8()));
    }
}

TEST_F(ExportCliLanguage, HelpAndUsageFollowTheLanguage) {
    const CliRun help = runUnder(kEnglish, {"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(
        help.out.contains("Exports a RekTool model (.rkm or .rk2) without opening a window.\n"));
    EXPECT_TRUE(help.out.contains(
        "  --lang L           language of the messages: en|ja (default: from the locale)\n"));
    const CliRun bad = runUnder(kEnglish, {"--bogus"});
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_EQ(bad.err, "rektool-export: unknown option '--bogus'\nTry 'rektool-export --help'.\n");
}

TEST_F(ExportCliLanguage, LangOverridesTheLocale) {
    const CliRun english =
        runUnder({"LANG=ja_JP.UTF-8"}, {path("text.rkm"), "--info", "--lang", "en"});
    EXPECT_TRUE(english.err.endsWith(": Not a valid rek model file.\n"))
        << english.err.toStdString();
    const CliRun japanese = runUnder(kEnglish, {"--lang=ja", path("text.rkm"), "--info"});
    EXPECT_TRUE(japanese.err.endsWith(
        QStringLiteral(": 正しいレクモデルファイルではありません。\n").toUtf8()))
        << japanese.err.toStdString();
    // The value of an option is not --lang, even when it reads so.
    const CliRun output = runUnder(kEnglish, {"--lang", "ja", path("empty.rkm"), "--gif", "--lang"},
                                   QString::fromStdString(dir.path("").string()));
    EXPECT_EQ(output.exitCode, 0) << output.err.toStdString();
    EXPECT_TRUE(std::filesystem::exists(dir.path("--lang.gif")));

    const CliRun unknown = runUnder(kEnglish, {path("empty.rkm"), "--info", "--lang", "fr"});
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.err,
              "rektool-export: --lang must be one of en, ja, not \"fr\"\n"
              "Try 'rektool-export --help'.\n");
    EXPECT_TRUE(unknown.out.isEmpty());
}

TEST_F(ExportCliLanguage, InfoKeysAreNeverTranslated) {
    const CliRun info = runUnder(kEnglish, {path("empty.rkm"), "--info"});
    ASSERT_EQ(info.exitCode, 0) << info.err.toStdString();
    EXPECT_EQ(info.out, runUnder({"LANG=ja_JP.UTF-8"}, {path("empty.rkm"), "--info"}).out);
    EXPECT_TRUE(info.out.contains("\"vertexCount\": 0"));
}

TEST(CliTextTest, PlaceholdersTakeTheArgumentsByteForByte) {
    using cli::withArguments;
    EXPECT_EQ(withArguments(QStringLiteral("「%1」に %2"), {"a\xff\xfe", "b"}),
              "「a\xff\xfe」に b");
    // An argument is not searched again; placeholders without an argument stay.
    EXPECT_EQ(withArguments(QStringLiteral("%1 and %2, %3"), {"%2", "x"}), "%2 and x, %3");
    EXPECT_EQ(withArguments(QStringLiteral("%2%1 100% %"), {"a", "b"}), "ba 100% %");
    EXPECT_EQ(withArguments(QStringLiteral("no placeholder"), {"unused"}), "no placeholder");
}

}  // namespace
}  // namespace rek
