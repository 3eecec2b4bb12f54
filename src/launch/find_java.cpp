#include "launch/find_java.h"

#include <string_view>

#include "platform/env.h"
#include "platform/fs.h"

namespace oxlip {
namespace {

// std::string compares through char_traits<char>, which compares as unsigned bytes; spelled
// out here so a name with bytes above 127 cannot sort by signed char.
bool GreaterBytes(std::string_view a, std::string_view b) {
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    auto x = static_cast<unsigned char>(a[i]);
    auto y = static_cast<unsigned char>(b[i]);
    if (x != y) return x > y;
  }
  return a.size() > b.size();
}

}  // namespace

std::string launch::JavaSearchBase(const platform::Conventions& conventions) {
  std::string base(conventions.java_search_base);
  if (conventions.java_search_base_is_absolute) return base;
  std::string program_files = platform::GetEnvironment("ProgramW6432");
  if (program_files.empty()) program_files = platform::GetEnvironment("ProgramFiles");
  return program_files + "\\" + base;
}

std::string FindJava(const platform::Conventions& conventions) {
  return FindJava(conventions, launch::JavaSearchBase(conventions));
}

std::string FindJava(const platform::Conventions& conventions, const std::string& base) {
  if (base.empty()) return "";
  // Keep the base's own separator style, so a Windows-form base gives a Windows-form result.
  const std::string bin = std::string(1, base.back()) + "bin" + base.back();
  std::string best;
  for (const auto& entry : platform::ListFolder(base)) {
    if (!entry.names_folder) continue;
    // Folders such as "default-java" or a JDK without a runtime sit beside the real ones.
    if (conventions.java_needs_bin_java &&
        !platform::IsFile(base + entry.name + bin + std::string(conventions.java_program)))
      continue;
    if (best.empty() || GreaterBytes(entry.name, best)) best = entry.name;
  }
  return best.empty() ? "" : base + best + bin;
}

}  // namespace oxlip
