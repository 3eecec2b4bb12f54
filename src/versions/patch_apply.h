#pragma once
// Applying the records of a downgrade patch to an unpacked jar in a work folder.
#include <string>
#include <string_view>

#include "base/settings.h"
#include "platform/dates.h"
#include "platform/file_writer.h"

namespace oxlip::versions {

// What the records tell about the jar they make.
struct PatchOutcome {
  platform::DateValue newest = 0;      // the latest record date
  std::string version = "[unknown]";   // read from the patched main class, when there is one
  platform::DateValue class_date = 0;  // that class file's date
};

// Makes every file the patch names below `work` (ending in a separator), checks each against
// its record's size and CRC-32, dates it, and writes its name as a line (CR LF) to `file_list`.
// Stops at the first failure: false with `error` holding the message. A record that would
// reach outside `work`, read or write outside a buffer, or that is cut short, fails as a
// corrupt patch.
bool ApplyPatch(const base::GlobalSettings& settings, std::string_view patch,
                const std::string& work, platform::FileWriter& file_list, PatchOutcome* outcome,
                std::string* error);

}  // namespace oxlip::versions
