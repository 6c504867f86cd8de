// Recovery copies: written off the GUI thread through a temporary file, fsync and rename,
// readable by the user alone, each guarded by a lock that its quorpad holds while it runs.
#include "documents/recovery.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRandomGenerator>
#include <QStringDecoder>
#include <QTextDocument>
#include <algorithm>
#include <cerrno>
#include <climits>
#include <cmath>
#include <new>
#include <system_error>

#include "common/wholefile.h"

namespace {

const QByteArray kMagic = QByteArrayLiteral("quorpad recovery copy 1\n");
const QString kCopySuffix = QStringLiteral(".copy");
const QString kLockSuffix = QStringLiteral(".lock");
const QString kTempSuffix = QStringLiteral(".tmp");
const QString kAsideSuffix = QStringLiteral(".damaged");
// Far beyond any document quorpad opens (1 GiB) once its header is added.
constexpr qint64 kLargestCopy = (qint64(1) << 30) + (qint64(1) << 20);

const QByteArray kOfferLock = QByteArrayLiteral(".offering");
// The description of a copy is its first two lines; read that far only, it is found within
// this much.
constexpr qint64 kLongestDescription = 64 * 1024;

bool g_enabled = false;

QByteArray Native(const QString& name) {
  return QFile::encodeName(name);
}

QString Reason(int error) {
  return QString::fromStdString(std::generic_category().message(error));
}

}  // namespace

// The folder of the copies, opened once it has been checked to be quorpad's own: a real
// folder, not a link, owned by this user, that nobody else may write to. Everything in it is
// reached relative to this descriptor and without following links, so nothing that another
// user planted, or a folder swapped in later, is ever written, read or restored.
class CopyFolder {
 public:
  // Opens `path`, making it (mode 0700, with its parents) when `create` and it is missing.
  // nullptr with `why` when it cannot be used, and `unsafe` set when that is because it is
  // not quorpad's own (rather than, say, a full disk).
  static std::shared_ptr<CopyFolder> Open(const QString& path, bool create, QString& why,
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
  ~CopyFolder() { ::close(fd_); }
  CopyFolder(const CopyFolder&) = delete;
  CopyFolder& operator=(const CopyFolder&) = delete;

  const QString& path() const { return path_; }

  // Opens `name` in the folder, never through a link; -1 with errno on failure.
  int openFile(const QString& name, int flags) const {
    return ::openat(fd_, Native(name).constData(), flags | O_NOFOLLOW | O_CLOEXEC | O_NOCTTY, 0600);
  }
  void remove(const QString& name) const { ::unlinkat(fd_, Native(name).constData(), 0); }
  bool rename(const QString& from, const QString& to) const {
    return ::renameat(fd_, Native(from).constData(), fd_, Native(to).constData()) == 0;
  }
  // The regular file `name` (not a link): its stat, or false.
  bool regularFile(const QString& name, struct stat& st) const {
    return ::fstatat(fd_, Native(name).constData(), &st, AT_SYMLINK_NOFOLLOW) == 0 &&
           S_ISREG(st.st_mode);
  }
  bool exists(const QString& name) const {
    struct stat st {};
    return ::fstatat(fd_, Native(name).constData(), &st, AT_SYMLINK_NOFOLLOW) == 0;
  }
  // The rename of a file is on disk only once its folder is.
  void sync() const { ::fsync(fd_); }
  // The names in the folder.
  QStringList names() const {
    QStringList found;
    const int copy = ::dup(fd_);
    if (copy < 0) return found;
    DIR* dir = ::fdopendir(copy);
    if (!dir) {
      ::close(copy);
      return found;
    }
    while (const dirent* entry = ::readdir(dir)) found << QFile::decodeName(entry->d_name);
    ::closedir(dir);
    return found;
  }

  // Opens `name` and takes its lock without waiting; -1 when another process holds it. A
  // lock on a file that its holder removed before we got it guards nothing, so that counts
  // as held too.
  int takeLock(const QString& name, int flags) const {
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

  // Writes `bytes` to `target` (mode 0600) through `temp`, which replaces it only once the
  // bytes are on disk, so that a copy is always whole: the new one or the one before.
  // Returns an empty string on success, else the reason.
  QString writeWhole(const QString& temp, const QString& target, const QByteArray& bytes) const {
    const int fd = openFile(temp, O_WRONLY | O_CREAT | O_TRUNC);
    if (fd < 0) return Reason(errno);
    int error = 0;
    if (::fchmod(fd, 0600) != 0 || !WriteAll(fd, bytes.constData(), bytes.size()) ||
        ::fsync(fd) != 0) {
      error = errno;
    }
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && !rename(temp, target)) error = errno;
    if (error != 0) {
      remove(temp);
      return Reason(error);
    }
    sync();
    return QString();
  }

  // Reads the regular file `name`, at most `limit` bytes (`whole`: all of it, or the file is
  // refused as too large). Returns an empty string on success, else the reason.
  QString read(const QString& name, qint64 limit, bool whole, QByteArray& bytes) const {
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

 private:
  static bool WriteAll(int fd, const char* data, qint64 size) {
    while (size > 0) {
      const ssize_t n = ::write(fd, data, static_cast<size_t>(std::min<qint64>(size, 1 << 24)));
      if (n < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      data += n;
      size -= n;
    }
    return true;
  }

  CopyFolder(QString path, int fd) : path_(std::move(path)), fd_(fd) {}
  QString path_;
  int fd_;
};

namespace {

QString EncodingName(const DocumentFormat& format) {
  return format.utf8 ? QStringLiteral("UTF-8") : QStringLiteral("Windows-1252");
}

}  // namespace

QString RecoveryFolder() {
  // A relative XDG_STATE_HOME is invalid and ignored, as for every XDG base folder.
  QString base = qEnvironmentVariable("XDG_STATE_HOME");
  if (base.isEmpty() || QDir::isRelativePath(base)) {
    base = QDir::homePath() + QStringLiteral("/.local/state");
  }
  return QDir(base).filePath(QStringLiteral("quorpad"));
}

bool RecoveryEnabled() {
  return g_enabled;
}

void SetRecoveryEnabled(bool enabled) {
  g_enabled = enabled;
}

// ------------------------------------------------------------------------------------------
// The file format

QByteArray EncodeRecoveryCopy(const QString& text, const RecoveryInfo& info,
                              const QDateTime& changed) {
  const QByteArray body = text.toUtf8();
  QJsonObject header;
  header[QStringLiteral("path")] = info.path;
  header[QStringLiteral("encoding")] = EncodingName(info.format);
  header[QStringLiteral("lineEnd")] =
      info.format.lineEnd == QLatin1String("\r\n") ? QStringLiteral("CRLF") : QStringLiteral("LF");
  header[QStringLiteral("caret")] = info.caret;
  header[QStringLiteral("changed")] = changed.toUTC().toString(Qt::ISODateWithMs);
  header[QStringLiteral("length")] = static_cast<double>(body.size());
  header[QStringLiteral("sha256")] =
      QString::fromLatin1(QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex());
  QByteArray bytes;
  bytes.reserve(body.size() + 512);
  bytes += kMagic;
  bytes += QJsonDocument(header).toJson(QJsonDocument::Compact);
  bytes += '\n';
  bytes += body;
  return bytes;
}

namespace {

// Reads the description of a copy (its first two lines) into `header`, and where the text
// begins into `textStart`; false and `error` when it is not a sound description.
bool DecodeDescription(const QByteArray& bytes, QJsonObject& header, qsizetype& textStart,
                       QString& error) {
  if (!bytes.startsWith(kMagic)) {
    error = QStringLiteral("It does not begin as a recovery copy does.");
    return false;
  }
  const qsizetype headerEnd = bytes.indexOf('\n', kMagic.size());
  if (headerEnd < 0) {
    error = QStringLiteral("Its description of the document is cut short.");
    return false;
  }
  QJsonParseError parse{};
  const QJsonDocument json =
      QJsonDocument::fromJson(bytes.mid(kMagic.size(), headerEnd - kMagic.size()), &parse);
  header = json.object();
  if (parse.error != QJsonParseError::NoError || !json.isObject() ||
      !header.value(QStringLiteral("path")).isString() ||
      !header.value(QStringLiteral("length")).isDouble() ||
      !header.value(QStringLiteral("sha256")).isString()) {
    error = QStringLiteral("Its description of the document cannot be read.");
    return false;
  }
  textStart = headerEnd + 1;
  return true;
}

// The document's path, format and time of change from a sound description.
void TakeDescription(const QJsonObject& header, RecoveredDocument& document) {
  RecoveryInfo& info = document.info;
  info.path = header.value(QStringLiteral("path")).toString();
  info.format.utf8 =
      header.value(QStringLiteral("encoding")).toString() != QLatin1String("Windows-1252");
  info.format.lineEnd = header.value(QStringLiteral("lineEnd")).toString() == QLatin1String("CRLF")
                            ? QStringLiteral("\r\n")
                            : QStringLiteral("\n");
  document.changed =
      QDateTime::fromString(header.value(QStringLiteral("changed")).toString(), Qt::ISODateWithMs);
}

}  // namespace

bool DecodeRecoveryCopy(const QByteArray& bytes, RecoveredDocument& document, QString& error) {
  QJsonObject header;
  qsizetype textStart = 0;
  if (!DecodeDescription(bytes, header, textStart, error)) return false;
  const QByteArray body = bytes.mid(textStart);
  // A length is a whole number of bytes that the file could hold; anything else (a huge
  // number, which has no integer value) is refused before it is used as one.
  const double length = header.value(QStringLiteral("length")).toDouble();
  if (!(length >= 0 && length <= static_cast<double>(bytes.size()) &&
        length == std::floor(length))) {
    error = QStringLiteral("It gives a length that does not fit the copy.");
    return false;
  }
  if (static_cast<qsizetype>(length) != body.size()) {
    error = QStringLiteral("It holds %1 bytes of text where %2 were written.")
                .arg(body.size())
                .arg(static_cast<qint64>(length));
    return false;
  }
  if (QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex() !=
      header.value(QStringLiteral("sha256")).toString().toLatin1()) {
    error = QStringLiteral("Its text has been changed or damaged since it was written.");
    return false;
  }
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  document.text = decoder.decode(body);
  if (decoder.hasError()) {
    error = QStringLiteral("Its text is not valid UTF-8.");
    return false;
  }
  TakeDescription(header, document);
  document.info.caret =
      std::clamp(header.value(QStringLiteral("caret")).toInt(), 0,
                 static_cast<int>(std::min<qsizetype>(document.text.size(), INT_MAX)));
  return true;
}

bool DecodeRecoveryDescription(const QByteArray& bytes, RecoveredDocument& document,
                               QString& error) {
  QJsonObject header;
  qsizetype textStart = 0;
  if (!DecodeDescription(bytes, header, textStart, error)) return false;
  document.text.clear();
  TakeDescription(header, document);
  document.info.caret = 0;
  return true;
}

// ------------------------------------------------------------------------------------------
// The copy of this process's document

RecoveryCopy::RecoveryCopy(QTextDocument* document, InfoSource info, QObject* parent,
                           const QString& folder)
    : QObject(parent),
      document_(document),
      shadow_(document),
      info_(std::move(info)),
      folder_(folder) {
  writer_.setMaxThreadCount(1);  // one write at a time, in the order they were asked for
  quiet_.setSingleShot(true);
  longest_.setSingleShot(true);
  setDelays(2000, 10000);
  connect(&quiet_, &QTimer::timeout, this, &RecoveryCopy::writeNow);
  connect(&longest_, &QTimer::timeout, this, &RecoveryCopy::writeNow);
  connect(document_, &QTextDocument::contentsChanged, this, &RecoveryCopy::documentChanged);
  connect(document_, &QTextDocument::modificationChanged, this, &RecoveryCopy::modificationChanged);
  // The document goes before this object when both belong to one window; from then on the
  // last copy written is the one that stays.
  connect(document_, &QObject::destroyed, this, [this] {
    document_ = nullptr;
    following_ = false;
  });
}

RecoveryCopy::~RecoveryCopy() {
  writer_.waitForDone();
  if (lockFd_ >= 0) {
    if (!copyWanted_) dir_->remove(id_ + kLockSuffix);
    ::close(lockFd_);
  }
}

void RecoveryCopy::setDelays(int quietMs, int longestMs) {
  quiet_.setInterval(quietMs);
  longest_.setInterval(longestMs);
}

QString RecoveryCopy::filePath() const {
  return id_.isEmpty() ? QString() : QDir(folder_).filePath(id_ + kCopySuffix);
}

void RecoveryCopy::documentChanged() {
  if (!following_) return;
  dirty_ = true;
  lastChange_ = QDateTime::currentDateTimeUtc();
  quiet_.start();
  if (!longest_.isActive()) longest_.start();
}

void RecoveryCopy::modificationChanged(bool modified) {
  // Saved, replaced, or undone back to the saved text: nothing is left to recover. A
  // document marked unsaved by hand (brought back from a copy) is a change of its own.
  if (modified) {
    documentChanged();
  } else if (following_) {
    discard();
  }
}

bool RecoveryCopy::worthKeeping() const {
  if (!document_ || !document_->isModified()) return false;
  // An untitled document with no text holds nothing to lose.
  return !document_->isEmpty() || !info_().path.isEmpty();
}

bool RecoveryCopy::takeLock(QString& reason) {
  if (lockFd_ >= 0) return true;
  if (!dir_) {
    // Another user's folder, or a link, is never used: the session goes on without copies.
    dir_ = CopyFolder::Open(folder_, true, reason, refused_);
    if (!dir_) return false;
  }
  // A name of this process's own; a name that is taken, or whose lock another quorpad
  // looking for left copies got hold of first, is given up for another.
  int error = 0;
  for (int attempt = 0; attempt < 8 && lockFd_ < 0; ++attempt) {
    id_ = QStringLiteral("%1-%2")
              .arg(QCoreApplication::applicationPid())
              .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    lockFd_ = dir_->takeLock(id_ + kLockSuffix, O_CREAT | O_EXCL);
    error = errno;
  }
  if (lockFd_ >= 0) return true;
  id_.clear();
  reason = Reason(error);
  return false;
}

void RecoveryCopy::writeNow() {
  quiet_.stop();
  longest_.stop();
  if (!following_) return;
  if (!worthKeeping()) {
    dirty_ = false;
    if (copyWanted_) discard();
    return;
  }
  if (refused_) return;
  if (QString reason; !takeLock(reason)) {
    writeDone(false, reason);
    return;
  }
  // Only the shadow's pieces are taken here, on the GUI thread; joining, encoding and
  // writing them happen on the writer's thread.
  ShadowText::Pieces pieces = shadow_.pieces();
  const RecoveryInfo info = info_();
  lastCaret_ = info.caret;
  dirty_ = false;
  copyWanted_ = true;
  const QString temp = id_ + kTempSuffix;
  const QString target = id_ + kCopySuffix;
  const QDateTime changed = lastChange_.isValid() ? lastChange_ : QDateTime::currentDateTimeUtc();
  writer_.start([this, dir = dir_, pieces = std::move(pieces), info, temp, target,
                 changed]() mutable {
    QString text = ShadowText::join(pieces);
    pieces.clear();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    const QString reason = dir->writeWhole(temp, target, EncodeRecoveryCopy(text, info, changed));
    QMetaObject::invokeMethod(
        this, [this, reason] { writeDone(reason.isEmpty(), reason); }, Qt::QueuedConnection);
  });
}

void RecoveryCopy::writeDone(bool ok, const QString& reason) {
  if (ok) {
    failureTold_ = false;
  } else {
    // Tried again at the next change, and at the end of the program.
    dirty_ = true;
    if (!failureTold_) {
      failureTold_ = true;
      Q_EMIT writeFailed(refused_
                             ? QStringLiteral("Recovery copies are off for this session: %1 is not "
                                              "quorpad's own, since %2.")
                                   .arg(QDir::toNativeSeparators(folder_), reason)
                             : QStringLiteral("Could not write a recovery copy in %1: %2")
                                   .arg(QDir::toNativeSeparators(folder_), reason));
    }
  }
  Q_EMIT written(ok);
}

bool RecoveryCopy::flush() {
  writer_.waitForDone();
  // Results of writes finished meanwhile are still on their way; what matters now is
  // whether the document differs from what was sent.
  QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
  if (!following_) return true;
  // Unchanged since the user let the changes go (or never changed): nothing to keep.
  if (!dirty_ && !copyWanted_) return true;
  const bool wanted = worthKeeping();
  if (!wanted) {
    if (copyWanted_) discard();
    writer_.waitForDone();
    return true;
  }
  if (!dirty_ && copyWanted_ && info_().caret == lastCaret_) return true;
  bool ok = false;
  QObject guard;
  connect(this, &RecoveryCopy::written, &guard, [&ok](bool result) { ok = result; });
  writeNow();
  writer_.waitForDone();
  QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
  return ok;
}

bool RecoveryCopy::keepForNextStart() {
  const bool ok = flush();
  following_ = false;
  quiet_.stop();
  longest_.stop();
  return ok;
}

void RecoveryCopy::discard() {
  // A copy kept for the next start stays whatever happens.
  if (!following_) return;
  quiet_.stop();
  longest_.stop();
  dirty_ = false;
  if (!copyWanted_) return;
  copyWanted_ = false;
  writer_.start([dir = dir_, copy = id_ + kCopySuffix, temp = id_ + kTempSuffix] {
    dir->remove(copy);
    dir->remove(temp);
  });
}

// ------------------------------------------------------------------------------------------
// Copies left behind

LeftCopy::LeftCopy(std::shared_ptr<const CopyFolder> folder, QString id)
    : folder_(std::move(folder)), id_(std::move(id)) {}

LeftCopy::~LeftCopy() = default;

QString LeftCopy::filePath() const {
  return QDir(folder_->path()).filePath(id_ + kCopySuffix);
}

bool LeftCopy::read(RecoveredDocument& document, QString& error) const {
  try {
    QByteArray bytes;
    error = folder_->read(id_ + kCopySuffix, kLargestCopy, true, bytes);
    if (!error.isEmpty()) return false;
    return DecodeRecoveryCopy(bytes, document, error);
  } catch (const std::bad_alloc&) {
    error = QStringLiteral("There is not enough memory to read it.");
    return false;
  }
}

bool LeftCopy::readDescription(RecoveredDocument& document, QString& error) const {
  QByteArray bytes;
  error = folder_->read(id_ + kCopySuffix, kLongestDescription, false, bytes);
  return error.isEmpty() && DecodeRecoveryDescription(bytes, document, error);
}

void LeftCopy::discard() {
  if (done_) return;
  folder_->remove(id_ + kCopySuffix);
  folder_->remove(id_ + kLockSuffix);
  done_ = true;
}

QString LeftCopy::setAside() {
  if (done_) return QString();
  QString aside = id_ + kAsideSuffix;
  for (int n = 2; folder_->exists(aside); ++n)
    aside = QStringLiteral("%1-%2%3").arg(id_).arg(n).arg(kAsideSuffix);
  done_ = true;
  if (!folder_->rename(id_ + kCopySuffix, aside)) return filePath();
  folder_->remove(id_ + kLockSuffix);
  return QDir(folder_->path()).filePath(aside);
}

// While one quorpad offers the copies left behind, it holds the folder's offering lock:
// another quorpad starting meanwhile offers none. Each copy's own lock is taken only for a
// moment, to learn that its quorpad has gone, so no descriptor is kept per copy however
// many there are.
std::vector<std::unique_ptr<LeftCopy>> FindLeftCopies(const QString& folder) {
  std::vector<std::unique_ptr<LeftCopy>> found;
  QString why;
  bool unsafe = false;
  std::shared_ptr<CopyFolder> dir = QFileInfo::exists(folder) || QFileInfo(folder).isSymLink()
                                        ? CopyFolder::Open(folder, false, why, unsafe)
                                        : nullptr;
  if (!dir) return found;
  const int offering = dir->takeLock(QString::fromLatin1(kOfferLock), O_CREAT);
  if (offering < 0) return found;
  // The offering lock lives as long as the last copy found.
  auto held = std::shared_ptr<const CopyFolder>(
      dir.get(), [dir, offering](const CopyFolder*) { ::close(offering); });
  QStringList ids;
  for (const QString& name : dir->names()) {
    if (!name.endsWith(kCopySuffix) && !name.endsWith(kLockSuffix) && !name.endsWith(kTempSuffix))
      continue;
    const QString id = name.left(name.lastIndexOf(QLatin1Char('.')));
    if (!id.isEmpty() && !id.startsWith(QLatin1Char('.'))) ids << id;
  }
  ids.removeDuplicates();
  std::vector<std::pair<qint64, std::unique_ptr<LeftCopy>>> dated;
  for (const QString& id : ids) {
    const int fd = dir->takeLock(id + kLockSuffix, O_CREAT);
    if (fd < 0) continue;  // its quorpad is still running
    // A write cut short leaves its temporary file; the copy before it is still whole.
    dir->remove(id + kTempSuffix);
    struct stat copy {};
    if (!dir->regularFile(id + kCopySuffix, copy)) {
      // Nothing to offer: no copy, or something that is not a copy in its place.
      if (!dir->exists(id + kCopySuffix)) dir->remove(id + kLockSuffix);
      ::close(fd);
      continue;
    }
    ::close(fd);
    const qint64 when = qint64(copy.st_mtim.tv_sec) * 1000000000 + copy.st_mtim.tv_nsec;
    dated.emplace_back(when, std::make_unique<LeftCopy>(held, id));
  }
  std::sort(dated.begin(), dated.end(),
            [](const auto& a, const auto& b) { return a.first > b.first; });
  for (auto& entry : dated) found.push_back(std::move(entry.second));
  return found;
}
