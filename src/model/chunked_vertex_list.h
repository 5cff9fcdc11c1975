#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_set>
#include <vector>

#include "model/shared_chunk.h"
#include "model/vertex.h"

namespace rek {

// A vertex's stored fields but its wobble offsets, laid out as the first 12 bytes of a Vertex
// with the offsets zero: comparing a stored run with the live list reads each vertex once.
struct StoredShape {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint8_t kind = 0;
    std::uint8_t noDx = 0;
    std::uint8_t noDy = 0;
    std::uint8_t reserved = 0;
};

// The two wobble offsets of a vertex, as its bytes lie in memory.
using StoredOffsets = std::uint16_t;

// A run of consecutive vertices: their shapes from one chunk and their offsets from another
// (none when every offset of the run is zero). Shapes and offsets are shared apart, because the
// wobble renews every offset many times a second while the drawing stays as it is.
struct ChunkSegment {
    ChunkRef<StoredShape> shapes;
    ChunkRef<StoredOffsets> offsets;
    std::uint16_t shapesBegin = 0;
    std::uint16_t offsetsBegin = 0;
    std::uint16_t count = 0;
};

// One snapshot of a vertex list, kept in fixed-size chunks that snapshots share (copy on
// write): a snapshot taken after an edit stores the chunks the edit touched and a table of
// runs, not the whole list. Never changes once taken.
class ChunkedVertexList {
  public:
    static constexpr std::size_t kMaxChunkVertices = 32768;

    ChunkedVertexList() = default;

    // The list as it is now. Runs that `base` (the snapshot before, or null) already holds are
    // shared rather than copied: the common beginning and end of the two lists, and, when the
    // length is unchanged, every chunk the edit left alone. Vertices appended to a list go into
    // the spare room of its last chunk. `chunkVertices` (1..kMaxChunkVertices) is the size of
    // a full chunk. Throws std::bad_alloc, and then `base` is as it was.
    static ChunkedVertexList capture(const VertexList& list, const ChunkedVertexList* base,
                                     std::size_t chunkVertices);

    std::size_t size() const { return size_; }
    std::size_t segmentCount() const { return segments_.size(); }

    // Puts the stored list into `out`, every vertex unselected. Returns false, with `out` as
    // it was, when that needs memory that cannot be had.
    bool restoreInto(VertexList& out) const;

    // Heap bytes of the run table, plus those of every chunk not yet in `seen` (which gains
    // them): shared chunks are counted once over a whole history.
    std::size_t countBytes(std::unordered_set<const void*>& seen) const;

  private:
    void writeTo(Vertex* out) const;

    std::vector<ChunkSegment> segments_;
    std::size_t size_ = 0;
};

}  // namespace rek
