#include "shell/file_association.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include "model/atomic_file.h"

namespace rek {

namespace {

const char* const kDesktopFileName = "rektool.desktop";
const char* const kProgramIconName = "rektool";
const char* const kDocumentIconName = "application-x-rektool";
constexpr int kToolTimeoutMs = 20000;

using Kind = AssociationProblem::Kind;
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

bool writeBytes(const QString& path, const QByteArray& bytes,
                std::optional<AssociationProblem>& problem) {
    const QString folder = QFileInfo(path).absolutePath();
    if (!QDir().mkpath(folder)) {
        problem = AssociationProblem{Kind::CannotCreateFolder, folder};
        return false;
    }
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    if (!writeFileAtomically(QFile::encodeName(path).toStdString(),
                             {data, static_cast<std::size_t>(bytes.size())})) {
        problem = AssociationProblem{Kind::CannotWrite, path};
        return false;
    }
    return true;
}

bool writeIcon(const QString& path, const QImage& icon,
               std::optional<AssociationProblem>& problem) {
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !icon.save(&buffer, "PNG")) {
        problem = AssociationProblem{Kind::CannotWrite, path};
        return false;
    }
    return writeBytes(path, png, problem);
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
bool runUpdateTool(const QString& tool, const QString& directory,
                   std::optional<AssociationProblem>& problem) {
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty() || !QFileInfo(directory).isDir())
        return true;
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, {directory});
    if (!process.waitForStarted(kToolTimeoutMs)) {
        problem = AssociationProblem{Kind::ToolDidNotStart, tool};
        return false;
    }
    if (!process.waitForFinished(kToolTimeoutMs)) {
        process.kill();
        process.waitForFinished(1000);
        problem = AssociationProblem{Kind::ToolNotResponding, tool};
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        problem = AssociationProblem{Kind::ToolFailed, tool};
        return false;
    }
    return true;
}

bool refreshCaches(const QString& dataHome, std::optional<AssociationProblem>& problem) {
    return runUpdateTool(QStringLiteral("update-mime-database"), dataHome + QStringLiteral("/mime"),
                         problem) &&
           runUpdateTool(QStringLiteral("update-desktop-database"),
                         dataHome + QStringLiteral("/applications"), problem);
}

// Removes the association's files; the folders are shared with other programs and stay.
bool removeFiles(const QString& dataHome, std::optional<AssociationProblem>& problem) {
    QStringList paths{mimePackagePath(dataHome), desktopEntryPath(dataHome)};
    paths << installedIcons(dataHome);
    bool ok = true;
    for (const QString& path : paths) {
        QFile file(path);
        if (file.exists() && !file.remove()) {
            if (ok)
                problem = AssociationProblem{Kind::CannotRemove, path};
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
    std::optional<AssociationProblem> problem;
    bool ok = QDir::isAbsolutePath(target.executablePath) && QDir::isAbsolutePath(home);
    if (!ok)
        problem = AssociationProblem{Kind::UnknownLocations, {}};
    ok = ok && writeBytes(mimePackagePath(home), mimePackageText().toUtf8(), problem);
    ok = ok && writeBytes(desktopEntryPath(home), desktopEntryText(target.executablePath).toUtf8(),
                          problem);
    if (ok && !target.documentIcon.isNull()) {
        ok =
            writeIcon(iconPath(home, iconSize(target.documentIcon), "mimetypes", kDocumentIconName),
                      squareIcon(target.documentIcon), problem);
    }
    if (ok && !target.programIcon.isNull()) {
        ok = writeIcon(iconPath(home, iconSize(target.programIcon), "apps", kProgramIconName),
                       squareIcon(target.programIcon), problem);
    }
    ok = ok && refreshCaches(home, problem);
    if (!ok && QDir::isAbsolutePath(home)) {
        // No half association: take back what was written.
        std::optional<AssociationProblem> ignored;
        removeFiles(home, ignored);
        refreshCaches(home, ignored);
    }
    return {problem};
}

AssociationOutcome removeModelFileAssociation(const QString& dataHome) {
    std::optional<AssociationProblem> problem;
    if (!QDir::isAbsolutePath(dataHome)) {
        problem = AssociationProblem{Kind::UnknownLocations, {}};
    } else if (removeFiles(dataHome, problem)) {
        refreshCaches(dataHome, problem);
    }
    return {problem};
}

}  // namespace rek
