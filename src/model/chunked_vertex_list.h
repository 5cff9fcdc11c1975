#pragma once

#include <cstddef>
#include <cstdint>
#include <unordered_set>
#include <vector>

#include "model/shared_chunk.h"
#include "model/vertex.h"

namespace rek {

// What a snapshot keeps of a vertex: its shape, without the wobble offsets. Laid out as the
// first 12 bytes of a Vertex with the offsets zero, so comparing a stored run with the live
// list reads each vertex once.
struct StoredShape {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint8_t kind = 0;
    std::uint8_t noDx = 0;
    std::uint8_t noDy = 0;
    std::uint8_t reserved = 0;
};

// A run of consecutive vertices stored in one chunk.
struct ChunkSegment {
    ChunkRef<StoredShape> shapes;
    std::uint16_t begin = 0;  // of the run in the chunk
    std::uint16_t count = 0;
};

// One snapshot of the shapes of a vertex list, kept in fixed-size chunks that snapshots share
// (copy on write): a snapshot taken after an edit stores the chunks the edit touched and a
// table of runs, not the whole list. Never changes once taken.
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

    // Puts the stored shapes into `out`, every vertex unselected. The wobble offsets of the
    // vertices `out` already has stay; vertices beyond them get zero offsets. Returns false,
    // with `out` as it was, when that needs memory that cannot be had.
    bool restoreInto(VertexList& out) const;

    // Heap bytes of the run table, plus those of every chunk not yet in `seen` (which gains
    // them): shared chunks are counted once over a whole history.
    std::size_t countBytes(std::unordered_set<const void*>& seen) const;

  private:
    void writeShapesTo(Vertex* out) const;

    std::vector<ChunkSegment> segments_;
    std::size_t size_ = 0;
};

}  // namespace rek
