// Arbitrary bytes as an archive: "x" into a fresh folder must fail or succeed cleanly and never
// write outside it.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "archive/seven_zip.h"

namespace {

const std::string& Base() {
  static const std::string base = [] {
    std::string pattern = (std::filesystem::temp_directory_path() / "oxlip-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) std::abort();
    return pattern + "/";
  }();
  return base;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& base = Base();
  std::string archive = base + "input.jar.lzma";
  std::string out = base + "out";
  {
    std::ofstream file(archive, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  oxlip::SevenZip(nullptr, "x \"" + archive + "\" -aoa -hide -o\"" + out + "\\\" -xr!meta-inf",
                  nullptr, 0);
  // Only the archive and the output folder may exist beside each other.
  for (const auto& entry : std::filesystem::directory_iterator(base)) {
    std::string name = entry.path().filename().string();
    if (name != "input.jar.lzma" && name != "out") std::abort();
  }
  std::error_code ec;
  std::filesystem::remove_all(out, ec);
  return 0;
}
