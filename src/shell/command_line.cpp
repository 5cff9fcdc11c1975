#include "shell/command_line.h"

#include <QCoreApplication>

#include "shell/native_path.h"
#include "shell/text/language.h"

namespace rek {

namespace {

struct Text {
    Q_DECLARE_TR_FUNCTIONS(EditorCommandLine)
};

}  // namespace

EditorCommandLine readEditorCommandLine(const std::vector<std::string>& arguments) {
    EditorCommandLine line;
    std::size_t next = 0;
    while (next < arguments.size()) {
        const std::string& argument = arguments[next];
        if (argument == "--") {
            ++next;
            break;
        }
        std::string value;
        if (argument == "--lang") {
            if (next + 1 == arguments.size()) {
                line.problem = EditorCommandLine::Problem::MissingLanguage;
                return line;
            }
            value = arguments[next + 1];
            next += 2;
        } else if (argument.starts_with("--lang=")) {
            value = argument.substr(7);
            ++next;
        } else {
            break;
        }
        const std::optional<QString> language = languageNamed(value);
        if (!language) {
            line.problem = EditorCommandLine::Problem::UnknownLanguage;
            line.unknownLanguage = value;
            return line;
        }
        line.language = *language;
    }
    line.path = pathFromCommandLine(std::vector<std::string>(
        arguments.begin() + static_cast<std::ptrdiff_t>(next), arguments.end()));
    return line;
}

QString commandLineError(const EditorCommandLine& line) {
    switch (line.problem) {
        case EditorCommandLine::Problem::None:
            break;
        case EditorCommandLine::Problem::MissingLanguage:
            return Text::tr("missing value after '--lang'");
        case EditorCommandLine::Problem::UnknownLanguage:
            return Text::tr("--lang must be one of %1, not \"%2\"")
                .arg(availableLanguages().join(QStringLiteral(", ")),
                     QString::fromUtf8(line.unknownLanguage.data(),
                                       static_cast<qsizetype>(line.unknownLanguage.size())));
    }
    return {};
}

}  // namespace rek
