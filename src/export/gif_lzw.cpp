#include "export/gif_lzw.h"

#include <algorithm>
#include <cstring>

namespace rek::detail {

namespace {

constexpr unsigned kMaxCodes = 4096;
constexpr int kMaxCodeWidth = 12;

class BitPacker {
  public:
    explicit BitPacker(std::vector<std::uint8_t>& out) : out_(out) {}

    void put(unsigned code, int width) {
        pending_ |= std::uint64_t{code} << count_;
        count_ += width;
        while (count_ >= 8) {
            out_.push_back(static_cast<std::uint8_t>(pending_));
            pending_ >>= 8;
            count_ -= 8;
        }
    }
    void finish() {
        if (count_ > 0)
            out_.push_back(static_cast<std::uint8_t>(pending_));
        pending_ = 0;
        count_ = 0;
    }

  private:
    std::vector<std::uint8_t>& out_;
    std::uint64_t pending_ = 0;
    int count_ = 0;
};

}  // namespace

bool LzwEncoder::encode(std::span<const std::uint8_t> indices, int minCodeSize,
                        std::vector<std::uint8_t>& out, LzwFullTable policy) {
    minCodeSize = std::clamp(minCodeSize, 2, 8);
    const unsigned alphabet = 1u << minCodeSize;
    const auto mask = static_cast<std::uint8_t>(alphabet - 1);
    if (alphabetBits_ != minCodeSize) {
        children_.assign(std::size_t{kMaxCodes} << minCodeSize, 0);
        alphabetBits_ = minCodeSize;
        dirtyRows_ = 0;
    }
    const unsigned clearCode = alphabet;
    const unsigned endCode = alphabet + 1;
    const unsigned firstFree = alphabet + 2;
    std::uint16_t* const children = children_.data();

    BitPacker packer(out);
    int width = minCodeSize + 1;
    unsigned next = firstFree;
    // Only codes below `next` can have grown entries, so only their rows need clearing.
    auto clearTable = [&](std::size_t usedRows) {
        std::memset(children, 0, (usedRows << minCodeSize) * sizeof(std::uint16_t));
        next = firstFree;
        width = minCodeSize + 1;
    };
    clearTable(dirtyRows_);
    // Until this call ends, an exception could leave any row in use.
    dirtyRows_ = kMaxCodes;
    packer.put(clearCode, width);

    const std::size_t count = indices.size();
    bool filled = false;
    std::size_t codesOnFullTable = 0;
    bool firstAfterClear = true;
    unsigned current = count > 0 ? indices[0] & mask : 0;
    for (std::size_t i = 1; i < count; ++i) {
        const std::uint8_t index = indices[i] & mask;
        const std::uint16_t longer = children[(current << minCodeSize) | index];
        if (longer != 0) {
            current = longer;
            continue;
        }
        packer.put(current, width);
        firstAfterClear = false;
        if (next < kMaxCodes) {
            children[(current << minCodeSize) | index] = static_cast<std::uint16_t>(next);
            ++next;
            // The decoder adds this entry one code later and widens its codes when its next
            // free code no longer fits; mirror that.
            if (next > (1u << width) && width < kMaxCodeWidth)
                ++width;
            filled = filled || next == kMaxCodes;
        } else if (policy == LzwFullTable::Clear || ++codesOnFullTable >= kMaxCodesOnFullTable) {
            packer.put(clearCode, width);
            clearTable(next);
            codesOnFullTable = 0;
            firstAfterClear = true;
        }
        current = index;
    }
    if (count > 0) {
        packer.put(current, width);
        // The decoder takes that last code as it takes any other: unless it came first after
        // a clear, it adds an entry and may widen its codes before the end code.
        if (!firstAfterClear && next < kMaxCodes) {
            ++next;
            if (next > (1u << width) && width < kMaxCodeWidth)
                ++width;
        }
    }
    packer.put(endCode, width);
    packer.finish();
    dirtyRows_ = next;
    return filled;
}

void LzwEncoder::encodeShortest(std::span<const std::uint8_t> indices, int minCodeSize,
                                std::vector<std::uint8_t>& out) {
    const std::size_t start = out.size();
    if (!encode(indices, minCodeSize, out, LzwFullTable::Keep))
        return;
    other_.clear();
    encode(indices, minCodeSize, other_, LzwFullTable::Clear);
    if (other_.size() < out.size() - start) {
        out.resize(start);
        out.insert(out.end(), other_.begin(), other_.end());
    }
}

}  // namespace rek::detail
