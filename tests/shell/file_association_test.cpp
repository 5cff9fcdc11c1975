#include <gtest/gtest.h>

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QStandardPaths>

#include "scratch_folder.h"
#include "shell/file_association.h"

namespace rek {
namespace {

QString readText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void writeFile(const QString& path, const QByteArray& bytes) {
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).absolutePath())) << path.toStdString();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << path.toStdString();
    file.write(bytes);
}

// Every entry below `root` whose name contains "rektool", in any case.
QStringList oursIn(const QString& root) {
    QStringList entries;
    QDirIterator it(root, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString entry = QDir(root).relativeFilePath(it.next());
        if (entry.contains(QStringLiteral("rektool"), Qt::CaseInsensitive))
            entries << entry;
    }
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

    test::ScratchFolder folder;
    const QString root = QString::fromStdString(folder.path().string());
    AssociationTarget target;
};

TEST_F(FileAssociationTest, AssociationWritesTheTypeTheEntryAndTheIcons) {
    const AssociationOutcome outcome = associateModelFiles(target);
    ASSERT_TRUE(outcome.ok()) << describe(outcome);

    const QString package = readText(mimePackagePath(target.dataHome));
    for (const char* part :
         {"type=\"application/x-rektool\"", "<glob pattern=\"*.rkm\"/>",
          "<comment>レクモデル</comment>", "<comment xml:lang=\"en\">RekTool model</comment>"})
        EXPECT_TRUE(package.contains(QString::fromUtf8(part))) << part;
    EXPECT_FALSE(package.contains(QStringLiteral("rk2")));

    const QString entry = readText(desktopEntryPath(target.dataHome));
    EXPECT_TRUE(entry.startsWith(QStringLiteral("[Desktop Entry]\n")));
    for (const char* line :
         {"\nExec=\"/opt/rek tool/bin/rektool\" %f\n", "\nMimeType=application/x-rektool;\n",
          "\nName=レクツール\n", "\nName[en]=RekTool\n", "\nIcon=io.github.rektool.RekTool\n"})
        EXPECT_TRUE(entry.contains(QString::fromUtf8(line))) << line;
    EXPECT_TRUE(desktopEntryPath(target.dataHome)
                    .endsWith(QStringLiteral("/applications/io.github.rektool.RekTool.desktop")));

    const QImage documentIcon(target.dataHome + QStringLiteral("/icons/hicolor/48x48/mimetypes/"
                                                               "application-x-rektool.png"));
    EXPECT_EQ(documentIcon.pixelColor(10, 10), QColor(Qt::blue));
    EXPECT_TRUE(QFile::exists(target.dataHome + QStringLiteral("/icons/hicolor/48x48/apps/"
                                                               "io.github.rektool.RekTool.png")));
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
    EXPECT_EQ(oursIn(target.dataHome), QStringList());
    EXPECT_FALSE(readText(target.dataHome + QStringLiteral("/mime/globs2")).contains("rkm"));
    EXPECT_EQ(readText(target.dataHome + QStringLiteral("/applications/other.desktop")),
              QStringLiteral("other"));
}

TEST_F(FileAssociationTest, AFailedWriteIsReportedAndLeavesNoHalfAssociation) {
    writeFile(target.dataHome + QStringLiteral("/applications"), "");  // a file, not a folder
    const AssociationOutcome outcome = associateModelFiles(target);
    ASSERT_FALSE(outcome.ok());
    EXPECT_EQ(outcome.problem->kind, AssociationProblem::Kind::CannotCreateFolder);
    EXPECT_EQ(outcome.problem->subject, target.dataHome + QStringLiteral("/applications"));
    EXPECT_FALSE(QFile::exists(mimePackagePath(target.dataHome)));

    target.executablePath = QStringLiteral("rektool");  // relative: refused
    EXPECT_EQ(associateModelFiles(target).problem->kind,
              AssociationProblem::Kind::UnknownLocations);
}

// With the package installed below a system data folder, only the default is set.
TEST_F(FileAssociationTest, WithThePackageInstalledOnlyTheDefaultIsSetAndUserFilesGo) {
    if (QStandardPaths::findExecutable(QStringLiteral("xdg-mime")).isEmpty())
        GTEST_SKIP() << "xdg-mime is not installed";
    target.configHome = root + QStringLiteral("/config");
    const QString system = root + QStringLiteral("/system");
    const QString entry =
        system + QStringLiteral("/applications/io.github.rektool.RekTool.desktop");
    const QString package = system + QStringLiteral("/mime/packages/io.github.rektool.RekTool.xml");
    writeFile(entry,
              "[Desktop Entry]\nType=Application\nName=RekTool\n"
              "Exec=rektool %f\nMimeType=application/x-rektool;\n");
    writeFile(package, "<mime-info/>\n");

    // A per-user association made before the package was installed: its entry of the same
    // name would hide the installed one.
    ASSERT_TRUE(associateModelFiles(target).ok());
    ASSERT_TRUE(QFile::exists(desktopEntryPath(target.dataHome)));

    // Without the entry in the first folder, the second is searched too.
    target.systemDataDirs = {root + QStringLiteral("/empty"), system};
    EXPECT_EQ(systemDesktopEntry(target.systemDataDirs), entry);
    const AssociationOutcome outcome = associateModelFiles(target);
    ASSERT_TRUE(outcome.ok()) << describe(outcome);
    EXPECT_EQ(oursIn(target.dataHome), QStringList());
    EXPECT_TRUE(readText(target.configHome + QStringLiteral("/mimeapps.list"))
                    .contains(QStringLiteral(
                        "\napplication/x-rektool=io.github.rektool.RekTool.desktop\n")));

    ASSERT_TRUE(removeModelFileAssociation(target.dataHome).ok());
    EXPECT_TRUE(readText(entry).startsWith(QStringLiteral("[Desktop Entry]\n")));
    EXPECT_EQ(readText(package), QStringLiteral("<mime-info/>\n"));
}

TEST(DesktopExecLineTest, QuotesThePathAsOneArgument) {
    EXPECT_EQ(desktopExecLine(QStringLiteral("/home/a b/rek")),
              QStringLiteral("\"/home/a b/rek\" %f"));
    // Inside quotes ", `, $ and \ take a backslash, and the string level escapes \ again.
    EXPECT_EQ(desktopExecLine(QStringLiteral("/x/\"q\"/$HOME/`c`/b\\s/100%")),
              QStringLiteral("\"/x/\\\\\"q\\\\\"/\\\\$HOME/\\\\`c\\\\`/b\\\\\\\\s/100%%\" %f"));
}

}  // namespace
}  // namespace rek
