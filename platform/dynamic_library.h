#pragma once

// A shared library loaded at run time and its entry points looked up by name. The suite's
// libraries are installed side by side, so a library finds another beside its own file,
// never through the search path.

#include <filesystem>
#include <memory>
#include <string>

#include "platform/export.h"

namespace platform {

class VELINOR_EXPORT DynamicLibrary {
 public:
  // Loads the library at this absolute path; null when it is missing or cannot be loaded.
  static std::unique_ptr<DynamicLibrary> Open(const std::filesystem::path& file);
  ~DynamicLibrary();
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;

  // The entry point of that name; null when the library has none.
  void* Symbol(const std::string& name) const;

 private:
  explicit DynamicLibrary(void* handle) : handle_(handle) {}
  void* handle_;
};

// The folder of the loaded file (program or shared library) that holds this address;
// empty when it cannot be told.
VELINOR_EXPORT std::filesystem::path FolderOfLoadedFile(const void* address);

}  // namespace platform
