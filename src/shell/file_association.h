#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <optional>

namespace rek {

// The application id: the name of the desktop entry, the AppStream component and the program
// icon, and the desktop file name the windows announce. The installed files under packaging/
// carry the same id.
inline constexpr const char* kApplicationId = "io.github.rektool.RekTool";

// The per-user freedesktop registration of model files (*.rkm). Without a system-wide
// installation it is a shared-mime-info package declaring the type, a desktop entry that opens
// such a file with this program, and the document and program icons in the hicolor theme, all
// below the user's data directory. When the package is installed (its desktop entry is in one
// of the system data folders), those files are the system's: the association then only makes
// the installed entry the user's default for the type (xdg-mime default), and takes away
// per-user files of an earlier association, whose entry of the same name would hide the
// installed one. Legacy .rk2 files are never associated per user.
inline constexpr const char* kModelMimeType = "application/x-rektool";

struct AssociationTarget {
    QString dataHome;            // $XDG_DATA_HOME, or ~/.local/share (see defaultDataHome)
    QString configHome;          // $XDG_CONFIG_HOME, where xdg-mime keeps mimeapps.list
    QStringList systemDataDirs;  // $XDG_DATA_DIRS (see defaultSystemDataDirs)
    QString executablePath;      // absolute path of the program the desktop entry runs
    QImage documentIcon;         // shown for model files; none is installed when null
    QImage programIcon;          // the desktop entry's icon; none is installed when null
};

enum class AssociationAction { Associate, Remove };

// Why an association could not be made or removed, with the file or tool concerned.
struct AssociationProblem {
    enum class Kind {
        UnknownLocations,  // the program's or the data folder's path is not absolute
        CannotCreateFolder,
        CannotWrite,
        CannotRemove,
        ToolDidNotStart,  // a desktop cache tool or xdg-mime
        ToolNotResponding,
        ToolFailed,
    };
    Kind kind = Kind::UnknownLocations;
    QString subject;  // the folder, file or tool
};

struct AssociationOutcome {
    std::optional<AssociationProblem> problem;  // none on success

    bool ok() const { return !problem.has_value(); }
};

QString defaultDataHome();
QString defaultConfigHome();
// $XDG_DATA_DIRS without its relative entries, or /usr/local/share and /usr/share.
QStringList defaultSystemDataDirs();

// The installed desktop entry in the first of `systemDataDirs` that has one, or an empty string.
QString systemDesktopEntry(const QStringList& systemDataDirs);

// The files the association consists of, below `dataHome`, deepest kinds last.
QString mimePackagePath(const QString& dataHome);
QString desktopEntryPath(const QString& dataHome);

// A desktop entry's Exec value that runs `executablePath` with one file argument.
QString desktopExecLine(const QString& executablePath);

// Without a system-wide installation: writes (or rewrites) every file of the association, then
// refreshes the desktop's caches; if a file cannot be written, whatever was written is taken
// away again. With one: removes the per-user files and makes the installed entry the default.
AssociationOutcome associateModelFiles(const AssociationTarget& target);

// Deletes every per-user file of the association that exists (also those of older versions,
// named after the program) and refreshes the caches; with nothing associated it leaves the
// folder as it was. System-wide files are never touched.
AssociationOutcome removeModelFileAssociation(const QString& dataHome);

}  // namespace rek
