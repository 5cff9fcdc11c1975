#pragma once

#include "model/model.h"

namespace rek {

// What a tool's appends came to. The tools go on after a failed append as if the point had
// been dropped; the shell shows kVertexMemoryMessage once when `outOfMemory` is set.
struct EditOutcome {
    bool outOfMemory = false;

    void note(AppendResult result) {
        if (result == AppendResult::OutOfMemory)
            outOfMemory = true;
    }
    void merge(const EditOutcome& other) { outOfMemory = outOfMemory || other.outOfMemory; }
};

}  // namespace rek
