// Magic Launcher's configuration reader on arbitrary text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "altlauncher/magic_config.h"
#include "altlauncher/next_tag.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  // A walk always ends, and every element lies inside the text.
  std::size_t position = 0;
  for (std::string_view tag = oxlip::NextTag(text, &position); !tag.empty();
       tag = oxlip::NextTag(text, &position)) {
    if (position > text.size() || tag.front() != '<') std::abort();
    if (tag.data() < text.data() || tag.data() + tag.size() > text.data() + text.size())
      std::abort();
  }
  oxlip::altlauncher::ActiveProfile active = oxlip::altlauncher::ReadActiveProfile(text);
  if (active.status != oxlip::altlauncher::ProfileStatus::kFound &&
      (!active.profile.name.empty() || !active.profile.mods.empty()))
    std::abort();
  for (const oxlip::altlauncher::MagicMod& mod : active.profile.mods)
    if (mod.file.size() > size) std::abort();
  return 0;
}
