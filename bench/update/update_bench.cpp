// One instance update from the mirror on loopback (three listings, the libraries, a 5 MB jar,
// about 600 resource files, the natives unpacked), against the curl program fetching the same
// files four at a time. Prints both times and their ratio.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "versions/instance_update.h"
#include "base/error_text.h"
#include "mirror_child.h"
#include "platform/fs.h"
#include "platform/http.h"

namespace fs = std::filesystem;

namespace {

template <typename F>
double Seconds(F&& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

oxlip::GlobalSettings Settings(const std::string& base, const MirrorChild& mirror) {
  oxlip::GlobalSettings s;
  s.StartFolder = base;
  s.CacheDir = base + "Cache/";
  s.InstancesDir = base + "Instances/";
  s.VersionsDir = base + "mcversions/";
  s.MCURL = mirror.Url("download/");
  s.MCRESURL = mirror.Url("resources/");
  s.MCASSETSURL = mirror.Url("assets/");
  return s;
}

// A fresh instance with an empty cache, so every file is fetched.
bool Ours(const oxlip::GlobalSettings& settings) {
  fs::remove_all(settings.CacheDir);
  fs::remove_all(settings.InstancesDir);
  fs::create_directories(settings.CacheDir);
  fs::create_directories(settings.InstancesDir + "bench");
  oxlip::RemoteFileList remote;
  oxlip::DownloadQueue queue;
  oxlip::DownloadContext context{settings, remote, queue};
  oxlip::NoProgress none;
  return oxlip::DownloadMinecraft(context, "bench", true, oxlip::kReleaseChannel, &none) == 1;
}

// The file requests of the log (listings end in "/" or carry a query).
std::vector<std::string> FileTargets(const std::string& log) {
  std::vector<std::string> targets;
  std::ifstream in(log);
  for (std::string line; std::getline(in, line);) {
    if (!line.starts_with("GET /")) continue;
    std::string target = line.substr(4);
    if (target.back() != '/' && target.find('?') == std::string::npos) targets.push_back(target);
  }
  return targets;
}

bool Theirs(const std::string& base, const MirrorChild& mirror,
            const std::vector<std::string>& targets) {
  fs::remove_all(base + "curl");
  std::ofstream config(base + "curl.config");
  for (size_t i = 0; i < targets.size(); ++i)
    config << "url = \"" << mirror.Url(targets[i].substr(1)) << "\"\noutput = \"" << base << "curl/"
           << i << "\"\n";
  config.close();
  std::string command =
      "curl -sS --no-progress-meter --fail --create-dirs --parallel --parallel-max 4 -K '" + base +
      "curl.config'";
  return std::system(command.c_str()) == 0;
}

}  // namespace

// An optional argument names another mirror program to serve the files.
int main(int argc, char** argv) {
  std::string base = (fs::temp_directory_path() / "oxlip-bench-update").string() + "/";
  fs::remove_all(base);
  fs::create_directories(base);
  oxlip::platform::SetCurrentFolder(base);
  MirrorChild mirror(argc > 1 ? argv[1] : OXLIP_MIRROR_PATH, OXLIP_FIXTURE_ROOT,
                     base + "requests.log");
  if (mirror.port() == 0) {
    std::fprintf(stderr, "oxlip-mirror did not start\n");
    return 1;
  }
  oxlip::GlobalSettings settings = Settings(base, mirror);
  // The first run warms the mirror's checksums and the page cache, and logs the file list.
  if (!Ours(settings)) {
    std::fprintf(stderr, "update failed: %s\n", oxlip::LastErrorText().c_str());
    return 1;
  }
  bool ok = true;
  std::vector<std::string> targets = FileTargets(base + "requests.log");
  double ours = 1e9, theirs = 1e9;
  for (int round = 0; round < 3; ++round) {
    ours = std::min(ours, Seconds([&] { ok = Ours(settings) && ok; }));
    theirs = std::min(theirs, Seconds([&] { ok = Theirs(base, mirror, targets) && ok; }));
  }
  std::printf("%zu files (best of 3)\n", targets.size());
  std::printf("ours  %.3f s (listings, checks, copies and natives included)\n", ours);
  std::printf("curl  %.3f s (--parallel-max 4, downloads only)\nratio %.2f (ours / curl)\n", theirs,
              ours / theirs);
  fs::remove_all(base);
  return ok ? 0 : 1;
}
