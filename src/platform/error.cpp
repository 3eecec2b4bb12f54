#include "platform/error.h"

#include <system_error>

#include "platform/path.h"

namespace oxlip::platform {

std::string Error::Text() const {
  std::string text = "can't " + operation + " " + path;
  return reason.empty() ? text : text + ": " + reason;
}

std::string ReasonText(int code) { return std::generic_category().message(code); }

bool Fail(Error* error, const char* operation, const std::string& path, int code) {
  if (error) *error = {operation, NativePath(path), code, code ? ReasonText(code) : ""};
  return false;
}

bool FailWith(Error* error, const char* operation, const std::string& path, std::string reason) {
  if (error) *error = {operation, NativePath(path), 0, std::move(reason)};
  return false;
}

}  // namespace oxlip::platform
