// Importing a mod archive (unpack, sort, pack into the library) and installing it into an
// instance with a 5 MB jar: ours against the same command lines run by the 7-Zip program, on
// a 20 MB zip mod and a 20 MB 7z mod, in one run. Sorting and copying are our code in both.
#include <zip.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "app/import_mod.h"
#include "app/ui.h"
#include "mods/mod_install.h"
#include "mods/mod_workspace.h"
#include "mods/sort_mod_files.h"

namespace fs = std::filesystem;
using namespace oxlip;

namespace {

// Confirms every mod dialog and runs work on the calling thread.
class ConfirmingUi : public app::Ui {
 public:
  void ShowMessage(const std::string&, const std::string& text) override {
    std::fprintf(stderr, "message: %s\n", text.c_str());
  }
  void ShowStatusWindow(const std::string&, const std::string&, bool) override {}
  void CloseStatusWindow() override {}
  base::ProgressSink& StatusProgress() override { return progress_; }
  int RunWithProgress(const std::string&, const std::string&,
                      const std::function<int(base::ProgressSink&)>& work) override {
    return work(progress_);
  }
  int RunBehindStatus(const std::function<int(base::ProgressSink&)>& work) override {
    return work(progress_);
  }
  void ListChanged(app::ListKind) override {}
  void InstanceRowChanged(int, app::RowChange) override {}
  void SelectInstanceRow(int) override {}
  app::RowRange InstanceRowsInView() override { return {}; }
  std::string OpenFileDialog(const std::string&, const std::string&, int) override { return ""; }
  std::optional<std::string> InputBox(const std::string&, const std::string&,
                                      const std::string&) override {
    return std::nullopt;
  }
  void OpenFolder(const std::string&) override {}
  bool RunLoginDialog(app::LoginForm&) override { return false; }
  bool RunModDialog(app::ModDialogModel&) override { return true; }
  bool RunInstanceDialog(app::InstanceDialogModel&) override { return false; }
  bool RunRestoreDialog(app::RestoreChoiceModel&) override { return false; }
  bool ShowOffer(const std::string&, const std::string&, const std::string&) override {
    return false;
  }
  void ShowGameLog(const std::string&, const std::string&) override {}

 private:
  base::NoProgress progress_;
};

std::string Bytes(std::mt19937& random, std::size_t size, bool compressible) {
  static const char kAlphabet[] = "abcdefghijklmnop";
  std::string data(size, '\0');
  for (char& c : data)
    c = compressible ? kAlphabet[random() % 16] : static_cast<char>(random() & 0xFF);
  return data;
}

void Write(const fs::path& path, const std::string& data) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << data;
}

// About 20 MB as mods come: classes for the jar, mostly packed jars and sounds for the game
// folder, a few configs, all in one top folder.
void MakeModTree(const fs::path& top, std::mt19937& random) {
  for (int i = 0; i < 300; ++i)
    Write(top / "minecraft.jar" / ("m" + std::to_string(i) + ".class"),
          Bytes(random, 3000 + random() % 5000, true));
  for (int i = 0; i < 4; ++i)
    Write(top / "mods" / ("lib" + std::to_string(i) + ".jar"), Bytes(random, 4 << 20, false));
  for (int i = 0; i < 40; ++i)
    Write(top / "resources" / "sound" / ("s" + std::to_string(i) + ".ogg"),
          Bytes(random, 50000, false));
  for (int i = 0; i < 20; ++i)
    Write(top / "config" / ("c" + std::to_string(i) + ".cfg"), Bytes(random, 20000, true));
}

// About 5 MB of deflated entries with a META-INF folder.
void MakeGameJar(const std::string& path, std::mt19937& random) {
  int code = 0;
  zip_t* zip = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
  std::vector<std::string> keep;
  keep.reserve(1301);
  keep.push_back("Manifest-Version: 1.0\n");
  zip_file_add(zip, "META-INF/MANIFEST.MF",
               zip_source_buffer(zip, keep.back().data(), keep.back().size(), 0), 0);
  for (int i = 0; i < 1300; ++i) {
    keep.push_back(Bytes(random, 7000, true));
    std::string name = "net/minecraft/src/c" + std::to_string(i) + ".class";
    zip_file_add(zip, name.c_str(),
                 zip_source_buffer(zip, keep.back().data(), keep.back().size(), 0), 0);
  }
  zip_close(zip);
}

template <typename F>
double Seconds(F&& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

bool Program(const std::string& folder, const std::string& args) {
  std::string line = "set -f; cd '" + folder + "' && 7zz " + args + " -bso0 -bsp0 >/dev/null";
  return std::system(line.c_str()) == 0;
}

// One side of the comparison: its own settings, library and instance.
struct Side {
  base::GlobalSettings settings;
  Instance instance;
  std::string jar;

  Side(const std::string& base, const std::string& game_jar) {
    settings.StartFolder = base;
    settings.CacheDir = base + "Cache/";
    settings.InstancesDir = base + "Instances/";
    settings.ModDir = base + "mods/";
    settings.LatestVersionNr = "1.2.5";
    instance.Folder = "inst";
    jar = base + "Instances/inst/.minecraft/bin/minecraft.jar";
    fs::create_directories(settings.CacheDir);
    fs::create_directories(settings.ModDir);
    fs::create_directories(fs::path(jar).parent_path());
    fs::copy_file(game_jar, jar);
  }
};

struct Times {
  double import = 0, install = 0;
  bool ok = true;
};

Times Ours(Side& side, const std::string& archive) {
  Times times;
  ConfirmingUi ui;
  std::string dir;
  times.import = Seconds([&] { dir = ImportMod(side.settings, {}, ui, archive); });
  side.instance.Mods = {dir};
  base::NoProgress progress;
  times.install = Seconds([&] { installmod(side.settings, side.instance, 1, progress); });
  times.ok = !dir.empty() && fs::exists(side.settings.ModDir + dir.substr(0, dir.size() - 1));
  return times;
}

// The same command lines through the 7-Zip program; the patch as it takes it on this system.
Times Theirs(Side& side, const std::string& archive) {
  Times times;
  const base::GlobalSettings& s = side.settings;
  std::string staging = s.CacheDir + "unzipped/", workspace = s.CacheDir + "testmod/";
  std::string mod = s.ModDir + "mod/";
  times.import = Seconds([&] {
    times.ok = Program(s.StartFolder, "x '" + archive + "' '*' -o'" + staging + "' -aoa");
    SortModFiles(staging, workspace);
    fs::create_directories(mod);
    times.ok = Program(workspace + "minecraft.jar", "a '" + mod + "minecraftjar.7z' * -r -mx9") &&
               Program(workspace + "root", "a '" + mod + "root.7z' * -r -mx9") && times.ok;
    fs::remove_all(staging);
    fs::remove_all(workspace);
  });
  std::string jar_staging = s.CacheDir + "minecraftjar/", root_staging = s.CacheDir + "root/";
  times.install = Seconds([&] {
    bool ok =
        Program(s.StartFolder, "x '" + mod + "minecraftjar.7z' '*' -o'" + jar_staging + "' -aoa") &&
        Program(s.StartFolder, "x '" + mod + "root.7z' '*' -o'" + root_staging + "' -aoa");
    mods::PreviousInstall previous;
    std::string record;
    InstallTree(root_staging, s.InstancesDir + "inst/.minecraft/", "", previous, record, 1,
                s.InstancesDir + "inst/modinstall.orig/");
    ok = Program(jar_staging, "a -tzip '" + side.jar + "' * -r -mx9 -xr-!meta-inf") &&
         Program(s.StartFolder, "d '" + side.jar + "' META-INF") && ok;
    fs::remove_all(jar_staging);
    fs::remove_all(root_staging);
    times.ok = times.ok && ok;
  });
  return times;
}

// The mod's 7z archives in the library.
double PackedMegabytes(const std::string& mod_dir) {
  std::uintmax_t bytes = 0;
  for (const auto& entry : fs::recursive_directory_iterator(mod_dir))
    if (entry.path().extension() == ".7z") bytes += entry.file_size();
  return static_cast<double>(bytes) / 1e6;
}

void Report(const char* kind, double size, const Times& ours, const Times& theirs) {
  std::printf("%s mod, %.1f MB\n", kind, size / 1e6);
  std::printf("  import   ours %6.2f s   7zz %6.2f s   ratio %.2f\n", ours.import, theirs.import,
              ours.import / theirs.import);
  std::printf("  install  ours %6.2f s   7zz %6.2f s   ratio %.2f\n", ours.install, theirs.install,
              ours.install / theirs.install);
  double a = ours.import + ours.install, b = theirs.import + theirs.install;
  std::printf("  total    ours %6.2f s   7zz %6.2f s   ratio %.2f\n", a, b, a / b);
}

}  // namespace

int main() {
  std::string base = (fs::temp_directory_path() / "oxlip-bench-mods").string() + "/";
  fs::remove_all(base);
  fs::create_directories(base);
  std::mt19937 random(42);
  MakeModTree(base + "src/Big Mod", random);
  MakeGameJar(base + "game.jar", random);
  bool ok = Program(base + "src", "a -tzip -mx5 ../BigMod.zip *") &&
            Program(base + "src", "a -t7z -mx5 ../BigMod.7z *");
  std::printf("game jar %.1f MB; ours = in-process archiver, 7zz = the 7-Zip program\n",
              fs::file_size(base + "game.jar") / 1e6);
  for (const char* kind : {"zip", "7z"}) {
    std::string archive = base + "BigMod." + kind;
    std::string name = kind;
    Side ours_side(base + "ours-" + name + "/", base + "game.jar");
    Side their_side(base + "7zz-" + name + "/", base + "game.jar");
    Times ours = Ours(ours_side, archive);
    Times theirs = Theirs(their_side, archive);
    ok = ok && ours.ok && theirs.ok;
    Report(kind, static_cast<double>(fs::file_size(archive)), ours, theirs);
    std::printf("  7z:      ours %.2f MB, 7zz %.2f MB\n",
                PackedMegabytes(ours_side.settings.ModDir),
                PackedMegabytes(their_side.settings.ModDir));
    std::printf("  jars:    ours %.2f MB, 7zz %.2f MB\n", fs::file_size(ours_side.jar) / 1e6,
                fs::file_size(their_side.jar) / 1e6);
  }
  fs::remove_all(base);
  if (!ok) std::printf("FAILED: a step did not succeed\n");
  return ok ? 0 : 1;
}
