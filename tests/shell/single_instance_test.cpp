#include "shell/single_instance.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QThread>

#include <csignal>
#include <filesystem>
#include <string>
#include <vector>

#include "child_process.h"
#include "scratch_folder.h"
#include "shell/config_record.h"
#include "shell/native_path.h"
#include "shell_test_support.h"

namespace rek {
namespace {

TEST(SingleInstance, CommandLinePathLosesEveryDoubleQuoteButKeepsSpacesAndBytes) {
    EXPECT_EQ(pathFromCommandLine({"\"/tmp/my face.rkm\""}), "/tmp/my face.rkm");
    EXPECT_EQ(pathFromCommandLine({"/tmp/a\"b.rkm"}), "/tmp/ab.rkm");
    EXPECT_EQ(pathFromCommandLine({"/tmp/my", "face.rkm"}), "/tmp/my face.rkm");
    EXPECT_EQ(pathFromCommandLine({"/tmp/bad\xff.rkm"}), "/tmp/bad\xff.rkm");
    EXPECT_TRUE(pathFromCommandLine({}).empty());
}

TEST(SingleInstance, OnlyTheFirstClaimSucceeds) {
    test::ScratchFolder runtime;
    const QString path = QString::fromStdString(runtime.path().string());
    SingleInstance first(path);
    SingleInstance second(path);
    EXPECT_TRUE(first.claim());
    EXPECT_FALSE(second.claim());
}

// Runs the real program twice, as a user's desktop would.
class TwoProcesses : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"runtime", "config", "state", "files"})
            std::filesystem::create_directory(scratch.path(name));
        // The runtime folder is private to its user, as the desktop makes it.
        std::filesystem::permissions(scratch.path("runtime"), std::filesystem::perms::owner_all);
        environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", runtime);
        environment.insert("XDG_CONFIG_HOME", config);
        environment.insert("XDG_STATE_HOME", QString::fromStdString(scratch.file("state")));
        environment.insert("QT_QPA_PLATFORM", "offscreen");
    }

    void startFirst(QProcess& process) {
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(QStringLiteral(REKTOOL_BINARY), {});
        ASSERT_TRUE(process.waitForStarted(10000));
        // Accepting a connection means it is the running instance (a socket file left by a
        // crash refuses them).
        const QString socket = QDir(runtime).filePath("rektool.socket");
        QElapsedTimer waited;
        waited.start();
        for (;;) {
            QLocalSocket probe;
            probe.connectToServer(socket);
            if (probe.waitForConnected(200))
                break;
            ASSERT_LT(waited.elapsed(), 30000) << "the first instance never listened";
            QThread::msleep(100);
        }
    }

    int runSecond(const QString& argument) {
        QProcess second;
        second.setProcessEnvironment(environment);
        second.setProcessChannelMode(QProcess::ForwardedChannels);
        second.start(QStringLiteral(REKTOOL_BINARY), {argument});
        if (!second.waitForFinished(60000))
            return -1;
        return second.exitCode();
    }

    QString writeModel(const std::string& name, std::int32_t lineWidth, std::int32_t width) {
        ModelProperties properties;
        properties.lineWidth = lineWidth;
        properties.width = width;
        return test::writeModelFile(scratch.path("files") / name,
                                    test::strokes({{{10, 10}, {90, 40}}}), properties);
    }

    ConfigRecord writtenConfig() {
        const auto record = readConfigFile(scratch.file("config/rektool/Config.dat"));
        EXPECT_TRUE(record.has_value()) << "no Config.dat written at exit";
        return record.value_or(ConfigRecord{});
    }

    test::ScratchFolder scratch;
    const QString runtime = QString::fromStdString(scratch.file("runtime"));
    const QString config = QString::fromStdString(scratch.file("config"));
    QProcessEnvironment environment;
};

TEST_F(TwoProcesses, SecondStartHandsItsFileToTheRunningInstance) {
    const QString model = writeModel("my face.rkm", 14, 333);
    QProcess first;
    startFirst(first);

    EXPECT_EQ(runSecond("\"" + model + "\""), 0);
    EXPECT_EQ(first.state(), QProcess::Running);

    first.terminate();
    ASSERT_TRUE(first.waitForFinished(30000));
    EXPECT_EQ(first.exitStatus(), QProcess::NormalExit);
    // The model opened through the hand-over is the one whose properties are kept at exit.
    const ConfigRecord record = writtenConfig();
    EXPECT_EQ(record.lineWidth, 14);
    EXPECT_EQ(record.modelWidth, 333);
}

TEST_F(TwoProcesses, AFileNameThatIsNoValidTextIsHandedOverAsItsBytes) {
    writeModel("bad\xff name.rkm", 7, 222);
    QProcess first;
    startFirst(first);

    // QProcess would pass the argument as text.
    test::ChildProcess second(REKTOOL_BINARY, {scratch.file("files/bad\xff name.rkm")},
                              environment);
    EXPECT_EQ(second.wait(std::chrono::seconds(60)), 0);
    first.terminate();
    ASSERT_TRUE(first.waitForFinished(30000));
    const ConfigRecord record = writtenConfig();
    EXPECT_EQ(record.lineWidth, 7);
    EXPECT_EQ(record.modelWidth, 222);
}

TEST_F(TwoProcesses, ALockLeftByAKilledInstanceIsRecovered) {
    QProcess crashed;
    startFirst(crashed);
    ::kill(static_cast<pid_t>(crashed.processId()), SIGKILL);
    ASSERT_TRUE(crashed.waitForFinished(10000));
    ASSERT_TRUE(QFile::exists(QDir(runtime).filePath("rektool.lock")));

    const QString model = writeModel("after-crash.rkm", 6, 456);
    QProcess next;
    startFirst(next);
    EXPECT_EQ(runSecond(model), 0);
    next.terminate();
    ASSERT_TRUE(next.waitForFinished(30000));
    EXPECT_EQ(writtenConfig().modelWidth, 456);
}

}  // namespace
}  // namespace rek
