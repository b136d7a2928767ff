#include "platform/recent_file_list.h"

#include <algorithm>

#include "platform/profile.h"

namespace platform {

namespace {

constexpr char kSection[] = "Recent File List";

std::string Key(int i) { return "File" + std::to_string(i + 1); }

}  // namespace

RecentFileList::RecentFileList(std::string program, int size)
    : program_(std::move(program)), size_(std::max(size, 0)) {}

void RecentFileList::Load() {
  const Profile profile(program_);
  paths_.clear();
  for (int i = 0; i < size_; ++i) {
    const std::string path = profile.GetString(kSection, Key(i));
    if (!path.empty() && std::find(paths_.begin(), paths_.end(), path) == paths_.end()) {
      paths_.push_back(path);
    }
  }
}

void RecentFileList::Add(const std::string& given) {
  // A copy first: the path may be an element of the list itself (a file opened from the
  // menu), which erasing would free before it is inserted again.
  const std::string path = given;
  if (path.empty() || size_ == 0) return;
  std::erase(paths_, path);
  paths_.insert(paths_.begin(), path);
  if (static_cast<int>(paths_.size()) > size_) paths_.resize(size_);
  Save();
}

void RecentFileList::Remove(const std::string& given) {
  const std::string path = given;  // may be an element of the list, as in Add
  std::erase(paths_, path);
  Save();
}

void RecentFileList::Save() {
  Profile profile(program_);
  for (int i = 0; i < size_; ++i) {
    profile.WriteString(kSection, Key(i), i < static_cast<int>(paths_.size()) ? paths_[i] : "");
  }
}

}  // namespace platform
