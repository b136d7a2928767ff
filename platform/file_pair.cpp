#include "platform/file_pair.h"

#include <atomic>
#include <cerrno>
#include <string>
#include <vector>

#include <fcntl.h>
#include <unistd.h>

namespace platform {

namespace {

std::error_code LastError() { return std::error_code(errno, std::generic_category()); }

// One target's temporary file; removed unless it was renamed over its target.
struct Staged {
  std::filesystem::path target;
  std::filesystem::path temporary;
  int fd = -1;
  ~Staged() {
    if (fd >= 0) ::close(fd);
    if (!temporary.empty()) ::unlink(temporary.c_str());
  }
};

std::filesystem::path FolderOf(const std::filesystem::path& path) {
  return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

// A fresh ".name.pid.n.part" beside the target, made with O_EXCL so that no file of the
// same name is ever written into.
std::error_code CreateBeside(Staged& staged) {
  static std::atomic<unsigned> serial{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path candidate =
        FolderOf(staged.target) / ("." + staged.target.filename().string().substr(0, 200) + "." +
                                   std::to_string(::getpid()) + ".t" + std::to_string(serial.fetch_add(1)) + ".part");
    staged.fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (staged.fd >= 0) {
      staged.temporary = candidate;
      return {};
    }
    if (errno != EEXIST) return LastError();
  }
  return std::make_error_code(std::errc::file_exists);
}

std::error_code WriteAndFlush(Staged& staged, std::span<const uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    errno = 0;
    const ssize_t n = ::write(staged.fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return errno ? LastError() : std::make_error_code(std::errc::io_error);
    done += static_cast<std::size_t>(n);
  }
  std::error_code error;
  if (::fsync(staged.fd) != 0 && errno != EINVAL && errno != EROFS) error = LastError();
  if (::close(staged.fd) != 0 && !error) error = LastError();
  staged.fd = -1;
  return error;
}

}  // namespace

std::error_code WriteFilesTogether(std::span<const FileToWrite> files, std::filesystem::path* failedPath) {
  std::vector<Staged> staged(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    staged[i].target = files[i].path;
    std::error_code error = CreateBeside(staged[i]);
    if (!error) error = WriteAndFlush(staged[i], files[i].bytes);
    if (error) {
      if (failedPath) *failedPath = files[i].path;
      return error;  // every temporary file goes with `staged`
    }
  }
  // Every file is complete on the disk: the renames need no room and replace each target in
  // one step.
  for (Staged& file : staged) {
    if (::rename(file.temporary.c_str(), file.target.c_str()) != 0) {
      if (failedPath) *failedPath = file.target;
      return LastError();
    }
    file.temporary.clear();
  }
  // The renames themselves reach the disk with their folders.
  for (const Staged& file : staged) {
    const int folder = ::open(FolderOf(file.target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) continue;
    ::fsync(folder);
    ::close(folder);
  }
  return {};
}

}  // namespace platform
