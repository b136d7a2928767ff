#include "platform/file_io.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <string>

#include <fcntl.h>
#include <unistd.h>

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

OutputFile::~OutputFile() { CloseAndRemoveTemporary(); }

void OutputFile::CloseAndRemoveTemporary() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (!temporary_.empty()) {
    ::unlink(temporary_.c_str());
    temporary_.clear();
  }
}

std::error_code OutputFile::Create(const std::filesystem::path& path) {
  CloseAndRemoveTemporary();
  path_ = path;
  const std::filesystem::path folder = path.has_parent_path() ? path.parent_path() : ".";
  static std::atomic<unsigned> serial{0};
  // O_EXCL with a fresh name: a file of the same name left by someone else is never
  // written into; the mode 0666 lets the umask decide, as for any file the user makes.
  for (int attempt = 0; attempt < 100; ++attempt) {
    // The name is cut so that the temporary's name stays within the file system's limit.
    const std::string name = "." + path.filename().string().substr(0, 200) + "." + std::to_string(::getpid()) + "." +
                             std::to_string(serial.fetch_add(1)) + ".part";
    const std::filesystem::path candidate = folder / name;
    const int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      fd_ = fd;
      temporary_ = candidate;
      return {};
    }
    if (errno != EEXIST) return LastError();
  }
  return std::make_error_code(std::errc::file_exists);
}

std::error_code OutputFile::Write(std::span<const uint8_t> bytes) {
  if (fd_ < 0) return std::make_error_code(std::errc::bad_file_descriptor);
  std::size_t done = 0;
  while (done < bytes.size()) {
    errno = 0;  // a short write that sets no cause must not pass for an old "not found"
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return errno ? LastError() : std::make_error_code(std::errc::io_error);
    done += static_cast<std::size_t>(n);
  }
  return {};
}

std::error_code OutputFile::Close() {
  if (fd_ < 0) return temporary_.empty() ? std::error_code() : std::make_error_code(std::errc::bad_file_descriptor);
  std::error_code error;
  if (::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS) error = LastError();
  if (::close(fd_) != 0 && !error) error = LastError();
  fd_ = -1;
  if (!error && ::rename(temporary_.c_str(), path_.c_str()) != 0) error = LastError();
  if (error) {
    CloseAndRemoveTemporary();
    return error;
  }
  temporary_.clear();
  return {};
}

void OutputFile::Discard() { CloseAndRemoveTemporary(); }

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
