#pragma once

// File access with results instead of exceptions. Every failure comes back as a
// std::error_code, and "not found" can always be told apart from every other cause, since
// the programs show different messages for the two.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <system_error>
#include <vector>

#include "platform/export.h"

namespace platform {

VELINOR_EXPORT bool IsNotFound(const std::error_code& error);

// Reads the whole file. A file larger than maxBytes is refused with
// std::errc::file_too_large, so a reader never allocates what a hostile file claims.
VELINOR_EXPORT std::error_code ReadWholeFile(const std::filesystem::path& path,
                                             std::vector<uint8_t>& out,
                                             std::size_t maxBytes = SIZE_MAX);

// Reads no more than the first maxBytes of the file (all of it when it is shorter); a
// longer file is not an error. For readers that never look past a known length.
VELINOR_EXPORT std::error_code ReadFileHead(const std::filesystem::path& path,
                                            std::vector<uint8_t>& out, std::size_t maxBytes);

// Removes a file; a file that is not there is reported as not found.
VELINOR_EXPORT std::error_code RemoveFile(const std::filesystem::path& path);

// What tells a file from another put under its name since it was looked at: its file number
// on the volume, its size and the time it was last written (to the nanosecond).
struct FileIdentity {
  uint64_t fileNumber = 0;
  uint64_t size = 0;
  int64_t modifiedSeconds = 0;
  int64_t modifiedNanoseconds = 0;
  bool operator==(const FileIdentity&) const = default;
};
VELINOR_EXPORT std::error_code FileIdentityOf(const std::filesystem::path& path, FileIdentity& identity);

// A file being written, safely: the bytes go to a temporary file beside the target (same
// folder, so the final rename never crosses a file system), which Close() flushes to the
// disk and renames over the target in one step, then syncs the folder. Until then the target
// is untouched, so a write that fails at any point leaves the old file exactly as it was.
// Create() and Write() report separately, since a writer that cannot create its file behaves
// differently from one that fails half way.
//
// What the user set is kept: a replaced file keeps its permission bits (and owner, where the
// process may set it); a target that is a symbolic link is written through to the file it
// points at; a file without write permission for its owner is not replaced (Create() fails
// with permission_denied, for the superuser too). Temporaries that a save cut short left
// beside the target (hidden names ending in ".part") are removed by the next save of it.
class VELINOR_EXPORT OutputFile {
 public:
  OutputFile() = default;
  // A file neither closed nor discarded is discarded: the target is never half replaced.
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Opens the temporary file in the target's folder; a missing folder is "not found".
  std::error_code Create(const std::filesystem::path& path);
  std::error_code Write(std::span<const uint8_t> bytes);
  // Flushes what was written to the disk without replacing the target yet: files that must be
  // replaced together are all flushed first, so that only their renames are left to do.
  std::error_code Flush();
  // Flushes the temporary file to the disk and renames it over the target.
  std::error_code Close();
  // Drops what was written; the target stays as it was (or absent).
  void Discard();

 private:
  void CloseAndRemoveTemporary();

  int fd_ = -1;
  std::filesystem::path path_;
  std::filesystem::path temporary_;
};

// Writes all bytes through an OutputFile: the target is replaced whole or not at all.
VELINOR_EXPORT std::error_code WriteWholeFile(const std::filesystem::path& path,
                                              std::span<const uint8_t> bytes);

}  // namespace platform
