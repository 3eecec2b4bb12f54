#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "instance_fixture.h"
#include "support/icon_images.h"

namespace oxlip::test {
namespace {

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
