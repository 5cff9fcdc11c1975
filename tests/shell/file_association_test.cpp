#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>

#include "scratch_folder.h"
#include "shell/file_association.h"
#include "shell/text/messages.h"

namespace rek {
namespace {

QString readText(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

void writeFile(const QString& path, const QByteArray& bytes) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath())) << path.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

QStringList listTree(const QString& root) {
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        entries << QDir(root).relativeFilePath(it.next());
    entries.sort();
    return entries;
}

std::string describe(const AssociationOutcome& outcome) {
    return outcome.problem ? outcome.problem->subject.toStdString() : std::string("no problem");
}

QImage icon(int size, QColor color) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

class FileAssociationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        target.dataHome = root + QStringLiteral("/data");
        target.executablePath = QStringLiteral("/opt/rek tool/bin/rektool");
        target.documentIcon = icon(48, Qt::blue);
        target.programIcon = icon(48, Qt::red);
    }

    // The type xdg-mime reports for a file, resolved against our data folder. Returns a null
    // string when no resolver that honours shared-mime-info is installed.
    QString queryFiletype(const QString& fileName) {
        const QString path = root + QLatin1Char('/') + fileName;
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(QByteArray("REK2\x04\x00\x00\x00", 8));
        file.close();

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), target.dataHome);
        if (!QStandardPaths::findExecutable(QStringLiteral("gio")).isEmpty()) {
            // xdg-mime asks GIO under GNOME, which reads the shared-mime-info database.
            environment.insert(QStringLiteral("XDG_CURRENT_DESKTOP"), QStringLiteral("GNOME"));
        } else if (QStandardPaths::findExecutable(QStringLiteral("mimetype")).isEmpty()) {
            return {};
        }
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral("xdg-mime"),
                      {QStringLiteral("query"), QStringLiteral("filetype"), path});
        if (!process.waitForFinished(30000))
            return {};
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }

    test::ScratchFolder folder;
    const QString root = QString::fromStdString(folder.path().string());
    AssociationTarget target;
};

TEST_F(FileAssociationTest, AssociationWritesTheTypeTheEntryAndTheIcons) {
    const AssociationOutcome outcome = associateModelFiles(target);
    ASSERT_TRUE(outcome.ok()) << describe(outcome);

    const QString package = readText(mimePackagePath(target.dataHome));
    EXPECT_TRUE(package.contains(QStringLiteral("type=\"application/x-rektool\"")));
    EXPECT_TRUE(package.contains(QStringLiteral("<glob pattern=\"*.rkm\"/>")));
    EXPECT_TRUE(package.contains(QStringLiteral("<comment>レクモデル</comment>")));
    EXPECT_TRUE(
        package.contains(QStringLiteral("<comment xml:lang=\"en\">RekTool model</comment>")));
    EXPECT_FALSE(package.contains(QStringLiteral("rk2")));

    const QString entry = readText(desktopEntryPath(target.dataHome));
    EXPECT_TRUE(entry.startsWith(QStringLiteral("[Desktop Entry]\n")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nExec=\"/opt/rek tool/bin/rektool\" %f\n")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nMimeType=application/x-rektool;\n")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nName=レクツール\n")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nName[en]=RekTool\n")));

    const QImage documentIcon(target.dataHome + QStringLiteral("/icons/hicolor/48x48/mimetypes/"
                                                               "application-x-rektool.png"));
    EXPECT_EQ(documentIcon.pixelColor(10, 10), QColor(Qt::blue));
    EXPECT_TRUE(QFile::exists(target.dataHome + QStringLiteral("/icons/hicolor/48x48/apps/"
                                                               "io.github.rektool.RekTool.png")));
    EXPECT_TRUE(entry.contains(QStringLiteral("\nIcon=io.github.rektool.RekTool\n")));
    EXPECT_TRUE(desktopEntryPath(target.dataHome)
                    .endsWith(QStringLiteral("/applications/io.github.rektool.RekTool.desktop")));

    const QString validator =
        QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (!validator.isEmpty()) {
        QProcess process;
        process.start(validator, {desktopEntryPath(target.dataHome)});
        ASSERT_TRUE(process.waitForFinished(30000));
        EXPECT_EQ(process.exitCode(), 0) << process.readAll().toStdString();
    }
}

TEST_F(FileAssociationTest, TheDesktopResolvesModelFilesOnlyWhileAssociated) {
    const QString before = queryFiletype(QStringLiteral("some.rkm"));
    if (before.isNull())
        GTEST_SKIP() << "xdg-mime has no shared-mime-info resolver here";
    EXPECT_NE(before, QStringLiteral("application/x-rektool"));

    ASSERT_TRUE(associateModelFiles(target).ok());
    EXPECT_EQ(queryFiletype(QStringLiteral("some.rkm")), QStringLiteral("application/x-rektool"));
    EXPECT_NE(queryFiletype(QStringLiteral("old.rk2")), QStringLiteral("application/x-rektool"));

    const AssociationOutcome removed = removeModelFileAssociation(target.dataHome);
    ASSERT_TRUE(removed.ok()) << describe(removed);
    EXPECT_NE(queryFiletype(QStringLiteral("some.rkm")), QStringLiteral("application/x-rektool"));
}

TEST_F(FileAssociationTest, RemovalLeavesNothingOfOursBehind) {
    // An older version named its files after the program.
    for (const char* legacy : {"/applications/rektool.desktop", "/mime/packages/rektool.xml",
                               "/icons/hicolor/64x64/apps/rektool.png"}) {
        writeFile(target.dataHome + QString::fromLatin1(legacy), "old");
    }
    writeFile(target.dataHome + QStringLiteral("/applications/other.desktop"), "other");
    ASSERT_TRUE(associateModelFiles(target).ok());
    target.documentIcon = icon(32, Qt::green);  // a second association at another size
    ASSERT_TRUE(associateModelFiles(target).ok());
    EXPECT_FALSE(QFile::exists(target.dataHome + QStringLiteral("/applications/rektool.desktop")));
    EXPECT_FALSE(QFile::exists(target.dataHome + QStringLiteral("/icons/hicolor/48x48/mimetypes/"
                                                                "application-x-rektool.png")));

    const AssociationOutcome outcome = removeModelFileAssociation(target.dataHome);
    ASSERT_TRUE(outcome.ok()) << describe(outcome);
    for (const QString& entry : listTree(target.dataHome)) {
        EXPECT_FALSE(entry.contains(QStringLiteral("rektool"))) << entry.toStdString();
    }
    const QString globs = readText(target.dataHome + QStringLiteral("/mime/globs2"));
    EXPECT_FALSE(globs.contains(QStringLiteral("rkm")));
    EXPECT_EQ(readText(target.dataHome + QStringLiteral("/applications/other.desktop")),
              QStringLiteral("other"));
}

TEST_F(FileAssociationTest, RemovalWithoutAnAssociationChangesNothing) {
    ASSERT_TRUE(QDir().mkpath(target.dataHome + QStringLiteral("/applications")));
    QFile other(target.dataHome + QStringLiteral("/applications/other.desktop"));
    ASSERT_TRUE(other.open(QIODevice::WriteOnly));
    other.close();
    const QStringList before = listTree(target.dataHome);

    const AssociationOutcome outcome = removeModelFileAssociation(target.dataHome);
    EXPECT_TRUE(outcome.ok()) << describe(outcome);
    QStringList after = listTree(target.dataHome);
    // The desktop database tool may leave its cache; nothing else may appear or go.
    after.removeAll(QStringLiteral("applications/mimeinfo.cache"));
    EXPECT_EQ(after, before);
}

TEST_F(FileAssociationTest, AFailedWriteIsReportedAndLeavesNoHalfAssociation) {
    ASSERT_TRUE(QDir().mkpath(target.dataHome));
    QFile blocker(target.dataHome + QStringLiteral("/applications"));  // a file, not a folder
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    const AssociationOutcome outcome = associateModelFiles(target);
    ASSERT_FALSE(outcome.ok());
    EXPECT_EQ(outcome.problem->kind, AssociationProblem::Kind::CannotCreateFolder);
    EXPECT_EQ(outcome.problem->subject, target.dataHome + QStringLiteral("/applications"));
    EXPECT_EQ(messages::associationFailed(AssociationAction::Associate, *outcome.problem),
              QStringLiteral("レクモデルファイル(～.rkm)を関連付けられませんでした。\n"
                             "フォルダを作成できません: ") +
                  target.dataHome + QStringLiteral("/applications"));
    EXPECT_FALSE(QFile::exists(mimePackagePath(target.dataHome)));
}

TEST_F(FileAssociationTest, ARelativeProgramPathIsRefused) {
    target.executablePath = QStringLiteral("rektool");
    const AssociationOutcome outcome = associateModelFiles(target);
    ASSERT_FALSE(outcome.ok());
    EXPECT_EQ(outcome.problem->kind, AssociationProblem::Kind::UnknownLocations);
    EXPECT_FALSE(QFile::exists(desktopEntryPath(target.dataHome)));
    EXPECT_FALSE(removeModelFileAssociation(QStringLiteral("relative/data")).ok());
}

// The package installed below a system data folder of our own.
class InstalledAssociationTest : public FileAssociationTest {
  protected:
    void SetUp() override {
        FileAssociationTest::SetUp();
        target.configHome = root + QStringLiteral("/config");
        system = root + QStringLiteral("/system");
        installedEntry = system + QStringLiteral("/applications/io.github.rektool.RekTool.desktop");
        installedPackage = system + QStringLiteral("/mime/packages/io.github.rektool.RekTool.xml");
        writeFile(installedEntry,
                  "[Desktop Entry]\nType=Application\nName=RekTool\n"
                  "Exec=rektool %f\nMimeType=application/x-rektool;\n");
        writeFile(installedPackage, "<mime-info/>\n");
        // Without the entry in the first folder, the second is searched too.
        target.systemDataDirs = {root + QStringLiteral("/empty"), system};
    }

    // What xdg-mime answers as the default for model files, seeing only our folders.
    QString queryDefault() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("XDG_CURRENT_DESKTOP"));
        environment.insert(QStringLiteral("XDG_CONFIG_HOME"), target.configHome);
        environment.insert(QStringLiteral("XDG_DATA_HOME"), target.dataHome);
        environment.insert(QStringLiteral("XDG_DATA_DIRS"), system);
        QProcess process;
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral("xdg-mime"),
                      {QStringLiteral("query"), QStringLiteral("default"),
                       QStringLiteral("application/x-rektool")});
        if (!process.waitForFinished(30000))
            return {};
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    }

    QString system;
    QString installedEntry;
    QString installedPackage;
};

TEST_F(InstalledAssociationTest, OnlyTheDefaultIsSetAndEarlierUserFilesGo) {
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty())
        GTEST_SKIP() << "xdg-mime is not installed";
    EXPECT_EQ(systemDesktopEntry(target.systemDataDirs), installedEntry);

    // A per-user association made before the package was installed: its entry of the same
    // name would hide the installed one.
    const QStringList systemDirs = target.systemDataDirs;
    target.systemDataDirs.clear();
    ASSERT_TRUE(associateModelFiles(target).ok());
    ASSERT_TRUE(QFile::exists(desktopEntryPath(target.dataHome)));
    target.systemDataDirs = systemDirs;

    const AssociationOutcome outcome = associateModelFiles(target);
    ASSERT_TRUE(outcome.ok()) << describe(outcome);
    for (const QString& entry : listTree(target.dataHome)) {
        EXPECT_FALSE(entry.contains(QStringLiteral("rektool"), Qt::CaseInsensitive))
            << entry.toStdString();
    }
    EXPECT_TRUE(readText(target.configHome + QStringLiteral("/mimeapps.list"))
                    .contains(QStringLiteral(
                        "\napplication/x-rektool=io.github.rektool.RekTool.desktop\n")));
    EXPECT_EQ(queryDefault(), QStringLiteral("io.github.rektool.RekTool.desktop"));

    const AssociationOutcome removed = removeModelFileAssociation(target.dataHome);
    ASSERT_TRUE(removed.ok()) << describe(removed);
    EXPECT_TRUE(readText(installedEntry).startsWith(QStringLiteral("[Desktop Entry]\n")));
    EXPECT_EQ(readText(installedPackage), QStringLiteral("<mime-info/>\n"));
}

TEST_F(InstalledAssociationTest, AnUnusableConfigFolderIsReported) {
    writeFile(target.configHome, "a file, not a folder");
    const AssociationOutcome outcome = associateModelFiles(target);
    ASSERT_FALSE(outcome.ok());
    EXPECT_EQ(outcome.problem->kind, AssociationProblem::Kind::CannotCreateFolder);
    EXPECT_EQ(outcome.problem->subject, target.configHome);
    EXPECT_FALSE(QFile::exists(desktopEntryPath(target.dataHome)));
}

TEST(DesktopExecLineTest, QuotesThePathAsOneArgument) {
    EXPECT_EQ(desktopExecLine(QStringLiteral("/usr/bin/rektool")),
              QStringLiteral("\"/usr/bin/rektool\" %f"));
    EXPECT_EQ(desktopExecLine(QStringLiteral("/home/a b/rek")),
              QStringLiteral("\"/home/a b/rek\" %f"));
    // Inside quotes ", `, $ and \ take a backslash, and the string level escapes \ again.
    EXPECT_EQ(desktopExecLine(QStringLiteral("/x/\"q\"/$HOME/`c`/b\\s/100%")),
              QStringLiteral("\"/x/\\\\\"q\\\\\"/\\\\$HOME/\\\\`c\\\\`/b\\\\\\\\s/100%%\" %f"));
}

TEST(DefaultDataHomeTest, FollowsAnAbsoluteXdgDataHome) {
    const QByteArray saved = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", "/tmp/somewhere/");
    EXPECT_EQ(defaultDataHome(), QStringLiteral("/tmp/somewhere"));
    qputenv("XDG_DATA_HOME", "relative/dir");
    EXPECT_EQ(defaultDataHome(), QDir::homePath() + QStringLiteral("/.local/share"));
    qunsetenv("XDG_DATA_HOME");
    EXPECT_EQ(defaultDataHome(), QDir::homePath() + QStringLiteral("/.local/share"));
    if (!saved.isNull())
        qputenv("XDG_DATA_HOME", saved);
}

TEST(DefaultDataHomeTest, SystemFoldersDropRelativeEntriesAndFallBackToTheStandardOnes) {
    const QByteArray saved = qgetenv("XDG_DATA_DIRS");
    qputenv("XDG_DATA_DIRS", "/opt/share/:relative::/usr/share");
    EXPECT_EQ(defaultSystemDataDirs(),
              QStringList({QStringLiteral("/opt/share"), QStringLiteral("/usr/share")}));
    qputenv("XDG_DATA_DIRS", "relative");
    EXPECT_EQ(defaultSystemDataDirs(),
              QStringList({QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")}));
    qunsetenv("XDG_DATA_DIRS");
    EXPECT_EQ(defaultSystemDataDirs().size(), 2);
    if (!saved.isNull())
        qputenv("XDG_DATA_DIRS", saved);
}

}  // namespace
}  // namespace rek
