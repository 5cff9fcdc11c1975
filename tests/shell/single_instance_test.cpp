#include "shell/single_instance.h"

#include <gtest/gtest.h>

#include <QLocalSocket>
#include <filesystem>

#include "child_process.h"
#include "scratch_folder.h"
#include "shell/config_record.h"
#include "shell/native_path.h"
#include "shell_test_support.h"

namespace rek {
namespace {

using namespace std::chrono_literals;

TEST(SingleInstance, CommandLinePathLosesEveryDoubleQuoteButKeepsSpacesAndBytes) {
    EXPECT_EQ(pathFromCommandLine({"\"/tmp/my face.rkm\""}), "/tmp/my face.rkm");
    EXPECT_EQ(pathFromCommandLine({"/tmp/a\"b.rkm"}), "/tmp/ab.rkm");
    EXPECT_EQ(pathFromCommandLine({"/tmp/my", "face.rkm"}), "/tmp/my face.rkm");
    EXPECT_EQ(pathFromCommandLine({"/tmp/bad\xff.rkm"}), "/tmp/bad\xff.rkm");
}

TEST(SingleInstance, ALockHolderWithoutASocketIsStillTheOneInstance) {
    test::ScratchFolder scratch;
    // Longer than a socket address can hold.
    const QString runtime = QString::fromStdString(scratch.file(std::string(120, 'r')));
    SingleInstance first(runtime);
    ASSERT_TRUE(first.claim());
    SingleInstance second(runtime);
    EXPECT_FALSE(second.claim());
}

// The real program started as a user's desktop would: one instance killed, the next one
// started and a second start handing it a file. (A short test name: the scratch folder is named
// after it, and a socket's path must fit in 108 bytes.)
TEST(SingleInstance, KilledThenNextGetsAFile) {
    test::ScratchFolder scratch;
    const QProcessEnvironment environment = test::isolatedEnvironment(scratch.path());
    const QString socket = QString::fromStdString(scratch.file("runtime/rektool.socket"));
    // Accepting a connection means it is the running instance (a socket file left by a crash
    // refuses them).
    const auto listening = [&] {
        QLocalSocket probe;
        probe.connectToServer(socket);
        return probe.waitForConnected(200);
    };
    {
        test::ChildProcess crashed(REKTOOL_BINARY, {}, environment);
        ASSERT_TRUE(test::waitFor(listening, 30s)) << "the first instance never listened";
        crashed.kill(SIGKILL);
        ASSERT_EQ(crashed.wait(10s), -1);
    }
    ASSERT_TRUE(std::filesystem::exists(scratch.path("runtime/rektool.lock")));

    test::ChildProcess running(REKTOOL_BINARY, {}, environment);
    ASSERT_TRUE(test::waitFor(listening, 30s)) << "the next instance never listened";
    ModelProperties properties;
    properties.lineWidth = 7;
    properties.width = 222;
    const std::string model = scratch.file("bad\xff name.rkm");
    test::writeModelFile(model, test::strokes({{{10, 10}, {90, 40}}}), properties);
    test::ChildProcess second(REKTOOL_BINARY, {model}, environment);
    EXPECT_EQ(second.wait(), 0);
    EXPECT_FALSE(running.wait(0ms).has_value()) << "the running instance goes on";

    // A termination signal closes it normally; the model opened through the hand-over is the
    // one whose properties are kept.
    running.kill(SIGTERM);
    EXPECT_EQ(running.wait(30s), 0);
    const auto record = readConfigFile(scratch.file("config/rektool/Config.dat"));
    ASSERT_TRUE(record.has_value()) << "no Config.dat written at exit";
    EXPECT_EQ(record->lineWidth, 7);
    EXPECT_EQ(record->modelWidth, 222);
}

}  // namespace
}  // namespace rek
