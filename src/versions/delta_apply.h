#pragma once
// Rebuilding a file from its old content and a delta command stream.
#include <cstdint>
#include <functional>
#include <string_view>

#include "versions/patch_cursor.h"

namespace oxlip::versions {

enum class DeltaStatus {
  kDone,            // the end command was reached
  kIllegalCommand,  // a command byte that means nothing
  kCorrupt,         // cut short, a copy outside the old content, or more output than `size`
  kWriteFailed,
};

using DeltaWrite = std::function<bool(std::string_view bytes)>;

// Runs the commands at the cursor up to and including the end command, handing the output to
// `write` piece by piece. `size` is the file's final size: the output never grows past it, so a
// damaged patch cannot make more than the record promised.
DeltaStatus ApplyDelta(std::string_view old_content, std::int64_t size, PatchCursor& cursor,
                       const DeltaWrite& write);

}  // namespace oxlip::versions
