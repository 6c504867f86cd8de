// The copies' folder, reached through one descriptor and never through a link, and the
// names of a copy's files in it.
#include "copyfolder.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <string_view>
#include <system_error>

#include "common/wholefile.h"

namespace {

const QString kAsideSuffix = QStringLiteral(".damaged");

QByteArray Native(const QString& name) {
  return QFile::encodeName(name);
}

QString Reason(int error) {
  return QString::fromStdString(std::generic_category().message(error));
}

}  // namespace

QString CopyFiles::idOf(const QString& name) {
  for (const QLatin1String suffix :
       {QLatin1String(".copy"), QLatin1String(".lock"), QLatin1String(".tmp")}) {
    if (!name.endsWith(suffix)) continue;
    const QString id = name.chopped(suffix.size());
    return id.startsWith(QLatin1Char('.')) ? QString() : id;
  }
  return QString();
}

QString CopyFiles::aside(int n) const {
  return n < 2 ? id_ + kAsideSuffix : id_ + QLatin1Char('-') + QString::number(n) + kAsideSuffix;
}

QString CopyFiles::path(const QString& name) const {
  return QDir(folder_).filePath(name);
}

std::shared_ptr<CopyFolder> CopyFolder::open(const QString& path, bool create, QString& why,
                                             bool& unsafe) {
  unsafe = false;
  const QByteArray name = Native(path);
  if (create && ::mkdir(name.constData(), 0700) != 0 && errno == ENOENT) {
    QDir().mkpath(QFileInfo(path).path());
    ::mkdir(name.constData(), 0700);
  }
  const int fd = ::open(name.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) {
    const int error = errno;
    struct stat link {};
    unsafe = ::lstat(name.constData(), &link) == 0 && S_ISLNK(link.st_mode);
    why = unsafe ? QStringLiteral("it is a symbolic link") : Reason(error);
    return nullptr;
  }
  auto folder = std::shared_ptr<CopyFolder>(new CopyFolder(path, fd));
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    why = Reason(errno);
    return nullptr;
  }
  unsafe = true;
  if (st.st_uid != ::geteuid()) {
    why = QStringLiteral("it belongs to another user (uid %1)").arg(st.st_uid);
    return nullptr;
  }
  if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0) {
    why = QStringLiteral("other users may write to it (mode %1)")
              .arg(st.st_mode & 07777, 4, 8, QLatin1Char('0'));
    return nullptr;
  }
  unsafe = false;
  return folder;
}

CopyFolder::~CopyFolder() {
  ::close(fd_);
}

int CopyFolder::openFile(const QString& name, int flags) const {
  return ::openat(fd_, Native(name).constData(), flags | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600);
}

void CopyFolder::remove(const QString& name) const {
  ::unlinkat(fd_, Native(name).constData(), 0);
}

bool CopyFolder::rename(const QString& from, const QString& to) const {
  return ::renameat(fd_, Native(from).constData(), fd_, Native(to).constData()) == 0;
}

bool CopyFolder::regularFile(const QString& name, struct stat& st) const {
  return ::fstatat(fd_, Native(name).constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
         S_ISREG(st.st_mode);
}

bool CopyFolder::exists(const QString& name) const {
  struct stat st {};
  return ::fstatat(fd_, Native(name).constData(), &st, AT_SYMLINK_NOFOLLOW) == 0;
}

QStringList CopyFolder::names() const {
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

int CopyFolder::takeLock(const QString& name, int flags) const {
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

QString CopyFolder::write(const CopyFiles& files, const QByteArray& bytes) const {
  AtomicWriteOptions how;
  how.userOnly = true;
  how.folder = fd_;
  how.temporary = files.temporary();
  return WriteFileAtomically(
      files.copy(), std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())), how);
}

QString CopyFolder::read(const QString& name, qint64 limit, bool whole, QByteArray& bytes) const {
  const int fd = openFile(name, O_RDONLY | O_NONBLOCK);
  if (fd < 0) return errno == ELOOP ? QStringLiteral("It is a symbolic link.") : Reason(errno);
  QString reason;
  if (whole) {
    reason = ReadWholeDescriptor(fd, limit, bytes);
  } else {
    struct stat st {};
    bytes.resize(limit);
    qint64 have = 0;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
      reason = QStringLiteral("It is not a regular file.");
    } else {
      while (have < limit) {
        const ssize_t n = ::read(fd, bytes.data() + have, static_cast<size_t>(limit - have));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
          if (n < 0) reason = Reason(errno);
          break;
        }
        have += n;
      }
    }
    bytes.resize(have);
  }
  ::close(fd);
  return reason;
}
