#include "scratch_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <iterator>

namespace rek::test {

ScratchFolder::ScratchFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "rek_";
    if (info != nullptr)
        name += std::string(info->test_suite_name()) + "_" + info->name();
    name += "_" + std::to_string(::getpid());
    // Parameterised tests carry '/' in their names.
    for (char& c : name) {
        if (c == '/')
            c = '_';
    }
    path_ = std::filesystem::path(::testing::TempDir()) / name;
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::size_t ScratchFolder::entryCount() const {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(path_),
                                                  std::filesystem::directory_iterator()));
}

}  // namespace rek::test
