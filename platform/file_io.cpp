#include "platform/file_io.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <string>
#include <string_view>
#include <utility>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

namespace {

std::error_code LastError() { return std::error_code(errno, std::generic_category()); }

// A temporary file is named ".<target's name>.<process>.<serial>.part": hidden, and never
// ending in the target's extension, so no file list that lists designs, layouts or pictures
// by their extension ever shows one.
constexpr char kTemporaryEnd[] = ".part";
// A file moved aside while its replacement goes in place ends otherwise: a clean-up of
// left-over temporaries never takes it, since it may be the only copy of the user's file.
constexpr char kAsideEnd[] = ".old";
// The name is cut so that the temporary's name stays within the file system's limit.
constexpr std::size_t kTemporaryNameKept = 200;
// As many links as the system itself follows before it gives up.
constexpr int kMostLinksFollowed = 40;

std::string TemporaryPrefix(const std::string& name) {
  return "." + name.substr(0, kTemporaryNameKept) + ".";
}

// Follows the target's name through symbolic links to the file they point at (a relative link
// from its own folder). A name that is no link, or not there yet, is the target itself.
std::error_code ResolveLinks(const std::filesystem::path& path, std::filesystem::path& target) {
  target = path;
  for (int links = 0; links < kMostLinksFollowed; ++links) {
    struct stat status {};
    if (::lstat(target.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return {};
    std::error_code error;
    const std::filesystem::path pointed = std::filesystem::read_symlink(target, error);
    if (error) return error;
    target = pointed.is_absolute() ? pointed : target.parent_path() / pointed;
  }
  return std::make_error_code(std::errc::too_many_symbolic_link_levels);
}

bool LockAgainstCleanUp(int fd) {
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return true;
  // A file system without locks leaves the file unlocked; the clean-up cannot lock it either,
  // so it never removes it.
  return errno != EWOULDBLOCK;
}

bool IsDigits(std::string_view text) {
  return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// The names of the entries of the folder held open as folder.
std::error_code ListFolder(int folder, std::vector<std::string>& names) {
  names.clear();
  const int fd = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return LastError();
  DIR* dir = ::fdopendir(fd);
  if (!dir) {
    const std::error_code error = LastError();
    ::close(fd);
    return error;
  }
  while (const dirent* entry = ::readdir(dir)) {
    const std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  ::closedir(dir);
  return {};
}

// The temporaries of this target that a save left behind when it was cut short (the program
// ended or the machine went down before the rename): named as this target's, and not locked by
// a save that is still writing. Only such files are removed, never anything else.
void RemoveLeftoverTemporaries(int folder, const std::string& prefix) {
  std::vector<std::string> names;
  if (ListFolder(folder, names)) return;
  for (const std::string& name : names) {
    if (name.size() <= prefix.size() + sizeof kTemporaryEnd - 1 || name.compare(0, prefix.size(), prefix) != 0 ||
        !name.ends_with(kTemporaryEnd)) {
      continue;
    }
    const std::string_view middle =
        std::string_view(name).substr(prefix.size(), name.size() - prefix.size() - (sizeof kTemporaryEnd - 1));
    const std::size_t dot = middle.find('.');
    if (dot == std::string_view::npos || !IsDigits(middle.substr(0, dot)) || !IsDigits(middle.substr(dot + 1))) {
      continue;
    }
    int fd = ::openat(folder, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) fd = ::openat(folder, name.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat status {};
    if (::fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      ::unlinkat(folder, name.c_str(), 0);
    }
    ::close(fd);
  }
}

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

std::error_code FileIdentityOf(const std::filesystem::path& path, FileIdentity& identity) {
  identity = {};
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) return {errno, std::generic_category()};
  identity = {static_cast<uint64_t>(info.st_ino), static_cast<uint64_t>(info.st_size),
              static_cast<int64_t>(info.st_mtim.tv_sec), static_cast<int64_t>(info.st_mtim.tv_nsec)};
  return {};
}

FolderHandle::~FolderHandle() {
  if (fd_ >= 0) ::close(fd_);
}

FolderHandle::FolderHandle(FolderHandle&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}

FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = std::exchange(other.fd_, -1);
  }
  return *this;
}

std::error_code FolderHandle::Open(const std::filesystem::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return LastError();
  *this = FolderHandle();
  fd_ = fd;
  return {};
}

std::error_code FolderHandle::OpenOrMake(const FolderHandle& parent, const std::string& name, bool& made) {
  made = ::mkdirat(parent.fd_, name.c_str(), 0777) == 0;
  if (!made && errno != EEXIST) return LastError();
  const int fd = ::openat(parent.fd_, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    const std::error_code error = LastError();
    if (made) ::unlinkat(parent.fd_, name.c_str(), AT_REMOVEDIR);
    made = false;
    return error;
  }
  *this = FolderHandle();
  fd_ = fd;
  return {};
}

std::error_code FolderHandle::RemoveFolder(const std::string& name) const {
  return ::unlinkat(fd_, name.c_str(), AT_REMOVEDIR) == 0 ? std::error_code() : LastError();
}

std::error_code FolderHandle::RemoveFile(const std::string& name) const {
  struct stat status {};
  if (::fstatat(fd_, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) return LastError();
  if (!S_ISREG(status.st_mode)) return std::make_error_code(std::errc::operation_not_permitted);
  return ::unlinkat(fd_, name.c_str(), 0) == 0 ? std::error_code() : LastError();
}

std::error_code FolderHandle::List(std::vector<std::string>& names) const { return ListFolder(fd_, names); }

std::error_code FolderHandle::MoveAside(const std::string& name, std::string& aside) const {
  aside.clear();
  struct stat status {};
  if (::fstatat(fd_, name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) return LastError();
  if (S_ISDIR(status.st_mode)) return std::make_error_code(std::errc::is_a_directory);
  if (!S_ISREG(status.st_mode)) return std::make_error_code(std::errc::operation_not_permitted);
  static std::atomic<unsigned> serial{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string candidate = TemporaryPrefix(name) + std::to_string(::getpid()) + "." +
                                  std::to_string(serial.fetch_add(1)) + kAsideEnd;
    // Never onto another entry: the name is fresh when nothing stands there.
    struct stat taken {};
    if (::fstatat(fd_, candidate.c_str(), &taken, AT_SYMLINK_NOFOLLOW) == 0) continue;
    if (errno != ENOENT) return LastError();
    if (::renameat(fd_, name.c_str(), fd_, candidate.c_str()) != 0) return LastError();
    aside = candidate;
    return {};
  }
  return std::make_error_code(std::errc::file_exists);
}

std::error_code FolderHandle::Rename(const std::string& from, const std::string& to) const {
  return ::renameat(fd_, from.c_str(), fd_, to.c_str()) == 0 ? std::error_code() : LastError();
}

std::error_code FolderHandle::ReadFileHead(const std::string& name, std::vector<uint8_t>& out,
                                           std::size_t maxBytes) const {
  out.clear();
  const int fd = ::openat(fd_, name.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return LastError();
  std::error_code error;
  struct stat status {};
  if (::fstat(fd, &status) != 0) {
    error = LastError();
  } else if (!S_ISREG(status.st_mode)) {
    error = std::make_error_code(std::errc::operation_not_permitted);
  }
  uint8_t chunk[4096];
  while (!error && out.size() < maxBytes) {
    const ssize_t n = ::read(fd, chunk, std::min(sizeof chunk, maxBytes - out.size()));
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) error = LastError();
    if (n <= 0) break;
    out.insert(out.end(), chunk, chunk + n);
  }
  ::close(fd);
  if (error) out.clear();
  return error;
}

OutputFile::~OutputFile() { CloseAndRemoveTemporary(); }

void OutputFile::CloseAndRemoveTemporary() {
  // Removed before it is closed: the lock on it keeps another save's clean-up away until then.
  // Removed through the folder it was made in, never from whatever now stands at its path.
  if (!temporary_.empty()) {
    ::unlinkat(folder_, temporary_.c_str(), 0);
    temporary_.clear();
  }
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
  if (folder_ >= 0) {
    ::close(folder_);
    folder_ = -1;
  }
}

std::error_code OutputFile::Create(const std::filesystem::path& path) {
  CloseAndRemoveTemporary();
  // A link is written through: the file it points at is replaced and the link stays a link.
  std::filesystem::path target;
  if (std::error_code error = ResolveLinks(path, target)) return error;
  // The folder's path may lead through links of its own; only the name itself was resolved.
  const std::filesystem::path folder = target.has_parent_path() ? target.parent_path() : ".";
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return LastError();
  const std::error_code error = CreateRelative(fd, target.filename().string());
  ::close(fd);
  return error;
}

std::error_code OutputFile::CreateIn(const FolderHandle& folder, const std::string& name) {
  CloseAndRemoveTemporary();
  if (!folder.IsOpen()) return std::make_error_code(std::errc::bad_file_descriptor);
  return CreateRelative(folder.Descriptor(), name);
}

std::error_code OutputFile::CreateRelative(int folder, const std::string& name) {
  const std::string prefix = TemporaryPrefix(name);

  // What the user set on the file being replaced is kept: its permission bits and owner. A
  // file without write permission for its owner is not replaced, whoever runs the program
  // (the file system lets the superuser write anything).
  struct stat existing {};
  const bool replacing =
      ::fstatat(folder, name.c_str(), &existing, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(existing.st_mode);
  if (replacing && (existing.st_mode & S_IWUSR) == 0) return std::make_error_code(std::errc::permission_denied);

  RemoveLeftoverTemporaries(folder, prefix);
  static std::atomic<unsigned> serial{0};
  // O_EXCL with a fresh name: a file of the same name left by someone else is never
  // written into; a new file's mode 0666 lets the umask decide, as for any file the user
  // makes. A replacement starts private and takes the old file's bits below.
  const mode_t mode = replacing ? S_IRUSR | S_IWUSR : 0666;
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::string candidate =
        prefix + std::to_string(::getpid()) + "." + std::to_string(serial.fetch_add(1)) + kTemporaryEnd;
    const int fd =
        ::openat(folder, candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return LastError();
    }
    // Locked while it is written, so that another save of the same file never takes it for
    // a left-over; one that another save's clean-up locked (and so removes) is given up.
    struct stat made {};
    if (!LockAgainstCleanUp(fd) || ::fstat(fd, &made) != 0 || made.st_nlink == 0) {
      ::close(fd);
      continue;
    }
    if (replacing) {
      // Best effort: a file system without owners or modes (a card) keeps its own.
      if (made.st_uid != existing.st_uid || made.st_gid != existing.st_gid) {
        (void)!::fchown(fd, existing.st_uid, existing.st_gid);
      }
      (void)!::fchmod(fd, existing.st_mode & 07777);
    }
    // The folder is held until the rename: the file goes in place within it, wherever its
    // path leads by then.
    folder_ = ::fcntl(folder, F_DUPFD_CLOEXEC, 0);
    if (folder_ < 0) {
      const std::error_code error = LastError();
      ::unlinkat(folder, candidate.c_str(), 0);
      ::close(fd);
      return error;
    }
    fd_ = fd;
    temporary_ = candidate;
    name_ = name;
    return {};
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

std::error_code OutputFile::Flush() {
  if (fd_ < 0) return std::make_error_code(std::errc::bad_file_descriptor);
  if (::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS) return LastError();
  return {};
}

std::error_code OutputFile::Close() {
  if (fd_ < 0) return temporary_.empty() ? std::error_code() : std::make_error_code(std::errc::bad_file_descriptor);
  std::error_code error;
  if (::fsync(fd_) != 0 && errno != EINVAL && errno != EROFS) error = LastError();
  if (!error && ::renameat(folder_, temporary_.c_str(), folder_, name_.c_str()) != 0) error = LastError();
  if (error) {
    CloseAndRemoveTemporary();
    return error;
  }
  // Closed only now: until the rename it stays locked against another save's clean-up. Its
  // bytes are on the disk already, so closing it can fail nothing.
  ::close(fd_);
  fd_ = -1;
  temporary_.clear();
  // Makes the rename itself lasting. The new file is in place by now and the old one gone, so a
  // folder that cannot be synced changes nothing the caller could still undo.
  ::fsync(folder_);
  ::close(folder_);
  folder_ = -1;
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
