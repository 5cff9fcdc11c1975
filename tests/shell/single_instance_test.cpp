#include "shell/single_instance.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>

#include "model/model_file.h"
#include "shell/config_record.h"

namespace rek {
namespace {

TEST(SingleInstance, CommandLinePathLosesEveryDoubleQuoteButKeepsSpaces) {
    EXPECT_EQ(pathFromCommandLine({QStringLiteral("\"/tmp/my face.rkm\"")}),
              QStringLiteral("/tmp/my face.rkm"));
    EXPECT_EQ(pathFromCommandLine({QStringLiteral("/tmp/a\"b.rkm")}),
              QStringLiteral("/tmp/ab.rkm"));
    EXPECT_EQ(pathFromCommandLine({QStringLiteral("/tmp/my"), QStringLiteral("face.rkm")}),
              QStringLiteral("/tmp/my face.rkm"));
    EXPECT_TRUE(pathFromCommandLine({}).isEmpty());
}

TEST(SingleInstance, OnlyTheFirstClaimSucceeds) {
    QTemporaryDir runtime;
    SingleInstance first(runtime.path());
    SingleInstance second(runtime.path());
    EXPECT_TRUE(first.claim());
    EXPECT_FALSE(second.claim());
}

// Runs the real program twice, as a user's desktop would.
class TwoProcesses : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(runtime.isValid());
        ASSERT_TRUE(config.isValid());
        ASSERT_TRUE(files.isValid());
        environment = QProcessEnvironment::systemEnvironment();
        environment.insert("XDG_RUNTIME_DIR", runtime.path());
        environment.insert("XDG_CONFIG_HOME", config.path());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
    }

    void startFirst(QProcess& process) {
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::ForwardedChannels);
        process.start(QStringLiteral(REKTOOL_BINARY), {});
        ASSERT_TRUE(process.waitForStarted(10000));
        // Accepting a connection means it is the running instance (a socket file left by a
        // crash refuses them).
        const QString socket = QDir(runtime.path()).filePath("rektool.socket");
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

    QString writeModel(const QString& name, std::int32_t lineWidth, std::int32_t width) {
        Model model;
        model.properties.lineWidth = lineWidth;
        model.properties.width = width;
        appendVertex(model, 10, 10, false);
        appendVertex(model, 90, 40, true);
        const QString path = QDir(files.path()).filePath(name);
        EXPECT_TRUE(saveModel(model, path.toStdString()).ok);
        return path;
    }

    ConfigRecord writtenConfig() {
        const QString path = QDir(config.path()).filePath("rektool/Config.dat");
        const auto record = readConfigFile(path.toStdString());
        EXPECT_TRUE(record.has_value()) << "no Config.dat written at exit";
        return record.value_or(ConfigRecord{});
    }

    QTemporaryDir runtime;
    QTemporaryDir config;
    QTemporaryDir files;
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

TEST_F(TwoProcesses, ALockLeftByAKilledInstanceIsRecovered) {
    QProcess crashed;
    startFirst(crashed);
    ::kill(static_cast<pid_t>(crashed.processId()), SIGKILL);
    ASSERT_TRUE(crashed.waitForFinished(10000));
    ASSERT_TRUE(QFile::exists(QDir(runtime.path()).filePath("rektool.lock")));

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

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
