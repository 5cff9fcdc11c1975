#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <csignal>
#include <fstream>
#include <regex>

#include "export/output_files.h"
#include "export_test_support.h"
#include "file_helpers.h"
#include "format_decoders.h"
#include "image_test_support.h"
#include "model/model.h"
#include "model/model_file.h"
#include "terminal_run.h"

namespace rek {
namespace {

struct ProcessRun {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

ProcessRun runExporter(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(REKTOOL_EXPORT_BINARY), arguments);
    EXPECT_TRUE(process.waitForFinished(120000));
    ProcessRun run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

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
    }
    void SetUp() override { ASSERT_TRUE(saved); }
    QString path(const char* name) const { return QString::fromStdString(dir.path(name).string()); }

    test::TempDir dir;
    std::filesystem::path model = dir.path("drawing.rkm");
    bool saved = false;
};

TEST_F(ExportCli, InfoPrintsThePropertiesAndEveryVertexAsJson) {
    const ProcessRun run = runExporter({QString::fromStdString(model.string()), "--info"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    QJsonParseError error{};
    const QJsonDocument json = QJsonDocument::fromJson(run.out, &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError) << run.out.toStdString();
    const QJsonObject root = json.object();
    EXPECT_EQ(root["properties"].toObject()["width"].toInt(), 400);
    EXPECT_EQ(root["properties"].toObject()["backgroundColor"].toObject()["blue"].toInt(), 3);
    EXPECT_EQ(root["vertexCount"].toInt(), 3);
    EXPECT_GT(root["totalLineLength"].toDouble(), 340.0);
    const QJsonArray vertices = root["vertices"].toArray();
    ASSERT_EQ(vertices.size(), 3);
    EXPECT_EQ(vertices[0].toObject()["kind"].toInt(), 1);
    EXPECT_EQ(vertices[2].toObject()["x"].toInt(), 337);
    EXPECT_EQ(vertices[2].toObject()["y"].toInt(), 250);
    EXPECT_EQ(vertices[2].toObject()["reserved"].toInt(), 9);
    EXPECT_TRUE(vertices[2].toObject().contains("wobbleDx"));
}

TEST_F(ExportCli, ALegacyModelIsShownWithTheStandardProperties) {
    // A .rk2 file: the vertex count, then the vertices, and no properties.
    Model legacy;
    legacy.vertices = test::twoSegmentModel().vertices;
    std::ofstream out(dir.path("old.rk2"), std::ios::binary);
    const std::int32_t count = 3;
    out.write(reinterpret_cast<const char*>(&count), 4);  // little-endian on this machine
    for (const Vertex& vertex : legacy.vertices) {
        const VertexImage image = encodeVertexImage(vertex);
        out.write(reinterpret_cast<const char*>(image.data()), image.size());
    }
    out.close();

    const ProcessRun info = runExporter({path("old.rk2"), "--info"});
    ASSERT_EQ(info.exitCode, 0) << info.err.toStdString();
    const QJsonObject properties =
        QJsonDocument::fromJson(info.out).object()["properties"].toObject();
    const ModelProperties standard;
    EXPECT_EQ(properties["width"].toInt(), standard.width);
    EXPECT_EQ(properties["vtrSpeed"].toInt(), standard.vtrSpeed);
    EXPECT_EQ(properties["backgroundColor"].toObject()["red"].toInt(),
              standard.backgroundColor.red);
    EXPECT_EQ(QJsonDocument::fromJson(info.out).object()["vertexCount"].toInt(), 3);

    const ProcessRun gif = runExporter({path("old.rk2"), "--gif", path("old.gif"), "--seed", "1"});
    ASSERT_EQ(gif.exitCode, 0) << gif.err.toStdString();
    const test::DecodedGif decoded = test::decodeGif(dir.path("old.gif"));
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->SWidth, standard.width);
    EXPECT_EQ(test::gifPixel(decoded.get(), 0, 5, 5), standard.backgroundColor);
}

TEST_F(ExportCli, WritesAReadableGifWithTheDefaultsAndAppendsGif) {
    const ProcessRun run = runExporter(
        {QString::fromStdString(model.string()), "--gif", path("anim.GIF"), "--seed", "5"});
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    // Not a terminal: no progress bar, only the closing line.
    EXPECT_FALSE(run.err.contains("5/5")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("rektool-export: 5 frames written to ")) << run.err.toStdString();
    test::DecodedGif gif = test::decodeGif(dir.path("anim.GIF.gif"));
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->ImageCount, 5);  // wobble by default
    EXPECT_EQ(gif->SWidth, 400);    // canvas size by default
    EXPECT_EQ(test::gifControl(gif.get(), 0).DelayTime, 6);
    EXPECT_EQ(test::gifControl(gif.get(), 0).TransparentColor, NO_TRANSPARENT_COLOR);
    if (test::imageMagickAvailable()) {
        EXPECT_EQ(
            test::identify("%n %m %w %h\\n", dir.path("anim.GIF.gif")).value_or("").substr(0, 14),
            "5 GIF 400 300\n");
    }

    // A replay with every option.
    const ProcessRun vtr = runExporter(
        {QString::fromStdString(model.string()), "--gif", path("v.gif"), "--kind", "vtr", "--wait",
         "1", "--smoothness", "6", "--size", "200x150", "--transparent", "--seed", "5"});
    ASSERT_EQ(vtr.exitCode, 0) << vtr.err.toStdString();
    gif = test::decodeGif(dir.path("v.gif"));
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->ImageCount, 499 / 80 + 100 / 12);
    EXPECT_EQ(gif->SWidth, 200);
    EXPECT_EQ(test::gifControl(gif.get(), 0).DelayTime, 12);
    EXPECT_NE(test::gifControl(gif.get(), 0).TransparentColor, NO_TRANSPARENT_COLOR);
}

TEST_F(ExportCli, SameSeedSameFramesAndBmpStripsItsExtension) {
    auto exportSeries = [&](const char* base, const char* seed) {
        return runExporter({QString::fromStdString(model.string()), "--bmp", path(base), "--seed",
                            seed, "--size", "100x75"});
    };
    ASSERT_EQ(exportSeries("a.bmp", "42").exitCode, 0);
    ASSERT_EQ(exportSeries("b", "42").exitCode, 0);
    for (int i = 0; i < 5; ++i) {
        const std::string suffix = "000" + std::to_string(i) + ".bmp";
        std::ifstream a(dir.path("a" + suffix), std::ios::binary);
        std::ifstream b(dir.path("b" + suffix), std::ios::binary);
        ASSERT_TRUE(a && b) << suffix;
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(a), {}),
                  std::string(std::istreambuf_iterator<char>(b), {}))
            << suffix;
    }
    EXPECT_EQ(dir.entryCount(), 11u);  // the model and ten frames
    const ProcessRun still = runExporter(
        {QString::fromStdString(model.string()), "--bmp", path("still.bmp"), "--kind", "still"});
    ASSERT_EQ(still.exitCode, 0);
    EXPECT_TRUE(std::filesystem::exists(dir.path("still.bmp")));
}

TEST_F(ExportCli, RefusesBadInputWithAMessageAndANonZeroExit) {
    const QString m = QString::fromStdString(model.string());
    const std::vector<QStringList> bad = {
        {},
        {m},
        {m, "--gif", path("x.gif"), "--info"},
        {m, "--gif", path("x.gif"), "--kind", "spin"},
        {m, "--gif", path("x.gif"), "--kind", "still"},
        {m, "--gif", path("x.gif"), "--smoothness", "13"},
        {m, "--gif", path("x.gif"), "--size", "0x10"},
        {m, "--gif", path("x.gif"), "--size", "20000x10"},
        {m, "--gif", path("x.gif"), "--kind", "vtr", "--wait", "-1"},
        {m, "--gif", path("x.gif"), "--kind", "vtr", "--wait", "90000"},
        {m, "--gif", path("x.gif"), "--seed", "4294967296"},
        {m, "--gif", path("x.gif"), "--colour", "red"},
        {path("missing.rkm"), "--info"},
    };
    for (const QStringList& arguments : bad) {
        const ProcessRun run = runExporter(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains("rektool-export: ")) << run.err.toStdString();
        EXPECT_TRUE(run.out.isEmpty());
    }
    EXPECT_FALSE(std::filesystem::exists(dir.path("x.gif")));

    // A file that is not a model is refused with the reader's message.
    std::ofstream(dir.path("text.rkm")) << "hello, this is not a model";
    const ProcessRun notModel = runExporter({path("text.rkm"), "--info"});
    EXPECT_EQ(notModel.exitCode, 2);
    EXPECT_TRUE(notModel.err.contains("text.rkm: 正しいレクモデルファイルではありません。\n"))
        << notModel.err.toStdString();
    std::ofstream(dir.path("notes.txt")) << "hello";
    const ProcessRun notNamed = runExporter({path("notes.txt"), "--info"});
    EXPECT_EQ(notNamed.exitCode, 2);
    EXPECT_TRUE(notNamed.err.contains("notes.txt: レクモデルファイルではありません。\n"))
        << notNamed.err.toStdString();
    const ProcessRun missing = runExporter({path("missing.rkm"), "--gif", path("x.gif")});
    EXPECT_EQ(missing.exitCode, 2);
    EXPECT_TRUE(missing.err.contains("missing.rkm: the file cannot be opened\n"))
        << missing.err.toStdString();

    // The request is checked as the dialogs check it, with the same words.
    const ProcessRun tooLarge = runExporter({m, "--gif", path("x.gif"), "--size", "20000x10"});
    EXPECT_TRUE(tooLarge.err.contains("rektool-export: 画像が大きすぎます。\n"))
        << tooLarge.err.toStdString();

    // A write that fails is an export failure.
    const ProcessRun unwritable = runExporter({m, "--gif", path("no/folder/x.gif")});
    EXPECT_EQ(unwritable.exitCode, 1);
    EXPECT_TRUE(
        unwritable.err.contains(("rektool-export: 「" + dir.path("no/folder/x.gif").string() +
                                 "」\nこのファイルに書き込めませんでした。\n")
                                    .c_str()))
        << unwritable.err.toStdString();

    const ProcessRun help = runExporter({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.contains("--smoothness"));
}

TEST_F(ExportCli, WritesEveryFormatWithItsExtensionRule) {
    const QString m = QString::fromStdString(model.string());
    struct Case {
        const char* option;
        const char* given;
        const char* written;
    };
    for (const Case& c : {Case{"--webp", "a", "a.webp"}, Case{"--apng", "b.apng", "b.apng"},
                          Case{"--apng", "c", "c.png"}, Case{"--png", "d.png", "d0004.png"},
                          Case{"--svg", "e", "e.svg"}}) {
        const ProcessRun run = runExporter({m, c.option, path(c.given), "--seed", "3"});
        ASSERT_EQ(run.exitCode, 0) << c.option << " " << run.err.toStdString();
        EXPECT_TRUE(std::filesystem::exists(dir.path(c.written))) << c.written;
    }
    const auto webp = test::decodeWebp(dir.path("a.webp"));
    ASSERT_TRUE(webp.has_value());
    EXPECT_EQ(webp->frames.size(), 5u);
    EXPECT_EQ(webp->width, 400);
    EXPECT_EQ(test::decodeApng(dir.path("c.png")).value_or(test::DecodedAnimation{}).frames.size(),
              5u);
    EXPECT_NE(test::readBytes(dir.path("e.svg")).find("viewBox=\"0 0 400 300\""),
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

TEST_F(ExportCli, RefusesCombinationsAFormatCannotHoldAndFoldersAsOutput) {
    const QString m = QString::fromStdString(model.string());
    std::filesystem::create_directory(dir.path("somedir"));
    std::filesystem::create_directory(dir.path("taken.webp"));
    const std::vector<std::pair<QStringList, const char*>> bad = {
        {{m, "--bmp", path("x"), "--transparent"}, "--transparent"},
        {{m, "--svg", path("x"), "--kind", "vtr"}, "--svg writes the still image only"},
        {{m, "--webp", path("x"), "--kind", "still"}, "--kind still is for"},
        {{m, "--apng", path("x"), "--kind", "still"}, "--kind still is for"},
        {{m, "--gif", path("x"), "--quality", "50"}, "--quality is for --webp only"},
        {{m, "--webp", path("x"), "--quality", "101"}, "--quality must be"},
        {{m, "--png", path("x"), "--no-wobble"}, "--no-wobble is for --svg only"},
        {{m, "--gif", path("x"), "--webp", path("y")}, "give exactly one of"},
        {{m, "--webp", path("x"), "--size", "16384x10"}, "16383"},
        {{m, "--gif", path("somedir") + "/"}, "フォルダーの名前です"},
        {{m, "--bmp", path("somedir") + "/"}, "フォルダーの名前です"},
        {{m, "--webp", path("taken.webp")}, "フォルダーの名前です"},
        {{m, "--gif", path(std::string(300, 'n').c_str())}, "ファイル名が長すぎます"},
    };
    for (const auto& [arguments, message] : bad) {
        const ProcessRun run = runExporter(arguments);
        EXPECT_EQ(run.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(run.err.contains(message)) << run.err.toStdString();
    }
    EXPECT_EQ(test::entriesIn(dir.path("somedir")), 0u);  // no hidden somedir/.gif
    EXPECT_EQ(test::entriesIn(dir.path("taken.webp")), 0u);
    EXPECT_EQ(dir.entryCount(), 3u);  // the model and the two folders
}

TEST_F(ExportCli, AFailedWriteToStandardOutputIsAnError) {
    QProcess process;
    process.setStandardOutputFile(QStringLiteral("/dev/full"));
    process.start(QStringLiteral(REKTOOL_EXPORT_BINARY),
                  {QString::fromStdString(model.string()), "--info"});
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 1);
    EXPECT_TRUE(process.readAllStandardError().contains(
        "rektool-export: cannot write to standard output: No space left on device"));
}

TEST_F(ExportCli, FileNamesThatAreNotUtf8PassThroughAsBytes) {
    const std::string modelName = dir.path("model\xff\xfe.rkm").string();
    std::filesystem::copy_file(model, modelName);
    const std::string base = dir.path("frames\xe9").string();
    const test::TerminalRun run =
        test::runOnTerminal(REKTOOL_EXPORT_BINARY, {modelName, "--png", base + ".png", "--quiet"});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(run.output.empty()) << run.output;  // --quiet: not even a progress bar
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(
            test::decodePng(std::filesystem::path(base + "000" + std::to_string(i) + ".png"))
                .has_value());
    const test::TerminalRun gif =
        test::runOnTerminal(REKTOOL_EXPORT_BINARY, {modelName, "--gif", base});
    ASSERT_EQ(gif.exitCode, 0) << gif.output;
    EXPECT_TRUE(std::filesystem::exists(base + ".gif"));
    EXPECT_EQ(dir.entryCount(), 8u);
}

TEST_F(ExportCli, ShowsAProgressBarOnATerminalAndStopsCleanlyOnSignals) {
    // A long export: the replay of a drawing at full size with smoothing, 5 s of wait.
    const std::string m = model.string();
    const std::vector<std::string> longExport = {
        m, "--kind", "vtr", "--smoothness", "12", "--antialias", "--wait", "5", "--seed", "1"};
    auto arguments = [&](const char* format, const char* out) {
        std::vector<std::string> all = longExport;
        all.insert(all.begin() + 1, {format, dir.path(out).string()});
        return all;
    };
    // Finished: the bar reached the end, once per frame.
    const test::TerminalRun full =
        test::runOnTerminal(REKTOOL_EXPORT_BINARY, arguments("--webp", "whole.webp"));
    ASSERT_EQ(full.exitCode, 0) << full.output;
    const std::regex counter(R"(\] (\d+)/(\d+))");
    std::vector<int> seen;
    for (auto it = std::sregex_iterator(full.output.begin(), full.output.end(), counter);
         it != std::sregex_iterator(); ++it)
        seen.push_back(std::stoi((*it)[1]));
    ASSERT_FALSE(seen.empty()) << full.output;
    EXPECT_EQ(seen.back(), 95);  // 499 px at 40 a frame, then 5 s of 6 hundredths
    EXPECT_NE(full.output.find("[##############################] 95/95"), std::string::npos);
    for (std::size_t i = 1; i < seen.size(); ++i)
        EXPECT_GE(seen[i], seen[i - 1]);
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
        const test::TerminalRun stopped =
            test::runOnTerminal(REKTOOL_EXPORT_BINARY, arguments(c.format, c.out),
                                "] " + std::to_string(c.frame) + "/95", c.signal);
        EXPECT_EQ(stopped.exitCode, 128 + c.signal) << stopped.output;
        EXPECT_NE(stopped.output.find("nothing was written"), std::string::npos) << stopped.output;
        EXPECT_EQ(dir.entryCount(), 1u);  // the model alone: no file, no temporary file
    }
}

}  // namespace
}  // namespace rek
