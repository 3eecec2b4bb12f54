#include "support/game_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <thread>

#include "support/fixture_paths.h"
#include "support/temp_folder.h"

namespace oxlip::test {

namespace fs = std::filesystem;

std::string JavaFolder() {
  fs::path java = fs::weakly_canonical(OXLIP_JAVA);
  return java.parent_path().string() + "/";
}

void LayOutGameFolder(const std::string& instance) {
  fs::path bin = fs::path(instance) / ".minecraft" / "bin";
  fs::create_directories(bin / "natives");
  for (const char* jar : {"minecraft.jar", "jinput.jar", "lwjgl.jar", "lwjgl_util.jar"})
    fs::copy_file(FixtureRoot() + "download/" + jar, bin / jar,
                  fs::copy_options::overwrite_existing);
  fs::copy_file(FixtureRoot() + "download/launcher/MinecraftLauncher.jar",
                bin / "MinecraftLauncher.jar", fs::copy_options::overwrite_existing);
}

bool WaitFor(const std::function<bool()>& done, std::chrono::seconds limit) {
  auto deadline = std::chrono::steady_clock::now() + limit;
  for (;;) {
    if (done()) return true;
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

std::map<std::string, std::string> WaitForReport(const std::string& path) {
  std::map<std::string, std::string> report;
  // Written beside and renamed into place: once it is there it is whole.
  if (!WaitFor([&] { return fs::exists(path); })) return report;
  std::istringstream lines(ReadFile(path));
  std::string line;
  while (std::getline(lines, line)) {
    std::size_t equals = line.find('=');
    if (equals != std::string::npos) report[line.substr(0, equals)] = line.substr(equals + 1);
  }
  return report;
}

}  // namespace oxlip::test
