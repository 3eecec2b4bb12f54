// Magic Launcher's configuration text (its elements, their values and the active profile), and
// stamping real jars from configuration files written as Magic Launcher writes them.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "altlauncher/magic_config.h"
#include "altlauncher/next_tag.h"
#include "altlauncher/stamp_profile.h"
#include "support/jar_files.h"
#include "support/mod_fixtures.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace oxlip::altlauncher {
namespace {

// A value is what stands between the first two quotes; a path value reads each doubled
// backslash as one.
TEST(MagicConfigValues, ValuesPathsAndTheActiveProfileNumber) {
  // clang-format off
  const std::pair<const char*, const char*> values[] = {
      {"<Name=\"My \"profile\">", "My "}, {"<Name=\"\">", ""}, {"<Name=\"unclosed>", ""},
      {"<Name=plain>", ""}, {R"(<Name="a\\b">)", R"(a\\b)"}};
  // clang-format on
  for (const auto& [element, value] : values) EXPECT_EQ(ElementValue(element), value) << element;
  EXPECT_EQ(PathValue(R"(<File="C:\\Users\\me\\a.zip">)"), R"(C:\Users\me\a.zip)");
  EXPECT_EQ(PathValue(R"(<File="\\\\server\\share">)"), R"(\\server\share)");
  EXPECT_EQ(PathValue(R"(<File="odd\\\end\">)"), R"(odd\\end\)");

  // The first index element's quoted number; missing: the first profile; cut off before its
  // ">": no number can be trusted.
  // clang-format off
  const std::pair<const char*, std::optional<int>> numbers[] = {
      {R"(<X <ActiveProfileIndex="12"> <ActiveProfileIndex="3">>)", 12}, {"<Profile>", 0},
      {R"(<ActiveProfileIndex="-1">)", -1}, {R"(<ActiveProfileIndex="">)", 0},
      {"<ActiveProfileIndex=>", 0}, {R"(<ActiveProfileIndex=">)", 0},
      {R"(<ActiveProfileIndex="1)", std::nullopt}, {"<ActiveProfileIndex=", std::nullopt}};
  // clang-format on
  for (const auto& [text, number] : numbers) EXPECT_EQ(ActiveProfileNumber(text), number) << text;
  EXPECT_GT(*ActiveProfileNumber(R"(<ActiveProfileIndex="99999999999999999999999">)"), 1000000);

  // Every occurrence of the profile text counts.
  std::string_view text = "<Profiles <Profile a> <ProfileX b> <Profile c>>";
  EXPECT_EQ(FindProfile(text, 0), 0u);
  EXPECT_EQ(FindProfile(text, 2), text.find("<ProfileX"));
  EXPECT_EQ(FindProfile(text, 3), text.find("<Profile c"));
  for (int index : {4, -1}) EXPECT_EQ(FindProfile(text, index), std::nullopt);
  EXPECT_EQ(FindProfile("<Profile", 0), 0u);
  EXPECT_EQ(FindProfile("", 0), std::nullopt);
}

constexpr const char* kTwoProfiles = R"(<MagicLauncher
  <ActiveProfileIndex="1">
  <Profile <Name="First"> <MinecraftJar="C:\\first.jar"> >
  <Profile
    <Name="Old name"> <Name="Second">
    <MinecraftJar="C:\\old.jar">
    <Mod <File="C:\\mods\\a.zip"> <Active="true"> >
    <Mod <Active="true"> >
    <Mod <File="C:\\mods\\b.zip"> <Active="True"> >
    <Mod <File="C:\\mods\\c.zip"> <Active="false"> <Active="true"> >
    <MinecraftJar="C:\\games\\second.jar">
  >
>)";

TEST(MagicConfigProfiles, ReadsTheActiveProfileAndLaterElementsWin) {
  ActiveProfile active = ReadActiveProfile(kTwoProfiles);
  ASSERT_EQ(active.status, ProfileStatus::kFound);
  EXPECT_EQ(active.profile.name, "Second");
  EXPECT_EQ(active.profile.jar, R"(C:\games\second.jar)");
  ASSERT_EQ(active.profile.mods.size(), 4u);
  EXPECT_EQ(active.profile.mods[0].file, R"(C:\mods\a.zip)");
  EXPECT_TRUE(active.profile.mods[0].active);
  EXPECT_EQ(active.profile.mods[1].file, "");
  EXPECT_FALSE(active.profile.mods[2].active);  // only "true" exactly
  EXPECT_TRUE(active.profile.mods[3].active);

  // A profile cut off by the end of the file would be stamped with only part of its mods.
  const std::string whole = kTwoProfiles;
  const struct {
    std::string text;
    ProfileStatus status;
  } cases[] = {
      {whole.substr(0, whole.rfind("c.zip")), ProfileStatus::kDamaged},
      {whole.substr(0, whole.rfind("<Active")), ProfileStatus::kDamaged},
      {whole.substr(0, whole.rfind(">\n>")), ProfileStatus::kDamaged},
      {"<ActiveProfileIndex=\"0\"> <Profile <Name=\"P\">> <Profile <Name=\"cut",
       ProfileStatus::kFound},
      {"<ActiveProfileIndex=\"2\"> <Profile <Name=\"P\">> <Profile>", ProfileStatus::kNone},
      {"<ActiveProfileIndex=\"-1\"> <Profile <Name=\"P\">>", ProfileStatus::kNone},
      {"<Profile <Name=\"P\">> <ActiveProfileIndex=\"1", ProfileStatus::kDamaged},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadActiveProfile(c.text).status, c.status) << c.text;
}

// The elements NextTag gives from `position` on until it gives none, and where it stops.
std::vector<std::string> Walk(std::string_view text, std::size_t position, std::size_t* end) {
  std::vector<std::string> found;
  for (std::string_view tag = NextTag(text, &position); !tag.empty();
       tag = NextTag(text, &position))
    found.emplace_back(tag);
  *end = position;
  return found;
}

// Whole elements with their children, text between skipped; a walk of children ends just past
// the element's own close; markup inside quotes is text.
TEST(NextTag, WalksElementsAndChildren) {
  const struct {
    std::string_view text;
    std::size_t start;
    std::vector<std::string> found;
    std::string_view rest;
  } cases[] = {
      {"junk <A x=\"1\" <B> <C <D>>> tail <E>", 0, {"<A x=\"1\" <B> <C <D>>>", "<E>"}, ""},
      {"<P <Name=\"n\"> text <Mod <File=\"f\">> ><Other>",
       1,
       {"<Name=\"n\">", "<Mod <File=\"f\">>"},
       "<Other>"},
      {"<P <Name=\"a>b<c\"> <Jar=\">\">>", 1, {"<Name=\"a>b<c\">", "<Jar=\">\">"}, ""},
      {"<P <Name=\"a>b<c\"> <Jar=\">\">>", 0, {"<P <Name=\"a>b<c\"> <Jar=\">\">>"}, ""},
      {"<A>", 99, {}, ""},
      {"", 0, {}, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::size_t end = 0;
    EXPECT_EQ(Walk(c.text, c.start, &end), c.found);
    EXPECT_EQ(c.text.substr(std::min(end, c.text.size())), c.rest);
    EXPECT_LE(end, c.text.size());
  }
}

// Text ending inside an element gives what there is and says so; an open quote hides the
// closing ">" up to the end.
TEST(NextTag, TextCutOffInsideAnElement) {
  const std::pair<std::string_view, bool> cases[] = {{"<P <Name=\"n\"> <Mod <File=\"f\">", true},
                                                     {"<Name=\"never closed>", true},
                                                     {"<A>", false},
                                                     {"only text", false}};
  for (const auto& [text, cut] : cases) {
    std::size_t position = 0;
    bool cut_off = !cut;
    EXPECT_EQ(NextTag(text, &position, &cut_off), text.starts_with("<") ? text : "") << text;
    EXPECT_EQ(cut_off, cut) << text;
    EXPECT_EQ(position, text.size()) << text;
  }
}

}  // namespace
}  // namespace oxlip::altlauncher

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
