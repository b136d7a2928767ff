#include "platform/file_io.h"

#include <algorithm>
#include <cerrno>

namespace platform {

namespace {

std::error_code LastError() { return std::error_code(errno, std::generic_category()); }

}  // namespace

bool IsNotFound(const std::error_code& error) {
  return error == std::errc::no_such_file_or_directory;
}

std::error_code ReadFileHead(const std::filesystem::path& path, std::vector<uint8_t>& out,
                             std::size_t maxBytes) {
  out.clear();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (!file) return LastError();
  std::error_code result;
  uint8_t chunk[65536];
  while (out.size() < maxBytes) {
    const std::size_t want = std::min(sizeof chunk, maxBytes - out.size());
    const std::size_t got = std::fread(chunk, 1, want, file);
    out.insert(out.end(), chunk, chunk + got);
    if (got < want) {
      if (std::ferror(file)) result = std::make_error_code(std::errc::io_error);
      break;
    }
  }
  std::fclose(file);
  if (result) out.clear();
  return result;
}

std::error_code ReadWholeFile(const std::filesystem::path& path, std::vector<uint8_t>& out,
                              std::size_t maxBytes) {
  // One byte more than allowed tells a file that is too large from one that just fits.
  const std::size_t probe = maxBytes == SIZE_MAX ? maxBytes : maxBytes + 1;
  if (std::error_code error = ReadFileHead(path, out, probe)) return error;
  if (out.size() > maxBytes) {
    out.clear();
    return std::make_error_code(std::errc::file_too_large);
  }
  return {};
}

std::error_code RemoveFile(const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::remove(path, error) && !error) {
    error = std::make_error_code(std::errc::no_such_file_or_directory);
  }
  return error;
}

OutputFile::~OutputFile() {
  if (file_) std::fclose(file_);
}

std::error_code OutputFile::Create(const std::filesystem::path& path) {
  if (file_) {
    std::fclose(file_);
    file_ = nullptr;
  }
  path_ = path;
  file_ = std::fopen(path.c_str(), "wb");
  return file_ ? std::error_code() : LastError();
}

std::error_code OutputFile::Write(std::span<const uint8_t> bytes) {
  if (!file_) return std::make_error_code(std::errc::bad_file_descriptor);
  if (bytes.empty()) return {};
  errno = 0;  // a short write that sets no cause must not pass for an old "not found"
  if (std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) {
    return errno ? LastError() : std::make_error_code(std::errc::io_error);
  }
  return {};
}

std::error_code OutputFile::Close() {
  if (!file_) return {};
  std::FILE* file = file_;
  file_ = nullptr;
  errno = 0;
  const bool flushed = std::fflush(file) == 0;
  const std::error_code flushError = flushed ? std::error_code() : LastError();
  const bool closed = std::fclose(file) == 0;
  if (!flushed) return flushError;
  return closed ? std::error_code() : LastError();
}

void OutputFile::Discard() {
  if (file_) {
    std::fclose(file_);
    file_ = nullptr;
  }
  if (!path_.empty()) {
    std::error_code ignored;
    std::filesystem::remove(path_, ignored);
  }
}

std::error_code WriteWholeFile(const std::filesystem::path& path,
                               std::span<const uint8_t> bytes) {
  OutputFile file;
  if (auto error = file.Create(path)) return error;
  std::error_code error = file.Write(bytes);
  if (!error) error = file.Close();
  if (error) file.Discard();
  return error;
}

}  // namespace platform
