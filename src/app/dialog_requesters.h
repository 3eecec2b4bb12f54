#pragma once
// The open-file requesters of the instance dialog: what they are titled, where they start and
// which files they offer. The window system draws them; the texts are decided here.
#include <string>

#include "platform/conventions.h"

namespace oxlip::app {

struct FileRequester {
  std::string title;
  std::string start;  // a file or folder to start at; empty for the requester's own choice
  // "name|patterns|name|patterns...", patterns separated by ";".
  std::string filters;
  int selected_filter = 0;  // counts from 0
};

// Offers the Java program of the conventions' system first.
FileRequester JavaRequester(const std::string& java_path, const platform::Conventions& conventions =
                                                              platform::kNativeConventions);
FileRequester LauncherRequester(const std::string& launcher);
FileRequester ModRequester();
// Starts at the chosen icon file, else in `icon_folder`.
FileRequester IconRequester(const std::string& chosen_icon_file, const std::string& icon_folder);

// The folder part of a chosen file, up to and including its last separator of either kind;
// empty when it has none.
std::string FolderOfFile(const std::string& file);

}  // namespace oxlip::app
