#include "platform/dynamic_library.h"

#include <dlfcn.h>

namespace platform {

std::unique_ptr<DynamicLibrary> DynamicLibrary::Open(const std::filesystem::path& file) {
  // Only absolute paths: a bare name would let the search path pick some other library.
  if (file.empty() || !file.is_absolute()) return nullptr;
  void* handle = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) return nullptr;
  return std::unique_ptr<DynamicLibrary>(new DynamicLibrary(handle));
}

DynamicLibrary::~DynamicLibrary() { dlclose(handle_); }

void* DynamicLibrary::Symbol(const std::string& name) const { return dlsym(handle_, name.c_str()); }

std::filesystem::path FolderOfLoadedFile(const void* address) {
  Dl_info info{};
  if (dladdr(address, &info) == 0 || info.dli_fname == nullptr) return {};
  std::error_code error;
  const std::filesystem::path file = std::filesystem::absolute(info.dli_fname, error);
  if (error) return {};
  return file.parent_path();
}

}  // namespace platform
