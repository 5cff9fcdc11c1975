#include "export/cli/cli_options.h"

#include <QCommandLineParser>
#include <QRegularExpression>

#include "shell/text/number_field.h"

namespace rek::cli {

namespace {

UsageError error(const QString& text) {
    return UsageError{text.toStdString()};
}

}  // namespace

std::string helpText() {
    return "Usage: rektool-export MODEL.rkm (--gif OUT | --bmp BASE | --info) [options]\n"
           "\n"
           "Exports a レクツール model (.rkm or .rk2) without opening a window.\n"
           "\n"
           "  --gif OUT          write an animated GIF (\".gif\" is appended unless OUT ends\n"
           "                     in \".gif\")\n"
           "  --bmp BASE         write numbered BMP files BASE0000.bmp, BASE0001.bmp, ...\n"
           "                     (BASE.bmp for --kind still; a final \".bmp\" is removed)\n"
           "  --info             print the model's properties and vertices as JSON\n"
           "  --kind K           wobble (5 frames, default), vtr (replay in drawing order,\n"
           "                     then the wait) or still (BMP only, one unwobbled image)\n"
           "  --wait S           seconds of finished model after a VTR replay (default 5)\n"
           "  --smoothness N     VTR smoothness 0-12 (default 12): frame delay 18-N\n"
           "                     hundredths of a second\n"
           "  --size WxH         target size in pixels (default: the model's canvas size)\n"
           "  --antialias        capture at canvas size and resize with smoothing\n"
           "  --transparent      GIF: make the model's background colour transparent\n"
           "                     (ignored with --antialias)\n"
           "  --seed N           seed of the wobble (0-4294967295) for reproducible output\n"
           "  -h, --help         show this help\n"
           "\n"
           "Progress goes to standard error. Exit status: 0 success, 1 the export failed,\n"
           "2 bad arguments or a model that cannot be loaded.\n";
}

ParseOutcome parseArguments(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption gif(QStringLiteral("gif"), {}, QStringLiteral("OUT"));
    const QCommandLineOption bmp(QStringLiteral("bmp"), {}, QStringLiteral("BASE"));
    const QCommandLineOption info(QStringLiteral("info"));
    const QCommandLineOption kind(QStringLiteral("kind"), {}, QStringLiteral("K"));
    const QCommandLineOption wait(QStringLiteral("wait"), {}, QStringLiteral("S"));
    const QCommandLineOption smoothness(QStringLiteral("smoothness"), {}, QStringLiteral("N"));
    const QCommandLineOption size(QStringLiteral("size"), {}, QStringLiteral("WxH"));
    const QCommandLineOption antiAlias(QStringLiteral("antialias"));
    const QCommandLineOption transparent(QStringLiteral("transparent"));
    const QCommandLineOption seed(QStringLiteral("seed"), {}, QStringLiteral("N"));
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    parser.addOptions(
        {gif, bmp, info, kind, wait, smoothness, size, antiAlias, transparent, seed, help});
    if (!parser.parse(arguments))
        return error(parser.errorText());
    if (parser.isSet(help))
        return HelpRequested{};

    Options options;
    const QStringList positional = parser.positionalArguments();
    if (positional.size() != 1)
        return error(positional.isEmpty() ? QStringLiteral("no model file given")
                                          : QStringLiteral("exactly one model file expected"));
    options.modelPath = positional.front().toStdString();

    const int actions = int(parser.isSet(gif)) + int(parser.isSet(bmp)) + int(parser.isSet(info));
    if (actions != 1)
        return error(QStringLiteral("give exactly one of --gif, --bmp and --info"));
    for (const QCommandLineOption* option : {&gif, &bmp, &kind, &wait, &smoothness, &size, &seed}) {
        if (parser.values(*option).size() > 1)
            return error(
                QStringLiteral("--%1 is given more than once").arg(option->names().front()));
    }
    if (parser.isSet(gif)) {
        options.action = Action::Gif;
        options.output = parser.value(gif).toStdString();
    } else if (parser.isSet(bmp)) {
        options.action = Action::Bmp;
        options.output = parser.value(bmp).toStdString();
    }
    if (options.action != Action::Info && options.output.empty())
        return error(QStringLiteral("the output path is empty"));

    if (parser.isSet(kind)) {
        const QString value = parser.value(kind);
        if (value == QLatin1String("wobble"))
            options.kind = ExportKind::Wobble;
        else if (value == QLatin1String("vtr"))
            options.kind = ExportKind::Vtr;
        else if (value == QLatin1String("still"))
            options.kind = ExportKind::Still;
        else
            return error(
                QStringLiteral("--kind must be wobble, vtr or still, not \"%1\"").arg(value));
    }
    if (options.kind == ExportKind::Still && options.action == Action::Gif)
        return error(QStringLiteral("--kind still is for --bmp only"));

    if (parser.isSet(wait)) {
        const auto value = parseUnsignedField(parser.value(wait));
        if (!value)
            return error(QStringLiteral("--wait must be a whole number of seconds"));
        options.waitSeconds = *value;
    }
    if (parser.isSet(smoothness)) {
        const auto value = parseUnsignedField(parser.value(smoothness));
        if (!value || *value > 12)
            return error(QStringLiteral("--smoothness must be a whole number from 0 to 12"));
        options.smoothness = *value;
    }
    if (parser.isSet(size)) {
        static const QRegularExpression pattern(
            QStringLiteral("^\\s*(\\d+)\\s*[xX]\\s*(\\d+)\\s*$"));
        const QRegularExpressionMatch match = pattern.match(parser.value(size));
        const auto width = match.hasMatch() ? parseUnsignedField(match.captured(1)) : std::nullopt;
        const auto height = match.hasMatch() ? parseUnsignedField(match.captured(2)) : std::nullopt;
        if (!width || !height || *width == 0 || *height == 0)
            return error(QStringLiteral(
                "--size must be WIDTHxHEIGHT with both sides positive, e.g. 400x300"));
        options.size = std::make_pair(*width, *height);
    }
    if (parser.isSet(seed)) {
        bool ok = false;
        const qulonglong value = parser.value(seed).toULongLong(&ok);
        if (!ok || value > 0xFFFFFFFFull)
            return error(QStringLiteral("--seed must be a number from 0 to 4294967295"));
        options.seed = static_cast<std::uint32_t>(value);
    }
    options.antiAlias = parser.isSet(antiAlias);
    options.transparent = parser.isSet(transparent);
    return options;
}

}  // namespace rek::cli
