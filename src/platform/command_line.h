#pragma once
// A command line as one text, as the Windows program hands it to the system, split into the
// arguments a started program receives; so quoting means the same on every system.
#include <string>
#include <string_view>
#include <vector>

namespace oxlip::platform {

// Blanks and tabs separate arguments outside double quotes. The first argument, the program,
// runs to the next blank, or from a leading quote to the next quote, with no escapes. After it:
// 2n backslashes before a quote give n backslashes and the quote opens or closes quoting;
// 2n+1 give n backslashes and a literal quote; other backslashes are literal; inside quotes
// "" gives one literal quote.
std::vector<std::string> SplitCommandLine(std::string_view line);

// `value` in double quotes with its quotes and the backslashes before them escaped, so that
// SplitCommandLine gives it back as one argument, whatever it holds (not for the program name).
std::string QuoteArgument(std::string_view value);

}  // namespace oxlip::platform
