#include "testing/temp_dir.h"

#include <stdlib.h>

#include <stdexcept>
#include <string>

namespace vtest {

TempDir::TempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "velinor-XXXXXX").string();
  if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
  path_ = pattern;
}

TempDir::~TempDir() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

}  // namespace vtest
