#include "export/staged_files.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>

#include "model/atomic_file.h"

namespace rek {

namespace {

std::atomic<unsigned long> stagingCounter{0};

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {};
    return path.substr(0, slash + 1);
}

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

}  // namespace

StagedFiles::~StagedFiles() {
    discard();
}

std::string StagedFiles::stage(const std::string& target) {
    char name[64];
    std::snprintf(name, sizeof name, ".rektool-%ld-%lu.part", static_cast<long>(::getpid()),
                  stagingCounter.fetch_add(1));
    std::string staging = folderOf(target) + name;
    files_.emplace_back(staging, target);
    return staging;
}

StagedFiles::Commit StagedFiles::commit(const std::stop_token& stop, std::string& failedTarget) {
    for (const auto& [staging, target] : files_) {
        if (stop.stop_requested()) {
            discard();
            return Commit::Stopped;
        }
        if (isFolder(target) || !flushFile(staging)) {
            failedTarget = target;
            discard();
            return Commit::Failed;
        }
    }
    for (std::size_t i = 0; i < files_.size(); ++i) {
        if (std::rename(files_[i].first.c_str(), files_[i].second.c_str()) != 0) {
            failedTarget = files_[i].second;
            files_.erase(files_.begin(), files_.begin() + static_cast<std::ptrdiff_t>(i));
            discard();
            return Commit::Failed;
        }
    }
    std::vector<std::string> folders;
    for (const auto& file : files_) {
        std::string folder = folderOf(file.second);
        if (std::find(folders.begin(), folders.end(), folder) == folders.end())
            folders.push_back(std::move(folder));
    }
    for (const std::string& folder : folders)
        flushFolder(folder);
    files_.clear();
    return Commit::Done;
}

void StagedFiles::discard() {
    for (const auto& file : files_)
        ::unlink(file.first.c_str());
    files_.clear();
}

}  // namespace rek
