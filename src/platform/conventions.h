#pragma once
// What differs between the Windows program and this one, in one place.
#include <string_view>

namespace oxlip::platform {

struct Conventions {
  std::string_view java_program;  // inside a runtime's "bin" folder
  std::string_view class_path_separator;
  std::string_view natives_archive;   // the bucket's natives jar for this system
  std::string_view home_variable;     // set to the instance folder for the game
  bool home_as_java_property;         // also pass -Duser.home=<instance folder>
  std::string_view java_search_base;  // relative to the program-files folder, or absolute
  bool java_search_base_is_absolute;
  bool java_needs_bin_java;  // a runtime folder counts only when it holds bin/java
  // Empty: any class. On X11 a Java frame's class is derived from its main class.
  std::string_view game_window_class;
  char path_separator;  // what "\" in a path becomes on a command line
};

inline constexpr Conventions kWindowsConventions{
    "javaw.exe", ";",   "windows_natives.jar", "APPDATA", false, "java\\",
    false,       false, "SunAwtFrame",         '\\'};

inline constexpr Conventions kPosixConventions{
    "java", ":", "linux_natives.jar", "HOME", true, "/usr/lib/jvm/", true, true, "", '/'};

#ifdef _WIN32
inline constexpr const Conventions& kNativeConventions = kWindowsConventions;
#else
inline constexpr const Conventions& kNativeConventions = kPosixConventions;
#endif

}  // namespace oxlip::platform
