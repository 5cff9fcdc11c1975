// The GIF encoder's LZW coder, read back by a strict reader.
#include <gtest/gtest.h>

#include <random>

#include "export/gif_lzw.h"
#include "export/gif_stream.h"
#include "gif_test_support.h"

namespace rek {
namespace {

using detail::LzwEncoder;
using detail::LzwFullTable;

// Indices below `colours`: uniform noise.
std::vector<std::uint8_t> noise(std::size_t count, int colours, unsigned seed) {
    std::mt19937 random(seed);
    std::vector<std::uint8_t> out(count);
    for (std::uint8_t& v : out)
        v = static_cast<std::uint8_t>(random() % static_cast<unsigned>(colours));
    return out;
}

std::vector<std::uint8_t> encoded(LzwEncoder& encoder, std::span<const std::uint8_t> indices,
                                  int codeSize, LzwFullTable policy) {
    std::vector<std::uint8_t> out;
    encoder.encode(indices, codeSize, out, policy);
    return out;
}

void expectStrictRoundTrip(std::span<const std::uint8_t> data,
                           std::span<const std::uint8_t> indices, int codeSize,
                           const std::string& what) {
    const test::StrictLzwResult read = test::readLzwStrictly(data, codeSize, indices.size());
    ASSERT_TRUE(read.ok) << what << ": " << read.problem;
    EXPECT_TRUE(
        std::equal(read.indices.begin(), read.indices.end(), indices.begin(), indices.end()))
        << what;
    EXPECT_LE(read.longestRunOnFullTable, LzwEncoder::kMaxCodesOnFullTable) << what;
}

TEST(GifLzw, EveryPolicyAndCodeSizeReadsBackExactlyWithTheEndCodeWhereItBelongs) {
    LzwEncoder encoder;
    // From one pixel to several full tables; noise fills the table fastest, runs stretch the
    // strings longest.
    for (int colours : {2, 3, 4, 5, 16, 17, 200, 256}) {
        const int codeSize = detail::lzwCodeSizeFor(static_cast<std::uint8_t>(colours - 1));
        for (std::size_t count : {1u, 2u, 3u, 7u, 100u, 5000u, 70000u}) {
            std::vector<std::uint8_t> indices = noise(count, colours, 11 + count);
            for (std::size_t i = 0; i < count / 3; ++i)
                indices[i] = 0;  // a long run first
            for (LzwFullTable policy : {LzwFullTable::Keep, LzwFullTable::Clear}) {
                const std::string what = std::to_string(colours) + " colours, " +
                                         std::to_string(count) + " pixels, policy " +
                                         std::to_string(static_cast<int>(policy));
                expectStrictRoundTrip(encoded(encoder, indices, codeSize, policy), indices,
                                      codeSize, what);
            }
        }
    }
    // Noise adds a code for nearly every pixel, so consecutive lengths cross each point where
    // the decoder widens its codes, and the end code has to follow it there.
    const std::vector<std::uint8_t> indices = noise(9000, 4, 3);
    for (std::size_t count = 1; count <= indices.size(); count += count < 600 ? 1 : 97) {
        const std::span<const std::uint8_t> part(indices.data(), count);
        expectStrictRoundTrip(encoded(encoder, part, 2, LzwFullTable::Keep), part, 2,
                              std::to_string(count) + " pixels");
    }
}

TEST(GifLzw, ACoderReusedAcrossImagesAndCodeSizesCodesAsAFreshOne) {
    const std::vector<std::uint8_t> wide = noise(40000, 256, 5);
    const std::vector<std::uint8_t> narrow = noise(30000, 3, 6);
    const std::vector<std::uint8_t> other = noise(30000, 4, 7);
    auto fresh = [](std::span<const std::uint8_t> indices, int codeSize, LzwFullTable policy) {
        LzwEncoder encoder;
        return encoded(encoder, indices, codeSize, policy);
    };
    LzwEncoder reused;
    struct Step {
        const std::vector<std::uint8_t>* indices;
        int codeSize;
        LzwFullTable policy;
    };
    for (const Step& step :
         {Step{&wide, 8, LzwFullTable::Keep}, Step{&narrow, 2, LzwFullTable::Clear},
          Step{&narrow, 2, LzwFullTable::Keep}, Step{&other, 2, LzwFullTable::Keep},
          Step{&wide, 8, LzwFullTable::Clear}}) {
        EXPECT_EQ(encoded(reused, *step.indices, step.codeSize, step.policy),
                  fresh(*step.indices, step.codeSize, step.policy));
    }
}

}  // namespace
}  // namespace rek
