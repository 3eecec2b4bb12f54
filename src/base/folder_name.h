#pragma once
// The name of a new instance or mod folder, made from its title.
#include <string>

namespace oxlip {

// A fresh folder name made of the hexadecimal date, " - " and the title with every character
// outside the allowed set replaced by "_". The date counts on while `parent` + name exists.
std::string MakeFolderName(const std::string& title, const std::string& parent);

}  // namespace oxlip
