#pragma once
// Writing extracted entries below one folder and never outside it.
#include <ctime>
#include <functional>
#include <mutex>
#include <set>
#include <string>

namespace oxlip::archive {

using Sink = std::function<bool(const char* data, std::size_t size)>;
// Produces an entry's bytes into the sink; false with `error` set when the archive is damaged.
using Filler = std::function<bool(const Sink& sink, std::string* error)>;

class OutputFolder {
 public:
  // `root` in native form; empty means the current folder.
  explicit OutputFolder(const std::string& root);

  // Creates the folder with every missing parent.
  bool Prepare(std::string* error);

  // `relative` is "/"-separated and already checked to stay below the root. No part of it may
  // be a link, so nothing is written through one.
  bool MakeFolder(const std::string& relative, std::string* error);

  // The folders above `relative`, as MakeFolder makes them.
  bool MakeParents(const std::string& relative, std::string* error);

  // The file appears under its name only once all its bytes were written; an existing file is
  // kept unless `overwrite`. Safe to call from several threads for different files.
  bool WriteFile(const std::string& relative, bool overwrite, std::time_t modified,
                 const Filler& fill, std::string* error);

 private:
  bool MakeOneFolder(const std::string& relative, std::string* error);

  std::string root_;  // "" or ending in "/"
  // Folders this extraction made or found to be real folders: nothing it writes can turn them
  // into links, so they are looked at once, not once per file below them.
  std::set<std::string> known_folders_;
  std::mutex known_mutex_;
};

}  // namespace oxlip::archive
