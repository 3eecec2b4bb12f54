#pragma once
// Listings are XML: element text arrives with entities and character references.
#include <string>
#include <string_view>

namespace oxlip::versions {

// Decodes the five named entities and decimal or hexadecimal character references (as UTF-8).
// Anything malformed or unknown stays as it was written.
std::string DecodeXmlText(std::string_view text);

}  // namespace oxlip::versions
