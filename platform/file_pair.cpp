#include "platform/file_pair.h"

#include <vector>

#include "platform/file_io.h"

namespace platform {

std::error_code WriteFilesTogether(std::span<const FileToWrite> files, std::filesystem::path* failedPath) {
  // Each file is an ordinary safe write (its links, permission bits and left-over temporaries
  // treated as for any other file), held back before its rename until every one is complete.
  // A file not closed is discarded with `staged`, so a failure leaves every target as it was.
  std::vector<OutputFile> staged(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    std::error_code error = staged[i].Create(files[i].path);
    if (!error) error = staged[i].Write(files[i].bytes);
    if (!error) error = staged[i].Flush();
    if (error) {
      if (failedPath) *failedPath = files[i].path;
      return error;
    }
  }
  // Every file is on the disk: only the renames are left, which need no room and replace
  // each target in one step.
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (std::error_code error = staged[i].Close()) {
      if (failedPath) *failedPath = files[i].path;
      return error;
    }
  }
  return {};
}

}  // namespace platform
