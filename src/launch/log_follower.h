#pragma once
// Follows a log file that a running program appends to, the way "tail -f" does: each poll
// reads what was added since the last one. A file replaced or emptied (the game's log is moved
// aside and started anew at each start) is read again from its beginning.
#include <cstddef>
#include <cstdint>
#include <string>

namespace oxlip::launch {

class LogFollower {
 public:
  // What a window shows is capped: the oldest lines go once the text grows beyond `cap` bytes.
  static constexpr std::size_t kDefaultCap = 1024 * 1024;

  explicit LogFollower(std::string path, std::size_t cap = kDefaultCap);

  struct Change {
    bool reset = false;    // show text() anew: the file was replaced, or old lines were dropped
    std::string appended;  // otherwise: what to add at the end (may be empty)
  };
  // Reads what was written since the last poll. Bytes of a character still being written are
  // kept back until it is whole, so the text never ends in half a UTF-8 sequence.
  Change Poll();

  const std::string& path() const { return path_; }
  // The newest part of the file: whole lines at the front once it has been capped.
  const std::string& text() const { return text_; }

 private:
  bool Restarted(std::uint64_t device, std::uint64_t inode, std::int64_t size) const;
  void Forget();
  void Trim(Change& change);

  std::string path_;
  std::size_t cap_;
  std::string text_;
  std::string held_;  // the start of a character not yet complete
  std::int64_t offset_ = 0;
  std::uint64_t device_ = 0;
  std::uint64_t inode_ = 0;
  bool seen_ = false;  // the file existed at the last poll
};

// How many bytes from the start of `text` form whole UTF-8 characters: all of it, unless it
// ends inside a multi-byte sequence.
std::size_t WholeCharacters(const std::string& text);

}  // namespace oxlip::launch
