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

// A file being written. Create() and Write() report separately, since a writer that
// cannot create its file behaves differently from one that fails half way.
class VELINOR_EXPORT OutputFile {
 public:
  OutputFile() = default;
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  std::error_code Create(const std::filesystem::path& path);  // creates or truncates
  std::error_code Write(std::span<const uint8_t> bytes);
  std::error_code Close();  // flushes; the file stays
  // Closes and deletes what was written, for a write that failed part way.
  void Discard();

 private:
  std::FILE* file_ = nullptr;
  std::filesystem::path path_;
};

// Creates (or truncates) the file and writes all bytes. On any failure after the file was
// created, the partial file is removed.
VELINOR_EXPORT std::error_code WriteWholeFile(const std::filesystem::path& path,
                                              std::span<const uint8_t> bytes);

}  // namespace platform
