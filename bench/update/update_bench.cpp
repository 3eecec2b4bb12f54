// One instance update from the mirror on loopback (the listings, the libraries, a 5 MB jar,
// about 600 resource files, the natives unpacked), against the curl program fetching the same
// files four at a time, with the mirror answering at once or after a fixed delay. Prints the
// median times of paired runs and the median of their ratios.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/error_text.h"
#include "common/paired_runs.h"
#include "mirror_child.h"
#include "platform/fs.h"
#include "platform/http.h"
#include "versions/instance_update.h"

namespace fs = std::filesystem;

namespace {

oxlip::base::GlobalSettings Settings(const std::string& base, const MirrorChild& mirror) {
  oxlip::base::GlobalSettings s;
  s.StartFolder = base;
  s.CacheDir = base + "Cache/";
  s.InstancesDir = base + "Instances/";
  s.VersionsDir = base + "mcversions/";
  s.MCURL = mirror.Url("download/");
  s.MCRESURL = mirror.Url("resources/");
  s.MCASSETSURL = mirror.Url("assets/");
  return s;
}

// An empty cache, no instance files and no files of curl's, so every file is fetched.
void Reset(const std::string& base, const oxlip::base::GlobalSettings& settings) {
  fs::remove_all(settings.CacheDir);
  fs::remove_all(settings.InstancesDir);
  fs::remove_all(base + "curl");
  fs::create_directories(settings.CacheDir);
  fs::create_directories(settings.InstancesDir + "bench");
}

bool Ours(const oxlip::base::GlobalSettings& settings) {
  oxlip::versions::RemoteFileList remote;
  oxlip::versions::DownloadQueue queue;
  oxlip::versions::DownloadContext context{settings, remote, queue};
  oxlip::base::NoProgress none;
  return oxlip::DownloadMinecraft(context, "bench", true, oxlip::instances::kReleaseChannel,
                                  &none) == 1;
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

struct Arguments {
  std::vector<int> delays = {0, 20};
  int rounds = 5;
  std::string mirror = OXLIP_MIRROR_PATH;
};

// [--delay MS]... [--rounds N] [MIRROR]: another mirror program may serve the files.
Arguments Parse(int argc, char** argv) {
  Arguments arguments;
  bool delays_given = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--delay" && i + 1 < argc) {
      if (!delays_given) arguments.delays.clear();
      delays_given = true;
      arguments.delays.push_back(std::atoi(argv[++i]));
    } else if (arg == "--rounds" && i + 1 < argc) {
      arguments.rounds = std::max(1, std::atoi(argv[++i]));
    } else {
      arguments.mirror = arg;
    }
  }
  return arguments;
}

// One mirror with `delay_ms` before every answer; false when something failed.
bool Measure(const std::string& base, const Arguments& arguments, int delay_ms) {
  fs::remove(base + "requests.log");
  MirrorChild mirror(arguments.mirror, OXLIP_FIXTURE_ROOT, base + "requests.log",
                     {"--delay", std::to_string(delay_ms)});
  if (mirror.port() == 0) {
    std::fprintf(stderr, "oxlip-mirror did not start\n");
    return false;
  }
  oxlip::base::GlobalSettings settings = Settings(base, mirror);
  // The first run warms the mirror's checksums and the page cache, and logs the file list.
  Reset(base, settings);
  if (!Ours(settings)) {
    std::fprintf(stderr, "update failed: %s\n", oxlip::base::LastErrorText().c_str());
    return false;
  }
  std::vector<std::string> targets = FileTargets(base + "requests.log");
  bool ok = true;
  bench::PairedTimes times = bench::RunPaired(
      arguments.rounds, [&] { return Ours(settings); },
      [&] { return Theirs(base, mirror, targets); }, [&] { Reset(base, settings); }, ok);
  std::string label = "update, " + std::to_string(targets.size()) + " files, " +
                      (delay_ms ? "delay " + std::to_string(delay_ms) + " ms" : "loopback");
  bench::PrintPaired(label, times);
  return ok;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments arguments = Parse(argc, argv);
  std::string base = (fs::temp_directory_path() / "oxlip-bench-update").string() + "/";
  fs::remove_all(base);
  fs::create_directories(base);
  oxlip::platform::SetCurrentFolder(base);
  std::printf(
      "ours: a fresh instance updated (listings, checks and natives included); theirs:\n"
      "curl --parallel --parallel-max 4 fetching the same files. Median of %d paired runs.\n",
      arguments.rounds);
  bool ok = true;
  for (int delay : arguments.delays) ok = Measure(base, arguments, delay) && ok;
  fs::remove_all(base);
  return ok ? 0 : 1;
}
