// Recovery copies: written off the GUI thread through a temporary file, fsync and rename,
// readable by the user alone, each guarded by a lock that its quorpad holds while it runs.
#include "documents/recovery.h"

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

namespace {

const QByteArray kMagic = QByteArrayLiteral("quorpad recovery copy 1\n");
const QString kCopySuffix = QStringLiteral(".copy");
const QString kLockSuffix = QStringLiteral(".lock");
const QString kTempSuffix = QStringLiteral(".tmp");
const QString kAsideSuffix = QStringLiteral(".damaged");
// Far beyond any document quorpad opens (1 GiB) once its header is added.
constexpr qint64 kLargestCopy = (qint64(1) << 30) + (qint64(1) << 20);

bool g_enabled = false;

QByteArray Native(const QString& path) {
  return QFile::encodeName(path);
}

QString Reason(int error) {
  return QString::fromStdString(std::generic_category().message(error));
}

void Remove(const QString& path) {
  ::unlink(Native(path).constData());
}

// Opens `path` and takes its lock without waiting; -1 when another process holds it. A lock
// on a file that its holder removed before we got it guards nothing, so that counts as
// held too.
int TakeLock(const QString& path, int flags) {
  const QByteArray name = Native(path);
  const int fd = ::open(name.constData(), O_RDWR | O_CLOEXEC | flags, 0600);
  if (fd < 0) return -1;
  struct stat held {};
  struct stat named {};
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0 || ::fstat(fd, &held) != 0 ||
      ::stat(name.constData(), &named) != 0 || held.st_ino != named.st_ino ||
      held.st_dev != named.st_dev) {
    ::close(fd);
    return -1;
  }
  return fd;
}

bool WriteAll(int fd, const char* data, qint64 size) {
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

// Writes `bytes` to `target` (mode 0600) through `temp`, which replaces it only once the
// bytes are on disk, so that a copy is always whole: the new one or the one before.
// Returns an empty string on success, else the reason.
QString WriteWhole(const QString& temp, const QString& target, const QByteArray& bytes) {
  const QByteArray tempName = Native(temp);
  const int fd = ::open(tempName.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  if (fd < 0) return Reason(errno);
  int error = 0;
  if (::fchmod(fd, 0600) != 0 || !WriteAll(fd, bytes.constData(), bytes.size()) ||
      ::fsync(fd) != 0) {
    error = errno;
  }
  if (::close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && ::rename(tempName.constData(), Native(target).constData()) != 0) error = errno;
  if (error != 0) {
    ::unlink(tempName.constData());
    return Reason(error);
  }
  // The rename itself is on disk only once the folder is.
  const int dir = ::open(Native(QFileInfo(target).path()).constData(), O_RDONLY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
  return QString();
}

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

bool DecodeRecoveryCopy(const QByteArray& bytes, RecoveredDocument& document, QString& error) {
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
  const QJsonObject header = json.object();
  if (parse.error != QJsonParseError::NoError || !json.isObject() ||
      !header.value(QStringLiteral("path")).isString() ||
      !header.value(QStringLiteral("length")).isDouble() ||
      !header.value(QStringLiteral("sha256")).isString()) {
    error = QStringLiteral("Its description of the document cannot be read.");
    return false;
  }
  const QByteArray body = bytes.mid(headerEnd + 1);
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
  RecoveryInfo& info = document.info;
  info.path = header.value(QStringLiteral("path")).toString();
  info.format.utf8 =
      header.value(QStringLiteral("encoding")).toString() != QLatin1String("Windows-1252");
  info.format.lineEnd = header.value(QStringLiteral("lineEnd")).toString() == QLatin1String("CRLF")
                            ? QStringLiteral("\r\n")
                            : QStringLiteral("\n");
  info.caret = std::clamp(header.value(QStringLiteral("caret")).toInt(), 0,
                          static_cast<int>(std::min<qsizetype>(document.text.size(), INT_MAX)));
  document.changed =
      QDateTime::fromString(header.value(QStringLiteral("changed")).toString(), Qt::ISODateWithMs);
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
    if (!copyWanted_) Remove(QDir(folder_).filePath(id_ + kLockSuffix));
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
  if (!QDir(folder_).exists()) {
    // Made by hand, so that the reason of a failure is known.
    const QString parent = QFileInfo(folder_).path();
    if (!QDir().mkpath(parent) ||
        (::mkdir(Native(folder_).constData(), 0700) != 0 && errno != EEXIST)) {
      reason = Reason(errno);
      return false;
    }
  }
  // A name of this process's own; a name that is taken, or whose lock another quorpad
  // looking for left copies got hold of first, is given up for another.
  int error = 0;
  for (int attempt = 0; attempt < 8 && lockFd_ < 0; ++attempt) {
    id_ = QStringLiteral("%1-%2")
              .arg(QCoreApplication::applicationPid())
              .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    lockFd_ = TakeLock(QDir(folder_).filePath(id_ + kLockSuffix), O_CREAT | O_EXCL);
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
  const QString temp = QDir(folder_).filePath(id_ + kTempSuffix);
  const QString target = filePath();
  const QDateTime changed = lastChange_.isValid() ? lastChange_ : QDateTime::currentDateTimeUtc();
  writer_.start([this, pieces = std::move(pieces), info, temp, target, changed]() mutable {
    QString text = ShadowText::join(pieces);
    pieces.clear();
    text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    const QString reason = WriteWhole(temp, target, EncodeRecoveryCopy(text, info, changed));
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
      Q_EMIT writeFailed(QStringLiteral("Could not write a recovery copy in %1: %2")
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
  const QString copy = filePath();
  const QString temp = QDir(folder_).filePath(id_ + kTempSuffix);
  writer_.start([copy, temp] {
    Remove(copy);
    Remove(temp);
  });
}

// ------------------------------------------------------------------------------------------
// Copies left behind

LeftCopy::LeftCopy(QString folder, QString id, int lockFd)
    : folder_(std::move(folder)), id_(std::move(id)), lockFd_(lockFd) {}

LeftCopy::~LeftCopy() {
  if (!done_) ::close(lockFd_);
}

QString LeftCopy::filePath() const {
  return QDir(folder_).filePath(id_ + kCopySuffix);
}

bool LeftCopy::read(RecoveredDocument& document, QString& error) const {
  QFile file(filePath());
  if (!file.open(QIODevice::ReadOnly)) {
    error = file.errorString();
    return false;
  }
  if (file.size() > kLargestCopy) {
    error = QStringLiteral("It is larger than any document quorpad opens.");
    return false;
  }
  try {
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
      error = file.errorString();
      return false;
    }
    return DecodeRecoveryCopy(bytes, document, error);
  } catch (const std::bad_alloc&) {
    error = QStringLiteral("There is not enough memory to read it.");
    return false;
  }
}

void LeftCopy::discard() {
  if (done_) return;
  Remove(filePath());
  Remove(QDir(folder_).filePath(id_ + kLockSuffix));
  ::close(lockFd_);
  done_ = true;
}

QString LeftCopy::setAside() {
  if (done_) return QString();
  QString aside = QDir(folder_).filePath(id_ + kAsideSuffix);
  for (int n = 2; QFileInfo::exists(aside); ++n) {
    aside = QDir(folder_).filePath(QStringLiteral("%1-%2%3").arg(id_).arg(n).arg(kAsideSuffix));
  }
  if (!QFile::rename(filePath(), aside)) aside = filePath();
  if (aside != filePath()) Remove(QDir(folder_).filePath(id_ + kLockSuffix));
  ::close(lockFd_);
  done_ = true;
  return aside;
}

std::vector<std::unique_ptr<LeftCopy>> FindLeftCopies(const QString& folder) {
  std::vector<std::unique_ptr<LeftCopy>> found;
  const QDir dir(folder);
  if (!dir.exists()) return found;
  QStringList ids;
  for (const QString& name :
       dir.entryList({QLatin1Char('*') + kCopySuffix, QLatin1Char('*') + kLockSuffix,
                      QLatin1Char('*') + kTempSuffix},
                     QDir::Files | QDir::Hidden)) {
    const QString id = name.left(name.lastIndexOf(QLatin1Char('.')));
    if (!id.isEmpty() && !ids.contains(id)) ids << id;
  }
  std::vector<std::pair<QDateTime, std::unique_ptr<LeftCopy>>> dated;
  for (const QString& id : ids) {
    const int fd = TakeLock(dir.filePath(id + kLockSuffix), O_CREAT);
    if (fd < 0) continue;  // its quorpad is still running
    // A write cut short leaves its temporary file; the copy before it is still whole.
    Remove(dir.filePath(id + kTempSuffix));
    const QFileInfo copy(dir.filePath(id + kCopySuffix));
    if (!copy.exists()) {
      Remove(dir.filePath(id + kLockSuffix));
      ::close(fd);
      continue;
    }
    dated.emplace_back(copy.lastModified(), std::make_unique<LeftCopy>(folder, id, fd));
  }
  std::sort(dated.begin(), dated.end(),
            [](const auto& a, const auto& b) { return a.first > b.first; });
  for (auto& entry : dated) found.push_back(std::move(entry.second));
  return found;
}
