#pragma once

// The command line of the layout programs: whether the splash window shows, and the layout
// to open at start.

#include <string>
#include <vector>

namespace editor {

struct CommandLineInfo {
  bool showSplash = true;
  std::string fileToOpen;  // empty: a new layout
};

// Options start with '-' ("-nologo" or "--nologo" turns the splash window off); the first
// other argument is the file to open.
CommandLineInfo ParseCommandLine(const std::vector<std::string>& args);

// Can a file named on the command line be read at all? A defective layout can (it is
// opened and refused the usual way, and the program goes on with a fresh layout); a file
// that is missing, a folder, or not readable cannot, and the program ends before its
// window is shown.
bool CommandLineFileReadable(const std::string& path);

}  // namespace editor
