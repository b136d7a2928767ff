#pragma once

// The recent-file list of a program's File menu: the newest first, each path once, at
// most the given number, kept in the profile section "Recent File List" as "File1" ...

#include <string>
#include <vector>

#include "platform/export.h"

namespace platform {

class VELINOR_EXPORT RecentFileList {
 public:
  RecentFileList(std::string program, int size);

  // Reads the list from the profile (empty and missing entries are skipped).
  void Load();
  // Puts the path at the head and writes the list back.
  void Add(const std::string& path);
  // Drops the path (a recent file that failed to open) and writes the list back.
  void Remove(const std::string& path);

  const std::vector<std::string>& Paths() const { return paths_; }

 private:
  void Save();

  std::string program_;
  int size_;
  std::vector<std::string> paths_;
};

}  // namespace platform
