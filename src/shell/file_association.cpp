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

const char* const kDocumentIconName = "application-x-rektool";
// Older versions named the desktop entry, the MIME package and the program icon after the
// program; removal takes those away too.
const char* const kLegacyName = "rektool";
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

QString applicationId() {
    return QString::fromLatin1(kApplicationId);
}

// Every installed copy of our icons, at whatever size an earlier association used, also under
// an older version's program icon name.
QStringList installedIcons(const QString& dataHome) {
    QStringList paths;
    const QDir hicolor(hicolorDirectory(dataHome));
    const QStringList sizes = hicolor.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    const QStringList names{QStringLiteral("/mimetypes/") + QString::fromLatin1(kDocumentIconName),
                            QStringLiteral("/apps/") + applicationId(),
                            QStringLiteral("/apps/") + QString::fromLatin1(kLegacyName)};
    for (const QString& size : sizes) {
        for (const QString& name : names) {
            const QString path = hicolor.filePath(size + name + QStringLiteral(".png"));
            if (QFileInfo::exists(path))
                paths << path;
        }
    }
    return paths;
}

QString mimePackageText() {
    return QStringLiteral(
               "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
               "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
               "  <mime-type type=\"%1\">\n"
               "    <comment>レクモデル</comment>\n"
               "    <comment xml:lang=\"en\">RekTool model</comment>\n"
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
               "Name[en]=RekTool\n"
               "Comment=レクモデルを開く\n"
               "Comment[en]=Open RekTool models\n"
               "Exec=%1\n"
               "Icon=%2\n"
               "MimeType=%3;\n"
               "Terminal=false\n"
               "NoDisplay=true\n")
        .arg(desktopExecLine(executablePath), applicationId(), QString::fromLatin1(kModelMimeType));
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

// Runs `tool` with `arguments` and waits for it; a tool that does not start, hangs or fails is
// reported by name.
bool runTool(const QString& tool, const QString& program, const QStringList& arguments,
             const QProcessEnvironment& environment, std::optional<AssociationProblem>& problem) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
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

// Runs a cache tool if it is installed; a missing tool is no failure, since the desktop then
// reads the source files itself.
bool runUpdateTool(const QString& tool, const QString& directory,
                   std::optional<AssociationProblem>& problem) {
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty() || !QFileInfo(directory).isDir())
        return true;
    return runTool(tool, program, {directory}, QProcessEnvironment::systemEnvironment(), problem);
}

bool refreshCaches(const QString& dataHome, std::optional<AssociationProblem>& problem) {
    return runUpdateTool(QStringLiteral("update-mime-database"), dataHome + QStringLiteral("/mime"),
                         problem) &&
           runUpdateTool(QStringLiteral("update-desktop-database"),
                         dataHome + QStringLiteral("/applications"), problem);
}

// The per-user files of the association, of this version and of older ones, that exist.
QStringList userFiles(const QString& dataHome) {
    const QString legacy = QString::fromLatin1(kLegacyName);
    QStringList paths{
        mimePackagePath(dataHome), desktopEntryPath(dataHome),
        dataHome + QStringLiteral("/mime/packages/") + legacy + QStringLiteral(".xml"),
        dataHome + QStringLiteral("/applications/") + legacy + QStringLiteral(".desktop")};
    paths << installedIcons(dataHome);
    QStringList existing;
    for (const QString& path : paths) {
        if (QFileInfo(path).isFile() || QFileInfo(path).isSymLink())
            existing << path;
    }
    return existing;
}

// Removes the association's files; the folders are shared with other programs and stay.
bool removeFiles(const QStringList& paths, std::optional<AssociationProblem>& problem) {
    bool ok = true;
    for (const QString& path : paths) {
        if (!QFile::remove(path)) {
            if (ok)
                problem = AssociationProblem{Kind::CannotRemove, path};
            ok = false;
        }
    }
    return ok;
}

// Removes whatever per-user files exist and refreshes the caches if there were any.
bool removeUserFiles(const QString& dataHome, std::optional<AssociationProblem>& problem) {
    const QStringList paths = userFiles(dataHome);
    if (paths.isEmpty())
        return true;
    const bool removed = removeFiles(paths, problem);
    return refreshCaches(dataHome, problem) && removed;
}

// With the package installed: no files of our own, only the user's default for the type.
AssociationOutcome chooseInstalledEntry(const AssociationTarget& target) {
    std::optional<AssociationProblem> problem;
    if (!QDir::isAbsolutePath(target.dataHome) || !QDir::isAbsolutePath(target.configHome)) {
        problem = AssociationProblem{Kind::UnknownLocations, {}};
        return {problem};
    }
    if (!removeUserFiles(target.dataHome, problem))
        return {problem};
    if (!QDir().mkpath(target.configHome)) {
        problem = AssociationProblem{Kind::CannotCreateFolder, target.configHome};
        return {problem};
    }
    const QString tool = QStringLiteral("xdg-mime");
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty()) {
        problem = AssociationProblem{Kind::ToolDidNotStart, tool};
        return {problem};
    }
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), target.configHome);
    environment.insert(QStringLiteral("XDG_DATA_HOME"), target.dataHome);
    environment.insert(QStringLiteral("XDG_DATA_DIRS"), target.systemDataDirs.join(u':'));
    runTool(tool, program,
            {QStringLiteral("default"), applicationId() + QStringLiteral(".desktop"),
             QString::fromLatin1(kModelMimeType)},
            environment, problem);
    return {problem};
}

QString absoluteFromEnvironment(const char* name, const QString& fallback) {
    const QString fromEnvironment = qEnvironmentVariable(name);
    // A relative value is ignored, as the XDG base directories prescribe.
    if (!fromEnvironment.isEmpty() && QDir::isAbsolutePath(fromEnvironment))
        return QDir::cleanPath(fromEnvironment);
    return fallback;
}

}  // namespace

QString defaultDataHome() {
    return absoluteFromEnvironment("XDG_DATA_HOME",
                                   QDir::homePath() + QStringLiteral("/.local/share"));
}

QString defaultConfigHome() {
    return absoluteFromEnvironment("XDG_CONFIG_HOME",
                                   QDir::homePath() + QStringLiteral("/.config"));
}

QStringList defaultSystemDataDirs() {
    QStringList dirs;
    const QStringList fromEnvironment =
        qEnvironmentVariable("XDG_DATA_DIRS").split(u':', Qt::SkipEmptyParts);
    for (const QString& dir : fromEnvironment) {
        if (QDir::isAbsolutePath(dir))
            dirs << QDir::cleanPath(dir);
    }
    if (dirs.isEmpty())
        dirs = QStringList{QStringLiteral("/usr/local/share"), QStringLiteral("/usr/share")};
    return dirs;
}

QString systemDesktopEntry(const QStringList& systemDataDirs) {
    for (const QString& dir : systemDataDirs) {
        const QString path =
            dir + QStringLiteral("/applications/") + applicationId() + QStringLiteral(".desktop");
        if (QDir::isAbsolutePath(dir) && QFileInfo(path).isFile())
            return path;
    }
    return {};
}

QString mimePackagePath(const QString& dataHome) {
    return dataHome + QStringLiteral("/mime/packages/") + applicationId() + QStringLiteral(".xml");
}

QString desktopEntryPath(const QString& dataHome) {
    return dataHome + QStringLiteral("/applications/") + applicationId() +
           QStringLiteral(".desktop");
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
    if (!systemDesktopEntry(target.systemDataDirs).isEmpty())
        return chooseInstalledEntry(target);

    const QString& home = target.dataHome;
    std::optional<AssociationProblem> problem;
    bool ok = QDir::isAbsolutePath(target.executablePath) && QDir::isAbsolutePath(home);
    if (!ok)
        problem = AssociationProblem{Kind::UnknownLocations, {}};
    // An older version's files, or icons of other sizes, would stay beside the new ones.
    ok = ok && removeFiles(userFiles(home), problem);
    ok = ok && writeBytes(mimePackagePath(home), mimePackageText().toUtf8(), problem);
    ok = ok && writeBytes(desktopEntryPath(home), desktopEntryText(target.executablePath).toUtf8(),
                          problem);
    if (ok && !target.documentIcon.isNull()) {
        ok =
            writeIcon(iconPath(home, iconSize(target.documentIcon), "mimetypes", kDocumentIconName),
                      squareIcon(target.documentIcon), problem);
    }
    if (ok && !target.programIcon.isNull()) {
        ok = writeIcon(iconPath(home, iconSize(target.programIcon), "apps", kApplicationId),
                       squareIcon(target.programIcon), problem);
    }
    ok = ok && refreshCaches(home, problem);
    if (!ok && QDir::isAbsolutePath(home)) {
        // No half association: take back what was written.
        std::optional<AssociationProblem> ignored;
        removeFiles(userFiles(home), ignored);
        refreshCaches(home, ignored);
    }
    return {problem};
}

AssociationOutcome removeModelFileAssociation(const QString& dataHome) {
    std::optional<AssociationProblem> problem;
    if (!QDir::isAbsolutePath(dataHome)) {
        problem = AssociationProblem{Kind::UnknownLocations, {}};
    } else {
        removeUserFiles(dataHome, problem);
    }
    return {problem};
}

}  // namespace rek
