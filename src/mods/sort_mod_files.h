#pragma once
// Sorting an unpacked mod archive into the parts of the mod workspace.
#include <string>

namespace oxlip {

// Sorts an unpacked archive in `source` into the workspace: class files at the top make it
// all jar content; otherwise folders are recognised by their names (letter case ignored),
// zip files at the top go to "root\mods\" lower-cased, and the walk descends when nothing at
// a level was recognised. What is left goes to "unused\". `source` is left empty.
void SortModFiles(const std::string& source, const std::string& workspace);

}  // namespace oxlip
