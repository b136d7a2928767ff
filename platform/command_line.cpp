#include "platform/command_line.h"

#include <filesystem>
#include <fstream>

namespace platform {

CommandLineInfo ParseCommandLine(const std::vector<std::string>& args) {
  CommandLineInfo info;
  for (const std::string& arg : args) {
    if (arg.empty()) continue;
    if (arg[0] == '-') {
      const std::size_t start = arg.find_first_not_of('-');
      const std::string option = start == std::string::npos ? std::string() : arg.substr(start);
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

std::string ProgramFolderOf(const std::string& executablePath) {
  std::error_code error;
  std::filesystem::path path = std::filesystem::absolute(executablePath, error);
  if (error) path = executablePath;
  return (path.parent_path() / "").string();
}

}  // namespace platform
