#pragma once
// Why a call into the system failed: what was being done, to which path, and the system's own
// reason, so that a message a person reads can end with why ("No space left on device").
// Functions of platform/ take an optional `Error*` (objects that stay open keep theirs in
// error()); it is filled at the call that failed, before anything else can change errno.
#include <string>

namespace oxlip::platform {

struct Error {
  std::string operation;  // a verb: "create", "write", "read", "copy", "move", "delete", ...
  std::string path;       // the file or folder concerned (native form), or a URL
  int code = 0;           // the errno value; 0 when the reason is not the system's
  std::string reason;     // the system's text for `code`, or another library's words

  explicit operator bool() const { return !operation.empty(); }  // a failure is recorded
  // "can't <operation> <path>: <reason>", for a message that does not name the path itself.
  std::string Text() const;
};

// The system's text for an errno value ("File too large").
std::string ReasonText(int code);

// Records a failure with the system's reason in `*error` (when given) and returns false, so a
// failing branch reads `return Fail(error, "create", path, errno);`.
bool Fail(Error* error, const char* operation, const std::string& path, int code);
// The same with another library's words as the reason.
bool FailWith(Error* error, const char* operation, const std::string& path, std::string reason);

}  // namespace oxlip::platform
