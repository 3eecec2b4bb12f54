// The program as a desktop starts it: without an argument, in a fresh home, with the download
// hosts out of reach; and the command lines that end before anything is written.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>

#include "gui/gui_fixture.h"
#include "gui/program.h"
#include "support/game_fixture.h"
#include "support/jar_files.h"
#include "support/scoped_environment.h"

namespace oxlip::gui {
namespace {

namespace fs = std::filesystem;

class Desktop : public test::InTempFolder {
 protected:
  void SetUp() override {
    for (const std::string& folder : {home, work}) fs::create_directories(folder);
  }
  std::string home = dir() + "home/", work = dir() + "work/";
};

using CommandLine = Desktop;

TEST_F(CommandLine, AnswersAndMistakesWriteNothing) {
  struct Case {
    const char *arguments, *said;  // in the output for status 0, in the error output otherwise
    int status;
  };
  const std::string version_line = std::string("oxlip ") + OXLIP_VERSION + "\n";
  for (const Case& c : {Case{"--version", version_line.c_str(), 0},
                        {"--help", "--data <DIR>", 0},
                        {"--colour red", "'colour'", 2},
                        {"--data", "'--data'", 2},
                        {"--data ''", "--data", 2},
                        {"stray", "'stray'", 2}}) {
    SCOPED_TRACE(c.arguments);
    // No display and no HOME but a fresh one: nothing may need either.
    std::string command = "cd '" + work + "' && env -u DISPLAY -u XDG_DATA_HOME -u " +
                          "XDG_CACHE_HOME -u XDG_CONFIG_HOME HOME='" + home + "' '" +
                          OXLIP_PROGRAM + "' " + c.arguments + " >'" + dir() + "out' 2>'" + dir() +
                          "err'";
    int status = std::system(command.c_str());
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), c.status);
    std::string out = test::ReadFile(dir() + "out"), err = test::ReadFile(dir() + "err");
    if (c.status != 0) std::swap(out, err);
    EXPECT_NE(out.find(c.said), std::string::npos) << out;
    EXPECT_EQ(err, "");
    EXPECT_EQ(test::ReadTree(home), test::JarFiles{});
    EXPECT_EQ(test::ReadTree(work), test::JarFiles{});
  }
}

// Whether anything is drawn on the widget besides its background.
bool HasInk(QWidget* widget) {
  QImage image = widget->grab().toImage();
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixel(x, y) != image.pixel(0, 0)) return true;
  return false;
}

using FirstStart = Desktop;

TEST_F(FirstStart, MakesTheDataFolderInTheHomeAndExplainsItsEmptyLists) {
  if (std::getenv("OXLIP_XVFB") == nullptr)
    GTEST_SKIP() << "runs in a virtual display with a window manager (ctest desktop_first_start)";
  test::ScopedEnvironment data("XDG_DATA_HOME", "");
  test::ScopedEnvironment cache("XDG_CACHE_HOME", "");
  test::ScopedEnvironment home_variable("HOME", home);
  fs::current_path(work);
  static char name[] = "oxlip";
  char* argv[] = {name, nullptr};
  int argc = 1;
  bool unreached = false, instance_hint = false, version_hint = false;
  RunProgram(argc, argv, [&](ProgramParts& parts) {
    unreached = parts.state.dates.download_unreached;
    parts.window.tabs()->setCurrentIndex(0);
    instance_hint = HasInk(parts.window.instance_list()->viewport());
    test::Screenshot("first-start-instances");
    parts.window.tabs()->setCurrentIndex(1);
    version_hint = HasInk(parts.window.version_list()->viewport());
    test::Screenshot("first-start-versions");
    parts.window.close();
  });
  EXPECT_TRUE(unreached);
  EXPECT_TRUE(instance_hint);
  EXPECT_TRUE(version_hint);

  EXPECT_EQ(test::ReadTree(work), test::JarFiles{});
  std::string folder = home + ".local/share/oxlip/";
  for (const char* made : {"Instances", "mcversions", "mods", "downgrade"})
    EXPECT_TRUE(fs::is_directory(folder + made)) << made;
  EXPECT_TRUE(fs::is_directory(home + ".cache/oxlip"));
  EXPECT_FALSE(fs::exists(folder + "Cache"));
  EXPECT_GT(fs::file_size(folder + "Icons/Default.png"), 0u);
  std::string settings = test::ReadFile(folder + "Oxlip.ini");
  EXPECT_NE(settings.find("CacheDir = " + home + ".cache/oxlip/\r\n"), std::string::npos)
      << settings;
}

}  // namespace
}  // namespace oxlip::gui
