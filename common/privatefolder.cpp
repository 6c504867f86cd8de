// Folders of the user's own, reached through one descriptor and never through a link.
#include "common/privatefolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <string_view>
#include <system_error>
#include <vector>

#include "common/wholefile.h"

namespace {

QByteArray Native(const QString& name) {
  return QFile::encodeName(name);
}

QString Reason(int error) {
  return QString::fromStdString(std::generic_category().message(error));
}

// Why a file or folder with `st` is not the user's own; empty when it is.
QString NotOwn(const struct stat& st) {
  if (st.st_uid != ::geteuid())
    return QCoreApplication::translate("PrivateFolder", "it belongs to another user (%1, uid %2)")
        .arg(UserName(st.st_uid), QString::number(st.st_uid));
  if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0)
    return QCoreApplication::translate("PrivateFolder", "other users may write to it (mode %1)")
        .arg(st.st_mode & 07777, 4, 8, QLatin1Char('0'));
  return QString();
}

// Makes `path` with `mode` and its missing parents as any folder; 0, or the error that kept
// the first missing one from being made (a read-only home, say), which is the reason to
// give rather than the folder's absence.
int Make(const QString& path, mode_t mode = 0700) {
  const QByteArray name = Native(path);
  if (::mkdir(name.constData(), mode) == 0 || errno == EEXIST) return 0;
  if (errno != ENOENT) return errno;
  const QString parent = QFileInfo(path).path();
  if (parent == path) return ENOENT;
  if (const int error = Make(parent, 0777)) return error;
  return ::mkdir(name.constData(), mode) == 0 || errno == EEXIST ? 0 : errno;
}

}  // namespace

QString StateFolder() {
  QString base = qEnvironmentVariable("XDG_STATE_HOME");
  if (base.isEmpty() || QDir::isRelativePath(base))
    base = QDir::homePath() + QStringLiteral("/.local/state");
  return QDir(base).filePath(QStringLiteral("quorpad"));
}

QString UserName(unsigned uid) {
  struct passwd entry {};
  struct passwd* found = nullptr;
  std::vector<char> buffer(16384);
  if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found)
    return QString::fromLocal8Bit(found->pw_name);
  return QString::number(uid);
}

int PrivateFolder::openChecked(const QString& path, bool create, QString& why, bool& unsafe) {
  unsafe = false;
  const QByteArray name = Native(path);
  const int made = create ? Make(path) : 0;
  const int fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno == ENOENT && made != 0 ? made : errno;
    struct stat link {};
    unsafe = ::lstat(name.constData(), &link) == 0 && S_ISLNK(link.st_mode);
    why = unsafe ? QCoreApplication::translate("PrivateFolder", "it is a symbolic link")
                 : Reason(error);
    return -1;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    why = Reason(errno);
    ::close(fd);
    return -1;
  }
  why = NotOwn(st);
  if (!why.isEmpty()) {
    unsafe = true;
    ::close(fd);
    return -1;
  }
  return fd;
}

std::shared_ptr<PrivateFolder> PrivateFolder::open(const QString& path, bool create, QString& why,
                                                   bool& unsafe) {
  const int fd = openChecked(path, create, why, unsafe);
  if (fd < 0) return nullptr;
  return std::shared_ptr<PrivateFolder>(new PrivateFolder(path, fd));
}

std::shared_ptr<PrivateFolder> PrivateFolder::child(const QString& name, bool create, QString& why,
                                                    bool& unsafe) const {
  // Made and opened through this folder's descriptor, never through the path again: a folder
  // above that was swapped for a link since it was checked leads nowhere.
  unsafe = false;
  const QByteArray native = Native(name);
  if (create) ::mkdirat(fd_, native.constData(), 0700);
  const int fd = ::openat(fd_, native.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    struct stat link {};
    unsafe = ::fstatat(fd_, native.constData(), &link, AT_SYMLINK_NOFOLLOW) == 0 &&
             S_ISLNK(link.st_mode);
    why = unsafe ? QCoreApplication::translate("PrivateFolder", "it is a symbolic link")
                 : Reason(error);
    return nullptr;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    why = Reason(errno);
  } else {
    why = NotOwn(st);
    unsafe = !why.isEmpty();
  }
  if (!why.isEmpty()) {
    ::close(fd);
    return nullptr;
  }
  return std::shared_ptr<PrivateFolder>(new PrivateFolder(filePath(name), fd));
}

PrivateFolder::~PrivateFolder() {
  ::close(fd_);
}

QString PrivateFolder::filePath(const QString& name) const {
  return QDir(path_).filePath(name);
}

int PrivateFolder::openFile(const QString& name, int flags) const {
  return ::openat(fd_, Native(name).constData(), flags | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600);
}

void PrivateFolder::remove(const QString& name) const {
  ::unlinkat(fd_, Native(name).constData(), 0);
}

bool PrivateFolder::rename(const QString& from, const QString& to) const {
  return ::renameat(fd_, Native(from).constData(), fd_, Native(to).constData()) == 0;
}

bool PrivateFolder::regularFile(const QString& name, struct stat& st) const {
  return ::fstatat(fd_, Native(name).constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
         S_ISREG(st.st_mode);
}

QString PrivateFolder::ownFile(const QString& name) const {
  struct stat st {};
  if (::fstatat(fd_, Native(name).constData(), &st, AT_SYMLINK_NOFOLLOW) != 0) return Reason(errno);
  if (S_ISLNK(st.st_mode))
    return QCoreApplication::translate("PrivateFolder", "it is a symbolic link");
  if (!S_ISREG(st.st_mode))
    return QCoreApplication::translate("PrivateFolder", "it is not a regular file");
  return NotOwn(st);
}

bool PrivateFolder::exists(const QString& name) const {
  struct stat st {};
  return ::fstatat(fd_, Native(name).constData(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

QStringList PrivateFolder::names() const {
  QStringList found;
  // A reading of its own, from the folder's start, whatever was read of it before.
  const int fd = ::openat(fd_, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return found;
  DIR* dir = ::fdopendir(fd);
  if (!dir) {
    ::close(fd);
    return found;
  }
  while (const dirent* entry = ::readdir(dir)) found << QFile::decodeName(entry->d_name);
  ::closedir(dir);
  return found;
}

int PrivateFolder::takeLock(const QString& name, int flags) const {
  const int fd = openFile(name, O_RDWR | flags);
  if (fd < 0) return -1;
  struct stat held {};
  struct stat named {};
  if (::fstat(fd, &held) != 0 || !S_ISREG(held.st_mode) || ::flock(fd, LOCK_EX | LOCK_NB) != 0 ||
      !regularFile(name, named) || held.st_ino != named.st_ino || held.st_dev != named.st_dev) {
    ::close(fd);
    return -1;
  }
  return fd;
}

QString PrivateFolder::temporaryName(const QString& base) {
  return QStringLiteral(".%1.%2.0.tmp").arg(base).arg(::getpid());
}

void PrivateFolder::removeLeftTemporaries(const QString& base) const {
  RemoveLeftTemporaries(fd_, ".", QFile::encodeName(base));
}

QString PrivateFolder::write(const QString& name, const QString& temporary,
                             const QByteArray& bytes) const {
  AtomicWriteOptions how;
  how.userOnly = true;
  how.folder = fd_;
  how.temporary = temporary;
  return WriteFileAtomically(
      name, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), how);
}

QString PrivateFolder::read(const QString& name, qint64 limit, bool whole,
                            QByteArray& bytes) const {
  const int fd = openFile(name, O_RDONLY | O_NONBLOCK);
  if (fd < 0)
    return errno == ELOOP ? QCoreApplication::translate("PrivateFolder", "It is a symbolic link.")
                          : Reason(errno);
  QString reason;
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    reason = Reason(errno);
  } else if (!S_ISREG(st.st_mode)) {
    reason = QCoreApplication::translate("PrivateFolder", "It is not a regular file.");
  } else if (const QString why = NotOwn(st); !why.isEmpty()) {
    reason = why.left(1).toUpper() + why.mid(1) + QLatin1Char('.');
  } else if (whole) {
    reason = ReadWholeDescriptor(fd, limit, bytes);
  } else {
    bytes.resize(limit);
    qint64 have = 0;
    while (have < limit) {
      const ssize_t n = ::read(fd, bytes.data() + have, static_cast<size_t>(limit - have));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        if (n < 0) reason = Reason(errno);
        break;
      }
      have += n;
    }
    bytes.resize(have);
  }
  ::close(fd);
  return reason;
}
