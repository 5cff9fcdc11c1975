#include "model/chunked_vertex_list.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cassert>
#include <cstddef>
#include <cstring>
#include <new>

namespace rek {

// The comparison loads a vertex as two words and masks the offsets and the selection out.
static_assert(offsetof(Vertex, x) == 0 && offsetof(Vertex, y) == 4);
static_assert(offsetof(Vertex, kind) == 8 && offsetof(Vertex, reserved) == 11);
static_assert(offsetof(StoredShape, x) == 0 && offsetof(StoredShape, y) == 4);
static_assert(offsetof(StoredShape, kind) == 8 && offsetof(StoredShape, reserved) == 11);
static_assert(sizeof(StoredShape) == 12);
static_assert(ChunkedVertexList::kMaxChunkVertices <= UINT16_MAX);

namespace {

// The bytes of kind and reserved in the word that starts at `kind`.
constexpr std::uint32_t kShapeByteMask =
    std::bit_cast<std::uint32_t>(std::array<std::uint8_t, 4>{0xFF, 0, 0, 0xFF});
// The least room a new last chunk gets, so that the next strokes can go into it.
constexpr std::size_t kMinLastChunk = 64;

// x and y, the first 8 bytes of both a Vertex and a StoredShape.
template <typename Item>
std::uint64_t positionWord(const Item& item) {
    std::uint64_t word;
    std::memcpy(&word, &item, sizeof word);
    return word;
}

// kind, the two offsets and reserved: the next 4 bytes of both.
template <typename Item>
std::uint32_t kindWord(const Item& item) {
    std::uint32_t word;
    std::memcpy(&word, reinterpret_cast<const std::byte*>(&item) + offsetof(Item, kind),
                sizeof word);
    return word;
}

StoredShape shapeOf(const Vertex& vertex) {
    return StoredShape{vertex.x, vertex.y, vertex.kind, 0, 0, vertex.reserved};
}

std::uint64_t shapeDifference(const Vertex& vertex, const StoredShape& shape) {
    return (positionWord(vertex) ^ positionWord(shape)) |
           ((kindWord(vertex) & kShapeByteMask) ^ kindWord(shape));
}

const StoredShape* storedAt(const ChunkSegment& segment, std::size_t skip) {
    return segment.shapes->items() + segment.begin + skip;
}

// Whether `count` live vertices have the stored shapes, in one pass without a branch: this
// runs over the whole list for every entry recorded.
bool sameShapes(const Vertex* live, const StoredShape* stored, std::size_t count) {
    std::uint64_t differences = 0;
    for (std::size_t i = 0; i < count; ++i)
        differences |= shapeDifference(live[i], stored[i]);
    return differences == 0;
}

std::size_t leadingSameShapes(const Vertex* live, const StoredShape* stored, std::size_t count) {
    std::size_t same = 0;
    while (same < count && shapeDifference(live[same], stored[same]) == 0)
        ++same;
    return same;
}

std::size_t trailingSameShapes(const Vertex* live, const StoredShape* stored, std::size_t count) {
    std::size_t same = 0;
    while (same < count && shapeDifference(live[count - 1 - same], stored[count - 1 - same]) == 0)
        ++same;
    return same;
}

// A run of the new snapshot before its storage exists: shared from a segment of the snapshot
// before, or copied from the list when it has none.
struct Piece {
    std::size_t position = 0;  // of its first vertex in the list
    std::size_t count = 0;
    const ChunkSegment* base = nullptr;
    std::size_t skip = 0;      // vertices of `base` before the shared ones
    std::size_t appended = 0;  // the last ones of `count` go into the spare room of base's chunk
};

// Decides which runs of the list are shared with the snapshot before and which are copied.
class Planner {
  public:
    Planner(const VertexList& list, std::size_t chunkVertices)
        : list_(list), chunkVertices_(chunkVertices) {}

    std::vector<Piece> plan(const std::vector<ChunkSegment>* base, std::size_t baseSize) {
        if (base == nullptr)
            addCopied(0, list_.size());
        else if (baseSize == list_.size())
            alignInPlace(*base);
        else
            alignEnds(*base, baseSize);
        mergeSmallNeighbours();
        assert(coversTheList());
        return std::move(pieces_);
    }

  private:
    const Vertex* at(std::size_t position) const { return list_.data() + position; }

    bool coversTheList() const {
        std::size_t next = 0;
        for (const Piece& piece : pieces_) {
            if (piece.position != next || piece.count == 0 || piece.count > chunkVertices_)
                return false;
            next += piece.count;
        }
        return next == list_.size();
    }

    // Same length (moves, scaling, property changes): chunk by chunk where it stands.
    void alignInPlace(const std::vector<ChunkSegment>& base) {
        pieces_.reserve(base.size());
        std::size_t position = 0;
        for (const ChunkSegment& segment : base) {
            Piece piece{position, segment.count};
            if (sameShapes(at(position), storedAt(segment, 0), segment.count))
                piece.base = &segment;
            pieces_.push_back(piece);
            position += segment.count;
        }
    }

    // Another length (strokes added, lines deleted): the common beginning and the common end
    // of the two lists are shared, what lies between is copied.
    void alignEnds(const std::vector<ChunkSegment>& base, std::size_t baseSize) {
        const std::size_t size = list_.size();
        pieces_.reserve(base.size() + 4 + size / chunkVertices_);

        std::size_t head = 0;
        for (const ChunkSegment& segment : base) {
            if (head == size)
                break;
            const std::size_t count = std::min<std::size_t>(segment.count, size - head);
            const StoredShape* stored = storedAt(segment, 0);
            const std::size_t same = sameShapes(at(head), stored, count)
                                         ? count
                                         : leadingSameShapes(at(head), stored, count);
            if (same > 0)
                pieces_.push_back(Piece{head, same, &segment, 0});
            head += same;
            if (same < segment.count)
                break;
        }

        // Both ends must leave the other's vertices alone.
        const std::size_t limit = std::min(size, baseSize) - head;
        std::vector<Piece> tail;
        std::size_t tailCount = 0;
        for (auto segment = base.rbegin(); segment != base.rend() && tailCount < limit; ++segment) {
            const std::size_t count = std::min<std::size_t>(segment->count, limit - tailCount);
            const std::size_t start = size - tailCount - count;
            const StoredShape* stored = storedAt(*segment, segment->count - count);
            const std::size_t same = sameShapes(at(start), stored, count)
                                         ? count
                                         : trailingSameShapes(at(start), stored, count);
            if (same > 0)
                tail.push_back(
                    Piece{size - tailCount - same, same, &*segment, segment->count - same});
            tailCount += same;
            if (same < segment->count)
                break;
        }

        std::size_t copyFrom = head;
        const std::size_t copyTo = size - tailCount;
        if (tailCount == 0 && copyFrom < copyTo && !pieces_.empty())
            copyFrom += appendInPlace(pieces_.back(), copyTo - copyFrom);
        addCopied(copyFrom, copyTo);
        pieces_.insert(pieces_.end(), tail.rbegin(), tail.rend());
    }

    // Vertices added after the last shared piece go into the spare room of its chunk when
    // that piece ends where the chunk's written part ends. Returns how many fit.
    std::size_t appendInPlace(Piece& last, std::size_t wanted) {
        const ChunkSegment& segment = *last.base;
        const std::size_t end = segment.begin + last.skip + last.count;
        if (end != segment.shapes->used())
            return 0;
        const std::size_t fitting = std::min(wanted, segment.shapes->spare());
        last.appended = fitting;
        last.count += fitting;
        return fitting;
    }

    void addCopied(std::size_t from, std::size_t to) {
        while (from < to) {
            const std::size_t count = std::min(chunkVertices_, to - from);
            pieces_.push_back(Piece{from, count});
            from += count;
        }
    }

    // No two neighbours fit in one chunk together, so a snapshot has at most about two runs a
    // chunk however it was edited: neighbours that would are copied into one.
    void mergeSmallNeighbours() {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < pieces_.size(); ++i) {
            if (kept > 0 && pieces_[kept - 1].count + pieces_[i].count <= chunkVertices_) {
                Piece& previous = pieces_[kept - 1];
                previous = Piece{previous.position, previous.count + pieces_[i].count};
            } else {
                pieces_[kept++] = pieces_[i];
            }
        }
        pieces_.resize(kept);
    }

    const VertexList& list_;
    std::size_t chunkVertices_;
    std::vector<Piece> pieces_;
};

}  // namespace

ChunkedVertexList ChunkedVertexList::capture(const VertexList& list, const ChunkedVertexList* base,
                                             std::size_t chunkVertices) {
    chunkVertices = std::clamp<std::size_t>(chunkVertices, 1, kMaxChunkVertices);
    const std::vector<Piece> pieces =
        Planner(list, chunkVertices)
            .plan(base ? &base->segments_ : nullptr, base ? base->size_ : 0);

    ChunkedVertexList result;
    result.size_ = list.size();
    result.segments_.reserve(pieces.size());
    for (const Piece& piece : pieces) {
        ChunkSegment segment;
        segment.count = static_cast<std::uint16_t>(piece.count);
        if (piece.base) {
            segment.shapes = piece.base->shapes;
            segment.begin = static_cast<std::uint16_t>(piece.base->begin + piece.skip);
        } else {
            // The list's last chunk gets room to grow into (doubling, up to a full chunk).
            std::size_t capacity = piece.count;
            if (piece.position + piece.count == list.size()) {
                capacity = std::max(
                    capacity, std::min(chunkVertices, std::max(2 * piece.count, kMinLastChunk)));
            }
            segment.shapes = ChunkRef<StoredShape>::allocate(capacity);
            SharedChunk<StoredShape>* chunk = segment.shapes.mutableChunk();
            const Vertex* first = list.data() + piece.position;
            std::transform(first, first + piece.count, chunk->items(), shapeOf);
            chunk->markUsed(piece.count);
        }
        result.segments_.push_back(std::move(segment));
    }

    // Last, once nothing can fail any more: no view of the base reaches the spare room, so
    // writing there changes no snapshot but this one.
    for (const Piece& piece : pieces) {
        if (piece.appended == 0)
            continue;
        SharedChunk<StoredShape>* chunk = piece.base->shapes.mutableChunk();
        const Vertex* first = list.data() + piece.position + piece.count - piece.appended;
        std::transform(first, first + piece.appended, chunk->items() + chunk->used(), shapeOf);
        chunk->markUsed(chunk->used() + piece.appended);
    }
    return result;
}

void ChunkedVertexList::writeShapesTo(Vertex* out) const {
    for (const ChunkSegment& segment : segments_) {
        const StoredShape* stored = storedAt(segment, 0);
        for (std::size_t i = 0; i < segment.count; ++i) {
            Vertex& vertex = *out++;
            vertex.x = stored[i].x;
            vertex.y = stored[i].y;
            vertex.kind = stored[i].kind;
            vertex.reserved = stored[i].reserved;
            vertex.selected = 0;
        }
    }
}

bool ChunkedVertexList::restoreInto(VertexList& out) const {
    // A list much larger than the one restored gives its memory back.
    const bool mustGrow = out.capacity() < size_;
    if (mustGrow || out.capacity() / 4 > size_ + kMinLastChunk) {
        try {
            VertexList fresh(size_);
            const std::size_t kept = std::min(size_, out.size());
            for (std::size_t i = 0; i < kept; ++i) {
                fresh[i].wobbleDx = out[i].wobbleDx;
                fresh[i].wobbleDy = out[i].wobbleDy;
            }
            writeShapesTo(fresh.data());
            out.swap(fresh);
            return true;
        } catch (const std::bad_alloc&) {
            if (mustGrow)
                return false;
        }
    }
    out.resize(size_);  // within the capacity: cannot fail; the vertices added wobble by zero
    writeShapesTo(out.data());
    return true;
}

std::size_t ChunkedVertexList::countBytes(std::unordered_set<const void*>& seen) const {
    std::size_t bytes = segments_.capacity() * sizeof(ChunkSegment);
    for (const ChunkSegment& segment : segments_) {
        if (seen.insert(segment.shapes.get()).second)
            bytes += segment.shapes->bytes();
    }
    return bytes;
}

}  // namespace rek
