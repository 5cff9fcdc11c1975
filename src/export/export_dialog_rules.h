#pragma once

// The small rules of the export dialogs that need no widget: reading numbers from the
// fields, forming paths and formatting the estimates. The command-line exporter shares the
// number and path rules.

#include <QString>
#include <cstdint>
#include <optional>

#include "export/export_settings.h"
#include "model/model.h"

namespace rek {

// A field read as an unsigned decimal number: digits only (surrounding spaces allowed),
// below 2^31. Anything else is not a number.
std::optional<std::int32_t> parseUnsignedField(const QString& text);

// The path the dialog opens with: the model's file with its last four characters replaced by
// `extension`, once the model has a name (loaded or saved); otherwise empty.
QString defaultExportPath(const Model& model, const QString& extension);

// The GIF written for an entered path: ".gif" is appended unless the path ends in exactly
// ".gif" (so anim.GIF becomes anim.GIF.gif).
QString gifOutputPath(const QString& entered);
// The base name of a BMP series: a final ".bmp" (exactly) is removed.
QString bmpBaseName(const QString& entered);

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
