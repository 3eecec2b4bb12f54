#include "versions/class_version.h"

#include <optional>

#include "archive/extract_budget.h"
#include "base/error_text.h"
#include "base/oem_text.h"
#include "platform/fs.h"

namespace oxlip {
namespace {

constexpr std::string_view kMarker = "Minecraft Minecraft ";

}  // namespace

std::string versions::FindVersionText(std::string_view bytes) {
  size_t at = bytes.find(kMarker);
  // A match at the first byte has no length byte before it; real class files start with
  // their magic number, so this is never a version.
  if (at == std::string_view::npos || at == 0) return "";
  int length = static_cast<signed char>(bytes[at - 1]);
  if (length <= static_cast<int>(kMarker.size())) return "";
  std::string_view rest = bytes.substr(at + kMarker.size());
  rest = rest.substr(0, static_cast<size_t>(length) - kMarker.size());
  return std::string(rest.substr(0, rest.find('\0')));
}

std::string GetMineCraftVersion(const base::GlobalSettings& settings, const std::string& path,
                                platform::DateValue& date, int unpack) {
  std::string class_path = path;
  if (unpack == 1) {
    class_path = settings.CacheDir + "Minecraft.class";
    std::string line = "e \"" + ToOemText(path) +
                       "\" net\\minecraft\\client\\Minecraft.class -o\"" +
                       ToOemText(settings.CacheDir) + "\" -aoa -hide";
    std::string refusal;
    if (archive::SevenZipWithinLimit(line, path, settings.CacheDir, &refusal) != 0) {
      SetErrorText(base::WithReason("GetMineCraftVersion: Can't unpack " + path,
                                    archive::ExtractionFailure(refusal)));
      return "";
    }
  }
  auto drop_extracted = [&] {
    if (unpack == 1) platform::DeleteFile(class_path);
  };
  if (platform::FileSize(class_path) <= 0) {
    SetErrorText("GetMineCraftVersion: " + class_path + " doesn't exist");
    drop_extracted();
    return "";
  }
  platform::Error reading;
  std::optional<std::string> bytes = platform::ReadWholeFile(class_path, &reading);
  if (!bytes) {
    SetErrorText(base::WithReason("GetMineCraftVersion: Can't read " + class_path, reading.reason));
    drop_extracted();
    return "";
  }
  std::string version = versions::FindVersionText(*bytes);
  date = platform::FileDate(class_path);
  drop_extracted();
  return version;
}

}  // namespace oxlip
