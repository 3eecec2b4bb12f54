#include "archive/command_line.h"

#include "base/error_text.h"
#include "platform/ascii_case.h"
#include "platform/fs.h"
#include "platform/path.h"

namespace oxlip::archive {
namespace {

using platform::LowerAscii;
using platform::StartsWithNoCase;

bool ParseType(std::string_view name, Command* command) {
  std::string type = LowerAscii(name);
  if (type == "zip")
    command->type = Format::kZip;
  else if (type == "7z")
    command->type = Format::kSevenZ;
  else if (type == "lzma")
    command->type = Format::kLzma;
  else
    return false;
  return true;
}

// "-x!name" / "-xr!name"; the name may be empty only by mistake.
bool ParseExclusion(std::string_view arg, Command* command) {
  bool any_depth = StartsWithNoCase(arg, "-xr!");
  std::string_view name = arg.substr(any_depth ? 4 : 3);
  if (name.empty()) return false;
  command->exclusions.push_back({std::string(name), any_depth});
  return true;
}

bool ParseSwitch(std::string_view arg, Command* command) {
  std::string lower = LowerAscii(arg);
  if (lower == "-aoa")
    command->overwrite = true;
  else if (lower == "-hide")
    command->hide = true;
  else if (lower == "-r")
    command->recurse = true;
  else if (lower == "-mx9")
    command->strongest = true;
  else if (StartsWithNoCase(arg, "-x!") || StartsWithNoCase(arg, "-xr!"))
    return ParseExclusion(arg, command);
  else if (StartsWithNoCase(arg, "-o") && arg.size() > 2)
    command->output = std::string(arg.substr(2));
  else if (StartsWithNoCase(arg, "-t") && arg.size() > 2)
    return ParseType(arg.substr(2), command);
  else
    return false;
  return true;
}

}  // namespace

std::vector<std::string> SplitCommandLine(std::string_view line) {
  std::vector<std::string> args;
  std::string current;
  bool quoted = false, pending = false;
  for (char c : line) {
    if ((c == ' ' || c == '\t') && !quoted) {
      if (pending) args.push_back(current);
      current.clear();
      pending = false;
    } else if (c == '"') {
      quoted = !quoted;
      pending = true;  // `""` is an empty argument
    } else {
      current += c;
      pending = true;
    }
  }
  if (pending) args.push_back(current);
  return args;
}

bool ParseCommand(std::string_view line, Command* command, std::string* error) {
  std::vector<std::string> args = SplitCommandLine(line);
  *command = Command{};
  if (args.empty() || args[0].size() != 1 ||
      std::string_view("axedu").find(LowerAscii(args[0])[0]) == std::string_view::npos) {
    *error = "unknown command: " + (args.empty() ? std::string() : args[0]);
    return false;
  }
  command->letter = LowerAscii(args[0])[0];
  bool have_archive = false;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() > 1 && arg[0] == '-') {
      if (!ParseSwitch(arg, command)) {
        *error = "unsupported switch: " + arg;
        return false;
      }
    } else if (arg.size() > 1 && arg[0] == '@' && have_archive) {
      command->list_files.push_back(arg.substr(1));
    } else if (!have_archive) {
      command->archive = arg;
      have_archive = !arg.empty();
    } else if (!arg.empty()) {
      command->names.push_back(arg);
    }
  }
  if (!have_archive) *error = "no archive named";
  return have_archive;
}

bool ReadListFiles(Command* command, std::string* error) {
  for (const std::string& file : command->list_files) {
    platform::Error reading;
    std::optional<std::string> text = platform::ReadWholeFile(file, &reading);
    if (!text) {
      *error =
          base::WithReason("can't read list file " + platform::NativePath(file), reading.reason);
      return false;
    }
    size_t start = 0;
    while (start < text->size()) {
      size_t end = text->find('\n', start);
      if (end == std::string::npos) end = text->size();
      std::string name = text->substr(start, end - start);
      if (!name.empty() && name.back() == '\r') name.pop_back();
      if (!name.empty()) command->listed.push_back(name);
      start = end + 1;
    }
  }
  return true;
}

}  // namespace oxlip::archive
