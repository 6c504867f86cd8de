// Whole files read and written in one call each, checked at every step by what the system
// says.
#include "common/wholefile.h"

#include "common/privatefolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRandomGenerator>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstring>
#include <memory>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The system's own words for an error number.
QString SystemReason(int error) {
  return QString::fromLocal8Bit(std::strerror(error));
}

// What a path that is not a regular file is instead, in words a user knows.
QString NotRegularFile(mode_t mode) {
  QString kind = QCoreApplication::translate("WholeFile", "not a regular file");
  if (S_ISDIR(mode)) {
    kind = QCoreApplication::translate("WholeFile", "a folder");
  } else if (S_ISCHR(mode)) {
    kind = QCoreApplication::translate("WholeFile", "a character device");
  } else if (S_ISBLK(mode)) {
    kind = QCoreApplication::translate("WholeFile", "a block device");
  } else if (S_ISFIFO(mode)) {
    kind = QCoreApplication::translate("WholeFile", "a named pipe (FIFO)");
  } else if (S_ISSOCK(mode)) {
    kind = QCoreApplication::translate("WholeFile", "a socket");
  } else if (S_ISLNK(mode)) {
    kind = QCoreApplication::translate("WholeFile", "a symbolic link");
  }
  return QCoreApplication::translate("WholeFile", "It is %1, not a regular file.").arg(kind);
}

QString TooLarge(qint64 limit) {
  return QCoreApplication::translate("WholeFile",
                                     "The file is larger than %1, too large to read here.")
      .arg(QLocale::c().formattedDataSize(limit, 0, QLocale::DataSizeIecFormat));
}

// A file descriptor closed when it goes out of scope.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;
  int get() const { return fd_; }
  // Closes now and says how: a write the disk refused may first show up here.
  int close() {
    const int result = ::close(fd_);
    fd_ = -1;
    return result;
  }

 private:
  int fd_;
};

// The folder that holds `path` (whose last part is a name).
QByteArray FolderOf(const QByteArray& path) {
  const qsizetype slash = path.lastIndexOf('/');
  return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

// The kernel follows a link in a sticky folder that every user may write to (such as /tmp)
// only for the link's owner or the folder's (fs.protected_symlinks); resolving links here
// would bypass that, so the same rule is applied. Returns the refusal, or an empty string.
QString RefuseForeignLink(const QByteArray& link, const struct stat& st) {
  struct stat folder {};
  if (::stat(FolderOf(link).constData(), &folder) != 0) return QString();
  const bool shared = (folder.st_mode & S_ISVTX) && (folder.st_mode & S_IWOTH);
  if (!shared || st.st_uid == ::geteuid() || st.st_uid == folder.st_uid) return QString();
  return QCoreApplication::translate(
             "WholeFile",
             "%1 is a symbolic link of user %2 in %3, a folder every user may write to; "
             "quorpad does not write through another user's link there.")
      .arg(QFile::decodeName(link), UserName(st.st_uid), QFile::decodeName(FolderOf(link)));
}

// The file a path leads to once every link on the way is followed; a link's target need not
// exist yet. Returns the reason when the links go round in a loop, or when one is another
// user's link in a shared folder.
QString FollowLinks(QByteArray path, QByteArray& target) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(path.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) {
      target = path;
      return QString();
    }
    if (QString refused = RefuseForeignLink(path, st); !refused.isEmpty()) return refused;
    QByteArray link(PATH_MAX, '\0');
    const ssize_t n = ::readlink(path.constData(), link.data(), static_cast<size_t>(link.size()));
    if (n < 0) return SystemReason(errno);
    link.truncate(n);
    if (link.startsWith('/')) {
      path = link;
    } else {
      const qsizetype slash = path.lastIndexOf('/');
      path = slash < 0 ? link : path.left(slash + 1) + link;
    }
  }
  return SystemReason(ELOOP);
}

// Whether the process `pid` is running (or may be: one of another user counts as running).
bool ProcessRuns(long pid) {
  return pid > 0 && pid <= INT_MAX && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

// The temporary file a write goes to, beside the file it replaces; removed again unless it
// took that file's place. Its names are as the *at() calls take them from `at`: an open
// folder, or AT_FDCWD.
class TemporaryFile {
 public:
  explicit TemporaryFile(int at) : at_(at) {}
  ~TemporaryFile() {
    if (!name_.isEmpty()) ::unlinkat(at_, name_.constData(), 0);
  }
  // Creates it in `folder`, hidden, named after `base` and this process; private until it
  // is complete. Those that earlier saves of `base` left behind go first.
  QString create(const QByteArray& folder, QByteArray base) {
    base.truncate(200);  // room for the suffix within the longest name a folder takes
    RemoveLeftTemporaries(at_, folder, base);
    for (int attempt = 0; attempt < 100; ++attempt) {
      const QByteArray name = folder + "/." + base + '.' + QByteArray::number(::getpid()) + '.' +
                              QByteArray::number(QRandomGenerator::global()->generate(), 36) +
                              ".tmp";
      if (const int error = open(name, O_EXCL); error != EEXIST) {
        if (error == 0 || folder == ".") return error == 0 ? QString() : SystemReason(error);
        // The file may be writable while its folder is not: the folder is what refused.
        return QCoreApplication::translate("WholeFile", "no file can be made in its folder %1: %2")
            .arg(QFile::decodeName(folder), SystemReason(error));
      }
    }
    return SystemReason(EEXIST);
  }
  // Opens `name`, which is the caller's alone: one that a write cut short left is emptied.
  QString reuse(const QByteArray& name) {
    const int error = open(name, O_TRUNC | O_NOFOLLOW | O_NOCTTY);
    return error == 0 ? QString() : SystemReason(error);
  }
  int fd() const { return fd_->get(); }
  int close() { return fd_->close(); }
  const QByteArray& name() const { return name_; }
  // It is the file now: nothing is removed.
  void keep() { name_.clear(); }

 private:
  // Returns 0, or the error number.
  int open(const QByteArray& name, int flags) {
    const int fd = ::openat(at_, name.constData(), O_WRONLY | O_CREAT | O_CLOEXEC | flags, 0600);
    if (fd < 0) return errno;
    fd_ = std::make_unique<Descriptor>(fd);
    name_ = name;
    return 0;
  }

  int at_;
  std::unique_ptr<Descriptor> fd_;
  QByteArray name_;
};

QString WriteAll(int fd, std::string_view bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return SystemReason(errno);
    }
    if (n == 0) return SystemReason(EIO);
    done += static_cast<std::size_t>(n);
  }
  return QString();
}

// The process's file creation mask, read without changing it: umask() can only be asked by
// setting it, and for that moment every file another thread creates would take the wrong
// permissions.
mode_t CurrentUmask() {
  // A file of /proc says it is empty until read: read it whole rather than asking atEnd().
  QFile status(QStringLiteral("/proc/self/status"));
  if (status.open(QIODevice::ReadOnly)) {
    for (const QByteArray& line : status.readAll().split('\n')) {
      if (!line.startsWith("Umask:")) continue;
      bool ok = false;
      const uint mask = line.mid(6).trimmed().toUInt(&ok, 8);
      if (ok) return static_cast<mode_t>(mask & 0777);
    }
  }
  return 022;  // the usual mask, where the kernel does not say
}

}  // namespace

// Removes the temporary files that earlier saves of `base` in `folder` (as reached from
// `at`) left behind when their process was killed midway: those named as ours with a process
// id that no longer runs, and owned by this user. A save under way in another process is
// left alone.
void RemoveLeftTemporaries(int at, const QByteArray& folder, const QByteArray& base) {
  const QByteArray prefix = "." + base + '.';
  // A reading of the folder of its own, from its start, whatever `at` has read of it.
  const int fd = ::openat(at, folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  std::unique_ptr<DIR, int (*)(DIR*)> dir(::fdopendir(fd), &::closedir);
  if (!dir) {
    ::close(fd);
    return;
  }
  while (const dirent* entry = ::readdir(dir.get())) {
    const QByteArray name(entry->d_name);
    if (!name.startsWith(prefix) || !name.endsWith(".tmp")) continue;
    const QList<QByteArray> parts = name.mid(prefix.size()).split('.');
    bool number = false;
    const long pid = parts.size() == 3 ? parts.at(0).toLong(&number) : 0;
    if (!number || ProcessRuns(pid)) continue;
    struct stat st {};
    if (::fstatat(::dirfd(dir.get()), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(st.st_mode) && st.st_uid == ::geteuid()) {
      ::unlinkat(::dirfd(dir.get()), entry->d_name, 0);
    }
  }
}

QString ReadWholeFile(const QString& path, qint64 limit, QByteArray& bytes) {
  bytes.clear();
  const QByteArray name = QFile::encodeName(path);
  struct stat st {};
  if (::stat(name.constData(), &st) != 0) return SystemReason(errno);
  // A device or a pipe is never opened at all: an open alone can block or have effects.
  if (!S_ISREG(st.st_mode)) return NotRegularFile(st.st_mode);
  // Should the path become a pipe between the look and the open, the open still returns at
  // once, and the look at what was opened refuses it.
  const Descriptor fd(::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (fd.get() < 0) return SystemReason(errno);
  return ReadWholeDescriptor(fd.get(), limit, bytes);
}

QString ReadWholeDescriptor(int fd, qint64 limit, QByteArray& bytes) {
  bytes.clear();
  struct stat st {};
  if (::fstat(fd, &st) != 0) return SystemReason(errno);
  if (!S_ISREG(st.st_mode)) return NotRegularFile(st.st_mode);
  if (st.st_size > limit) return TooLarge(limit);

  // The reported size is a first guess only: some files report none, and a file may grow
  // while it is read. The read stops one byte past the limit.
  QByteArray buffer;
  buffer.resize(std::min(std::max<qint64>(st.st_size + 1, 4096), limit + 1));
  qint64 have = 0;
  for (;;) {
    if (have == buffer.size()) buffer.resize(std::min(have * 2, limit + 1));
    const ssize_t n = ::read(fd, buffer.data() + have, static_cast<size_t>(buffer.size() - have));
    if (n < 0) {
      if (errno == EINTR) continue;
      return SystemReason(errno);
    }
    if (n == 0) break;
    have += n;
    if (have > limit) return TooLarge(limit);
  }
  buffer.resize(have);
  bytes = std::move(buffer);
  return QString();
}

QString WriteFileAtomically(const QString& path, std::string_view bytes,
                            const AtomicWriteOptions& options) {
  // Every step below goes through *at() calls from `at`: the caller's folder, where the
  // target is a name in it and is never followed, or else the working folder.
  const bool inFolder = options.folder >= 0;
  const int at = inFolder ? options.folder : AT_FDCWD;
  QByteArray target = QFile::encodeName(path);
  QString reason;
  if (!inFolder) reason = FollowLinks(target, target);
  if (!reason.isEmpty()) return reason;

  struct stat old {};
  const bool exists =
      ::fstatat(at, target.constData(), &old, inFolder ? AT_SYMLINK_NOFOLLOW : 0) == 0;
  if (!exists && errno != ENOENT) return SystemReason(errno);
  if (exists) {
    if (!S_ISREG(old.st_mode)) return NotRegularFile(old.st_mode);
    // The rename would replace a file that the user may not write; refuse as a write in
    // place would.
    if (::faccessat(at, target.constData(), W_OK, 0) != 0) return SystemReason(errno);
  }

  const QByteArray folder = inFolder ? QByteArray(".") : FolderOf(target);
  TemporaryFile temp(at);
  if (options.temporary.isEmpty()) {
    reason = temp.create(folder, target.mid(target.lastIndexOf('/') + 1));
  } else {
    reason = temp.reuse(folder + '/' + QFile::encodeName(options.temporary));
  }
  if (!reason.isEmpty()) return reason;
  if (options.userOnly) {
    if (::fchmod(temp.fd(), 0600) != 0) return SystemReason(errno);
  } else if (exists) {
    // Owner and group first, since changing them may clear the mode's special bits. Only
    // root may give a file away; anyone may pass it to a group they belong to, so the group
    // alone is tried when the owner cannot be kept.
    if (::fchown(temp.fd(), old.st_uid, old.st_gid) != 0) {
      [[maybe_unused]] const int grouped = ::fchown(temp.fd(), static_cast<uid_t>(-1), old.st_gid);
    }
    [[maybe_unused]] const int moded = ::fchmod(temp.fd(), old.st_mode & 07777);
  } else {
    [[maybe_unused]] const int moded = ::fchmod(temp.fd(), 0666 & ~CurrentUmask());
  }

  // Every step is checked by what the system says, and the file's size on disk once more
  // before it may replace the old one: nothing short ever takes its place.
  reason = WriteAll(temp.fd(), bytes);
  if (!reason.isEmpty()) return reason;
  // A file system that cannot sync at all says EINVAL; what was written stands all the same.
  if (::fsync(temp.fd()) != 0 && errno != EINVAL) return SystemReason(errno);
  struct stat written {};
  if (::fstat(temp.fd(), &written) != 0) return SystemReason(errno);
  if (written.st_size != static_cast<off_t>(bytes.size())) {
    return QCoreApplication::translate("WholeFile", "Only %1 of %2 bytes reached the disk.")
        .arg(written.st_size)
        .arg(bytes.size());
  }
  if (temp.close() != 0 && errno != EINTR) return SystemReason(errno);
  if (::renameat(at, temp.name().constData(), at, target.constData()) != 0)
    return SystemReason(errno);
  temp.keep();

  // The new name on disk too. The file is in place by now, whatever this says.
  if (inFolder) {
    ::fsync(at);
  } else {
    const Descriptor dir(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0) ::fsync(dir.get());
  }
  return QString();
}

QString WrittenPath(const QString& path) {
  QByteArray target;
  if (!FollowLinks(QFile::encodeName(path), target).isEmpty()) return path;
  return QDir::cleanPath(QFile::decodeName(target));
}
