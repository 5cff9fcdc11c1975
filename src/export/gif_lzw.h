#pragma once

// The LZW coder of GIF image data: colour indices in, the variable-length codes packed least
// significant bit first out (the bytes between the minimum code size and the sub-block
// framing).

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace rek::detail {

// What the coder does once its table holds all 4096 codes. Where few colours make long
// strings, as in line drawings that look alike from top to bottom, an old table beats a young
// one; where many colours make short strings, a young table usually wins.
enum class LzwFullTable {
    // Send a clear code and start a new table at once.
    Clear,
    // Go on coding with the full table, up to kMaxCodesOnFullTable codes.
    Keep,
};

// One coder, kept for many images so that its table is allocated once.
class LzwEncoder {
  public:
    // Appends the codes of `indices` (every one below 2^minCodeSize) to `out`: a clear code,
    // the data, the end-of-information code. minCodeSize is brought into 2..8. Returns whether
    // the table ever filled up, that is whether the other policy would code differently.
    // May throw std::bad_alloc.
    bool encode(std::span<const std::uint8_t> indices, int minCodeSize,
                std::vector<std::uint8_t>& out, LzwFullTable policy);
    // Appends the shorter of both policies' codes.
    void encodeShortest(std::span<const std::uint8_t> indices, int minCodeSize,
                        std::vector<std::uint8_t>& out);

    // Some decoders refuse more than 4096 codes after the table filled without a clear code
    // (they keep counting codes they cannot store), so a kept table is cleared after this many.
    static constexpr std::size_t kMaxCodesOnFullTable = 4000;

  private:
    std::vector<std::uint16_t> children_;  // (code << minCodeSize | index) -> longer code; 0: none
    std::size_t dirtyRows_ = 0;            // rows of children_ that may hold entries
    int alphabetBits_ = 0;
    std::vector<std::uint8_t> other_;  // the other policy's codes
};

}  // namespace rek::detail
