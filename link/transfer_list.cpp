#include "link/transfer_list.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "platform/file_io.h"

namespace transfer {

namespace {

// An entry keeps the design number in one byte.
bool IsEntryDesignNo(int designNo) { return designNo >= 1 && designNo <= 255; }

// A list names designs, not whole folders of them: a file bigger than this is not a list.
constexpr std::size_t kMaxListFileBytes = kListRecordBytes * 65536;

// The bytes of a record up to its first NUL, never past the record.
std::string RecordText(const uint8_t* record, std::size_t size) {
  const auto* end = static_cast<const uint8_t*>(std::memchr(record, 0, size));
  const std::size_t length = end ? static_cast<std::size_t>(end - record) : size;
  return std::string(reinterpret_cast<const char*>(record), length);
}

}  // namespace

std::vector<std::string> ParseTransferList(std::span<const uint8_t> bytes) {
  std::vector<std::string> paths;
  for (std::size_t at = 0; at + kListRecordBytes <= bytes.size(); at += kListRecordBytes) {
    std::string path = RecordText(bytes.data() + at, kListRecordBytes);
    if (path.empty()) break;
    paths.push_back(std::move(path));
  }
  return paths;
}

std::error_code ReadTransferListFile(const std::filesystem::path& listFile,
                                     std::vector<std::string>& paths) {
  paths.clear();
  std::vector<uint8_t> bytes;
  if (const std::error_code error = platform::ReadWholeFile(listFile, bytes, kMaxListFileBytes)) {
    return error;
  }
  if (bytes.empty()) return std::make_error_code(std::errc::invalid_argument);
  paths = ParseTransferList(bytes);
  return {};
}

std::error_code WriteTransferListFile(const std::filesystem::path& listFile,
                                      const std::vector<std::string>& paths) {
  std::vector<uint8_t> bytes(paths.size() * kListRecordBytes, 0);
  for (std::size_t i = 0; i < paths.size(); ++i) {
    const std::string& path = paths[i];
    if (path.empty() || path.size() > kMaxListPathLength ||
        path.find('\0') != std::string::npos) {
      return std::make_error_code(std::errc::filename_too_long);
    }
    std::memcpy(bytes.data() + i * kListRecordBytes, path.data(), path.size());
  }
  return platform::WriteWholeFile(listFile, bytes);
}

std::vector<TransferListEntry> MakeEntryList(std::size_t count) {
  return std::vector<TransferListEntry>(count + 1, TransferListEntry{});
}

bool SetEntryPath(TransferListEntry& entry, std::string_view path) {
  if (path.size() >= sizeof entry.path || path.find('\0') != std::string_view::npos) return false;
  std::memset(entry.path, 0, sizeof entry.path);
  std::memcpy(entry.path, path.data(), path.size());
  return true;
}

std::string EntryPath(const TransferListEntry& entry) {
  return RecordText(reinterpret_cast<const uint8_t*>(entry.path), sizeof entry.path);
}

bool BuildSendList(const std::vector<std::string>& paths, int destination,
                   std::vector<TransferListEntry>& list) {
  list = MakeEntryList(paths.size());
  for (std::size_t i = 0; i < paths.size(); ++i) {
    if (paths[i].empty() || !SetEntryPath(list[i], paths[i])) return false;
    list[i].destination = static_cast<unsigned char>(destination);
    list[i].designNo = 0;
  }
  return true;
}

bool IsSafeMachineName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  if (name.find_first_of(std::string_view("/\\\0", 3)) != std::string_view::npos) return false;
  return name.find("..") == std::string_view::npos;
}

std::string ReceivePath(const std::filesystem::path& folder, std::string_view listedName) {
  if (!IsSafeMachineName(listedName)) return {};
  std::string name(listedName);
  const std::size_t dot = name.rfind('.');
  std::string extension = dot == std::string::npos ? std::string() : name.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (extension != "ptn") {
    name = (dot == std::string::npos ? name : name.substr(0, dot)) + ".qnf";
  }
  std::string path = (folder / name).string();
  if (path.size() >= kTransferPathBytes) return {};
  return path;
}

bool BuildReceiveList(const std::filesystem::path& folder, const std::vector<ListedDesign>& designs,
                      int destination, std::vector<TransferListEntry>& list) {
  list = MakeEntryList(designs.size());
  for (std::size_t i = 0; i < designs.size(); ++i) {
    const std::string path = ReceivePath(folder, designs[i].name);
    if (path.empty() || !IsEntryDesignNo(designs[i].designNo) || !SetEntryPath(list[i], path)) {
      return false;
    }
    list[i].destination = static_cast<unsigned char>(destination);
    list[i].designNo = static_cast<unsigned char>(designs[i].designNo);
  }
  return true;
}

bool BuildDeleteList(const std::vector<ListedDesign>& designs, int destination,
                     std::vector<TransferListEntry>& list) {
  std::vector<ListedDesign> ordered = designs;
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const ListedDesign& a, const ListedDesign& b) { return a.designNo > b.designNo; });
  list = MakeEntryList(ordered.size());
  for (std::size_t i = 0; i < ordered.size(); ++i) {
    if (ordered[i].name.empty() || !IsEntryDesignNo(ordered[i].designNo) ||
        !SetEntryPath(list[i], ordered[i].name)) {
      return false;
    }
    list[i].destination = static_cast<unsigned char>(destination);
    list[i].designNo = static_cast<unsigned char>(ordered[i].designNo);
  }
  return true;
}

}  // namespace transfer
