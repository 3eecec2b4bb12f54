#pragma once
// The stored credentials (LoginCrypt): "user:password" between random bytes, AES-128-ECB under
// a key built into the program, Base64. Any length is stored whole.
#include <string>

#include "launch/credentials.h"

namespace oxlip {

// The stored text; "" only when no random bytes could be had.
std::string EncodeLogin(const launch::Credentials& credentials);

// Fills the credentials from a stored text. A text that is not what EncodeLogin made gives
// whatever its bytes give (nothing for one that is not Base64), never more.
void DecodeLogin(const std::string& text, launch::Credentials& credentials);

}  // namespace oxlip
