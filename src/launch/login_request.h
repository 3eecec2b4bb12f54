#pragma once
// The login at the account server: one GET whose answer's first line gives the user name and
// the ticket, or the server's message.
#include <string>
#include <string_view>

#include "base/settings.h"
#include "launch/credentials.h"

namespace oxlip {

// Non-zero (the position of the first ":" in the answer's first line, from 1) when the login
// succeeded; 0 otherwise. An answer fills `answer`; no answer leaves its texts as they were.
// `answer.answered` tells the two failures apart. Only the answer's first kilobyte is read.
// Reports nothing.
int LoginRequest(const base::GlobalSettings& settings, const launch::Credentials& credentials,
                 launch::LoginAnswer& answer);

}  // namespace oxlip

namespace oxlip::launch {

// Every byte but the unreserved ones (letters, digits, "-", "_", ".", "~") as "%" and two
// upper-case hexadecimal digits, so "&", "+" and the like reach the server as typed.
std::string UrlEncode(std::string_view text);

// MCLOGINURL with "%1%", "%2%" and "%3%" replaced by the encoded user name, the encoded
// password and MCLOGINVER.
std::string LoginUrl(const base::GlobalSettings& settings, const Credentials& credentials);

// Reads the first line of an answer into `answer` as LoginRequest does; its result.
int ReadLoginAnswer(std::string_view body, LoginAnswer& answer);

}  // namespace oxlip::launch
