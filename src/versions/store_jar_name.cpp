#include "app/store_jar.h"

namespace oxlip::app {

std::string StoreJarName(const std::string& version) { return "minecraft - " + version + ".jar"; }

}  // namespace oxlip::app
