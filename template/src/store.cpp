// File handling of the store: every open, read, write and close of templates.dat is here.
#include "store.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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

// Closes a descriptor when it goes out of scope.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  // Closes now and reports the result, since a failed close can mean lost data.
  int Close() {
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc;
  }

 private:
  int fd_;
};

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

StoreLock::StoreLock(const fs::path& store, Mode mode) {
  const std::string lock_path = store.string() + ".lock";
  fd_ = ::open(lock_path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
  if (fd_ < 0) fd_ = ::open(lock_path.c_str(), O_RDONLY | O_CLOEXEC);
  // Where no lock file can exist (a read-only folder), nobody can write the store either,
  // so working without the lock loses nothing.
  if (fd_ < 0) return;
  const int op = mode == Mode::kShared ? LOCK_SH : LOCK_EX;
  while (::flock(fd_, op) != 0) {
    if (errno != EINTR) break;
  }
}

StoreLock::~StoreLock() {
  if (fd_ >= 0) ::close(fd_);  // closing the descriptor releases the lock
}

void RequireStore(const fs::path& store) {
  struct stat st;
  if (::stat(store.c_str(), &st) != 0) {
    if (errno == ENOENT || errno == ENOTDIR) {
      throw EngineError(kErrFileNotFound, store, "the template store does not exist");
    }
    ThrowSystemError(errno, store, "cannot reach the template store");
  }
}

std::string ReadStore(const fs::path& store) {
  Fd fd(::open(store.c_str(), O_RDONLY | O_CLOEXEC));
  if (fd.get() < 0) {
    if (errno == ENOENT) {
      throw EngineError(kErrFileNotFound, store, "the template store does not exist");
    }
    ThrowSystemError(errno, store, "cannot open the template store");
  }
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) ThrowSystemError(errno, store, "cannot read the template store");
  if (S_ISDIR(st.st_mode)) ThrowSystemError(EISDIR, store, "cannot read the template store");
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

void AppendToStore(const fs::path& store, std::string_view bytes) {
  Fd fd(::open(store.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC));
  if (fd.get() < 0) {
    if (errno == ENOENT) {
      throw EngineError(kErrFileNotFound, store, "the template store does not exist");
    }
    ThrowWriteError(errno, store, "cannot open the template store for writing");
  }
  struct stat st;
  if (::fstat(fd.get(), &st) != 0)
    ThrowSystemError(errno, store, "cannot write the template store");
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
  fd_ = ::open(store.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd_ < 0) {
    if (errno == ENOENT) {
      throw EngineError(kErrFileNotFound, store, "the template store does not exist");
    }
    ThrowSystemError(errno, store, "cannot open the template store");
  }
  struct stat st;
  const bool known = ::fstat(fd_, &st) == 0;
  if (!known || S_ISDIR(st.st_mode)) {
    const int err = known ? EISDIR : errno;
    ::close(fd_);
    ThrowSystemError(err, store, "cannot read the template store");
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
      const void* cr = std::memchr(buffer_.data() + start_, '\r', end_ - start_);
      if (cr) {
        const std::size_t at =
            static_cast<std::size_t>(static_cast<const char*>(cr) - buffer_.data());
        line = std::string_view(buffer_.data() + start_, at - start_);
        start_ = at + 1;
        skip_lf_ = true;
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

StoreWriter::StoreWriter(const fs::path& store) : store_(store) {
  // The rename would replace a store the user may not write as readily as any other; ask
  // for write access to the store itself first, as an append does.
  {
    Fd probe(::open(store.c_str(), O_WRONLY | O_CLOEXEC));
    if (probe.get() < 0) {
      ThrowWriteError(errno, store, "cannot open the template store for writing");
    }
  }
  const fs::path folder = FolderOf(store);
  temp_ = (folder / (store.filename().string() + ".XXXXXX")).string();
  fd_ = ::mkstemp(temp_.data());
  if (fd_ < 0) ThrowWriteError(errno, store, "cannot create a temporary file");
  // The new file takes over the old one's permissions; mkstemp creates it private.
  struct stat st;
  if (::stat(store.c_str(), &st) == 0) {
    if (::fchmod(fd_, st.st_mode & 07777) != 0) Fail(errno, "cannot set permissions of " + temp_);
  }
  buffer_.reserve(65536);
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
  if (::rename(temp_.c_str(), store_.c_str()) != 0) {
    const int err = errno;
    ::unlink(temp_.c_str());
    ThrowWriteError(err, store_, "cannot replace the template store");
  }
  // Make the rename itself durable.
  Fd dir(::open(FolderOf(store_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
}

}  // namespace templates::detail
