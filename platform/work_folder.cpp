#include "platform/work_folder.h"

#include <cstdlib>
#include <mutex>
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

std::mutex g_nameMutex;
std::string g_programName;  // guarded by g_nameMutex

std::string ProgramName() {
  std::lock_guard lock(g_nameMutex);
  return g_programName.empty() ? ExecutableName() : g_programName;
}

}  // namespace

void SetProgramName(const std::string& name) {
  std::lock_guard lock(g_nameMutex);
  g_programName = name;
}

std::filesystem::path WorkFolderOf(const std::string& program) {
  return DataHome() / "Corvan" / program;
}

std::filesystem::path ProgramWorkFolder() {
  const std::filesystem::path folder = WorkFolderOf(ProgramName());
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
