#include "layoutcore/layout_save.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "platform/file_io.h"
#include "platform/message_box.h"

namespace editor {

namespace fs = std::filesystem;

namespace {

constexpr char kWriteErrorText[] = "There is an error in a file.\nQuit operation.";

}  // namespace

std::string LowerExtension(const std::string& path) {
  std::string ext = fs::path(path).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return ext;
}

std::string FolderOf(const std::string& path) {
  const fs::path parent = fs::path(path).parent_path();
  return parent.empty() ? std::string() : (parent / "").string();
}

bool AskReplaceExisting(const std::string& path, const char* caption) {
  return platform::AskReplaceExisting(nullptr, path, caption);
}

bool WriteLayoutFile(const std::string& path, std::span<const uint8_t> bytes, const char* caption) {
  if (!platform::WriteWholeFile(path, bytes)) return true;
  platform::MessageBox(nullptr, kWriteErrorText, caption, platform::kMbOk | platform::kMbIconError);
  return false;
}

}  // namespace editor
