#include "launch/find_java.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace oxlip::test {
namespace {

using platform::kPosixConventions;
using platform::kWindowsConventions;

class FindJavaTest : public InTempFolder {
 protected:
  // Folders below `base`; a name ending in "*" gets a bin/java program, one ending in "-" is a
  // file.
  void Make(const std::string& base, std::vector<std::string> names) {
    std::filesystem::remove_all(base);
    for (std::string name : names) {
      char kind = name.back();
      if (kind == '*' || kind == '-') name.pop_back();
      if (kind == '-')
        WriteFile(base + name, "");
      else
        std::filesystem::create_directories(base + name);
      if (kind == '*') WriteFile(base + name + "/bin/java", "");
    }
  }
};

// The greatest folder name in byte order, whatever it looks like.
TEST_F(FindJavaTest, WindowsTakesTheGreatestFolderName) {
  const std::string base = dir() + "pf\\java\\";
  const struct {
    std::vector<std::string> folders;
    const char* expected;  // "" for nothing
  } cases[] = {{{"jdk1.7.0_05", "jre6"}, "jre6"},
               {{"jre7", "jre1.8.0"}, "jre7"},
               {{"jre7", "jre"}, "jre7"},
               {{"Zulu", "jre"}, "jre"},
               {{"jre7", "jr\xC3\xA9"}, "jr\xC3\xA9"},
               {{"zzz-"}, ""},
               {{"jre6", "zzz-"}, "jre6"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    Make(dir() + "pf/java/", c.folders);
    EXPECT_EQ(FindJava(kWindowsConventions, base),
              *c.expected ? base + c.expected + "\\bin\\" : "");
  }
  EXPECT_EQ(FindJava(kWindowsConventions, dir() + "missing\\java\\"), "");

  // The 64-bit programs folder first, when it is set.
  Make(dir() + "pf64/java/", {"jre7"});
  Make(dir() + "pf/java/", {"jre8"});
  ScopedEnvironment files("ProgramFiles", dir() + "pf");
  {
    ScopedEnvironment w6432("ProgramW6432", dir() + "pf64");
    EXPECT_EQ(FindJava(kWindowsConventions), dir() + "pf64\\java\\jre7\\bin\\");
  }
  ScopedEnvironment no_w6432("ProgramW6432", "");
  EXPECT_EQ(FindJava(kWindowsConventions), dir() + "pf\\java\\jre8\\bin\\");
}

TEST_F(FindJavaTest, PosixLooksInTheJvmFolderAndNeedsBinJava) {
  EXPECT_EQ(JavaSearchBase(kPosixConventions), "/usr/lib/jvm/");
  const std::string base = dir() + "jvm/";
  Make(base, {"default-java", "java-17-openjdk-amd64*", "openjdk-17"});
  WriteFile(base + "zulu/bin/java/readme", "");  // a folder named java is no program
  EXPECT_EQ(FindJava(kPosixConventions, base), base + "java-17-openjdk-amd64/bin/");
  EXPECT_EQ(FindJava(kPosixConventions, dir() + "nojvm/"), "");
}

}  // namespace
}  // namespace oxlip::test
