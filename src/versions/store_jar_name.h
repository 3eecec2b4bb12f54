#pragma once
// Jars in the version store are named after the version they hold: "minecraft - " + version +
// ".jar". The name is made and read here only.
#include <string>

namespace oxlip::versions {

std::string StoreJarName(const std::string& version);

// The version in a store file name: the name without its first 12 and last 4 characters; ""
// when nothing is left.
std::string StoredVersionName(const std::string& file);

}  // namespace oxlip::versions
