#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <type_traits>
#include <utility>

namespace rek {

// A fixed-capacity array of plain values that snapshots share. Items [0, used) are written
// once and never change again; items past `used` are not written yet. Only the holder of a
// view that ends exactly at `used` may append there (the list that grows at its end), so no
// other view ever sees a change. Counted references are plain integers: a chunk belongs to
// the one thread that owns its history.
template <typename T>
class SharedChunk {
    static_assert(std::is_trivially_copyable_v<T>);

  public:
    // Throws std::bad_alloc.
    explicit SharedChunk(std::size_t capacity)
        : items_(std::make_unique_for_overwrite<T[]>(capacity)),
          capacity_(static_cast<std::uint32_t>(capacity)) {}

    const T* items() const { return items_.get(); }
    T* items() { return items_.get(); }
    std::size_t used() const { return used_; }
    std::size_t capacity() const { return capacity_; }
    std::size_t spare() const { return capacity_ - used_; }
    void markUsed(std::size_t used) {
        assert(used >= used_ && used <= capacity_);
        used_ = static_cast<std::uint32_t>(used);
    }
    // What the chunk takes from the heap, for accounting.
    std::size_t bytes() const { return sizeof(*this) + capacity_ * sizeof(T); }

  private:
    template <typename>
    friend class ChunkRef;

    std::unique_ptr<T[]> items_;
    std::uint32_t capacity_ = 0;
    std::uint32_t used_ = 0;
    std::uint32_t references_ = 0;
};

// An owning reference to a SharedChunk: the last one to go deletes it. Null is allowed.
template <typename T>
class ChunkRef {
  public:
    ChunkRef() = default;
    // Takes a fresh chunk (throws std::bad_alloc).
    static ChunkRef allocate(std::size_t capacity) {
        return ChunkRef(new SharedChunk<T>(capacity));
    }

    ChunkRef(const ChunkRef& other) : chunk_(other.chunk_) { retain(); }
    ChunkRef(ChunkRef&& other) noexcept : chunk_(std::exchange(other.chunk_, nullptr)) {}
    ChunkRef& operator=(ChunkRef other) noexcept {
        std::swap(chunk_, other.chunk_);
        return *this;
    }
    ~ChunkRef() { release(); }

    explicit operator bool() const { return chunk_ != nullptr; }
    const SharedChunk<T>* get() const { return chunk_; }
    const SharedChunk<T>* operator->() const { return chunk_; }
    // Write access, for filling a fresh chunk or appending past `used`.
    SharedChunk<T>* mutableChunk() const { return chunk_; }

  private:
    explicit ChunkRef(SharedChunk<T>* chunk) : chunk_(chunk) { retain(); }
    void retain() {
        if (chunk_)
            ++chunk_->references_;
    }
    void release() {
        if (chunk_ && --chunk_->references_ == 0)
            delete chunk_;
        chunk_ = nullptr;
    }

    SharedChunk<T>* chunk_ = nullptr;
};

}  // namespace rek
