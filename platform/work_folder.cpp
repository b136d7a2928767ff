#include "platform/work_folder.h"

#include <cstdlib>
#include <system_error>

namespace platform {

namespace {

std::filesystem::path DataHome() {
  if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data) return data;
  if (const char* home = std::getenv("HOME"); home && *home) {
    return std::filesystem::path(home) / ".local" / "share";
  }
  return std::filesystem::temp_directory_path();
}

std::string ExecutableName() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  if (error || exe.filename().empty()) return "velinor";
  return exe.filename().string();
}

}  // namespace

std::filesystem::path ProgramWorkFolder() {
  const std::filesystem::path folder = DataHome() / "Corvan" / ExecutableName();
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return {};
  return folder;
}

std::filesystem::path ProgramWorkFile(const std::string& name) {
  const std::filesystem::path folder = ProgramWorkFolder();
  return folder.empty() ? std::filesystem::path(name) : folder / name;
}

}  // namespace platform
