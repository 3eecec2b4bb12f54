#pragma once
// The program-wide last-error text: an operation that fails stores one message here and
// returns 0; the command that called it decides whether to show it.
#include <string>

namespace oxlip {

void SetErrorText(const std::string& text);
std::string LastErrorText();

}  // namespace oxlip
