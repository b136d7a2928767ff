#pragma once

// A program's command line as the single-document programs read it, and the folder of the
// program file.

#include <string>
#include <vector>

#include "platform/export.h"

namespace platform {

struct CommandLineInfo {
  bool showSplash = true;
  std::string fileToOpen;  // empty: a new document
};

// Options start with '-' ("-nologo" or "--nologo" turns the splash window off); the first
// other argument is the file to open.
VELINOR_EXPORT CommandLineInfo ParseCommandLine(const std::vector<std::string>& args);

// Can a file named on the command line be read at all? A file that is missing, a folder, or
// not readable cannot, and the program ends before its window is shown.
VELINOR_EXPORT bool CommandLineFileReadable(const std::string& path);

// The folder of the program file, ending in a separator.
VELINOR_EXPORT std::string ProgramFolderOf(const std::string& executablePath);

}  // namespace platform
