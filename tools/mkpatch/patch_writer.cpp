#include "patch_writer.h"

#include <cstdint>
#include <limits>
#include <map>
#include <string_view>

#include "delta_encoder.h"
#include "versions/patch_format.h"
#include "versions/patch_record.h"

namespace oxlip::mkpatch {
namespace {

using versions::RecordType;

bool Check(const TreeEntry& entry, std::string* error) {
  if (entry.name.size() > versions::kMaxNameLength) {
    *error = "name longer than 255 bytes: " + entry.name;
    return false;
  }
  if (!versions::IsSafeRecordName(entry.name)) {
    *error = "name not allowed in a patch: " + entry.name;
    return false;
  }
  if (entry.data.size() > static_cast<size_t>(std::numeric_limits<std::int32_t>::max())) {
    *error = "file of 2 GB or more: " + entry.name;
    return false;
  }
  return true;
}

// The record's type and body for one target entry.
RecordType Choose(const TreeEntry& entry, const TreeEntry* old, std::string* body) {
  if (entry.folder() || (old && !old->folder() && old->data == entry.data))
    return RecordType::kKeep;
  if (old && !old->folder()) {
    std::string delta = EncodeDelta(old->data, entry.data);
    if (delta.size() < entry.data.size()) {
      *body = std::move(delta);
      return RecordType::kDelta;
    }
  }
  *body = entry.data;
  return RecordType::kNewContent;
}

}  // namespace

bool MakePatch(const FileTree& source, const FileTree& target, std::string* patch,
               PatchStats* stats, std::string* error) {
  std::map<std::string_view, const TreeEntry*> by_name;
  for (const TreeEntry& entry : source) by_name.emplace(entry.name, &entry);
  patch->clear();
  *stats = PatchStats();
  for (const TreeEntry& entry : target) {
    if (!Check(entry, error)) return false;
    auto old = by_name.find(entry.name);
    std::string body;
    RecordType type = Choose(entry, old == by_name.end() ? nullptr : old->second, &body);
    versions::RecordHeader header{entry.name, entry.folder() ? 0 : versions::Crc32(entry.data),
                                  entry.date, static_cast<std::int32_t>(entry.data.size()),
                                  static_cast<std::uint8_t>(type)};
    *patch += versions::RecordHeaderBytes(header);
    *patch += body;
    stats->target_bytes += entry.data.size();
    if (type == RecordType::kKeep) ++stats->kept;
    if (type == RecordType::kNewContent) ++stats->new_content;
    if (type == RecordType::kDelta) ++stats->deltas;
  }
  return true;
}

}  // namespace oxlip::mkpatch
