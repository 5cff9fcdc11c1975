// A save killed at any moment leaves the old file or the new one, never a mixture, and the
// temporary it leaves behind goes with the next save of that file.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <random>
#include <thread>

#include "file_helpers.h"
#include "model/model_file.h"
#include "scratch_folder.h"
#include "vertex_builders.h"

namespace rek {
namespace {

constexpr int kKills = 200;
constexpr std::size_t kVertices = 200'000;

// A large drawing; `variant` changes every vertex and the properties.
Model largeModel(int variant) {
    Model model;
    model.properties.width = 400 + variant;
    model.properties.lineWidth = 2 + variant;
    model.vertices.reserve(kVertices);
    for (std::size_t i = 0; i < kVertices; ++i) {
        const auto n = static_cast<std::int32_t>(i);
        model.vertices.push_back(
            test::makeVertex(n % 800 + variant, (n / 800) % 600 - variant, i % 10 != 0));
    }
    return model;
}

class KillDuringSaveTest : public ::testing::Test {
  protected:
    // Which of the two models the file holds byte for byte: 0 or 1, or -1 for neither.
    int whichModel() const {
        const std::vector<std::uint8_t> bytes = test::readFileBytes(path);
        return bytes == images[0] ? 0 : bytes == images[1] ? 1 : -1;
    }

    test::ScratchFolder folder;
    const std::string path = folder.file("large.rkm");
    const Model models[2] = {largeModel(0), largeModel(1)};
    const std::vector<std::uint8_t> images[2] = {encodeModelFile(models[0]),
                                                 encodeModelFile(models[1])};
};

TEST_F(KillDuringSaveTest, EveryKillLeavesOneWholeVersionAndTheNextSaveTidiesUp) {
    ASSERT_EQ(saveModel(models[0], path), std::nullopt);
    const unsigned seed = std::random_device{}();
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 random(seed);

    // How long one save takes here, so that the kills fall all over it.
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(saveModel(models[1], path), std::nullopt);
    const auto saveTime = std::chrono::duration_cast<std::chrono::microseconds>(
        std::chrono::steady_clock::now() - start);
    std::uniform_int_distribution<long> delay(0, 3 * saveTime.count() + 1000);

    int leftTemporaries = 0;
    for (int kill = 0; kill < kKills; ++kill) {
        const pid_t saver = ::fork();
        ASSERT_GE(saver, 0);
        if (saver == 0) {
            for (int i = 0;; i = 1 - i)
                saveModel(models[i], path);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(delay(random)));
        ::kill(saver, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(saver, &status, 0), saver);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the saver ended by itself";

        ASSERT_NE(whichModel(), -1) << "after kill " << kill;
        if (folder.entryCount() > 1)
            ++leftTemporaries;
        ASSERT_EQ(saveModel(models[kill % 2], path), std::nullopt);
        ASSERT_EQ(folder.entryCount(), 1u) << "after the save that followed kill " << kill;
        ASSERT_EQ(whichModel(), kill % 2);
    }
    // Otherwise the kills all fell between saves and proved nothing.
    EXPECT_GE(leftTemporaries, kKills / 20);
    std::printf("%d of %d kills left a temporary behind\n", leftTemporaries, kKills);
}

}  // namespace
}  // namespace rek
