#pragma once
// The program-wide last-error text: an operation that fails stores one message here and
// returns 0; the command that called it decides whether to show it.
#include <string>

namespace oxlip {

void SetErrorText(const std::string& text);

namespace base {

std::string LastErrorText();

// A message followed by why it happened, "<message>: <reason>" ("SaveVersion: Can't create
// version-file <path>: No space left on device"), or "<message> <Reason>" after a message that
// ends a sentence; the message alone when no reason is known.
std::string WithReason(const std::string& message, const std::string& reason);

}  // namespace base
}  // namespace oxlip
