#include "export/export_dialog_rules.h"

#include <algorithm>
#include <cstdio>

#include "export/export_job.h"

namespace rek {

std::optional<std::int32_t> parseUnsignedField(const QString& text) {
    const QString digits = text.trimmed();
    if (digits.isEmpty() || digits.size() > 10)
        return std::nullopt;
    std::int64_t value = 0;
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    if (value > 2147483647)
        return std::nullopt;
    return static_cast<std::int32_t>(value);
}

QString defaultExportPath(const Model& model, const QString& extension) {
    if (model.displayName.empty())
        return {};
    const QString path = QString::fromStdString(model.filePath);
    if (path.size() < 4)
        return path + extension;
    return path.left(path.size() - 4) + extension;
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
