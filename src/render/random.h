#pragma once

#include <cstdint>

namespace rek {

// The classic C runtime rand() sequence, so wobble and shapes match the original program:
// state = state * 214013 + 2531011 (mod 2^32), result = (state >> 16) & 0x7FFF.
class Random {
  public:
    explicit Random(std::uint32_t seed = 1) : state_(seed) {}

    void seed(std::uint32_t seed) { state_ = seed; }
    // Where the sequence stands: a generator seeded with it continues exactly from here.
    std::uint32_t state() const { return state_; }

    // 0..32767
    int next() {
        state_ = state_ * 214013u + 2531011u;
        return static_cast<int>((state_ >> 16) & 0x7FFFu);
    }

  private:
    std::uint32_t state_;
};

}  // namespace rek
