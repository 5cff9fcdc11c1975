#pragma once

// The small rules of the export dialogs that need no widget: forming paths and formatting the
// estimates. The command-line exporter shares the path rules.

#include <QString>
#include <cstdint>

#include "export/export_job.h"
#include "export/export_settings.h"

namespace rek {

// The path the dialog opens with: the model's file with its last four characters replaced by
// `extension`, once the model has a file (loaded or saved); empty for an unnamed model.
QString defaultExportPath(const QString& modelPath, const QString& extension);

// The GIF written for an entered path: ".gif" is appended unless the path ends in exactly
// ".gif" (so anim.GIF becomes anim.GIF.gif).
QString gifOutputPath(const QString& entered);
// The base name of a BMP series: a final ".bmp" (exactly) is removed.
QString bmpBaseName(const QString& entered);

// What an entered name asks for, and the path the request is made with.
struct OutputChoice {
    ExportTarget target = ExportTarget::Gif;
    QString path;
};
// The animation dialog: the extension picks the format, compared exactly as for ".gif":
// ".gif", ".webp", ".apng" or ".png" (APNG); any other name is a GIF with ".gif" appended.
OutputChoice animationOutput(const QString& entered);
// The numbered dialog: ".png" a PNG set and ".svg" the SVG still image; any other name a BMP
// set. The base name of a set loses its extension.
OutputChoice numberedOutput(const QString& entered);
// A name picked in the save chooser with a file type: the type's extension is added when
// `dialogRule` (animationOutput or numberedOutput) would not see one of its own in the name.
QString withChosenExtension(const QString& chosen, ExportTarget chosenType,
                            OutputChoice (*dialogRule)(const QString&));

// The size estimate in megabytes, right-aligned in ten characters with three decimals.
QString formatMegabytes(double megabytes);

// The keep-ratio rule: the other side for a side typed into, truncating (e.g. 400 of 800 x 600
// gives 300, and 301 of the height gives 401).
std::int64_t keepRatio(std::int64_t typed, std::int32_t typedCanvasSide,
                       std::int32_t otherCanvasSide);

// Stores the choices of a dialog for its next opening: smoothness = 18 - delay.
void rememberExportSettings(ExportSettings& settings, ExportKind kind, bool antiAlias,
                            bool transparent, std::int32_t waitSeconds, int delay);

}  // namespace rek
