// Instance records loaded from and saved to their folders: settings, mod list, version file,
// icons and copies.
#include "instances/instance.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>

#include "base/settings.h"
#include "instances/load_instance.h"
#include "instances/mod_list_file.h"
#include "instances/save_instance.h"
#include "instances/version_file.h"
#include "support/icon_images.h"
#include "support/temp_folder.h"
#include "versions/version_entry.h"

namespace oxlip::test {
namespace {

// An instances folder in a fresh start folder, with a real default icon and version list.
class InstanceTest : public InTempFolder {
 protected:
  InstanceTest() {
    settings_.InstancesDir = dir() + "Instances/";
    settings_.DefaultIconFile = dir() + "Icons/Default.png";
  }

  // The instance folder in the program's own form, "\" included.
  std::string FolderPath(const std::string& name) const {
    return settings_.InstancesDir + name + "\\";
  }
  void WriteInstanceFile(const std::string& name, const std::string& file,
                         const std::string& bytes) {
    WriteFile(settings_.InstancesDir + name + "/" + file, bytes);
  }
  std::string ReadInstanceFile(const std::string& name, const std::string& file) const {
    return ReadFile(settings_.InstancesDir + name + "/" + file);
  }

  Instance Load(const std::string& folder) {
    Instance record;
    LoadInstance(record, folder, {settings_, newest_jar_, default_icon_, kFoundJava});
    return record;
  }
  void Save(const Instance& record) { SaveInstance(record, "", settings_); }

  static constexpr const char* kFoundJava = "/opt/found-java/bin/";
  base::GlobalSettings settings_;
  std::string newest_jar_;  // the version store's newest jar
  instances::DefaultIcon default_icon_{image::Image{1, 1, {1, 2, 3, 4}}};
};

using LoadInstanceTest = InstanceTest;

// A new record ("") gets a dated name and a fresh folder; one without settings is named after
// its folder.
TEST_F(LoadInstanceTest, WithoutSettingsEveryValueIsItsDefault) {
  WriteInstanceFile("Empty one", "settings.ini", "");
  for (const char* folder : {"", "Empty one", "never made"}) {
    SCOPED_TRACE(folder);
    Instance r = Load(folder);
    if (*folder) {
      EXPECT_EQ(r.Name, folder);
      EXPECT_EQ(r.Folder, folder);
    } else {
      EXPECT_TRUE(std::regex_match(r.Name, std::regex("New [0-3][0-9]-[01][0-9]-[0-9]{4}")));
      EXPECT_TRUE(
          std::regex_match(r.Folder, std::regex("[0-9A-F]+ - New.[0-9]{2}-[0-9]{2}-[0-9]{4}")));
    }
    EXPECT_EQ(r.MineCraftFile, "\\\\release");
    EXPECT_EQ(r.JavaPath, kFoundJava);
    EXPECT_EQ(r.Icon.image(), default_icon_.image());
    EXPECT_TRUE(r.Mods.empty());
  }
}

TEST_F(LoadInstanceTest, ReloadingIntoAUsedRecordForgetsWhatItHeld) {
  WriteInstanceFile("a", "settings.ini", "Name = A\r\nConnectIP = host\r\n");
  WriteInstanceFile("a", "mods.ini", "m\r\n");
  WritePng(dir() + "Instances/a/icon.png", 3, 2);
  Instance r = Load("a");
  LoadInstance(r, "b", {settings_, newest_jar_, default_icon_, ""});
  EXPECT_EQ(r.Name, "b");
  EXPECT_EQ(r.ConnectIP, "");
  EXPECT_TRUE(r.Mods.empty());
  EXPECT_TRUE(r.Icon.IsDefault());
}

// Update and Type decide the channel, MineCraftFile is ignored; the saved file holds the
// channel and neither legacy key (Name always comes first, so each would follow a line end).
TEST_F(LoadInstanceTest, OldLayoutsTakeTheirChannelFromUpdateAndType) {
  constexpr const char* kJar = "minecraft - 1.2.5.jar";
  const struct {
    const char *keys, *newest_jar, *expected;
  } cases[] = {{"Update = 1\r\nType = 1\r\n", kJar, "\\\\beta"},
               {"Update = 0\r\nType = 0\r\n", kJar, "\\\\release"},
               {"Update = 0\r\nType = 1\r\n", kJar, "\\\\beta"},
               {"Update = 2\r\nType = 1\r\n", kJar, kJar},
               // Pinned with no stored version: stays on the release.
               {"Update = 2\r\n", "", "\\\\release"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    newest_jar_ = c.newest_jar;
    WriteInstanceFile("old", "settings.ini", std::string(c.keys) + "MineCraftFile = other.jar\r\n");
    Instance r = Load("old");
    EXPECT_EQ(r.MineCraftFile, c.expected);
    Save(r);
    std::string saved = ReadInstanceFile("old", "settings.ini");
    EXPECT_NE(saved.find("MineCraftFile = " + std::string(c.expected) + "\r\n"), std::string::npos);
    EXPECT_EQ(saved.find("\nUpdate ="), std::string::npos);
    EXPECT_EQ(saved.find("\nType ="), std::string::npos);
  }
}

// JavaPath counts only with CustomJava, and is saved right after it.
TEST_F(LoadInstanceTest, JavaPathCountsOnlyWithCustomJava) {
  WriteInstanceFile("off", "settings.ini", "CustomJava = 0\r\nJavaPath = /mine/bin/\r\n");
  WriteInstanceFile("on", "settings.ini", "CustomJava = 1\r\nJavaPath = /mine/bin/\r\n");
  Instance off = Load("off"), on = Load("on");
  EXPECT_EQ(off.JavaPath, kFoundJava);
  EXPECT_EQ(on.JavaPath, "/mine/bin/");
  Save(off);
  Save(on);
  EXPECT_EQ(ReadInstanceFile("off", "settings.ini").find("JavaPath"), std::string::npos);
  EXPECT_NE(ReadInstanceFile("on", "settings.ini")
                .find("CustomJava = 1\r\nJavaPath = /mine/bin/\r\nMaximize = 0\r\n"),
            std::string::npos);
}

// A release instance takes its date from the version file the store wrote (00 0D, the date in
// milliseconds) and does not save it; a beta keeps its own unless it is zero; damaged numbers
// read as zero.
TEST_F(LoadInstanceTest, BetaVersionAndDamagedNumbers) {
  const std::string version_file = std::string("\x00\x0D", 2) + "1339000000123";
  const struct {
    const char *settings, *version;
    int beta_version, max_memory;
  } cases[] = {
      {"BetaVersion = 77\r\n", "", 1339000000, 1024},
      {"MineCraftFile = \\\\beta\r\nBetaVersion = 55\r\n", "", 55, 1024},
      {"MineCraftFile = \\\\beta\r\nBetaVersion = 0\r\n", "", 1339000000, 1024},
      {"MaxMemory = lots\r\nMinMemory =\r\n", "soon000", 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.settings);
    WriteInstanceFile("r", "settings.ini", c.settings);
    WriteInstanceFile("r", ".minecraft/bin/version",
                      *c.version ? std::string("\x00\x0D", 2) + c.version : version_file);
    Instance r = Load("r");
    EXPECT_EQ(r.BetaVersion, c.beta_version);
    EXPECT_EQ(r.MaxMemory, c.max_memory);
  }
  WriteInstanceFile("r", "settings.ini", "BetaVersion = 77\r\n");
  Save(Load("r"));
  EXPECT_EQ(ReadInstanceFile("r", "settings.ini").find("BetaVersion"), std::string::npos);
}

using Lines = std::vector<std::string>;

// Every line end is accepted and inner empty lines stay; written text reads back the same.
TEST(ModListFile, LinesAndTheTextWrittenForThem) {
  const std::pair<const char*, Lines> cases[] = {{"a\r\nb\r\n", {"a", "b"}},
                                                 {"a\nb", {"a", "b"}},
                                                 {"a\rb\r", {"a", "b"}},
                                                 {"a\r\n\r\nb", {"a", "", "b"}},
                                                 {"a\n\nb", {"a", "", "b"}},
                                                 {"a\n\r\nb", {"a", "", "b"}},
                                                 {"\r\n", {""}},
                                                 {"", {}}};
  for (const auto& [text, lines] : cases)
    EXPECT_EQ(oxlip::instances::ParseModListText(text), lines) << text;
  Lines mods{"x", "", "dir\\y z"};
  EXPECT_EQ(oxlip::instances::ModListText(mods), "x\r\n\r\ndir\\y z\r\n");
  EXPECT_EQ(oxlip::instances::ParseModListText(oxlip::instances::ModListText(mods)), mods);
  EXPECT_EQ(oxlip::instances::ModListText({}), "");
}

// Milliseconds after a two-byte marker, whatever its bytes; only the first line counts; short
// or damaged files give zero.
TEST(VersionFileTest, TheFirstLineGivesSeconds) {
  const std::pair<std::string, long long> cases[] = {{"1339000000123", 1339000000},
                                                     {"5000", 5},
                                                     {"  -7000", -7},
                                                     {"1234000\r\n999999000", 1234},
                                                     {"1234000\n9", 1234},
                                                     {"1234000\rjunk", 1234},
                                                     {"", 0},
                                                     {"000", 0},
                                                     {"12", 0},
                                                     {"abc123000", 0},
                                                     {"\r\n1234000", 0},
                                                     {"12\n34000", 0}};
  for (const auto& [text, seconds] : cases)
    EXPECT_EQ(oxlip::instances::ReadVersionFileDate(std::string("\x00\x0D", 2) + text), seconds)
        << text;
  EXPECT_EQ(oxlip::instances::ReadVersionFileDate("9912000"), 12);
  EXPECT_EQ(oxlip::instances::ReadVersionFileDate(std::string("\x00", 1)), 0);
  EXPECT_EQ(oxlip::instances::ReadVersionFileDate(""), 0);
}

using SaveInstanceTest = InstanceTest;

TEST_F(SaveInstanceTest, LegacyFolderIsReadWhollyAndRewrittenInTheFixedOrder) {
  WriteInstanceFile(
      "Legacy", "settings.ini",
      "; by hand\r\nconnectip = play.example:25565\r\nAutoConnect=1\r\n"
      "Type = 1\r\nOfflineName = Alex\r\nMaxMemory=2048\r\nName = Old world\r\nColour = blue\r\n"
      "Update = 1\r\nAutoBackupSaves = 1\r\nAltLauncher = /x/ml.jar\r\n"
      "LoginCrypt = abc=\r\nUseLauncher = 2\r\nBackupBeforUpdate = 1\r\n"
      "Maximize = 1\r\nMineCraftFile = ignored.jar\r\n\r\nSetMemory = 1\r\n"
      "MinMemory = 256\r\n[Other]\r\nConnectIP = hidden\r\n");
  WriteInstanceFile("Legacy", ".minecraft/bin/version",
                    std::string("\x00\x0D", 2) + "1300000000000");
  Save(Load("Legacy"));
  EXPECT_EQ(ReadInstanceFile("Legacy", "settings.ini"),
            "Name = Old world\r\n"
            "MineCraftFile = \\\\beta\r\n"
            "SetMemory = 1\r\n"
            "MinMemory = 256\r\n"
            "MaxMemory = 2048\r\n"
            "CustomJava = 0\r\n"
            "Maximize = 1\r\n"
            "UseLauncher = 2\r\n"
            "AltLauncher = /x/ml.jar\r\n"
            "LoginCrypt = abc=\r\n"
            "AutoBackupSaves = 1\r\n"
            "BackupBeforUpdate = 1\r\n"
            "AutoConnect = 1\r\n"
            "ConnectIP = play.example:25565\r\n"
            "BetaVersion = 1300000000\r\n"
            "OfflineName = Alex\r\n");  // after the keys older builds know
}

std::filesystem::perms SettingsRights(const std::string& path) {
  return std::filesystem::status(path).permissions() & std::filesystem::perms::all;
}

// The stored credentials decode with the key every build carries.
TEST_F(SaveInstanceTest, SettingsHoldingStoredCredentialsAreReadableByTheOwnerOnly) {
  using std::filesystem::perms;
  std::filesystem::create_directories(settings_.InstancesDir + "c");
  std::string path = settings_.InstancesDir + "c/settings.ini";
  Instance r = Load("c");
  Save(r);
  EXPECT_NE(SettingsRights(path) & perms::others_read, perms::none);  // nothing secret yet
  r.LoginCrypt = "c2VjcmV0";
  Save(r);
  EXPECT_EQ(SettingsRights(path), perms::owner_read | perms::owner_write);
  EXPECT_NE(ReadInstanceFile("c", "settings.ini").find("LoginCrypt = c2VjcmV0\r\n"),
            std::string::npos);
  std::filesystem::remove(path);  // a first save with credentials, too
  Save(r);
  EXPECT_EQ(SettingsRights(path), perms::owner_read | perms::owner_write);
}

// The list's text form is the mod list file's; here that an empty list still writes the file,
// and that a folder given to the save wins over the record's own.
TEST_F(SaveInstanceTest, ModListRoundTripsAndAGivenFolderWins) {
  WriteInstanceFile("m", "mods.ini", "old\r\n");
  Instance r = Load("m");
  r.Mods = {"mod one", "", "sub\\mod two"};
  Save(r);
  EXPECT_EQ(Load("m").Mods, r.Mods);
  r.Mods.clear();
  Save(r);
  EXPECT_EQ(ReadInstanceFile("m", "mods.ini"), "");
  r.Folder = "not made";
  std::filesystem::create_directories(settings_.InstancesDir + "other");
  SaveInstance(r, "other", settings_);
  EXPECT_NE(ReadInstanceFile("other", "settings.ini"), "");
  EXPECT_FALSE(std::filesystem::exists(settings_.InstancesDir + "not made"));
}

class InstanceIconFileTest : public InstanceTest {
 protected:
  std::set<std::string> IconFiles(const std::string& name) const {
    std::set<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(settings_.InstancesDir + name)) {
      std::string file = e.path().filename().string();
      if (file.rfind("icon", 0) == 0) names.insert(file);
    }
    return names;
  }
  int IconWidth(const std::string& name) {
    Instance r = Load(name);
    return r.Icon.IsDefault() ? 0 : r.Icon.image()->width;
  }
};

TEST_F(InstanceIconFileTest, PngIsPreferredThenBmpThenJpgAndDamagedFilesAreSkipped) {
  const std::string folder = settings_.InstancesDir + "i/";
  WriteJpeg(folder + "icon.jpg", 5, 4);
  EXPECT_EQ(IconWidth("i"), 5);
  WriteBmp(folder + "icon.bmp", 2, 2);
  EXPECT_EQ(IconWidth("i"), 2);
  WritePng(folder + "icon.png", 3, 2);
  EXPECT_EQ(IconWidth("i"), 3);
  WriteFile(folder + "icon.png", "\x89PNG\r\n\x1a\n broken");
  EXPECT_EQ(IconWidth("i"), 2);
}

TEST_F(InstanceIconFileTest, AChosenIconFileReplacesTheOwnIcon) {
  WriteJpeg(dir() + "Photo.JPG", 5, 4);
  const struct {
    std::string chosen;  // "": left as loaded
    std::set<std::string> files;
    int width;  // 0: the default icon
  } cases[] = {
      {"", {"icon.png", "icon.tga"}, 3},
      {dir() + "Photo.JPG", {"icon.JPG"}, 5},
      {settings_.DefaultIconFile, {}, 0},
      {FolderPath("i") + "icon.png", {"icon.png"}, 3},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.chosen);
    std::filesystem::remove_all(settings_.InstancesDir + "i");
    WritePng(settings_.InstancesDir + "i/icon.png", 3, 2);
    WriteFile(settings_.InstancesDir + "i/icon.tga", "old");
    Instance r = Load("i");
    if (!c.chosen.empty()) r.IconFile = c.chosen;
    Save(r);
    EXPECT_EQ(IconFiles("i"), c.files);
    EXPECT_EQ(IconWidth("i"), c.width);
  }
  // A chosen file that has gone keeps the icon it gave on a later save of the same record.
  Instance r = Load("i");
  r.IconFile = dir() + "Photo.JPG";
  Save(r);
  std::filesystem::remove(dir() + "Photo.JPG");
  Save(r);
  EXPECT_EQ(IconFiles("i"), std::set<std::string>{"icon.JPG"});
  EXPECT_EQ(IconWidth("i"), 5);
}

using CopyInstanceTest = InstanceTest;

// The copy has its own icon, so either can be freed alone; the shared default is never freed.
TEST_F(CopyInstanceTest, EitherCanBeFreedAlone) {
  WritePng(settings_.InstancesDir + "i/icon.png", 3, 2);
  WriteInstanceFile("i", "mods.ini", "a\r\nb\r\n");
  Instance source = Load("i"), copy, plain = Load("plain");
  CopyInstance(copy, source);
  ASSERT_FALSE(copy.Icon.IsDefault());
  EXPECT_NE(copy.Icon.image(), source.Icon.image());
  EXPECT_EQ(copy.Icon.image()->rgba, source.Icon.image()->rgba);
  EXPECT_EQ(copy.Mods, source.Mods);
  FreeInstanceIcon(copy);
  EXPECT_EQ(copy.Icon.image(), default_icon_.image());
  EXPECT_EQ(source.Icon.image()->width, 3);
  CopyInstance(copy, source);
  FreeInstanceIcon(source);
  EXPECT_EQ(copy.Icon.image()->width, 3);

  CopyInstance(copy, plain);
  FreeInstanceIcon(plain);
  FreeInstanceIcon(copy);
  FreeInstanceIcon(copy);
  EXPECT_EQ(default_icon_.image()->rgba, (std::vector<uint8_t>{1, 2, 3, 4}));
}

TEST(InstanceIconTest, WithoutALoadableDefaultThereIsNothingToShow) {
  instances::DefaultIcon none;
  instances::InstanceIcon icon(none);
  EXPECT_EQ(icon.image(), nullptr);
  icon.SetOwn(image::Image{2, 1, std::vector<uint8_t>(8, 9)});
  EXPECT_EQ(icon.image()->width, 2);
  icon.ResetToDefault();
  EXPECT_EQ(icon.image(), nullptr);
}

}  // namespace
}  // namespace oxlip::test
