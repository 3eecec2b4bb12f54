#pragma once
// Jars the program puts into the version store are named after the version they hold.
#include <string>

namespace oxlip::app {

// "minecraft - " + version + ".jar".
std::string StoreJarName(const std::string& version);

}  // namespace oxlip::app
