#pragma once
// Path texts: the core builds paths with "\" as on Windows; everything that reaches the
// file system passes through NativePath first.
#include <string>
#include <string_view>

namespace oxlip::platform {

#ifdef _WIN32
inline constexpr char kNativeSeparator = '\\';
#else
inline constexpr char kNativeSeparator = '/';
#endif

bool IsSeparator(char c);

// Both separators accepted; on POSIX every "\" becomes "/".
std::string NativePath(std::string_view path);

// "\" for "/" everywhere: the record form of paths kept in files.
std::string RecordPath(std::string_view path);

// The path with one native separator at the end (none added when one of either kind is there).
std::string WithTrailingSeparator(std::string_view path);

// True for "/x", "\x" and "C:\x"-style paths.
bool IsAbsolutePath(std::string_view path);

// True when any part between separators is "..".
bool HasParentPart(std::string_view path);

// The last part of a path (after the last separator of either kind).
std::string FileNamePart(std::string_view path);

}  // namespace oxlip::platform
