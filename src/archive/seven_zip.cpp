#include "archive/seven_zip.h"

#include <algorithm>
#include <cstring>

#include "archive/run_command.h"
#include "base/error_text.h"

namespace oxlip {
namespace {

thread_local std::string last_reason;

}  // namespace

int SevenZip(void* owner, const std::string& command_line, char* buffer, int size) {
  return SevenZip(owner, command_line, buffer, size, "");
}

int SevenZip(void* /*owner*/, const std::string& command_line, char* buffer, int size,
             const std::string& folder) {
  std::string error;
  int result = archive::RunCommandLine(command_line, folder, &error);
  last_reason = result == archive::kSuccess ? "" : error;
  if (result != archive::kSuccess) SetErrorText("SevenZip: " + error);
  if (buffer && size > 0) {
    std::string report = result == archive::kSuccess ? "Everything is Ok" : "ERROR: " + error;
    std::size_t length = std::min(report.size(), static_cast<std::size_t>(size) - 1);
    std::memcpy(buffer, report.data(), length);
    buffer[length] = '\0';
  }
  return result;
}

std::string archive::SevenZipReason() { return last_reason; }

}  // namespace oxlip
