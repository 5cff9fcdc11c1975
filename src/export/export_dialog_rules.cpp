#include "export/export_dialog_rules.h"

#include <algorithm>
#include <cstdio>

#include "export/export_job.h"
#include "export/output_files.h"

namespace rek {

QString defaultExportPath(const QString& modelPath, const QString& extension) {
    if (modelPath.isEmpty())
        return {};
    if (modelPath.size() < 4)
        return modelPath + extension;
    return modelPath.left(modelPath.size() - 4) + extension;
}

QString gifOutputPath(const QString& entered) {
    // Compared exactly: the dialog has always treated ".GIF" as part of the name.
    return entered.endsWith(QStringLiteral(".gif"), Qt::CaseSensitive)
               ? entered
               : entered + QStringLiteral(".gif");
}

QString bmpBaseName(const QString& entered) {
    return entered.endsWith(QStringLiteral(".bmp"), Qt::CaseSensitive) ? entered.chopped(4)
                                                                       : entered;
}

namespace {

bool endsWith(const QString& text, const char* suffix) {
    return text.endsWith(QLatin1String(suffix), Qt::CaseSensitive);
}

}  // namespace

OutputChoice animationOutput(const QString& entered) {
    if (endsWith(entered, ".webp"))
        return {ExportTarget::Webp, entered};
    if (endsWith(entered, ".apng") || endsWith(entered, ".png"))
        return {ExportTarget::Apng, entered};
    return {ExportTarget::Gif,
            entered.endsWith(QLatin1Char('/')) ? entered : gifOutputPath(entered)};
}

OutputChoice numberedOutput(const QString& entered) {
    if (endsWith(entered, ".png"))
        return {ExportTarget::Png, entered.chopped(4)};
    if (endsWith(entered, ".svg"))
        return {ExportTarget::Svg, entered};
    return {ExportTarget::Bmp, bmpBaseName(entered)};
}

QString withChosenExtension(const QString& chosen, ExportTarget chosenType,
                            OutputChoice (*dialogRule)(const QString&)) {
    const OutputChoice asTyped = dialogRule(chosen);
    // The rule's own extension, or the default type's when it appended nothing.
    if (asTyped.target != ExportTarget::Gif && asTyped.target != ExportTarget::Bmp)
        return chosen;
    if (endsWith(chosen, targetExtension(asTyped.target)))
        return chosen;
    return chosen + QLatin1String(targetExtension(chosenType));
}

QString formatMegabytes(double megabytes) {
    char text[64];
    std::snprintf(text, sizeof text, "%10.3f", megabytes);
    return QString::fromLatin1(text);
}

std::int64_t keepRatio(std::int64_t typed, std::int32_t typedCanvasSide,
                       std::int32_t otherCanvasSide) {
    if (typedCanvasSide <= 0)
        return typed;
    return typed * otherCanvasSide / typedCanvasSide;
}

void rememberExportSettings(ExportSettings& settings, ExportKind kind, bool antiAlias,
                            bool transparent, std::int32_t waitSeconds, int delay) {
    settings.kind = kind;
    settings.antiAlias = antiAlias;
    settings.transparent = transparent;
    settings.waitSeconds = waitSeconds;
    settings.smoothness = kMaxFrameDelay - delay;
}

}  // namespace rek
