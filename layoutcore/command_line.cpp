#include "layoutcore/command_line.h"

#include <filesystem>
#include <fstream>

namespace editor {

CommandLineInfo ParseCommandLine(const std::vector<std::string>& args) {
  CommandLineInfo info;
  for (const std::string& arg : args) {
    if (arg.empty()) continue;
    if (arg[0] == '-') {
      const std::string option = arg.substr(arg.find_first_not_of('-') == std::string::npos ? arg.size() : arg.find_first_not_of('-'));
      if (option == "nologo") info.showSplash = false;
      continue;
    }
    if (info.fileToOpen.empty()) info.fileToOpen = arg;
  }
  return info;
}

bool CommandLineFileReadable(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error) || std::filesystem::is_directory(path, error)) {
    return false;
  }
  std::ifstream file(path, std::ios::binary);
  return file.is_open();
}

}  // namespace editor
