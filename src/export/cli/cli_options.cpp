#include "export/cli/cli_options.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QString>
#include <array>
#include <map>

#include "export/cli/cli_text.h"
#include "shell/text/language.h"
#include "shell/text/number_field.h"

namespace rek::cli {

namespace {

// English as written here, or translated into the language chosen at start-up.
struct Text {
    Q_DECLARE_TR_FUNCTIONS(ExportCommandLine)
};

UsageError error(const QString& text, std::initializer_list<std::string_view> arguments = {}) {
    return UsageError{withArguments(text, arguments)};
}

struct Format {
    const char* option;
    ExportTarget target;
};
constexpr std::array<Format, 6> kFormats = {{{"gif", ExportTarget::Gif},
                                             {"bmp", ExportTarget::Bmp},
                                             {"webp", ExportTarget::Webp},
                                             {"apng", ExportTarget::Apng},
                                             {"png", ExportTarget::Png},
                                             {"svg", ExportTarget::Svg}}};

bool takesValue(const std::string& name) {
    for (const Format& format : kFormats) {
        if (name == format.option)
            return true;
    }
    return name == "kind" || name == "wait" || name == "smoothness" || name == "size" ||
           name == "seed" || name == "quality" || name == "lang";
}

bool isFlag(const std::string& name) {
    return name == "info" || name == "antialias" || name == "transparent" || name == "no-wobble" ||
           name == "quiet" || name == "h" || name == "help";
}

// The options as given: name to values (one per occurrence), and the positional arguments.
struct Parsed {
    std::map<std::string, std::vector<std::string>> options;
    std::vector<std::string> positional;

    bool has(const std::string& name) const { return options.count(name) != 0; }
    const std::string& value(const std::string& name) const { return options.at(name).front(); }
    QString text(const std::string& name) const { return QString::fromLocal8Bit(value(name)); }
};

std::variant<Parsed, UsageError> split(const std::vector<std::string>& arguments) {
    Parsed parsed;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (optionsEnded || argument.size() < 2 || argument[0] != '-') {
            parsed.positional.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        // --name, -name, --name=value, -name=value
        std::string name = argument.substr(argument[1] == '-' ? 2 : 1);
        std::optional<std::string> value;
        if (const std::size_t equals = name.find('='); equals != std::string::npos) {
            value = name.substr(equals + 1);
            name.resize(equals);
        }
        if (takesValue(name)) {
            if (!value) {
                if (i + 1 == arguments.size())
                    return error(Text::tr("missing value after '%1'"), {argument});
                value = arguments[++i];
            }
            parsed.options[name].push_back(*value);
        } else if (isFlag(name) && !value) {
            parsed.options[name].emplace_back();
        } else {
            return error(Text::tr("unknown option '%1'"), {argument});
        }
    }
    return parsed;
}

}  // namespace

std::string helpText() {
    const QString text = QCoreApplication::translate(
        "ExportCommandLine",
        "Usage: rektool-export MODEL.rkm FORMAT OUT [options]\n"
        "       rektool-export MODEL.rkm --info\n"
        "\n"
        "Exports a レクツール model (.rkm or .rk2) without opening a window.\n"
        "\n"
        "Formats (give exactly one):\n"
        "  --gif OUT          animated GIF (\".gif\" is appended unless OUT ends in \".gif\")\n"
        "  --webp OUT         animated WebP, lossless unless --quality is given\n"
        "                     (\".webp\" is appended unless OUT ends in it)\n"
        "  --apng OUT         animated PNG (\".png\" is appended unless OUT ends in \".png\"\n"
        "                     or \".apng\")\n"
        "  --bmp BASE         numbered BMP files BASE0000.bmp, BASE0001.bmp, ...\n"
        "                     (BASE.bmp for --kind still; a final \".bmp\" is removed)\n"
        "  --png BASE         numbered PNG files BASE0000.png, ... (BASE.png for --kind\n"
        "                     still; a final \".png\" is removed)\n"
        "  --svg OUT          the still image as vectors (\".svg\" is appended unless OUT\n"
        "                     ends in it)\n"
        "  --info             print the model's properties and vertices as JSON\n"
        "\n"
        "Options:\n"
        "  --kind K           wobble (5 frames, default), vtr (replay in drawing order,\n"
        "                     then the wait) or still (one unwobbled image: --bmp, --png;\n"
        "                     the only kind of --svg)\n"
        "  --wait S           seconds of finished model after a VTR replay (default 5)\n"
        "  --smoothness N     VTR smoothness 0-12 (default 12): frame delay 18-N\n"
        "                     hundredths of a second\n"
        "  --size WxH         target size in pixels (default: the model's canvas size)\n"
        "  --antialias        capture at canvas size and resize with smoothing\n"
        "  --transparent      make the background transparent: GIF without --antialias;\n"
        "                     WebP, APNG and PNG with real alpha; SVG without background\n"
        "                     (not with --bmp)\n"
        "  --quality Q        --webp only: lossy at quality 0-100 instead of lossless\n"
        "  --no-wobble        --svg only: the vertices as stored, without their current\n"
        "                     wobble offsets\n"
        "  --seed N           seed of the wobble (0-4294967295) for reproducible output\n"
        "  --quiet            no progress bar and no closing line\n"
        "  --lang L           language of the messages: %1 (default: from the locale)\n"
        "  -h, --help         show this help\n"
        "\n"
        "On a terminal a progress bar goes to standard error. SIGINT and SIGTERM stop an\n"
        "export without leaving a file behind. Exit status: 0 success, 1 the export or\n"
        "writing the output failed, 2 bad arguments or a model that cannot be loaded,\n"
        "130 after SIGINT, 143 after SIGTERM.\n");
    const std::string languages = availableLanguages().join(QLatin1Char('|')).toStdString();
    return withArguments(text, {languages});
}

std::optional<std::string> languageArgument(const std::vector<std::string>& arguments) {
    const auto splitOutcome = split(arguments);
    const auto* parsed = std::get_if<Parsed>(&splitOutcome);
    if (parsed == nullptr || !parsed->has("lang"))
        return std::nullopt;
    return parsed->value("lang");
}

ParseOutcome parseArguments(const std::vector<std::string>& arguments) {
    auto splitOutcome = split(arguments);
    if (auto* bad = std::get_if<UsageError>(&splitOutcome))
        return *bad;
    const Parsed& parsed = std::get<Parsed>(splitOutcome);
    if (parsed.has("help") || parsed.has("h"))
        return HelpRequested{};

    Options options;
    if (parsed.positional.size() != 1)
        return error(parsed.positional.empty() ? Text::tr("no model file given")
                                               : Text::tr("exactly one model file expected"));
    options.modelPath = parsed.positional.front();

    int actions = parsed.has("info") ? 1 : 0;
    for (const Format& format : kFormats) {
        if (parsed.has(format.option)) {
            ++actions;
            options.target = format.target;
            options.output = parsed.value(format.option);
        }
    }
    if (actions != 1)
        return error(
            Text::tr("give exactly one of --gif, --webp, --apng, --bmp, --png, --svg and --info"));
    for (const auto& [name, values] : parsed.options) {
        if (values.size() > 1)
            return error(Text::tr("--%1 is given more than once"), {name});
    }
    if (options.target && options.output.empty())
        return error(Text::tr("the output path is empty"));

    const std::optional<ExportTarget> target = options.target;
    if (target == ExportTarget::Svg)
        options.kind = ExportKind::Still;
    if (parsed.has("kind")) {
        const std::string& value = parsed.value("kind");
        if (value == "wobble")
            options.kind = ExportKind::Wobble;
        else if (value == "vtr")
            options.kind = ExportKind::Vtr;
        else if (value == "still")
            options.kind = ExportKind::Still;
        else
            return error(Text::tr("--kind must be wobble, vtr or still, not \"%1\""), {value});
    }
    if (target && isAnimationFile(*target) && options.kind == ExportKind::Still)
        return error(Text::tr("--kind still is for --bmp, --png and --svg only"));
    if (target == ExportTarget::Svg && options.kind != ExportKind::Still)
        return error(
            Text::tr("--svg writes the still image only: leave out --kind or give --kind still"));

    if (parsed.has("wait")) {
        const auto value = parseUnsignedField(parsed.text("wait"));
        if (!value)
            return error(Text::tr("--wait must be a whole number of seconds"));
        options.waitSeconds = *value;
    }
    if (parsed.has("smoothness")) {
        const auto value = parseUnsignedField(parsed.text("smoothness"));
        if (!value || *value > 12)
            return error(Text::tr("--smoothness must be a whole number from 0 to 12"));
        options.smoothness = *value;
    }
    if (parsed.has("size")) {
        static const QRegularExpression pattern(
            QStringLiteral("^\\s*(\\d+)\\s*[xX]\\s*(\\d+)\\s*$"));
        const QRegularExpressionMatch match = pattern.match(parsed.text("size"));
        const auto width = match.hasMatch() ? parseUnsignedField(match.captured(1)) : std::nullopt;
        const auto height = match.hasMatch() ? parseUnsignedField(match.captured(2)) : std::nullopt;
        if (!width || !height || *width == 0 || *height == 0)
            return error(
                Text::tr("--size must be WIDTHxHEIGHT with both sides positive, e.g. 400x300"));
        options.size = std::make_pair(*width, *height);
    }
    if (parsed.has("seed")) {
        bool ok = false;
        const qulonglong value = parsed.text("seed").toULongLong(&ok);
        if (!ok || value > 0xFFFFFFFFull)
            return error(Text::tr("--seed must be a number from 0 to 4294967295"));
        options.seed = static_cast<std::uint32_t>(value);
    }
    if (parsed.has("quality")) {
        if (target != ExportTarget::Webp)
            return error(Text::tr("--quality is for --webp only"));
        const auto value = parseUnsignedField(parsed.text("quality"));
        if (!value || *value > kMaxWebpQuality)
            return error(Text::tr("--quality must be a whole number from 0 to 100"));
        options.quality = *value;
    }
    options.noWobble = parsed.has("no-wobble");
    if (options.noWobble && target != ExportTarget::Svg)
        return error(Text::tr("--no-wobble is for --svg only (still images are never wobbled)"));
    options.antiAlias = parsed.has("antialias");
    options.transparent = parsed.has("transparent");
    if (options.transparent && target && !hasTransparency(*target))
        return error(Text::tr("--transparent needs a format with transparency; BMP has none"));
    options.quiet = parsed.has("quiet");
    if (parsed.has("lang")) {
        const std::optional<QString> language = languageNamed(parsed.value("lang"));
        if (!language)
            return error(Text::tr("--lang must be one of %1, not \"%2\""),
                         {availableLanguages().join(QStringLiteral(", ")).toStdString(),
                          parsed.value("lang")});
        options.language = *language;
    }
    return options;
}

}  // namespace rek::cli
