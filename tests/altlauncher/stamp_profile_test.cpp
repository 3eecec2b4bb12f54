// Stamping real jars from configuration files written as Magic Launcher writes them.
#include "altlauncher/stamp_profile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "support/jar_files.h"
#include "support/mod_fixtures.h"
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

// What a jar holds after the stamp: `base` without its signature folder, with `added` over it.
JarFiles Stamped(JarFiles base, const JarFiles& added = {}) {
  std::erase_if(base, [](const auto& entry) { return entry.first.rfind("META-INF", 0) == 0; });
  for (const auto& [name, data] : added) base[name] = data;
  return base;
}

// A path as Magic Launcher writes it: backslashes, each one doubled.
std::string Written(const std::string& path) {
  std::string out;
  for (char c : path) out += c == '/' ? std::string("\\\\") : std::string(1, c);
  return out;
}

// The same path as the stamp reads it back, with single backslashes.
std::string Read(std::string path) {
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::string ModEntry(const std::string& file, const std::string& active = "true") {
  return "<Mod <File=\"" + Written(file) + "\"> <Active=\"" + active + "\">>\n";
}

std::string Profile(const std::string& name, const std::string& jar, const std::string& mods = "") {
  return "<Profile\n <Name=\"" + name + "\">\n <MinecraftJar=\"" + Written(jar) + "\">\n" + mods +
         ">\n";
}

class Stamp : public test::InTempFolder {
 protected:
  Stamp() {
    settings.StartFolder = dir();
    settings.InstancesDir = dir() + "Instances/";
    test::MakeJar(InstanceJar(), kGameJar);
    test::MakeJar(ProfileJar(), kProfileJar);
    test::MakeJar(Mod("a.zip"), kModA);
    test::MakeJar(Mod("b.zip"), kModB);
    test::MakeJar(Mod("c.zip"), {{"c.class", "inactive"}});
    game_jar_bytes = test::ReadFile(InstanceJar());
  }

  std::string Game() const { return settings.InstancesDir + "inst/.minecraft/"; }
  std::string InstanceJar() const { return Game() + "bin/minecraft.jar"; }
  std::string Mod(const std::string& name) const { return dir() + "mods/" + name; }
  std::string ProfileJar() const { return dir() + "jars/profile.jar"; }

  void WriteConfig(int index, const std::string& profiles) {
    test::WriteFile(Game() + "magic/MagicLauncher.cfg",
                    "<MagicLauncher Version=\"1.2\"\n<ActiveProfileIndex=\"" +
                        std::to_string(index) + "\">\n" + profiles + ">\n");
  }

  // Stamps with a file an interrupted run left in the staging folder (only a stamp that reads a
  // configuration clears it); what the stamp said: its failure's message, "patched" and the
  // profile, or nothing.
  std::string Stampit() {
    if (fs::exists(Game() + "magic/MagicLauncher.cfg"))
      test::WriteFile(dir() + "Temp/stale.class", "stale");
    altlauncher::StampOutcome outcome = altlauncher::StampProfile(
        altlauncher::StampPathsFor(settings.InstancesDir, "inst", settings.StartFolder), progress);
    if (outcome.kind == altlauncher::StampOutcome::Kind::kFailed) return outcome.message;
    if (outcome.kind == altlauncher::StampOutcome::Kind::kPatched)
      return "patched " + outcome.profile_name;
    return "";
  }

  // Nothing of the stamp is left: no staging folder, no temporary jar.
  void ExpectCleanedUp() const {
    EXPECT_FALSE(fs::exists(dir() + "Temp"));
    EXPECT_EQ(std::distance(fs::directory_iterator(Game() + "bin"), fs::directory_iterator()), 1);
  }
  void ExpectUnchanged() const {
    EXPECT_EQ(test::ReadFile(InstanceJar()), game_jar_bytes);
    ExpectCleanedUp();
  }

  base::GlobalSettings settings;
  test::RecordingProgress progress;
  std::string game_jar_bytes;
};

TEST_F(Stamp, BakesTheActiveProfilesJarAndActiveModsInTheirOrder) {
  WriteConfig(1, Profile("Other", Mod("c.zip"), ModEntry(Mod("c.zip"))) +
                     Profile("Modded", ProfileJar(),
                             ModEntry(Mod("a.zip")) + "<Mod <Active=\"true\">>\n" +
                                 ModEntry(Mod("c.zip"), "True") + ModEntry(Mod("b.zip"))));
  EXPECT_EQ(Stampit(), "patched Modded");
  EXPECT_EQ(test::JarFileContents(InstanceJar()),
            Stamped(kProfileJar,
                    {{"a.class", "mod a"}, {"shared.class", "from b"}, {"b/b.class", "mod b"}}));
  EXPECT_EQ(test::JarFileContents(ProfileJar()), kProfileJar);
  ExpectCleanedUp();
  ASSERT_FALSE(progress.percents.empty());
  EXPECT_EQ(progress.percents.back(), 100);
}

// Names that differ only in letter case are two files here; one file is one whatever its name.
TEST_F(Stamp, TheProfileJarIsFoundByItsFile) {
  std::string other_case = Game() + "bin/Minecraft.jar";
  test::MakeJar(other_case, kProfileJar);
  WriteConfig(0, Profile("Other case", other_case));
  EXPECT_EQ(Stampit(), "patched Other case");
  EXPECT_EQ(test::JarFileContents(InstanceJar()), Stamped(kProfileJar));
  fs::remove(other_case);

  WriteConfig(0, Profile("Own jar", Game() + "bin/../bin/minecraft.jar", ModEntry(Mod("a.zip"))));
  EXPECT_EQ(Stampit(), "patched Own jar");
  EXPECT_EQ(test::JarFileContents(InstanceJar()),
            Stamped(kProfileJar, {{"a.class", "mod a"}, {"shared.class", "from a"}}));
  ExpectCleanedUp();
}

TEST_F(Stamp, FailuresLeaveTheJarAsItWas) {
  test::WriteFile(Mod("broken.zip"), "not an archive");
  // Would unpack to far more than it holds: refused, as an imported one is.
  ASSERT_EQ(test::MakeZipWithPython("bomb '" + Mod("bomb.zip") + "' 100"), 0);
  // Copies fine but is no archive, so adding the mods into it fails.
  test::WriteFile(dir() + "jars/text.jar", "plain text");
  std::string two_mods =
      Profile("P", ProfileJar(), ModEntry(Mod("a.zip")) + ModEntry(Mod("b.zip")));
  struct Case {
    std::string profiles, message;  // the message, or its start; "" for nothing said
    int index = 0;
  } cases[] = {
      {Profile("A", ProfileJar()) + Profile("B", ProfileJar()), "", 2},
      {"", "Stamp: No Alternate-Config-File"},
      {Profile("P", ProfileJar(), ModEntry(Mod("a.zip")) + ModEntry(Mod("broken.zip"))),
       "stampit: Can't unzip mod " + Read(Mod("broken.zip"))},
      {Profile("P", ProfileJar(), ModEntry(Mod("bomb.zip"))),
       "stampit: Can't unzip mod " + Read(Mod("bomb.zip")) + ": "},
      {Profile("P", dir() + "jars/text.jar", ModEntry(Mod("a.zip"))),
       "DownloadMinecraft: Can't patch minecraft.jar"},
      {Profile("P", dir() + "jars/gone.jar"),
       "stampit: Can't copy " + Read(dir() + "jars/gone.jar")},
      {"<Profile <Name=\"No jar\">>\n", "stampit: The profile names no jar"},
      {two_mods.substr(0, two_mods.rfind("<Active")), "stampit: Alternate-Config-File is cut off"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    WriteConfig(c.index, c.profiles);
    if (c.profiles.empty()) fs::remove(Game() + "magic/MagicLauncher.cfg");
    std::string said = Stampit();
    EXPECT_TRUE(c.message.empty() ? said.empty() : said.starts_with(c.message)) << said;
    ExpectUnchanged();
  }
}

}  // namespace
}  // namespace oxlip
