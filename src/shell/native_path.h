#pragma once

#include <QString>
#include <string>
#include <vector>

class QUrl;

namespace rek {

// Paths as the file system has them: bytes, whatever the locale makes of them. They stay bytes
// from the command line, a drop or a second start to the file and back; text is made from them
// only for the user's eyes, where bytes that are no valid text show as U+FFFD.

// The bytes of a path the user typed or chose.
std::string nativePath(const QString& path);
// The path as text for the user.
QString pathForDisplay(const std::string& path);
// The last part of the path as text for the user (the window title's name).
QString fileNameForDisplay(const std::string& path);
// The path made absolute against the current folder; an absolute path stays as it is.
std::string absoluteNativePath(const std::string& path);
// The command line's path: the arguments joined by spaces, every double quote removed.
std::string pathFromCommandLine(const std::vector<std::string>& arguments);
// The path of a local file URL (percent-encoded bytes decoded); empty for any other URL.
std::string nativePathOfUrl(const QUrl& url);

}  // namespace rek
