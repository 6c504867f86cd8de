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
[[noreturn]] void ThrowWriteError(int err, const fs::path& store, const std::string& action,
                                  bool folder) {
  if (!IsReadOnlyError(err)) ThrowSystemError(err, store, action);
  const std::string what =
      folder ? "the folder " + FolderOf(store).string() : "the template store " + store.string();
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
  data.resize(static_cast<std::size_t>(st.st_size));
  std::size_t have = 0;
  for (;;) {
    if (have == data.size()) data.resize(data.size() + 65536);  // the file grew meanwhile
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
    ThrowWriteError(errno, store, "cannot open the template store for writing", false);
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

void ReplaceStore(const fs::path& store, std::string_view content) {
  // The rename would replace a store the user may not write as readily as any other; ask
  // for write access to the store itself first, as an append does.
  {
    Fd probe(::open(store.c_str(), O_WRONLY | O_CLOEXEC));
    if (probe.get() < 0) {
      ThrowWriteError(errno, store, "cannot open the template store for writing", false);
    }
  }
  const fs::path folder = FolderOf(store);
  std::string temp = (folder / (store.filename().string() + ".XXXXXX")).string();
  Fd fd(::mkstemp(temp.data()));
  if (fd.get() < 0) ThrowWriteError(errno, store, "cannot create a temporary file", true);
  auto fail = [&](int err, const std::string& action) {
    ::unlink(temp.c_str());
    ThrowSystemError(err, store, action);
  };
  // The new file takes over the old one's permissions; mkstemp creates it private.
  struct stat st;
  if (::stat(store.c_str(), &st) == 0) {
    if (::fchmod(fd.get(), st.st_mode & 07777) != 0)
      fail(errno, "cannot set permissions of " + temp);
  }
  if (!WriteAll(fd.get(), content)) fail(errno, "cannot write " + temp);
  if (::fsync(fd.get()) != 0) fail(errno, "cannot flush " + temp);
  if (fd.Close() != 0) fail(errno, "cannot write " + temp);
  if (::rename(temp.c_str(), store.c_str()) != 0) {
    const int err = errno;
    ::unlink(temp.c_str());
    ThrowWriteError(err, store, "cannot replace the template store", true);
  }
  // Make the rename itself durable.
  Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
}

}  // namespace templates::detail
