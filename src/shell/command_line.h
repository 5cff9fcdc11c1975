#pragma once

#include <QString>
#include <string>
#include <vector>

namespace rek {

// The editor's command line after Qt has taken its own options: options first, then the file.
//   rektool [--lang L | --lang=L] [--] [FILE]
// Everything after the options is the file's path (pathFromCommandLine); "--" ends the options,
// so a file whose name starts with "--lang" can still be given.
struct EditorCommandLine {
    enum class Problem { None, MissingLanguage, UnknownLanguage };

    QString language;  // --lang, checked: empty for the locale's
    std::string path;
    Problem problem = Problem::None;
    std::string unknownLanguage;  // the value of --lang the program has no translation into
};

EditorCommandLine readEditorCommandLine(const std::vector<std::string>& arguments);

// Why the command line was refused, in the language in use; empty when it was not.
QString commandLineError(const EditorCommandLine& line);

}  // namespace rek
