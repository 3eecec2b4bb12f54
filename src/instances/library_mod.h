#pragma once
// A mod of the library as the instance dialog sees it. The dialog sits below the mod library,
// so the library hands its rows over as plain data.
#include <string>
#include <vector>

namespace oxlip::instances {

struct LibraryMod {
  std::string Dir;  // folder name inside ModDir, with "\" at the end
  std::string Version;
  std::string Name;
  std::string SortKey;  // the library is sorted by it, byte-wise
};

// In library order.
using LibraryMods = std::vector<LibraryMod>;

// How a mod reads in the dialog's lists: "[" version "] " name.
std::string ModRowText(const LibraryMod& mod);

}  // namespace oxlip::instances
