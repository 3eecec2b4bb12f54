// Where the Java is found; the Java command line per start mode and system, where the Java
// comes from, and values that must arrive whole.
#include <gtest/gtest.h>

#include <filesystem>

#include "launch/find_java.h"
#include "launch/java_command.h"
#include "platform/command_line.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace oxlip::launch {
namespace {

using platform::kPosixConventions;
using platform::kWindowsConventions;
using platform::SplitCommandLine;

class FindJavaTest : public test::InTempFolder {
 protected:
  // Folders below `base`; a name ending in "*" gets a bin/java program, one ending in "-" is a
  // file.
  void Make(const std::string& base, std::vector<std::string> names) {
    std::filesystem::remove_all(base);
    for (std::string name : names) {
      char kind = name.back();
      if (kind == '*' || kind == '-') name.pop_back();
      if (kind == '-')
        test::WriteFile(base + name, "");
      else
        std::filesystem::create_directories(base + name);
      if (kind == '*') test::WriteFile(base + name + "/bin/java", "");
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
  test::ScopedEnvironment files("ProgramFiles", dir() + "pf");
  {
    test::ScopedEnvironment w6432("ProgramW6432", dir() + "pf64");
    EXPECT_EQ(FindJava(kWindowsConventions), dir() + "pf64\\java\\jre7\\bin\\");
  }
  test::ScopedEnvironment no_w6432("ProgramW6432", "");
  EXPECT_EQ(FindJava(kWindowsConventions), dir() + "pf\\java\\jre8\\bin\\");
}

TEST_F(FindJavaTest, PosixLooksInTheJvmFolderAndNeedsBinJava) {
  EXPECT_EQ(JavaSearchBase(kPosixConventions), "/usr/lib/jvm/");
  const std::string base = dir() + "jvm/";
  Make(base, {"default-java", "java-17-openjdk-amd64*", "openjdk-17"});
  test::WriteFile(base + "zulu/bin/java/readme", "");  // a folder named java is no program
  EXPECT_EQ(FindJava(kPosixConventions, base), base + "java-17-openjdk-amd64/bin/");
  EXPECT_EQ(FindJava(kPosixConventions, dir() + "nojvm/"), "");
}

// What differs per system; the expected lines below name these parts as {J}, {N}, {B}, {A}...
struct System {
  const platform::Conventions& conventions;
  const char *instances, *java, *alternate, *home_variable, *java_program, *instance;
  const char *class_path_separator, *natives, *alternate_folder;
};
// clang-format off
const System kWindows{kWindowsConventions, "C:\\I\\", "C:\\J re\\bin\\", "C:\\M L\\ML.jar", "APPDATA",
                      "\"C:\\J re\\bin\\javaw.exe\"", "C:\\I\\My Game", ";",
                      "\\.minecraft\\bin\\natives", "C:\\M L\\"};
const System kLinux{kPosixConventions, "/i/", "/j re/bin/", "/m l/ML.jar", "HOME",
                    "\"/j re/bin/java\" \"-Duser.home=/i/My Game\"", "/i/My Game", ":",
                    "/.minecraft/bin/natives", "/m l/"};
// clang-format on

std::string Expand(std::string text, const System& s) {
  const std::string instance = s.instance, bin = instance + s.natives;
  const std::string sep = s.class_path_separator;
  const std::pair<std::string, std::string> parts[] = {
      {"{J}", s.java_program},
      {"{CP}", "jinput.jar" + sep + "lwjgl.jar" + sep + "lwjgl_util.jar" + sep + "minecraft.jar"},
      {"{N}", "\"-Dorg.lwjgl.librarypath=" + bin +
                  "\" \"-Dnet.java.games.input.librarypath=" + bin + "\""},
      {"{B}", bin.substr(0, bin.size() - 8)},
      {"{A}", "\"" + std::string(s.alternate) + "\""},
      {"{AF}", s.alternate_folder},
      {"{M}", "net.minecraft.client.Minecraft"},
      {"{X}", "-Xmx1024m -Xms512m"},
      {"{U}", "\"Steve\" \"t1\""}};
  for (const auto& [token, value] : parts)
    for (std::size_t at; (at = text.find(token)) != std::string::npos;)
      text.replace(at, token.size(), value);
  return text;
}

class JavaCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    record_.Folder = "My Game";
    record_.CustomJava = 1;
    record_.MaxMemory = 1024;
    record_.MinMemory = 512;
    record_.ConnectIP = "mc.example:25565";
  }
  JavaCommand Build(const System& s, const GameLogin& login = {"Steve", "t1"},
                    const std::string& found_java = "") {
    settings_.InstancesDir = s.instances;
    record_.JavaPath = s.java;
    record_.AltLauncher = s.alternate;
    return BuildJavaCommand(settings_, record_, login, found_java, s.conventions);
  }
  base::GlobalSettings settings_;
  Instance record_;
};

TEST_F(JavaCommandTest, TheLineOfEachStartModeOnEachSystem) {
  const struct {
    int mode;  // UseLauncher: 0 built in, 1 the launcher, 2 an alternate one, other: memory only
    bool memory, connect, login;
    const char *line, *folder;
  } rows[] = {
      {0, 0, 0, 1, "{J} -cp {CP} {N} {M} {U}", "{B}"},
      {0, 1, 1, 1, "{J} {X} -cp {CP} {N} {M} {U} \"mc.example:25565\"", "{B}"},
      {0, 0, 0, 0, "{J} -cp {CP} {N} {M}  ", "{B}"},
      {1, 0, 1, 1, "{J} -cp MinecraftLauncher.jar net.minecraft.LauncherFrame", "{B}"},
      {2, 1, 1, 1, "{J} {X} -jar {A}", "{AF}"},
      {3, 1, 0, 1, "{J} {X} ", ""},
  };
  for (const System* system : {&kWindows, &kLinux}) {
    for (const auto& row : rows) {
      SCOPED_TRACE(Expand(row.line, *system));
      record_.UseLauncher = row.mode;
      record_.SetMemory = row.memory;
      record_.AutoConnect = row.connect;
      JavaCommand command = Build(*system, row.login ? GameLogin{"Steve", "t1"} : GameLogin{});
      EXPECT_EQ(command.command_line, Expand(row.line, *system));
      EXPECT_EQ(command.working_folder, Expand(row.folder, *system));
      EXPECT_EQ(command.home_variable, system->home_variable);
      EXPECT_EQ(command.home_value, system->instance);
    }
  }
  record_.UseLauncher = 7;
  record_.SetMemory = 0;
  EXPECT_EQ(Build(kWindows).command_line, Expand("{J}", kWindows));
  EXPECT_EQ(Build(kLinux).command_line, Expand("{J} ", kLinux));
}

// Discovery's answer unless the instance names its own Java, the bare name for the system to
// find; relative folders are taken from the start folder, since the game runs elsewhere.
TEST_F(JavaCommandTest, WhereTheJavaAndTheInstanceAre) {
  record_.CustomJava = 0;
  EXPECT_EQ(Build(kWindows).command_line.substr(0, 13), "\"javaw.exe\" -");
  EXPECT_EQ(SplitCommandLine(Build(kWindows, {}, "D:\\jre6\\bin\\").command_line)[0],
            "D:\\jre6\\bin\\javaw.exe");
  record_.CustomJava = 1;
  settings_.StartFolder = "/srv/oxlip/";
  settings_.InstancesDir = "Instances\\";
  record_.JavaPath = "jre/bin/";
  JavaCommand command = BuildJavaCommand(settings_, record_, {}, "", kPosixConventions);
  EXPECT_EQ(SplitCommandLine(command.command_line)[0], "/srv/oxlip/jre/bin/java");
  EXPECT_EQ(command.home_value, "/srv/oxlip/Instances/My Game");
  EXPECT_EQ(command.working_folder, "/srv/oxlip/Instances/My Game/.minecraft/bin");
}

// Every value is quoted on its own (the quoting itself is the command line's): blanks, quotes
// and backslashes must not split it or join it to the next; an empty name before a given server
// keeps its place.
TEST_F(JavaCommandTest, EveryValueArrivesAsOneArgument) {
  const std::string odd = "back\\\" \"slash\\", in_path = "back/\" \"slash/";
  record_.Folder = "My " + odd;
  record_.AutoConnect = 1;
  record_.ConnectIP = "mc " + odd;
  std::vector<std::string> args = SplitCommandLine(Build(kLinux, {"u " + odd, odd}).command_line);
  ASSERT_EQ(args.size(), 10u);
  EXPECT_EQ(args[1], "-Duser.home=/i/My " + in_path);
  EXPECT_EQ(args[4], "-Dorg.lwjgl.librarypath=/i/My " + in_path + "/.minecraft/bin/natives");
  EXPECT_EQ(std::vector<std::string>(args.begin() + 7, args.end()),
            (std::vector<std::string>{"u " + odd, odd, "mc " + odd}));
  EXPECT_EQ(SplitCommandLine(Build(kLinux, {}).command_line)[8], "");
  record_.UseLauncher = 2;
  settings_.InstancesDir = kLinux.instances;
  record_.AltLauncher = "/games/" + odd + ".jar";
  args = SplitCommandLine(
      BuildJavaCommand(settings_, record_, {}, "", kPosixConventions).command_line);
  EXPECT_EQ(args.back(), "/games/" + in_path + ".jar");
}

}  // namespace
}  // namespace oxlip::launch
