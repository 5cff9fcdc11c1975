#pragma once

#include <QImage>
#include <QString>

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

struct AssociationOutcome {
    bool ok = false;
    QString message;  // for the user, in either case
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
