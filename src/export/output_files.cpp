#include "export/output_files.h"

#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace rek {

namespace {

// The longest name a folder takes; 255 where the folder cannot be asked.
std::size_t nameLimit(const std::string& folder) {
    const long limit = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    return limit > 0 ? static_cast<std::size_t>(limit) : 255;
}

bool endsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() &&
           text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

const char* targetExtension(ExportTarget target) {
    switch (target) {
        case ExportTarget::Gif:
            return ".gif";
        case ExportTarget::Bmp:
            return ".bmp";
        case ExportTarget::Webp:
            return ".webp";
        case ExportTarget::Apng:
        case ExportTarget::Png:
            return ".png";
        case ExportTarget::Svg:
            return ".svg";
    }
    return "";
}

std::string numberedFileName(const std::string& base, ExportKind kind, std::uint64_t frame,
                             const char* extension) {
    if (kind == ExportKind::Still)
        return base + extension;
    char number[32];
    std::snprintf(number, sizeof number, "%04llu", static_cast<unsigned long long>(frame));
    return base + number + extension;
}

std::string outputPathFor(ExportTarget target, const std::string& entered) {
    if (entered.empty() || entered.back() == '/')
        return entered;
    const std::string extension = targetExtension(target);
    if (isNumberedSet(target))
        return endsWith(entered, extension) ? entered.substr(0, entered.size() - extension.size())
                                            : entered;
    if (endsWith(entered, extension) ||
        (target == ExportTarget::Apng && endsWith(entered, ".apng")))
        return entered;
    return entered + extension;
}

std::string firstOutputFile(ExportTarget target, const ExportRequest& request) {
    if (!isNumberedSet(target))
        return request.path;
    return numberedFileName(request.path, request.kind, 0, targetExtension(target));
}

std::string lastOutputFile(ExportTarget target, const ExportRequest& request,
                           std::uint64_t frames) {
    if (!isNumberedSet(target))
        return request.path;
    return numberedFileName(request.path, request.kind, frames > 0 ? frames - 1 : 0,
                            targetExtension(target));
}

std::optional<ExportErrorCode> outputNameProblem(const std::string& file) {
    if (file.empty() || file.back() == '/' || isFolder(file))
        return ExportErrorCode::OutputIsFolder;
    if (file.size() >= PATH_MAX)
        return ExportErrorCode::PathTooLong;
    const std::size_t slash = file.rfind('/');
    const std::string folder =
        slash == std::string::npos ? std::string(".") : file.substr(0, slash == 0 ? 1 : slash);
    const std::string name = slash == std::string::npos ? file : file.substr(slash + 1);
    if (name.size() > nameLimit(folder))
        return ExportErrorCode::PathTooLong;
    return std::nullopt;
}

}  // namespace rek
