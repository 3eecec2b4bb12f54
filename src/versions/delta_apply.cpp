#include "versions/delta_apply.h"

#include "versions/patch_format.h"

namespace oxlip::versions {

DeltaStatus ApplyDelta(std::string_view old_content, std::int64_t size, PatchCursor& cursor,
                       const DeltaWrite& write) {
  std::uint64_t written = 0;
  const auto limit = static_cast<std::uint64_t>(size < 0 ? 0 : size);
  for (;;) {
    DeltaCommand command;
    CommandStatus status = ReadDeltaCommand(cursor, &command);
    if (status == CommandStatus::kIllegal) return DeltaStatus::kIllegalCommand;
    if (status == CommandStatus::kCutShort) return DeltaStatus::kCorrupt;
    if (command.kind == DeltaCommand::Kind::kEnd) return DeltaStatus::kDone;
    if (command.length > limit - written) return DeltaStatus::kCorrupt;
    std::string_view piece;
    if (command.kind == DeltaCommand::Kind::kInsert) {
      if (!cursor.Take(command.length, &piece)) return DeltaStatus::kCorrupt;
    } else {
      // written <= size < 2^31 and |offset| <= 128: no overflow in signed 64 bits.
      std::int64_t from = static_cast<std::int64_t>(written) + command.offset;
      if (from < 0 || static_cast<std::uint64_t>(from) > old_content.size() ||
          command.length > old_content.size() - static_cast<std::uint64_t>(from))
        return DeltaStatus::kCorrupt;
      piece = old_content.substr(static_cast<std::size_t>(from), command.length);
    }
    if (!write(piece)) return DeltaStatus::kWriteFailed;
    written += command.length;
  }
}

}  // namespace oxlip::versions
