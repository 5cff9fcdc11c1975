#include "shell/native_path.h"

#include <QFile>
#include <QUrl>
#include <filesystem>

namespace rek {

std::string nativePath(const QString& path) {
    return QFile::encodeName(path).toStdString();
}

QString pathForDisplay(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

QString fileNameForDisplay(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return pathForDisplay(slash == std::string::npos ? path : path.substr(slash + 1));
}

std::string absoluteNativePath(const std::string& path) {
    if (path.empty() || path.front() == '/')
        return path;
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.native();
}

std::string pathFromCommandLine(const std::vector<std::string>& arguments) {
    std::string path;
    for (const std::string& argument : arguments) {
        if (&argument != &arguments.front())
            path += ' ';
        path += argument;
    }
    std::erase(path, '"');
    return path;
}

std::string nativePathOfUrl(const QUrl& url) {
    if (!url.isLocalFile())
        return {};
    // The encoded form keeps bytes that are no UTF-8 as they came (%FF stays %FF).
    return QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()).toStdString();
}

}  // namespace rek
