#pragma once

#include <QImage>
#include <QString>
#include <optional>

namespace rek {

// The per-user freedesktop registration of model files (*.rkm): a shared-mime-info package
// declaring the type, a desktop entry that opens such a file with this program, and the
// document and program icons in the hicolor theme, all below the user's data directory.
// Legacy .rk2 files are never associated.
inline constexpr const char* kModelMimeType = "application/x-rektool";

struct AssociationTarget {
    QString dataHome;        // $XDG_DATA_HOME, or ~/.local/share (see defaultDataHome)
    QString executablePath;  // absolute path of the program the desktop entry runs
    QImage documentIcon;     // shown for model files; none is installed when null
    QImage programIcon;      // the desktop entry's icon; none is installed when null
};

enum class AssociationAction { Associate, Remove };

// Why an association could not be made or removed, with the file or tool concerned.
struct AssociationProblem {
    enum class Kind {
        UnknownLocations,  // the program's or the data folder's path is not absolute
        CannotCreateFolder,
        CannotWrite,
        CannotRemove,
        ToolDidNotStart,  // a desktop cache tool
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

// The files the association consists of, below `dataHome`, deepest kinds last.
QString mimePackagePath(const QString& dataHome);
QString desktopEntryPath(const QString& dataHome);

// A desktop entry's Exec value that runs `executablePath` with one file argument.
QString desktopExecLine(const QString& executablePath);

// Writes (or rewrites) every file of the association, then refreshes the desktop's caches.
// If a file cannot be written, whatever was written is taken away again.
AssociationOutcome associateModelFiles(const AssociationTarget& target);

// Deletes every file of the association that exists and refreshes the caches; with nothing
// associated it leaves the folder as it was.
AssociationOutcome removeModelFileAssociation(const QString& dataHome);

}  // namespace rek
