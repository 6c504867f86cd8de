// File handling of the store: every open, read, write and close of templates.dat is here.
#include "store.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "template/tmpeng.h"

namespace fs = std::filesystem;

namespace templates::detail {
namespace {

int ErrorNumberFor(int err) {
  switch (err) {
    case ENOENT:
      return kErrFileNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
      return kErrPermissionDenied;
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return kErrDiskFull;
    case EIO:
      return kErrDeviceIO;
    default:
      return kErrPathFileAccess;
  }
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

fs::path FolderOf(const fs::path& store) {
  const fs::path parent = store.parent_path();
  return parent.empty() ? fs::path(".") : parent;
}

}  // namespace

Fd::~Fd() {
  if (fd_ >= 0) ::close(fd_);
}

int Fd::Release() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

int Fd::Close() {
  const int rc = ::close(fd_);
  fd_ = -1;
  return rc;
}

void ThrowSystemError(int err, const fs::path& file, const std::string& action) {
  throw EngineError(ErrorNumberFor(err), file, action + ": " + std::strerror(err));
}

namespace {

bool IsReadOnlyError(int err) {
  return err == EACCES || err == EPERM || err == EROFS;
}

// A write refused for lack of rights says plainly what is read-only, since a store in a
// folder the user cannot write (a system-wide install) can be read but never changed.
[[noreturn]] void ThrowWriteError(int err, const fs::path& store, const std::string& action) {
  if (!IsReadOnlyError(err)) ThrowSystemError(err, store, action);
  // A folder the user may not write (a system-wide install) is named as the cause even
  // where the store inside it was the first thing refused.
  const fs::path folder = FolderOf(store);
  const std::string what = ::access(folder.c_str(), W_OK) != 0
                               ? "the folder " + folder.string()
                               : "the template store " + store.string();
  throw EngineError(
      ErrorNumberFor(err), store,
      action + ": " + what + " is read-only for this user (" + std::strerror(err) + ")");
}

}  // namespace

namespace {

const char* KindOf(mode_t mode) {
  if (S_ISDIR(mode)) return "a folder";
  if (S_ISFIFO(mode)) return "a FIFO (named pipe)";
  if (S_ISCHR(mode)) return "a character device";
  if (S_ISBLK(mode)) return "a block device";
  if (S_ISSOCK(mode)) return "a socket";
  return "something other than a file";
}

[[noreturn]] void ThrowNotRegular(const fs::path& store, mode_t mode) {
  throw EngineError(kErrPathFileAccess, store,
                    std::string("the template store is ") + KindOf(mode) + ", not a regular file");
}

[[noreturn]] void ThrowMissing(const fs::path& store) {
  throw EngineError(kErrFileNotFound, store, "the template store does not exist");
}

}  // namespace

void RequireStore(const fs::path& store) {
  struct stat st;
  if (::stat(store.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) ThrowMissing(store);
    ThrowSystemError(errno, store, "cannot reach the template store");
  }
  if (!S_ISREG(st.st_mode)) ThrowNotRegular(store, st.st_mode);
}

int OpenStoreFile(const fs::path& store, int flags) {
  // Non-blocking, so that a FIFO or a device put in the store's place after the check by
  // RequireStore cannot hold the open; for a regular file the flag changes nothing.
  Fd fd(::open(store.c_str(), flags | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (fd.get() < 0) {
    const int err = errno;
    struct stat st;
    // A FIFO without a reader refuses a writer with ENXIO; name what it is instead.
    if (err == ENXIO && ::stat(store.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
      ThrowNotRegular(store, st.st_mode);
    }
    errno = err;
    return -1;
  }
  struct stat st;
  if (::fstat(fd.get(), &st) != 0)
    ThrowSystemError(errno, store, "cannot reach the template store");
  if (!S_ISREG(st.st_mode)) ThrowNotRegular(store, st.st_mode);
  return fd.Release();
}

std::string ReadStore(const fs::path& store) {
  Fd fd(OpenStoreFile(store, O_RDONLY));
  if (fd.get() < 0) {
    if (errno == ENOENT) ThrowMissing(store);
    ThrowSystemError(errno, store, "cannot open the template store");
  }
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) ThrowSystemError(errno, store, "cannot read the template store");
  std::string data;
  // One byte more than the file, so that the read that meets its end needs no larger buffer.
  data.resize(static_cast<std::size_t>(st.st_size) + 1);
  std::size_t have = 0;
  for (;;) {
    if (have == data.size()) data.resize(data.size() * 2);  // the file grew meanwhile
    const ssize_t n = ::read(fd.get(), data.data() + have, data.size() - have);
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowSystemError(errno, store, "cannot read the template store");
    }
    if (n == 0) break;
    have += static_cast<std::size_t>(n);
  }
  data.resize(have);
  return data;
}

void AppendToStore(const fs::path& store, std::string_view line) {
  // Open for reading too, to look at the last byte.
  Fd fd(OpenStoreFile(store, O_RDWR | O_APPEND));
  if (fd.get() < 0) {
    if (errno == ENOENT) ThrowMissing(store);
    ThrowWriteError(errno, store, "cannot open the template store for writing");
  }
  struct stat st;
  if (::fstat(fd.get(), &st) != 0)
    ThrowSystemError(errno, store, "cannot write the template store");
  // A last line without its line end (a store edited by hand) is ended first; the new line
  // would otherwise run on into it and change that template's value.
  std::string bytes;
  if (st.st_size > 0) {
    char last = '\n';
    ssize_t n;
    do {
      n = ::pread(fd.get(), &last, 1, st.st_size - 1);
    } while (n < 0 && errno == EINTR);
    if (n < 0) ThrowSystemError(errno, store, "cannot read the template store");
    if (n == 1 && last != '\r' && last != '\n') bytes = "\r\n";
  }
  bytes += line;
  if (!WriteAll(fd.get(), bytes) || ::fsync(fd.get()) != 0) {
    const int err = errno;
    // Cut off whatever part of the line made it, so the store keeps only whole lines.
    if (::ftruncate(fd.get(), st.st_size) != 0) {
      // Nothing more can be done; the error below names the original cause.
    }
    ThrowSystemError(err, store, "cannot write the template store");
  }
  if (fd.Close() != 0) ThrowSystemError(errno, store, "cannot write the template store");
}

StoreReader::StoreReader(const fs::path& store) : store_(store), buffer_(65536, '\0') {
  fd_ = OpenStoreFile(store, O_RDONLY);
  if (fd_ < 0) {
    if (errno == ENOENT) ThrowMissing(store);
    ThrowSystemError(errno, store, "cannot open the template store");
  }
}

StoreReader::~StoreReader() {
  if (fd_ >= 0) ::close(fd_);
}

void StoreReader::Fill() {
  if (start_ > 0) {
    std::memmove(buffer_.data(), buffer_.data() + start_, end_ - start_);
    end_ -= start_;
    start_ = 0;
  }
  if (end_ == buffer_.size()) buffer_.resize(buffer_.size() * 2);  // a line longer than a block
  ends_.Reset();
  for (;;) {
    const ssize_t n = ::read(fd_, buffer_.data() + end_, buffer_.size() - end_);
    if (n < 0) {
      if (errno == EINTR) continue;
      ThrowSystemError(errno, store_, "cannot read the template store");
    }
    if (n == 0) eof_ = true;
    end_ += static_cast<std::size_t>(n);
    return;
  }
}

bool StoreReader::Next(std::string_view& line) {
  for (;;) {
    if (skip_lf_ && start_ < end_) {
      if (buffer_[start_] == '\n') ++start_;
      skip_lf_ = false;
    }
    if (!skip_lf_) {
      const std::size_t at = ends_.Next(buffer_.data(), start_, end_);
      if (at < end_) {
        line = std::string_view(buffer_.data() + start_, at - start_);
        start_ = at + 1;
        // The LF of a CR LF may be in the next block; an LF alone has nothing to follow.
        skip_lf_ = buffer_[at] == '\r';
        return true;
      }
    }
    if (eof_) {
      if (start_ >= end_) return false;
      line = std::string_view(buffer_.data() + start_, end_ - start_);
      start_ = end_;
      return true;
    }
    Fill();
  }
}

namespace {

// What mkstemp puts in place of XXXXXX.
bool IsTemporarySuffix(std::string_view s) {
  if (s.size() != 6) return false;
  for (char c : s) {
    const bool alnum = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!alnum) return false;
  }
  return true;
}

// The process id in a temporary file name ".<store>.<pid>.XXXXXX", or 0 when `name` is not
// one of the writer's temporary files of the store named `store`.
pid_t WriterOf(std::string_view name, const std::string& store) {
  if (name.size() < store.size() + 2 || name[0] != '.' ||
      name.compare(1, store.size(), store) != 0 || name[store.size() + 1] != '.') {
    return 0;
  }
  name.remove_prefix(store.size() + 2);
  const std::size_t dot = name.find('.');
  if (dot == std::string_view::npos || dot == 0 || dot > 9 ||
      !IsTemporarySuffix(name.substr(dot + 1))) {
    return 0;
  }
  pid_t pid = 0;
  for (char c : name.substr(0, dot)) {
    if (c < '0' || c > '9') return 0;
    pid = pid * 10 + (c - '0');
  }
  return pid;
}

}  // namespace

void RemoveStaleTemporaryFiles(const fs::path& target) {
  const std::string store = target.filename().string();
  DIR* dir = ::opendir(FolderOf(target).c_str());
  if (!dir) return;  // the temporary file about to be made will fail with the reason
  const int dir_fd = ::dirfd(dir);
  while (const dirent* entry = ::readdir(dir)) {
    const pid_t pid = WriterOf(entry->d_name, store);
    if (pid <= 0 || pid == ::getpid()) continue;
    // Only the writer's own process could still rename it over the store, and a process
    // that is gone never will.
    if (::kill(pid, 0) == 0 || errno != ESRCH) continue;
    struct stat st;
    if (::fstatat(dir_fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) {
      continue;
    }
    ::unlinkat(dir_fd, entry->d_name, 0);
  }
  ::closedir(dir);
}

StoreWriter::StoreWriter(const fs::path& store) : store_(store), target_(store) {
  // A store that is a symbolic link (say into a synchronised folder) is replaced where the
  // link points; renaming over the link itself would put a plain file in its place.
  struct stat link;
  if (::lstat(store.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
    char* resolved = ::realpath(store.c_str(), nullptr);
    if (!resolved) ThrowSystemError(errno, store, "cannot follow the link of the template store");
    target_ = resolved;
    std::free(resolved);
  }
  // The rename would replace a store the user may not write as readily as any other; ask
  // for write access to the store itself first, as an append does.
  {
    Fd probe(OpenStoreFile(target_, O_WRONLY));
    if (probe.get() < 0) {
      if (errno == ENOENT) ThrowMissing(store);
      ThrowWriteError(errno, target_, "cannot open the template store for writing");
    }
  }
  RemoveStaleTemporaryFiles(target_);
  const std::string name = "." + target_.filename().string() + "." + std::to_string(::getpid());
  temp_ = (FolderOf(target_) / (name + ".XXXXXX")).string();
  fd_ = ::mkstemp(temp_.data());
  if (fd_ < 0) ThrowWriteError(errno, target_, "cannot create a temporary file");
  KeepOwnerAndMode();
  buffer_.reserve(65536);
}

void StoreWriter::KeepOwnerAndMode() {
  struct stat st, temp;
  if (::stat(target_.c_str(), &st) != 0 || ::fstat(fd_, &temp) != 0) return;
  // Owner and group first, since a change of owner clears set-id bits of the mode. Only root
  // may give a file away; anyone may pass it to a group they belong to, so that is tried
  // when the owner cannot be kept. What cannot be kept is left as made: the write goes on.
  if (temp.st_uid != st.st_uid || temp.st_gid != st.st_gid) {
    if (::fchown(fd_, st.st_uid, st.st_gid) != 0 && temp.st_gid != st.st_gid) {
      if (::fchown(fd_, static_cast<uid_t>(-1), st.st_gid) != 0) {
        // The group stays the writer's own.
      }
    }
  }
  // mkstemp creates the file private; the new store takes over the old one's permissions.
  if (::fchmod(fd_, st.st_mode & 07777) != 0) Fail(errno, "cannot set permissions of " + temp_);
}

StoreWriter::~StoreWriter() {
  if (fd_ >= 0) {
    ::close(fd_);
    ::unlink(temp_.c_str());
  }
}

void StoreWriter::Fail(int err, const std::string& action) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  ::unlink(temp_.c_str());
  ThrowSystemError(err, store_, action);
}

void StoreWriter::Flush() {
  if (!WriteAll(fd_, buffer_)) Fail(errno, "cannot write " + temp_);
  buffer_.clear();
}

void StoreWriter::Write(std::string_view bytes) {
  if (buffer_.size() + bytes.size() > 65536) Flush();
  if (bytes.size() > 65536) {
    if (!WriteAll(fd_, bytes)) Fail(errno, "cannot write " + temp_);
    return;
  }
  buffer_ += bytes;
}

void StoreWriter::Commit() {
  Flush();
  if (::fsync(fd_) != 0) Fail(errno, "cannot flush " + temp_);
  const int fd = fd_;
  fd_ = -1;
  if (::close(fd) != 0) {
    const int err = errno;
    ::unlink(temp_.c_str());
    ThrowSystemError(err, store_, "cannot write " + temp_);
  }
  if (::rename(temp_.c_str(), target_.c_str()) != 0) {
    const int err = errno;
    ::unlink(temp_.c_str());
    ThrowWriteError(err, target_, "cannot replace the template store");
  }
  // Make the rename itself durable.
  Fd dir(::open(FolderOf(target_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
}

}  // namespace templates::detail
