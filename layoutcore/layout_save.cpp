#include "layoutcore/layout_save.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "platform/file_io.h"
#include "platform/message_box.h"

namespace editor {

namespace fs = std::filesystem;

namespace {

constexpr char kReplaceQuestionTail[] = "\nThis file already exists.\n\nReplace existing file?";
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
  std::error_code error;
  if (!fs::exists(path, error)) return true;
  return platform::MessageBox(nullptr, path + kReplaceQuestionTail, caption,
                              platform::kMbYesNo | platform::kMbIconExclamation) ==
         platform::kIdYes;
}

bool WriteLayoutFile(const std::string& path, std::span<const uint8_t> bytes, const char* caption) {
  const std::string partial = path + ".part";
  std::error_code error = platform::WriteWholeFile(partial, bytes);
  if (!error) {
    fs::rename(partial, path, error);
    if (error) platform::RemoveFile(partial);
  }
  if (!error) return true;
  platform::MessageBox(nullptr, kWriteErrorText, caption, platform::kMbOk | platform::kMbIconError);
  return false;
}

}  // namespace editor
