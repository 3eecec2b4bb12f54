#include "launch/java_command.h"

#include <vector>

#include "backup/backup_paths.h"
#include "base/start_folder.h"
#include "platform/command_line.h"

namespace oxlip::launch {
namespace {

// Paths are built with "\"; on a system whose separator differs, the command line gets its own.
std::string ForSystem(std::string path, const platform::Conventions& conventions) {
  if (conventions.path_separator != '\\')
    for (char& c : path)
      if (c == '\\') c = conventions.path_separator;
  return path;
}

std::string ClassPath(const platform::Conventions& conventions) {
  std::string separator(conventions.class_path_separator);
  return "jinput.jar" + separator + "lwjgl.jar" + separator + "lwjgl_util.jar" + separator +
         "minecraft.jar";
}

// The game's own defaults hold when nothing follows its main class (no login); an empty value
// before a given one stays an empty argument, so that the values keep their places.
std::string GameValues(std::vector<std::string> values) {
  while (!values.empty() && values.back().empty()) values.pop_back();
  std::string text;
  for (const std::string& value : values) text += " " + platform::QuoteArgument(value);
  return text;
}

std::string BuiltInArguments(const Instance& record, const std::string& bin, const GameLogin& login,
                             const platform::Conventions& conventions) {
  std::string natives = ForSystem(bin + "\\natives", conventions);
  std::string args = "-cp " + ClassPath(conventions) + " ";
  args += platform::QuoteArgument("-Dorg.lwjgl.librarypath=" + natives) + " ";
  args += platform::QuoteArgument("-Dnet.java.games.input.librarypath=" + natives) + " ";
  std::vector<std::string> values = {login.user, login.ticket};
  if (record.AutoConnect != 0) values.push_back(record.ConnectIP);
  // Without a login the text keeps the blanks that separate the empty name and ticket.
  std::string given = GameValues(values);
  return args + "net.minecraft.client.Minecraft" + (given.empty() ? "  " : given);
}

}  // namespace

JavaCommand BuildJavaCommand(const base::GlobalSettings& settings, const Instance& record,
                             const GameLogin& login, const std::string& found_java,
                             const platform::Conventions& conventions) {
  // From the start folder when InstancesDir is relative: the game runs in another folder.
  const std::string instance = backup::InstanceFolder(settings, record);
  const std::string bin = instance + "\\.minecraft\\bin";
  JavaCommand command;
  command.home_variable = std::string(conventions.home_variable);
  command.home_value = ForSystem(instance, conventions);

  std::string args;
  if (record.UseLauncher == 2) {
    args = "-jar " + platform::QuoteArgument(ForSystem(record.AltLauncher, conventions));
    std::size_t last = record.AltLauncher.find_last_of("\\/");
    if (last != std::string::npos)
      command.working_folder = ForSystem(record.AltLauncher.substr(0, last + 1), conventions);
  } else if (record.UseLauncher == 1) {
    args = "-cp MinecraftLauncher.jar net.minecraft.LauncherFrame";
    command.working_folder = ForSystem(bin, conventions);
  } else if (record.UseLauncher == 0) {
    args = BuiltInArguments(record, bin, login, conventions);
    command.working_folder = ForSystem(bin, conventions);
  }
  if (record.SetMemory != 0)
    args = "-Xmx" + std::to_string(record.MaxMemory) + "m -Xms" + std::to_string(record.MinMemory) +
           "m " + args;
  // Java takes user.home from the password database, not from HOME, and the game keeps its
  // folder below user.home.
  if (conventions.home_as_java_property)
    args = platform::QuoteArgument("-Duser.home=" + command.home_value) + " " + args;

  std::string java = record.CustomJava != 0 ? record.JavaPath : found_java;
  // Started in another folder, a relative Java folder would be looked up from there.
  if (!java.empty()) java = base::FromStartFolder(settings.StartFolder, java);
  command.command_line =
      "\"" + ForSystem(java, conventions) + std::string(conventions.java_program) + "\"";
  if (!args.empty()) command.command_line += " " + args;
  return command;
}

}  // namespace oxlip::launch
