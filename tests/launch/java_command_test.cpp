// The exact Java command lines of the three start modes, for both systems' conventions.
#include "launch/java_command.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/command_line.h"

namespace oxlip::launch {
namespace {

using platform::kPosixConventions;
using platform::kWindowsConventions;

constexpr char kWinJava[] = "\"C:\\Program Files\\Java\\jre7\\bin\\javaw.exe\"";
constexpr char kWinBin[] = "C:\\Oxlip\\Instances\\My Game\\.minecraft\\bin";
constexpr char kWinNatives[] =
    "\"-Dorg.lwjgl.librarypath=C:\\Oxlip\\Instances\\My Game\\.minecraft\\bin\\natives\" "
    "\"-Dnet.java.games.input.librarypath=C:\\Oxlip\\Instances\\My "
    "Game\\.minecraft\\bin\\natives\"";
constexpr char kLinuxJava[] = "\"/usr/lib/jvm/java-17/bin/java\"";
constexpr char kLinuxInstance[] = "/home/steve/Oxlip/Instances/My Game";
constexpr char kLinuxHome[] = "\"-Duser.home=/home/steve/Oxlip/Instances/My Game\"";
constexpr char kLinuxBin[] = "/home/steve/Oxlip/Instances/My Game/.minecraft/bin";
constexpr char kLinuxNatives[] =
    "\"-Dorg.lwjgl.librarypath=/home/steve/Oxlip/Instances/My Game/.minecraft/bin/natives\" "
    "\"-Dnet.java.games.input.librarypath=/home/steve/Oxlip/Instances/My Game/.minecraft/bin/"
    "natives\"";

class JavaCommandTest : public ::testing::Test {
 protected:
  JavaCommand Windows(const GameLogin& login = {"Steve", "t1"}) {
    settings_.InstancesDir = "C:\\Oxlip\\Instances\\";
    record_.JavaPath = "C:\\Program Files\\Java\\jre7\\bin\\";
    return BuildJavaCommand(settings_, record_, login, "", kWindowsConventions);
  }
  JavaCommand Linux(const GameLogin& login = {"Steve", "t1"}) {
    settings_.InstancesDir = "/home/steve/Oxlip/Instances/";
    record_.JavaPath = "/usr/lib/jvm/java-17/bin/";
    return BuildJavaCommand(settings_, record_, login, "", kPosixConventions);
  }
  void SetUp() override {
    record_.Folder = "My Game";
    record_.CustomJava = 1;
    record_.MaxMemory = 1024;
    record_.MinMemory = 512;
  }
  base::GlobalSettings settings_;
  Instance record_;
};

TEST_F(JavaCommandTest, BuiltInStartOnWindows) {
  JavaCommand plain = Windows();
  EXPECT_EQ(plain.command_line,
            std::string(kWinJava) + " -cp jinput.jar;lwjgl.jar;lwjgl_util.jar;minecraft.jar " +
                kWinNatives + " net.minecraft.client.Minecraft \"Steve\" \"t1\"");
  EXPECT_EQ(plain.working_folder, kWinBin);
  EXPECT_EQ(plain.home_variable, "APPDATA");
  EXPECT_EQ(plain.home_value, "C:\\Oxlip\\Instances\\My Game");

  record_.SetMemory = 1;
  record_.AutoConnect = 1;
  record_.ConnectIP = "mc.example:25565";
  EXPECT_EQ(Windows().command_line,
            std::string(kWinJava) +
                " -Xmx1024m -Xms512m -cp jinput.jar;lwjgl.jar;lwjgl_util.jar;minecraft.jar " +
                kWinNatives +
                " net.minecraft.client.Minecraft \"Steve\" \"t1\" \"mc.example:25565\"");
  // Without a login the name and ticket are empty: two blanks after the main class.
  record_.SetMemory = 0;
  record_.AutoConnect = 0;
  std::string line = Windows({"", ""}).command_line;
  EXPECT_TRUE(line.ends_with(" net.minecraft.client.Minecraft  ")) << line;
}

TEST_F(JavaCommandTest, LaunchersAndOtherModesOnWindows) {
  record_.AutoConnect = 1;  // the launchers ignore it
  record_.ConnectIP = "mc.example";
  record_.UseLauncher = 1;
  JavaCommand launcher = Windows();
  EXPECT_EQ(launcher.command_line,
            std::string(kWinJava) + " -cp MinecraftLauncher.jar net.minecraft.LauncherFrame");
  EXPECT_EQ(launcher.working_folder, kWinBin);

  record_.UseLauncher = 2;
  record_.AltLauncher = "C:\\Games\\Magic Launcher\\MagicLauncher.jar";
  record_.SetMemory = 1;
  record_.MaxMemory = -5;  // not checked
  JavaCommand alternate = Windows();
  EXPECT_EQ(alternate.command_line,
            std::string(kWinJava) +
                " -Xmx-5m -Xms512m -jar \"C:\\Games\\Magic Launcher\\MagicLauncher.jar\"");
  EXPECT_EQ(alternate.working_folder, "C:\\Games\\Magic Launcher\\");

  record_.UseLauncher = 7;  // memory options alone, in the current folder
  JavaCommand other = Windows();
  EXPECT_EQ(other.command_line, std::string(kWinJava) + " -Xmx-5m -Xms512m ");
  EXPECT_EQ(other.working_folder, "");
  record_.SetMemory = 0;
  EXPECT_EQ(Windows().command_line, kWinJava);

  // Not the instance's own Java: discovery's answer, or the bare name for the system to find.
  record_.CustomJava = 0;
  settings_.InstancesDir = "C:\\I\\";
  EXPECT_EQ(BuildJavaCommand(settings_, record_, {}, "", kWindowsConventions).command_line,
            "\"javaw.exe\"");
  EXPECT_EQ(BuildJavaCommand(settings_, record_, {}, "D:\\java\\jre6\\bin\\", kWindowsConventions)
                .command_line,
            "\"D:\\java\\jre6\\bin\\javaw.exe\"");
}

TEST_F(JavaCommandTest, BuiltInStartOnLinuxPointsUserHomeAtTheInstanceFirst) {
  record_.SetMemory = 1;
  record_.AutoConnect = 1;
  record_.ConnectIP = "mc.example:25565";
  JavaCommand command = Linux();
  EXPECT_EQ(command.command_line,
            std::string(kLinuxJava) + " " + kLinuxHome +
                " -Xmx1024m -Xms512m -cp jinput.jar:lwjgl.jar:lwjgl_util.jar:minecraft.jar " +
                kLinuxNatives +
                " net.minecraft.client.Minecraft \"Steve\" \"t1\" \"mc.example:25565\"");
  EXPECT_EQ(command.working_folder, kLinuxBin);
  EXPECT_EQ(command.home_variable, "HOME");
  EXPECT_EQ(command.home_value, kLinuxInstance);
  // Split by the Windows rules, the paths with blanks arrive whole.
  std::vector<std::string> args = platform::SplitCommandLine(command.command_line);
  std::vector<std::string> expected = {
      "/usr/lib/jvm/java-17/bin/java",
      "-Duser.home=/home/steve/Oxlip/Instances/My Game",
      "-Xmx1024m",
      "-Xms512m",
      "-cp",
      "jinput.jar:lwjgl.jar:lwjgl_util.jar:minecraft.jar",
      "-Dorg.lwjgl.librarypath=/home/steve/Oxlip/Instances/My Game/.minecraft/bin/natives",
      "-Dnet.java.games.input.librarypath=/home/steve/Oxlip/Instances/My Game/.minecraft/bin/"
      "natives",
      "net.minecraft.client.Minecraft",
      "Steve",
      "t1",
      "mc.example:25565"};
  EXPECT_EQ(args, expected);

  record_.SetMemory = 0;
  record_.AutoConnect = 0;
  EXPECT_EQ(Linux({"", ""}).command_line,
            std::string(kLinuxJava) + " " + kLinuxHome +
                " -cp jinput.jar:lwjgl.jar:lwjgl_util.jar:minecraft.jar " + kLinuxNatives +
                " net.minecraft.client.Minecraft  ");
}

TEST_F(JavaCommandTest, LaunchersAndOtherModesOnLinux) {
  record_.UseLauncher = 1;
  JavaCommand launcher = Linux();
  EXPECT_EQ(launcher.command_line, std::string(kLinuxJava) + " " + kLinuxHome +
                                       " -cp MinecraftLauncher.jar net.minecraft.LauncherFrame");
  EXPECT_EQ(launcher.working_folder, kLinuxBin);

  record_.UseLauncher = 2;
  record_.AltLauncher = "/home/steve/Magic Launcher/MagicLauncher.jar";
  record_.SetMemory = 1;
  JavaCommand alternate = Linux();
  EXPECT_EQ(alternate.command_line,
            std::string(kLinuxJava) + " " + kLinuxHome +
                " -Xmx1024m -Xms512m -jar \"/home/steve/Magic Launcher/MagicLauncher.jar\"");
  EXPECT_EQ(alternate.working_folder, "/home/steve/Magic Launcher/");
  EXPECT_EQ(platform::SplitCommandLine(alternate.command_line).back(),
            "/home/steve/Magic Launcher/MagicLauncher.jar");

  record_.UseLauncher = 3;
  EXPECT_EQ(Linux().command_line,
            std::string(kLinuxJava) + " " + kLinuxHome + " -Xmx1024m -Xms512m ");
  record_.CustomJava = 0;
  EXPECT_EQ(BuildJavaCommand(settings_, record_, {}, "", kPosixConventions).command_line,
            "\"java\" " + std::string(kLinuxHome) + " -Xmx1024m -Xms512m ");
}

// Relative folders would miss from the game's own working folder.
TEST_F(JavaCommandTest, RelativeInstancesAndJavaFoldersAreTakenFromTheStartFolder) {
  settings_.StartFolder = "/srv/oxlip/";
  settings_.InstancesDir = "Instances\\";
  record_.JavaPath = "jre/bin/";
  JavaCommand command = BuildJavaCommand(settings_, record_, {}, "", kPosixConventions);
  EXPECT_EQ(platform::SplitCommandLine(command.command_line)[0], "/srv/oxlip/jre/bin/java");
  EXPECT_EQ(command.home_value, "/srv/oxlip/Instances/My Game");
  EXPECT_EQ(command.working_folder, "/srv/oxlip/Instances/My Game/.minecraft/bin");
  EXPECT_NE(command.command_line.find(
                "\"-Dorg.lwjgl.librarypath=/srv/oxlip/Instances/My Game/.minecraft/bin/natives\""),
            std::string::npos);
}

// Blanks, quotes and backslashes in any value must not split it or join it to the next.
TEST_F(JavaCommandTest, EveryValueArrivesAsOneArgument) {
  const char* kOdd[] = {"tkn host", "say \"hi\"", "back\\\" \"slash\\", "\""};
  for (const char* odd : kOdd) {
    SCOPED_TRACE(odd);
    record_.Folder = std::string("My ") + odd;
    record_.AutoConnect = 1;
    record_.ConnectIP = std::string("mc ") + odd;
    std::vector<std::string> args =
        platform::SplitCommandLine(Linux({std::string("u ") + odd, odd}).command_line);
    ASSERT_EQ(args.size(), 10u);
    std::string in_path = odd;  // a backslash in a path is the separator
    std::replace(in_path.begin(), in_path.end(), '\\', '/');
    const std::string instance = "/home/steve/Oxlip/Instances/My " + in_path;
    EXPECT_EQ(args[1], "-Duser.home=" + instance);
    EXPECT_EQ(args[4], "-Dorg.lwjgl.librarypath=" + instance + "/.minecraft/bin/natives");
    EXPECT_EQ(args[7], std::string("u ") + odd);
    EXPECT_EQ(args[8], odd);
    EXPECT_EQ(args[9], std::string("mc ") + odd);

    record_.UseLauncher = 2;
    record_.AltLauncher = std::string("/games/") + odd + ".jar";
    args = platform::SplitCommandLine(Linux().command_line);
    EXPECT_EQ(args.back(), "/games/" + in_path + ".jar");
    record_.UseLauncher = 0;
  }
  // An empty name before a given ticket or server keeps its place.
  record_.ConnectIP = "mc.example";
  std::vector<std::string> args = platform::SplitCommandLine(Linux({"", ""}).command_line);
  EXPECT_EQ(std::vector<std::string>(args.begin() + 7, args.end()),
            (std::vector<std::string>{"", "", "mc.example"}));
}

}  // namespace
}  // namespace oxlip::launch
