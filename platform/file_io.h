#pragma once

// File access with results instead of exceptions. Every failure comes back as a
// std::error_code, and "not found" can always be told apart from every other cause, since
// the programs show different messages for the two.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <span>
#include <string>
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
// A folder held open. What is made, renamed or removed through it stays in that very folder,
// on the volume it was opened on, whatever later comes to stand at its path: a card pulled out
// and a folder of the same name on the PC's own disk in its place take nothing.
class VELINOR_EXPORT FolderHandle {
 public:
  FolderHandle() = default;
  ~FolderHandle();
  FolderHandle(FolderHandle&& other) noexcept;
  FolderHandle& operator=(FolderHandle&& other) noexcept;
  FolderHandle(const FolderHandle&) = delete;
  FolderHandle& operator=(const FolderHandle&) = delete;

  // Opens the folder at path; a link standing at path itself is not followed.
  std::error_code Open(const std::filesystem::path& path);
  // Opens the folder name inside parent, making it first when it is missing (made tells); a
  // link standing there is not followed.
  std::error_code OpenOrMake(const FolderHandle& parent, const std::string& name, bool& made);
  // Removes the empty folder name inside this one.
  std::error_code RemoveFolder(const std::string& name) const;
  // Removes the file name of this folder, only when it is a plain file.
  std::error_code RemoveFile(const std::string& name) const;
  // The names of the folder's entries.
  std::error_code List(std::vector<std::string>& names) const;
  // Moves the plain file name of this folder aside, within it, to a fresh hidden name
  // (".<name>.<process>.<serial>.old"), which aside receives: a file about to be replaced stays
  // whole there until the replacement is known to have gone in place. A name that is not there
  // is not found; a folder or anything else but a plain file is left where it is (is_a_directory
  // or operation_not_permitted).
  std::error_code MoveAside(const std::string& name, std::string& aside) const;
  // Renames the entry from of this folder to to, within it, replacing a file standing there.
  std::error_code Rename(const std::string& from, const std::string& to) const;
  // Reads no more than the first maxBytes of the plain file name of this folder (all of it when
  // it is shorter); a link, folder or device standing there is refused, and never waited on.
  std::error_code ReadFileHead(const std::string& name, std::vector<uint8_t>& out, std::size_t maxBytes) const;

  bool IsOpen() const { return fd_ >= 0; }
  int Descriptor() const { return fd_; }

 private:
  int fd_ = -1;
};

class VELINOR_EXPORT OutputFile {
 public:
  OutputFile() = default;
  // A file neither closed nor discarded is discarded: the target is never half replaced.
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Opens the temporary file in the target's folder; a missing folder is "not found".
  std::error_code Create(const std::filesystem::path& path);
  // The same for the file name of a folder held open: the temporary is made in that folder and
  // renamed within it, wherever its path leads by then. A link standing at name is replaced,
  // not written through.
  std::error_code CreateIn(const FolderHandle& folder, const std::string& name);
  // The temporary file being written (for a look at the file system it lies on), -1 when none.
  int Descriptor() const { return fd_; }
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
  std::error_code CreateRelative(int folder, const std::string& name);

  int fd_ = -1;
  int folder_ = -1;        // the folder the temporary and the target lie in, held open
  std::string name_;       // the target's name in it
  std::string temporary_;  // the temporary's name in it
};

// Writes all bytes through an OutputFile: the target is replaced whole or not at all.
VELINOR_EXPORT std::error_code WriteWholeFile(const std::filesystem::path& path,
                                              std::span<const uint8_t> bytes);

}  // namespace platform
