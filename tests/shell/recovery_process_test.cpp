// The unsaved work of an editor killed with SIGKILL comes back at the next start: both are real
// processes running the program's start-up (recovery_helper_main.cpp).

#include <gtest/gtest.h>

#include <filesystem>

#include "child_process.h"
#include "model/model_file.h"
#include "scratch_folder.h"
#include "shell_test_support.h"

namespace rek {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

ModelFileContents load(const std::string& path) {
    ModelFileRead read = readModel(path);
    EXPECT_TRUE(std::holds_alternative<ModelFileContents>(read)) << path;
    return std::holds_alternative<ModelFileContents>(read)
               ? std::get<ModelFileContents>(std::move(read))
               : ModelFileContents{};
}

std::size_t filesIn(const fs::path& folder, const std::string& extension) {
    std::size_t count = 0;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error))
        count += entry.path().extension() == extension ? 1 : 0;
    return count;
}

TEST(RecoveryProcessTest, WorkOfAKilledEditorIsRestoredVertexForVertex) {
    test::ScratchFolder scratch;
    QProcessEnvironment environment = test::isolatedEnvironment(scratch.path());
    environment.insert("REKTOOL_AUTOSAVE_INTERVAL_MS", "200");
    const auto helper = [&](const char* mode, const std::string& out) {
        QProcessEnvironment with = environment;
        with.insert("REK_HELPER_MODE", mode);
        with.insert("REK_HELPER_OUT", QString::fromStdString(out));
        return with;
    };
    const fs::path recovery = scratch.path("state") / "rektool" / "recovery";

    // Opened from the command line under a name that is no valid UTF-8, then drawn on.
    const std::string original = scratch.file("lost\xff.rkm");
    test::writeModelFile(original, test::strokes({{{5, 5}, {60, 70}}}));
    const std::string truth = scratch.file("truth.rkm");
    {
        test::ChildProcess editor(RECOVERY_HELPER, {original}, helper("draw", truth));
        ASSERT_TRUE(test::waitFor(
            [&] { return fs::exists(truth) && filesIn(recovery, ".record") > 0; }, 60s))
            << "no recovery copy was written";
        editor.kill(SIGKILL);
        ASSERT_EQ(editor.wait(10s), -1);
    }
    ASSERT_EQ(filesIn(recovery, ".rkm"), 1u);

    const std::string restored = scratch.file("restored.rkm");
    test::ChildProcess next(RECOVERY_HELPER, {}, helper("restore", restored));
    ASSERT_EQ(next.wait(), 0);
    EXPECT_EQ(next.output(), "questions 1\nmodified 1\npath " +
                                 QByteArray::fromStdString(original).toHex().toStdString() +
                                 "\nname lost\uFFFD.rkm\n");
    const ModelFileContents before = load(truth);
    const ModelFileContents after = load(restored);
    ASSERT_EQ(after.vertices.size(), 8u);
    EXPECT_EQ(test::pts(after.vertices), test::pts(before.vertices));
    ASSERT_TRUE(after.properties && before.properties);
    EXPECT_EQ(after.properties->lineWidth, 11);
    EXPECT_EQ(*after.properties, *before.properties);
    // The restoring editor ended cleanly without saving: nothing is left to offer, and the
    // original file is as it was.
    EXPECT_EQ(filesIn(recovery, ".rkm"), 0u);
    EXPECT_EQ(filesIn(recovery, ".lock"), 0u);
    EXPECT_EQ(load(original).vertices.size(), 2u);
}

}  // namespace
}  // namespace rek
