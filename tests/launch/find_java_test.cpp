#include "launch/find_java.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <initializer_list>
#include <string>

#include "platform/env.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace oxlip::test {
namespace {

using platform::kPosixConventions;
using platform::kWindowsConventions;

class FindJavaTest : public InTempFolder {
 protected:
  // Folders below `base`; a name ending in "*" gets a bin/java program.
  void MakeFolders(const std::string& base, std::initializer_list<std::string> names) {
    for (std::string name : names) {
      bool runtime = name.back() == '*';
      if (runtime) name.pop_back();
      std::filesystem::create_directories(base + name);
      if (runtime) WriteFile(base + name + "/bin/java", "");
    }
  }
  std::string WindowsBase() const { return dir() + "pf\\java\\"; }
};

TEST_F(FindJavaTest, GreatestFolderNameInByteOrderWins) {
  struct Case {
    std::initializer_list<std::string> folders;
    const char* expected;
  };
  const Case cases[] = {{{"jdk1.7.0_05", "jre6"}, "jre6"}, {{"jre6", "jre7"}, "jre7"},
                        {{"jre7", "jre1.8.0"}, "jre7"},    {{"jre7", "jre"}, "jre7"},
                        {{"Zulu", "jre"}, "jre"},          {{"jre7", "jr\xC3\xA9"}, "jr\xC3\xA9"}};
  for (const Case& c : cases) {
    std::filesystem::remove_all(dir() + "pf");
    MakeFolders(dir() + "pf/java/", c.folders);
    EXPECT_EQ(FindJava(kWindowsConventions, WindowsBase()), WindowsBase() + c.expected + "\\bin\\");
  }
}

TEST_F(FindJavaTest, FilesAreNeverChosenAndNoFolderGivesNothing) {
  WriteFile(dir() + "pf/java/zzz", "");
  EXPECT_EQ(FindJava(kWindowsConventions, WindowsBase()), "");
  MakeFolders(dir() + "pf/java/", {"jre6"});
  EXPECT_EQ(FindJava(kWindowsConventions, WindowsBase()), WindowsBase() + "jre6\\bin\\");
  EXPECT_EQ(FindJava(kWindowsConventions, dir() + "missing\\java\\"), "");
}

TEST_F(FindJavaTest, SixtyFourBitProgramsFolderIsPreferredWhenSet) {
  MakeFolders(dir() + "pf64/java/", {"jre7"});
  MakeFolders(dir() + "pf/java/", {"jre8"});
  test::ScopedEnvironment files("ProgramFiles", dir() + "pf");
  {
    test::ScopedEnvironment w6432("ProgramW6432", dir() + "pf64");
    EXPECT_EQ(FindJava(kWindowsConventions), dir() + "pf64\\java\\jre7\\bin\\");
  }
  test::ScopedEnvironment no_w6432("ProgramW6432", "");
  EXPECT_EQ(FindJava(kWindowsConventions), dir() + "pf\\java\\jre8\\bin\\");
}

TEST_F(FindJavaTest, PosixLooksInTheJvmFolderAndNeedsBinJava) {
  EXPECT_EQ(launch::JavaSearchBase(kPosixConventions), "/usr/lib/jvm/");
  const std::string base = dir() + "jvm/";
  MakeFolders(base, {"default-java", "java-17-openjdk-amd64*", "openjdk-17"});
  EXPECT_EQ(FindJava(kPosixConventions, base), base + "java-17-openjdk-amd64/bin/");
  WriteFile(base + "zulu/bin/java/readme", "");  // a folder named java is no program
  EXPECT_EQ(FindJava(kPosixConventions, base), base + "java-17-openjdk-amd64/bin/");
  EXPECT_EQ(FindJava(kPosixConventions, dir() + "nojvm/"), "");
}

}  // namespace
}  // namespace oxlip::test
