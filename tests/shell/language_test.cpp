#include "shell/text/language.h"

#include <gtest/gtest.h>

#include "shell/command_line.h"
#include "shell/text/messages.h"

namespace rek {
namespace {

const QStringList kBoth{"en", "ja"};

TEST(LanguageTest, TheFirstUiLanguageTheProgramSpeaksWins) {
    // QLocale::uiLanguages() as Qt lists them for LANG, LANGUAGE and LC_MESSAGES.
    EXPECT_EQ(languageForUiLanguages({"en-US", "en-Latn-US", "en"}, kBoth), "en");
    EXPECT_EQ(languageForUiLanguages({"fr", "fr-FR", "ja", "en"}, kBoth), "ja");
    EXPECT_EQ(languageForUiLanguages({"de-DE", "en_GB", "ja"}, kBoth), "en");
    EXPECT_EQ(languageForUiLanguages({"EN-us"}, kBoth), "en");
    const QStringList regional{"en", "ja", "pt_BR"};
    EXPECT_EQ(languageForUiLanguages({"pt-BR", "pt-Latn-BR", "pt"}, regional), "pt_BR");
    EXPECT_EQ(languageForUiLanguages({"pt-PT", "pt"}, regional), "en");
    // A translation the build does not carry is passed over; the C locale is Japanese, and
    // other locales fall back to English.
    EXPECT_EQ(languageForUiLanguages({"en-US", "ja"}, {"ja"}), "ja");
    EXPECT_EQ(languageForUiLanguages({"POSIX"}, kBoth), "ja");
    EXPECT_EQ(languageForUiLanguages({}, kBoth), "en");
}

TEST(EditorCommandLineTest, LeadingLangOptionsAreTakenAndTheRestIsTheFile) {
    EditorCommandLine line = readEditorCommandLine({"--lang", "en", "my", "face.rkm"});
    EXPECT_EQ(line.problem, EditorCommandLine::Problem::None);
    EXPECT_EQ(line.language, "en");
    EXPECT_EQ(line.path, "my face.rkm");

    line = readEditorCommandLine({"--lang=en", "--lang=JA", "\"a.rkm\""});
    EXPECT_EQ(line.language, "ja") << "the last one counts";
    EXPECT_EQ(line.path, "a.rkm");

    line = readEditorCommandLine({"--", "--lang", "en"});
    EXPECT_TRUE(line.language.isEmpty());
    EXPECT_EQ(line.path, "--lang en") << "after --, everything is the file";

    line = readEditorCommandLine({"face.rkm", "--lang", "en"});
    EXPECT_TRUE(line.language.isEmpty());
    EXPECT_EQ(line.path, "face.rkm --lang en") << "options come before the file";
}

TEST(EditorCommandLineTest, AMissingOrUnknownLanguageIsRefused) {
    EditorCommandLine line = readEditorCommandLine({"--lang"});
    EXPECT_EQ(line.problem, EditorCommandLine::Problem::MissingLanguage);
    EXPECT_EQ(commandLineError(line), "missing value after '--lang'");
    EXPECT_TRUE(commandLineError(readEditorCommandLine({})).isEmpty());

    line = readEditorCommandLine({"--lang=fr\xff", "face.rkm"});
    EXPECT_EQ(line.problem, EditorCommandLine::Problem::UnknownLanguage);
    EXPECT_TRUE(line.path.empty()) << "nothing is opened";
    EXPECT_EQ(commandLineError(line),
              QStringLiteral("--lang must be one of en, ja, not \"fr\uFFFD\""));
}

// Refused files carry no icon; the failures to get memory or to write carry the error icon.
TEST(MessagesTest, ModelFileErrorsHaveTheProgramsWordingAndIcon) {
    const struct {
        ModelFileError error;
        const char* text;
        MessageIcon icon;
    } cases[] = {
        {ModelFileError::NotModelFile, "レクモデルファイルではありません。", MessageIcon::None},
        {ModelFileError::Invalid, "正しいレクモデルファイルではありません。", MessageIcon::None},
        {ModelFileError::NewerVersion,
         "より新しいバージョンのレクモデルです。\n最新のレクツールで読み込んでください。",
         MessageIcon::None},
        {ModelFileError::OutOfMemory, "読み込み時の頂点用のメモリが確保できません。",
         MessageIcon::Error},
        {ModelFileError::WriteFailed, "ファイルを保存できませんでした。", MessageIcon::Error},
    };
    for (const auto& c : cases) {
        const UserMessage message = messages::modelFileError(c.error);
        EXPECT_EQ(message.text, QString::fromUtf8(c.text));
        EXPECT_EQ(message.icon, c.icon) << c.text;
    }
}

}  // namespace
}  // namespace rek
