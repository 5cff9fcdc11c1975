// rektool-export run as a separate process: what it writes, what it refuses and in which
// language it says so.
#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QProcessEnvironment>

#include <chrono>
#include <csignal>
#include <fstream>
#include <regex>

#include "export/cli/cli_text.h"
#include "export_test_support.h"
#include "file_helpers.h"
#include "format_decoders.h"
#include "gif_test_support.h"
#include "model/model.h"
#include "model/model_file.h"

namespace rek {
namespace {

struct ProcessRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

// rektool-export under `locale` (variable=value pairs) when given, every other locale variable
// unset; else under the tests' environment.
ProcessRun runExporter(const QStringList& arguments,
                       const std::optional<QStringList>& locale = std::nullopt,
                       const QString& folder = QString()) {
    QProcess process;
    if (locale) {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"LANG", "LANGUAGE", "LC_ALL", "LC_MESSAGES"})
            environment.remove(QString::fromLatin1(name));
        for (const QString& variable : *locale)
            environment.insert(variable.section('=', 0, 0), variable.section('=', 1));
        process.setProcessEnvironment(environment);
    }
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(REKTOOL_EXPORT_BINARY), arguments);
    EXPECT_TRUE(process.waitForFinished(120000));
    ProcessRun run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

// A program run on a pseudo-terminal with its arguments as bytes, as a shell runs it: what it
// writes there, and its exit code (-1 when it did not exit normally). When `signalAfter` is not
// empty, `signal` is sent as soon as the output holds that text.
struct TerminalRun {
    int exitCode = -1;
    std::string output;
};
TerminalRun runOnTerminal(const std::string& program, const std::vector<std::string>& arguments,
                          const std::string& signalAfter = {}, int signal = SIGINT) {
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& argument : arguments)
        argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    TerminalRun run;
    int terminal = -1;
    const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child < 0)
        return run;
    if (child == 0) {
        execv(program.c_str(), argv.data());
        _exit(127);
    }
    bool signalled = signalAfter.empty();
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(3);
    char buffer[4096];
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd waiting{terminal, POLLIN, 0};
        if (poll(&waiting, 1, 100) <= 0)
            continue;
        const ssize_t got = read(terminal, buffer, sizeof buffer);
        if (got <= 0)
            break;  // the program closed the terminal: it has ended
        run.output.append(buffer, static_cast<std::size_t>(got));
        if (!signalled && run.output.find(signalAfter) != std::string::npos) {
            kill(child, signal);
            signalled = true;
        }
    }
    close(terminal);
    int status = 0;
    if (waitpid(child, &status, 0) == child && WIFEXITED(status))
        run.exitCode = WEXITSTATUS(status);
    return run;
}

const QStringList kEnglish{"LANG=en_US.UTF-8"};

class ExportCli : public ::testing::Test {
  protected:
    ExportCli() {
        Model drawing;
        drawing.vertices = test::twoSegmentModel().vertices;
        drawing.properties.width = 400;
        drawing.properties.height = 300;
        drawing.properties.backgroundColor = {1, 2, 3};
        drawing.vertices[1].x = 390;  // 340 + 159.1 px of line, kept on the canvas
        drawing.vertices[2] = drawing.vertices[1];
        drawing.vertices[2].x -= 53;
        drawing.vertices[2].y += 150;
        drawing.vertices[2].reserved = 9;
        saved = !saveModel(drawing, model.string()).has_value();
        std::ofstream(dir.path("text.rkm")) << "hello, this is not a model";
    }
    void SetUp() override { ASSERT_TRUE(saved); }
    QString path(const char* name) const { return QString::fromStdString(dir.path(name).string()); }

    test::TempDir dir;
    std::filesystem::path model = dir.path("drawing.rkm");
    QString m = QString::fromStdString(model.string());
    bool saved = false;
};

TEST_F(ExportCli, InfoPrintsThePropertiesAndEveryVertexAsJsonInAnyLanguage) {
    const ProcessRun run = runExporter({m, "--info"}, kEnglish);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out, runExporter({m, "--info"}, QStringList{"LANG=ja_JP.UTF-8"}).out);
    QJsonParseError error{};
    const QJsonObject root = QJsonDocument::fromJson(run.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    EXPECT_EQ(root["properties"].toObject()["backgroundColor"].toObject()["blue"].toInt(), 3);
    EXPECT_EQ(root["vertexCount"].toInt(), 3);
    EXPECT_GT(root["totalLineLength"].toDouble(), 340.0);
    const QJsonObject last = root["vertices"].toArray()[2].toObject();
    EXPECT_EQ(last["x"].toInt(), 337);
    EXPECT_EQ(last["y"].toInt(), 250);
    EXPECT_EQ(last["reserved"].toInt(), 9);
    EXPECT_TRUE(last.contains("wobbleDx"));
}

TEST_F(ExportCli, WritesAReadableGifWithTheDefaultsAndEveryOption) {
    const ProcessRun run = runExporter({m, "--gif", path("anim.GIF"), "--seed", "5"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // Not a terminal: no progress bar, only the closing line.
    EXPECT_FALSE(run.err.contains("5/5")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("rektool-export: 5 frames written to ")) << run.err.toStdString();
    test::DecodedGif gif = test::decodeGif(dir.path("anim.GIF.gif"));
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->ImageCount, 5);  // wobble by default
    EXPECT_EQ(gif->SWidth, 400);    // canvas size by default

    const ProcessRun vtr =
        runExporter({m, "--gif", path("v.gif"), "--kind", "vtr", "--wait", "1", "--smoothness", "6",
                     "--size", "200x150", "--transparent", "--seed", "5"});
    ASSERT_EQ(vtr.exitCode, 0) << vtr.err.toStdString();
    gif = test::decodeGif(dir.path("v.gif"));
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->ImageCount, 499 / 80 + 100 / 12);
    EXPECT_EQ(gif->SWidth, 200);
    EXPECT_EQ(test::gifControl(gif.get(), 0).DelayTime, 12);
    EXPECT_NE(test::gifControl(gif.get(), 0).TransparentColor, NO_TRANSPARENT_COLOR);
}

TEST_F(ExportCli, WritesEveryFormatWithItsExtensionRuleAndOptions) {
    struct Case {
        const char* option;
        const char* given;
        const char* written;
    };
    for (const Case& c : {Case{"--webp", "a", "a.webp"}, Case{"--apng", "b.apng", "b.apng"},
                          Case{"--apng", "c", "c.png"}, Case{"--png", "d.png", "d0004.png"},
                          Case{"--bmp", "e.bmp", "e0004.bmp"}, Case{"--svg", "f", "f.svg"}}) {
        const ProcessRun run = runExporter({m, c.option, path(c.given), "--seed", "3"});
        ASSERT_EQ(run.exitCode, 0) << c.option << " " << run.err.toStdString();
        EXPECT_TRUE(std::filesystem::exists(dir.path(c.written))) << c.written;
    }
    EXPECT_EQ(test::decodeWebp(dir.path("a.webp")).value_or(test::DecodedAnimation{}).frames.size(),
              5u);
    EXPECT_NE(test::readBytes(dir.path("f.svg")).find("viewBox=\"0 0 400 300\""),
              std::string::npos);

    // Options of their own: a lossy WebP, an SVG as stored.
    ASSERT_EQ(runExporter({m, "--webp", path("q.webp"), "--quality", "50", "--antialias",
                           "--transparent", "--kind", "vtr", "--wait", "0", "--size", "200x150"})
                  .exitCode,
              0);
    EXPECT_TRUE(test::decodeWebp(dir.path("q.webp")).has_value());
    ASSERT_EQ(runExporter({m, "--svg", path("plain.svg"), "--no-wobble", "--transparent"}).exitCode,
              0);
    EXPECT_EQ(test::readBytes(dir.path("plain.svg")).find("<rect"), std::string::npos);
}

TEST_F(ExportCli, RefusesBadInputWithAMessageAndExitTwoWritingNothing) {
    std::filesystem::create_directory(dir.path("somedir"));
    const QString x = path("x.gif");
    const std::vector<std::pair<QStringList, const char*>> bad = {
        {{}, ""},
        {{m}, ""},
        {{m, "--gif", x, "--info"}, ""},
        {{m, "--gif", x, "--kind", "spin"}, ""},
        {{m, "--gif", x, "--smoothness", "13"}, ""},
        {{m, "--gif", x, "--size", "0x10"}, ""},
        {{m, "--gif", x, "--kind", "vtr", "--wait", "90000"}, ""},
        {{m, "--gif", x, "--seed", "4294967296"}, ""},
        {{m, "--gif", x, "--colour", "red"}, ""},
        {{path("missing.rkm"), "--gif", x}, "missing.rkm: the file cannot be opened\n"},
        {{path("text.rkm"), "--info"}, "text.rkm: 正しいレクモデルファイルではありません。\n"},
        // The request is checked as the dialogs check it, with the same words.
        {{m, "--gif", x, "--size", "20000x10"}, "rektool-export: 画像が大きすぎます。\n"},
        {{m, "--bmp", x, "--transparent"}, "--transparent"},
        {{m, "--svg", x, "--kind", "vtr"}, "--svg writes the still image only"},
        {{m, "--webp", x, "--kind", "still"}, "--kind still is for"},
        {{m, "--gif", x, "--quality", "50"}, "--quality is for --webp only"},
        {{m, "--webp", x, "--quality", "101"}, "--quality must be"},
        {{m, "--png", x, "--no-wobble"}, "--no-wobble is for --svg only"},
        {{m, "--gif", x, "--webp", path("y")}, "give exactly one of"},
        {{m, "--gif", path("somedir") + "/"}, "フォルダーの名前です"},
        {{m, "--gif", path(std::string(300, 'n').c_str())}, "ファイル名が長すぎます"},
    };
    for (const auto& [arguments, message] : bad) {
        const ProcessRun run = runExporter(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("rektool-export: ")) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(message)) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_EQ(test::entriesIn(dir.path("somedir")), 0u);  // no hidden somedir/.gif
    EXPECT_EQ(dir.entryCount(), 3u);                      // the two models and the folder

    // A write that fails is an export failure.
    const ProcessRun unwritable = runExporter({m, "--gif", path("no/folder/x.gif")});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(
        unwritable.err.contains(("rektool-export: 「" + dir.path("no/folder/x.gif").string() +
                                 "」\nこのファイルに書き込めませんでした。\n")
                                    .c_str()))
        << unwritable.err.toStdString();
}

TEST_F(ExportCli, AFailedWriteToStandardOutputIsAnError) {
    QProcess process;
    process.setStandardOutputFile(QStringLiteral("/dev/full"));
    process.start(QStringLiteral(REKTOOL_EXPORT_BINARY), {m, "--info"});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_TRUE(process.readAllStandardError().contains(
        "rektool-export: cannot write to standard output: No space left on device"));
}

TEST_F(ExportCli, FileNamesThatAreNotUtf8PassThroughAsBytes) {
    const std::string modelName = dir.path("model\xff\xfe.rkm").string();
    std::filesystem::copy_file(model, modelName);
    const std::string base = dir.path("frames\xe9").string();
    const TerminalRun run =
        runOnTerminal(REKTOOL_EXPORT_BINARY, {modelName, "--png", base + ".png", "--quiet"});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(run.output.empty()) << run.output;  // --quiet: not even a progress bar
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(
            test::decodePng(std::filesystem::path(base + "000" + std::to_string(i) + ".png"))
                .has_value());
    const TerminalRun gif = runOnTerminal(REKTOOL_EXPORT_BINARY, {modelName, "--gif", base});
    ASSERT_EQ(gif.exitCode, 0) << gif.output;
    EXPECT_TRUE(std::filesystem::exists(base + ".gif"));
}

TEST_F(ExportCli, ShowsAProgressBarOnATerminalAndStopsCleanlyOnSignals) {
    // A long export: the replay of a drawing at full size with smoothing, 5 s of wait.
    auto arguments = [&](const char* format, const char* out) {
        return std::vector<std::string>{
            model.string(), format, dir.path(out).string(), "--kind", "vtr", "--smoothness", "12",
            "--wait",       "5",    "--antialias",          "--seed", "1"};
    };
    // Finished: the bar reached the end, once per frame.
    const TerminalRun full =
        runOnTerminal(REKTOOL_EXPORT_BINARY, arguments("--webp", "whole.webp"));
    ASSERT_EQ(full.exitCode, 0) << full.output;
    const std::regex counter(R"(\] (\d+)/(\d+))");
    std::vector<int> seen;
    for (auto it = std::sregex_iterator(full.output.begin(), full.output.end(), counter);
         it != std::sregex_iterator(); ++it)
        seen.push_back(std::stoi((*it)[1]));
    ASSERT_FALSE(seen.empty()) << full.output;
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
    EXPECT_NE(full.output.find("[##############################] 95/95"), std::string::npos);
    std::filesystem::remove(dir.path("whole.webp"));

    // Stopped at the first frame and in the middle, by SIGINT and SIGTERM.
    struct Case {
        const char* format;
        const char* out;
        int frame;
        int signal;
    };
    for (const Case& c : {Case{"--webp", "a.webp", 1, SIGINT}, Case{"--apng", "b.png", 47, SIGINT},
                          Case{"--png", "c", 47, SIGTERM}, Case{"--gif", "d.gif", 1, SIGTERM}}) {
        SCOPED_TRACE(std::string(c.format) + " at frame " + std::to_string(c.frame));
        const TerminalRun stopped = runOnTerminal(REKTOOL_EXPORT_BINARY, arguments(c.format, c.out),
                                                  "] " + std::to_string(c.frame) + "/95", c.signal);
        EXPECT_EQ(stopped.exitCode, 128 + c.signal) << stopped.output;
        EXPECT_NE(stopped.output.find("nothing was written"), std::string::npos) << stopped.output;
        EXPECT_EQ(dir.entryCount(), 2u);  // the models alone: no file, no temporary file
    }
}

TEST_F(ExportCli, MessagesFollowTheLocaleOrLangAndJapaneseIsTheDefault) {
    const QByteArray missing = "rektool-export: " + path("missing.rkm").toUtf8() + ": ";
    const ProcessRun english = runExporter({path("missing.rkm"), "--info"}, kEnglish);
    EXPECT_EQ(english.exitCode, 2);
    EXPECT_EQ(english.err, missing + "the file cannot be opened\n");
    const ProcessRun tooLarge =
        runExporter({m, "--gif", path("x.gif"), "--size", "20000x10"}, kEnglish);
    EXPECT_TRUE(tooLarge.err.startsWith("rektool-export: The image is too large.\n"))
        << tooLarge.err.toStdString();
    EXPECT_TRUE(tooLarge.err.endsWith("\nTry 'rektool-export --help'.\n"));
    EXPECT_TRUE(runExporter({"--help"}, kEnglish)
                    .out.contains("Exports a RekTool model (.rkm or .rk2) without opening a "
                                  "window.\n"));

    const QByteArray invalidJa =
        QStringLiteral(": 正しいレクモデルファイルではありません。\n").toUtf8();
    for (const QStringList& locale :
         {QStringList{"LANG=ja_JP.UTF-8"}, QStringList{"LANG=C"}, QStringList{}}) {
        const ProcessRun invalid = runExporter({path("text.rkm"), "--info"}, locale);
        EXPECT_EQ(invalid.err, "rektool-export: " + path("text.rkm").toUtf8() + invalidJa)
            << locale.join(' ').toStdString();
    }

    // --lang overrides the locale, wherever it stands; the value of an option is not --lang,
    // even when it reads so.
    EXPECT_TRUE(
        runExporter({path("text.rkm"), "--info", "--lang", "en"}, QStringList{"LANG=ja_JP.UTF-8"})
            .err.endsWith(": Not a valid rek model file.\n"));
    EXPECT_TRUE(
        runExporter({"--lang=ja", path("text.rkm"), "--info"}, kEnglish).err.endsWith(invalidJa));
    const ProcessRun output = runExporter({"--lang", "ja", m, "--gif", "--lang"}, kEnglish,
                                          QString::fromStdString(dir.path("").string()));
    EXPECT_EQ(output.exitCode, 0) << output.err.toStdString();
    EXPECT_TRUE(std::filesystem::exists(dir.path("--lang.gif")));
    const ProcessRun unknown = runExporter({m, "--info", "--lang", "fr"}, kEnglish);
    EXPECT_EQ(unknown.exitCode, 2);
    EXPECT_EQ(unknown.err,
              "rektool-export: --lang must be one of en, ja, not \"fr\"\n"
              "Try 'rektool-export --help'.\n");
}

TEST(CliTextTest, PlaceholdersTakeTheArgumentsByteForByte) {
    using cli::withArguments;
    EXPECT_EQ(withArguments(QStringLiteral("「%1」に %2"), {"a\xff\xfe", "b"}),
              "「a\xff\xfe」に b");
    // An argument is not searched again; placeholders without an argument stay.
    EXPECT_EQ(withArguments(QStringLiteral("%1 and %2, %3"), {"%2", "x"}), "%2 and x, %3");
    EXPECT_EQ(withArguments(QStringLiteral("%2%1 100% %"), {"a", "b"}), "ba 100% %");
}

}  // namespace
}  // namespace rek
