#pragma once

// The export part of the message catalogue: the texts of the export dialogs' status line and
// message boxes, and of rektool-export's errors, made from the values the engines report.

#include <QString>

#include "export/export_job.h"
#include "shell/text/user_message.h"

namespace rek::messages {

// The status line while an export runs: 画像データを作成中……… and so on.
QString exportStage(ExportStage stage);
// The status line before Create is pressed.
QString exportReady();
// The status line after a stop: 中止しました。
QString exportStopped();
// The Cancel button while an export runs: 中止.
QString exportStopButton();

// The save chooser's file types: "WebPファイル(*.webp)" and so on.
QString exportFilterName(ExportTarget target);

// Why a request was refused (no icon) or an export failed (the error icon: memory and files
// that cannot be written). Empty for a cancelled export, which the user asked for.
UserMessage exportError(const ExportError& error);

// The question before a file that exists is replaced: the first file the export writes.
QString exportOverwrite(const QString& path);

// The report that closes an export dialog: made, or failed, for each format.
QString exportFinished(ExportTarget target, bool succeeded);

}  // namespace rek::messages
