#pragma once
// Libraries that convert names through the C library's locale (libarchive does, for 7z names)
// lose every name that is not ASCII when the process runs in the "C" locale. While an object of
// this class lives, the calling thread's character set is UTF-8, the system's narrow text,
// whatever the process locale; other threads are not affected.
namespace oxlip::platform {

class Utf8Names {
 public:
  Utf8Names();
  ~Utf8Names();
  Utf8Names(const Utf8Names&) = delete;
  Utf8Names& operator=(const Utf8Names&) = delete;

 private:
  void* previous_ = nullptr;  // the thread's locale before, or null when it was not changed
};

}  // namespace oxlip::platform
