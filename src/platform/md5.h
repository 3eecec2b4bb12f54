#pragma once
#include <string>
#include <string_view>

namespace oxlip::platform {

// 32 lower-case hexadecimal digits; "" when the file cannot be read.
std::string FileMd5(const std::string& path);
std::string Md5Hex(std::string_view bytes);

}  // namespace oxlip::platform
