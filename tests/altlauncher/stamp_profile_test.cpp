// Stamping real jars from configuration files written as Magic Launcher writes them.
#include "altlauncher/stamp_profile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "jar_files.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace oxlip {
namespace {

namespace fs = std::filesystem;
using test::JarFiles;

const JarFiles kGameJar = {{"net/minecraft/client/Minecraft.class", "instance game"},
                           {"META-INF/MANIFEST.MF", "manifest"},
                           {"META-INF/MOJANG_C.SF", "signature"}};
const JarFiles kProfileJar = {{"net/minecraft/client/Minecraft.class", "profile game"},
                              {"META-INF/MANIFEST.MF", "manifest"},
                              {"a.class", "profile a"}};
const JarFiles kModA = {
    {"a.class", "mod a"}, {"shared.class", "from a"}, {"META-INF/MANIFEST.MF", "a manifest"}};
const JarFiles kModB = {
    {"shared.class", "from b"}, {"b/b.class", "mod b"}, {"b/Meta-Inf/B.SF", "nested signature"}};

// The files with the folders that 7-Zip shows for them.
JarFiles WithFolders(JarFiles files) {
  for (auto names = files; const auto& [name, data] : names)
    for (auto slash = name.find('/'); slash != std::string::npos && slash + 1 < name.size();
         slash = name.find('/', slash + 1))
      files[name.substr(0, slash + 1)] = "";
  return files;
}

// What a jar holds after the stamp: `base` without its signature folder, with `added` over it.
JarFiles Stamped(JarFiles base, const JarFiles& added = {}) {
  std::erase_if(base, [](const auto& entry) { return entry.first.rfind("META-INF", 0) == 0; });
  for (const auto& [name, data] : added) base[name] = data;
  return WithFolders(base);
}

class Stamp : public test::InTempFolder {
 protected:
  Stamp() {
    settings.StartFolder = dir();
    settings.InstancesDir = dir() + "Instances/";
    record.Name = "Modded";
    record.Folder = "inst";
    if (!test::HaveSevenZip()) return;
    test::MakeJar(InstanceJar(), kGameJar);
    test::MakeJar(dir() + "jars/profile.jar", kProfileJar);
    test::MakeJar(dir() + "mods/a.zip", kModA);
    test::MakeJar(dir() + "mods/b.zip", kModB);
    test::MakeJar(dir() + "mods/c.zip", {{"c.class", "inactive"}});
    game_jar_bytes = test::ReadFile(InstanceJar());
  }
  void SetUp() override {
    if (!test::HaveSevenZip()) GTEST_SKIP() << "the 7-Zip program 7zz is not installed";
  }

  std::string Game() const { return settings.InstancesDir + "inst/.minecraft/"; }
  std::string InstanceJar() const { return Game() + "bin/minecraft.jar"; }
  std::string Mod(const std::string& name) const { return dir() + "mods/" + name; }
  std::string ProfileJar() const { return dir() + "jars/profile.jar"; }

  // A path as Magic Launcher writes it: backslashes, each one doubled.
  static std::string Written(const std::string& path) {
    std::string out;
    for (char c : path) out += c == '/' ? std::string("\\\\") : std::string(1, c);
    return out;
  }
  // The same path as the stamp reads it back, with single backslashes.
  static std::string Read(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
  }
  static std::string ModEntry(const std::string& file, const std::string& active = "true") {
    return "    <Mod\n      <File=\"" + Written(file) + "\">\n      <Active=\"" + active +
           "\">\n    >\n";
  }
  static std::string Profile(const std::string& name, const std::string& jar,
                             const std::string& mods = "") {
    return "  <Profile\n    <Name=\"" + name + "\">\n    <MinecraftJar=\"" + Written(jar) +
           "\">\n" + mods + "  >\n";
  }
  void WriteConfig(const std::string& index_element, const std::string& profiles) {
    test::WriteFile(Game() + "magic/MagicLauncher.cfg",
                    "<MagicLauncher Version=\"1.2\"\n  " + index_element + "\n" + profiles + ">\n");
  }
  void WriteConfig(int index, const std::string& profiles) {
    WriteConfig("<ActiveProfileIndex=\"" + std::to_string(index) + "\">", profiles);
  }

  // What the last stamp said: its failure's message, "patched" and the profile, or nothing.
  std::vector<std::string> Outcome() const {
    switch (outcome.kind) {
      case altlauncher::StampOutcome::Kind::kFailed:
        return {outcome.message};
      case altlauncher::StampOutcome::Kind::kPatched:
        return {"patched " + outcome.profile_name};
      case altlauncher::StampOutcome::Kind::kNothing:
        break;
    }
    return {};
  }
  // Nothing of the stamp is left: no staging folder, no temporary jar.
  void ExpectCleanedUp() const {
    EXPECT_FALSE(fs::exists(dir() + "Temp"));
    std::vector<std::string> bin;
    for (const auto& entry : fs::directory_iterator(Game() + "bin"))
      bin.push_back(entry.path().filename().string());
    EXPECT_EQ(bin, std::vector<std::string>{"minecraft.jar"});
  }
  void ExpectFailedWith(const std::string& text) const {
    EXPECT_EQ(Outcome(), std::vector<std::string>{text});
    EXPECT_EQ(test::ReadFile(InstanceJar()), game_jar_bytes);
    ExpectCleanedUp();
  }

  void Stampit() {
    outcome = altlauncher::StampProfile(
        altlauncher::StampPathsFor(settings.InstancesDir, record.Folder, settings.StartFolder),
        progress);
  }

  GlobalSettings settings;
  Instance record;
  test::RecordingProgress progress;
  altlauncher::StampOutcome outcome;
  std::string game_jar_bytes;
};

TEST_F(Stamp, BakesTheActiveProfilesJarAndActiveModsInTheirOrder) {
  WriteConfig(1, Profile("Other", Mod("c.zip"), ModEntry(Mod("c.zip"))) +
                     Profile("Modded", ProfileJar(),
                             ModEntry(Mod("a.zip")) + "    <Mod <Active=\"true\">>\n" +
                                 ModEntry(Mod("c.zip"), "True") + ModEntry(Mod("b.zip"))));
  Stampit();
  EXPECT_EQ(Outcome(), std::vector<std::string>{"patched Modded"});
  EXPECT_EQ(test::ReadJar(InstanceJar()),
            Stamped(kProfileJar,
                    {{"a.class", "mod a"}, {"shared.class", "from b"}, {"b/b.class", "mod b"}}));
  EXPECT_EQ(test::ReadJar(ProfileJar()), WithFolders(kProfileJar));
  ExpectCleanedUp();

  ASSERT_FALSE(progress.percents.empty());
  EXPECT_EQ(progress.percents.back(), 100);
}

TEST_F(Stamp, ProfileWithoutModsCopiesItsJarAndDropsItsSignatureFolder) {
  WriteConfig(0, Profile("Plain", ProfileJar()));
  Stampit();
  EXPECT_EQ(Outcome(), std::vector<std::string>{"patched Plain"});
  EXPECT_EQ(test::ReadJar(InstanceJar()), Stamped(kProfileJar));
  ExpectCleanedUp();
}

// Names that differ only in letter case are two files here.
TEST_F(Stamp, AProfileJarNamedLikeTheInstanceJarInAnotherCaseIsAnotherJar) {
  std::string other = Game() + "bin/Minecraft.jar";
  test::MakeJar(other, kProfileJar);
  WriteConfig(0, Profile("Other jar", other, ModEntry(Mod("a.zip"))));
  Stampit();
  EXPECT_EQ(Outcome(), std::vector<std::string>{"patched Other jar"});
  EXPECT_EQ(test::ReadJar(InstanceJar()),
            Stamped(kProfileJar, {{"a.class", "mod a"}, {"shared.class", "from a"}}));
}

TEST_F(Stamp, QuotedCloseInsideAValueDoesNotEndTheProfile) {
  WriteConfig(0, "  <Profile <Name=\"Mods > vanilla\"> <Note=\"<b>\">\n    <MinecraftJar=\"" +
                     Written(ProfileJar()) + "\">\n" + ModEntry(Mod("b.zip")) + "  >\n");
  Stampit();
  EXPECT_EQ(Outcome(), std::vector<std::string>{"patched Mods > vanilla"});
  EXPECT_EQ(test::ReadJar(InstanceJar()),
            Stamped(kProfileJar, {{"shared.class", "from b"}, {"b/b.class", "mod b"}}));
}

TEST_F(Stamp, IndexElementChoosesAmongProfilesOrTheFirstWhenMissing) {
  std::string profiles =
      Profile("First", ProfileJar()) + Profile("Second", InstanceJar(), ModEntry(Mod("a.zip")));
  WriteConfig("", profiles);
  Stampit();
  EXPECT_EQ(Outcome(), std::vector<std::string>{"patched First"});

  WriteConfig(1, profiles);
  Stampit();
  EXPECT_EQ(Outcome(), std::vector<std::string>{"patched Second"});
  EXPECT_EQ(test::ReadJar(InstanceJar()),
            Stamped(kProfileJar, {{"a.class", "mod a"}, {"shared.class", "from a"}}));
}

TEST_F(Stamp, ProfileThatIsNotThereChangesAndShowsNothing) {
  for (const char* index : {"2", "-1"}) {
    SCOPED_TRACE(index);
    test::WriteFile(dir() + "Temp/left.class", "left");
    WriteConfig(std::string("<ActiveProfileIndex=\"") + index + "\">",
                Profile("A", ProfileJar()) + Profile("B", ProfileJar()));
    Stampit();
    EXPECT_TRUE(Outcome().empty());
    EXPECT_EQ(test::ReadFile(InstanceJar()), game_jar_bytes);
    ExpectCleanedUp();
  }
}

TEST_F(Stamp, MissingOrEmptyConfigurationFileIsShown) {
  Stampit();
  ExpectFailedWith("Stamp: No Alternate-Config-File");
  test::WriteFile(Game() + "magic/MagicLauncher.cfg", "");
  Stampit();
  ExpectFailedWith("Stamp: No Alternate-Config-File");
}

TEST_F(Stamp, UnreadableConfigurationFileIsShown) {
  WriteConfig(0, Profile("P", ProfileJar()));
  std::string config = Game() + "magic/MagicLauncher.cfg";
  fs::permissions(config, fs::perms::none);
  if (std::ifstream(config).good()) GTEST_SKIP() << "file rights do not bind this user";
  Stampit();
  ExpectFailedWith("stampit: Can't open Alternate-Config-File");
}

TEST_F(Stamp, ModThatCannotBeUnpackedLeavesTheJarAsItWas) {
  test::WriteFile(Mod("broken.zip"), "not an archive");
  WriteConfig(
      0, Profile("P", ProfileJar(),
                 ModEntry(Mod("a.zip")) + ModEntry(Mod("broken.zip")) + ModEntry(Mod("b.zip"))));
  Stampit();
  ExpectFailedWith("stampit: Can't unzip mod " + Read(Mod("broken.zip")));

  // One that would unpack to far more than it holds is refused, as an imported one is.
  std::string bomb =
      "python3 '" OXLIP_SOURCE_DIR "/tests/mods/make_zip.py' bomb '" + Mod("bomb.zip") + "' 100";
  ASSERT_EQ(std::system(bomb.c_str()), 0);
  WriteConfig(0, Profile("P", ProfileJar(), ModEntry(Mod("bomb.zip"))));
  Stampit();
  ASSERT_EQ(Outcome().size(), 1u);
  EXPECT_TRUE(Outcome()[0].starts_with("stampit: Can't unzip mod " + Read(Mod("bomb.zip")) + ": "))
      << Outcome()[0];
  EXPECT_EQ(test::ReadFile(InstanceJar()), game_jar_bytes);
  ExpectCleanedUp();
}

TEST_F(Stamp, FailingPatchStepLeavesTheJarAsItWas) {
  // The profile's jar copies fine but is no archive, so adding the mods into it fails.
  test::WriteFile(dir() + "jars/text.jar", "plain text");
  WriteConfig(0, Profile("P", dir() + "jars/text.jar", ModEntry(Mod("a.zip"))));
  Stampit();
  ExpectFailedWith("DownloadMinecraft: Can't patch minecraft.jar");
}

TEST_F(Stamp, MissingProfileJarIsShownAndLeavesTheJarAsItWas) {
  WriteConfig(0, Profile("P", dir() + "jars/gone.jar", ModEntry(Mod("a.zip"))));
  Stampit();
  ExpectFailedWith("stampit: Can't copy " + Read(dir() + "jars/gone.jar"));

  WriteConfig(0, "  <Profile <Name=\"No jar\">>\n");
  Stampit();
  ExpectFailedWith("stampit: The profile names no jar");
}

TEST_F(Stamp, FileCutOffInsideATagOfTheActiveProfileIsShownAsDamaged) {
  WriteConfig(0, Profile("P", ProfileJar(), ModEntry(Mod("a.zip")) + ModEntry(Mod("b.zip"))));
  std::string config = Game() + "magic/MagicLauncher.cfg";
  std::string whole = test::ReadFile(config);
  for (const std::string& cut :
       {std::string("b.zip"), std::string("<Active"), std::string("\"0\"")}) {
    SCOPED_TRACE(cut);
    test::WriteFile(config, whole.substr(0, whole.rfind(cut)));
    Stampit();
    ExpectFailedWith("stampit: Alternate-Config-File is cut off");
  }
}

TEST_F(Stamp, FileCutOffInALaterProfileStillStampsTheActiveOne) {
  WriteConfig(0, Profile("P", ProfileJar()) + "  <Profile <Name=\"cut");
  Stampit();
  EXPECT_EQ(Outcome(), std::vector<std::string>{"patched P"});
  EXPECT_EQ(test::ReadJar(InstanceJar()), Stamped(kProfileJar));
}

TEST_F(Stamp, FilesLeftInTheStagingFolderByAnEarlierRunAreNotAdded) {
  test::WriteFile(dir() + "Temp/stale.class", "stale");
  WriteConfig(0, Profile("P", ProfileJar(), ModEntry(Mod("a.zip"))));
  Stampit();
  EXPECT_EQ(Outcome(), std::vector<std::string>{"patched P"});
  EXPECT_EQ(test::ReadJar(InstanceJar()),
            Stamped(kProfileJar, {{"a.class", "mod a"}, {"shared.class", "from a"}}));
  ExpectCleanedUp();
}

}  // namespace
}  // namespace oxlip
