#include "shell/dialogs/file_association.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringList>

namespace rek {

namespace {

const char* const kDesktopFileName = "rektool.desktop";
const char* const kProgramIconName = "rektool";
const char* const kDocumentIconName = "application-x-rektool";
constexpr int kToolTimeoutMs = 20000;

const QString kAssociatedMessage =
    QStringLiteral("レクモデルファイル(～.rkm)を\n現在起動中のレクツールに関連付けました。");
const QString kRemovedMessage =
    QStringLiteral("レクモデルファイル(～.rkm)の関連付け情報を削除しました。");

QString hicolorDirectory(const QString& dataHome) {
    return dataHome + QStringLiteral("/icons/hicolor");
}

QString iconPath(const QString& dataHome, int size, const char* context, const char* name) {
    return QStringLiteral("%1/%2x%2/%3/%4.png")
        .arg(hicolorDirectory(dataHome))
        .arg(size)
        .arg(QString::fromLatin1(context), QString::fromLatin1(name));
}

// Every installed copy of our icons, at whatever size an earlier association used.
QStringList installedIcons(const QString& dataHome) {
    QStringList paths;
    const QDir hicolor(hicolorDirectory(dataHome));
    const QStringList sizes = hicolor.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QString& size : sizes) {
        const QString mimetypes =
            hicolor.filePath(size + QStringLiteral("/mimetypes/") +
                             QString::fromLatin1(kDocumentIconName) + QStringLiteral(".png"));
        const QString apps =
            hicolor.filePath(size + QStringLiteral("/apps/") +
                             QString::fromLatin1(kProgramIconName) + QStringLiteral(".png"));
        if (QFileInfo::exists(mimetypes))
            paths << mimetypes;
        if (QFileInfo::exists(apps))
            paths << apps;
    }
    return paths;
}

QString mimePackageText() {
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
               "  <mime-type type=\"%1\">\n"
               "    <comment>レクモデル</comment>\n"
               "    <icon name=\"%2\"/>\n"
               "    <glob pattern=\"*.rkm\"/>\n"
               "  </mime-type>\n"
               "</mime-info>\n")
        .arg(QString::fromLatin1(kModelMimeType), QString::fromLatin1(kDocumentIconName));
}

QString desktopEntryText(const QString& executablePath) {
    return QStringLiteral(
               "[Desktop Entry]\n"
               "Type=Application\n"
               "Name=レクツール\n"
               "Comment=レクモデルを開く\n"
               "Exec=%1\n"
               "Icon=%2\n"
               "MimeType=%3;\n"
               "Terminal=false\n"
               "NoDisplay=true\n")
        .arg(desktopExecLine(executablePath), QString::fromLatin1(kProgramIconName),
             QString::fromLatin1(kModelMimeType));
}

bool writeTextFile(const QString& path, const QString& text, QString& error) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        error = QStringLiteral("フォルダを作成できません: %1").arg(QFileInfo(path).absolutePath());
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text.toUtf8()) < 0 || !file.commit()) {
        error = QStringLiteral("書き込めません: %1").arg(path);
        return false;
    }
    return true;
}

bool writeIcon(const QString& path, const QImage& icon, QString& error) {
    if (!QDir().mkpath(QFileInfo(path).absolutePath())) {
        error = QStringLiteral("フォルダを作成できません: %1").arg(QFileInfo(path).absolutePath());
        return false;
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || !icon.save(&file, "PNG") || !file.commit()) {
        error = QStringLiteral("書き込めません: %1").arg(path);
        return false;
    }
    return true;
}

// Hicolor folders are named for square sizes.
int iconSize(const QImage& icon) {
    return qMax(icon.width(), icon.height());
}

QImage squareIcon(const QImage& icon) {
    const int size = iconSize(icon);
    if (icon.width() == size && icon.height() == size)
        return icon;
    return icon.scaled(size, size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

// Runs a cache tool if it is installed; a missing tool is no failure, since the desktop then
// reads the source files itself.
bool runUpdateTool(const QString& tool, const QString& directory, QString& error) {
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty() || !QFileInfo(directory).isDir())
        return true;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, {directory});
    if (!process.waitForStarted(kToolTimeoutMs)) {
        error = QStringLiteral("%1 を起動できません。").arg(tool);
        return false;
    }
    if (!process.waitForFinished(kToolTimeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        error = QStringLiteral("%1 が応答しません。").arg(tool);
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        error = QStringLiteral("%1 が失敗しました。").arg(tool);
        return false;
    }
    return true;
}

bool refreshCaches(const QString& dataHome, QString& error) {
    return runUpdateTool(QStringLiteral("update-mime-database"), dataHome + QStringLiteral("/mime"),
                         error) &&
           runUpdateTool(QStringLiteral("update-desktop-database"),
                         dataHome + QStringLiteral("/applications"), error);
}

// Removes the association's files; the folders are shared with other programs and stay.
bool removeFiles(const QString& dataHome, QString& error) {
    QStringList paths{mimePackagePath(dataHome), desktopEntryPath(dataHome)};
    paths << installedIcons(dataHome);
    bool ok = true;
    for (const QString& path : paths) {
        QFile file(path);
        if (file.exists() && !file.remove()) {
            if (ok)
                error = QStringLiteral("削除できません: %1").arg(path);
            ok = false;
        }
    }
    return ok;
}

}  // namespace

QString defaultDataHome() {
    const QString fromEnvironment = qEnvironmentVariable("XDG_DATA_HOME");
    // The specification ignores a relative value.
    if (!fromEnvironment.isEmpty() && QDir::isAbsolutePath(fromEnvironment)) {
        return QDir::cleanPath(fromEnvironment);
    }
    return QDir::homePath() + QStringLiteral("/.local/share");
}

QString mimePackagePath(const QString& dataHome) {
    return dataHome + QStringLiteral("/mime/packages/rektool.xml");
}

QString desktopEntryPath(const QString& dataHome) {
    return dataHome + QStringLiteral("/applications/") + QString::fromLatin1(kDesktopFileName);
}

QString desktopExecLine(const QString& executablePath) {
    // Quoted as one argument: inside the quotes `"`, backquote, `$` and `\` take a backslash;
    // the value as a whole is a string in which `\` is escaped once more, and a literal `%`
    // is doubled so that it is not read as a field code.
    QString quoted;
    for (const QChar c : executablePath) {
        if (c == u'"' || c == u'`' || c == u'$') {
            quoted += QStringLiteral("\\\\");
            quoted += c;
        } else if (c == u'\\') {
            quoted += QStringLiteral("\\\\\\\\");
        } else if (c == u'%') {
            quoted += QStringLiteral("%%");
        } else if (c == u'\n') {
            quoted += QStringLiteral("\\n");
        } else if (c == u'\t') {
            quoted += QStringLiteral("\\t");
        } else if (c == u'\r') {
            quoted += QStringLiteral("\\r");
        } else {
            quoted += c;
        }
    }
    return QStringLiteral("\"%1\" %f").arg(quoted);
}

AssociationOutcome associateModelFiles(const AssociationTarget& target) {
    const QString& home = target.dataHome;
    QString error;
    bool ok = QDir::isAbsolutePath(target.executablePath) && QDir::isAbsolutePath(home);
    if (!ok)
        error = QStringLiteral("プログラムまたはデータフォルダの場所が分かりません。");
    ok = ok && writeTextFile(mimePackagePath(home), mimePackageText(), error);
    ok =
        ok && writeTextFile(desktopEntryPath(home), desktopEntryText(target.executablePath), error);
    if (ok && !target.documentIcon.isNull()) {
        ok =
            writeIcon(iconPath(home, iconSize(target.documentIcon), "mimetypes", kDocumentIconName),
                      squareIcon(target.documentIcon), error);
    }
    if (ok && !target.programIcon.isNull()) {
        ok = writeIcon(iconPath(home, iconSize(target.programIcon), "apps", kProgramIconName),
                       squareIcon(target.programIcon), error);
    }
    ok = ok && refreshCaches(home, error);
    if (!ok) {
        // No half association: take back what was written.
        if (QDir::isAbsolutePath(home)) {
            QString ignored;
            removeFiles(home, ignored);
            refreshCaches(home, ignored);
        }
        return {false, QStringLiteral("レクモデルファイル(～.rkm)を関連付けられませんでした。\n%1")
                           .arg(error)};
    }
    return {true, kAssociatedMessage};
}

AssociationOutcome removeModelFileAssociation(const QString& dataHome) {
    QString error;
    if (!QDir::isAbsolutePath(dataHome)) {
        error = QStringLiteral("データフォルダの場所が分かりません。");
    } else if (removeFiles(dataHome, error) && refreshCaches(dataHome, error)) {
        return {true, kRemovedMessage};
    }
    return {false,
            QStringLiteral("レクモデルファイル(～.rkm)の関連付け情報を削除できませんでした。\n%1")
                .arg(error)};
}

}  // namespace rek
