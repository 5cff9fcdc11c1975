#pragma once

// The program's message catalogue: every text it shows in a message box, a title or a status
// line, made from the values the core reports. One place, so the wording is kept (and
// translated) in one file.

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <cstdint>

#include "model/model_file.h"
#include "shell/text/user_message.h"

namespace rek {

struct AssociationProblem;
enum class AssociationAction;

namespace messages {

// "レクツール": the program's name.
QString appName();
// "レクツール Ver.1.41": the caption of every message box and the start of the window title.
QString appTitle();

// "レクツール Ver.1.41 - [ name * ]": the display name (or 無題) and the change mark.
QString windowTitle(const QString& displayName, bool modified);
// "頂点の数：%d" for the first part of the status bar.
QString vertexCount(std::int32_t count);
// "800 × 600" for the size part of the status bar.
QString canvasSize(std::int32_t width, std::int32_t height);

// Why a model file could not be read or written. Empty for a file that cannot be opened at
// all: such a file is refused without a message.
UserMessage modelFileError(ModelFileError error);
// A tool could not get memory for a vertex.
UserMessage vertexMemory();

// The model file choosers: their titles and file types (Qt's filter strings).
QString openModelTitle();
QString saveModelTitle();
QString openModelFilters();
QString saveModelFilters();

QString noModel();                               // an export without vertices
QString saveChanges();                           // the question before New, Open and closing
QString alreadyExists(const QString& fileName);  // Save As: the name with ".rkm" exists
QString multipleStart();                         // a second start without a file

// The start-up question about a recovery copy of unsaved changes: the document's name (or
// 無題) and when the copy was written, and the buttons restore, discard and later.
QString recoveryQuestion(const QString& displayName, const QDateTime& savedAt);
QStringList recoveryButtons();
// Recovery copies that could not be read, moved into `folder` instead of being deleted.
UserMessage recoveryUnreadable(const QString& folder);

// The properties dialog's size checks.
QString widthOutOfRange();
QString heightOutOfRange();

// The settings dialog's association buttons.
QString associationDone(AssociationAction action);
QString associationFailed(AssociationAction action, const AssociationProblem& problem);

}  // namespace messages
}  // namespace rek
