#include "launch/game_log.h"

#include <algorithm>

#include "backup/backup_paths.h"
#include "platform/random_access_file.h"

namespace oxlip::launch {
namespace {

// How far back "the last output" reaches: a Java stack trace with its causes fits.
constexpr std::int64_t kTailBytes = 64 * 1024;

std::string Tail(const std::string& path) {
  platform::RandomAccessFile file;
  if (!file.OpenForReading(path)) return "";
  std::int64_t start = std::max<std::int64_t>(0, file.Size() - kTailBytes);
  std::string text(static_cast<std::size_t>(file.Size() - start), '\0');
  std::int64_t got = file.ReadAt(start, text.data(), text.size());
  text.resize(got > 0 ? static_cast<std::size_t>(got) : 0);
  // A line cut at the start of the tail is not a whole line.
  if (start > 0) text.erase(0, std::min(text.size(), text.find('\n') + 1));
  return text;
}

}  // namespace

std::string GameLogFile(const base::GlobalSettings& settings, const Instance& record) {
  return backup::InstanceFolder(settings, record) + "\\game.log";
}

std::string PreviousGameLog(const std::string& log_file) { return log_file + ".1"; }

std::vector<std::string> ExceptionLines(const std::string& log_file) {
  std::vector<std::string> lines;
  std::string text = Tail(log_file);
  std::size_t begin = 0;
  while (begin < text.size()) {
    std::size_t end = std::min(text.find('\n', begin), text.size());
    std::string line = text.substr(begin, end - begin);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find("Exception") != std::string::npos) lines.push_back(std::move(line));
    begin = end + 1;
  }
  return lines;
}

}  // namespace oxlip::launch
