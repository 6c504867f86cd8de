// The live recovery copy: follows the document through its shadow and timers, and writes
// it off the GUI thread through common's atomic writer, readable by the user alone, guarded
// by a lock that its quorpad holds while it runs.
#include "documents/recovery.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QRandomGenerator>
#include <QTextDocument>
#include <cerrno>
#include <system_error>

#include "copyfolder.h"

namespace {

QString Reason(int error) {
  return QString::fromStdString(std::generic_category().message(error));
}

}  // namespace

RecoveryCopy::RecoveryCopy(QTextDocument* document, InfoSource info, QObject* parent,
                           const QString& folder)
    : QObject(parent),
      document_(document),
      shadow_(ShadowText::of(document)),
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
    if (!copyWanted_) dir_->remove(files().lock());
    ::close(lockFd_);
  }
}

void RecoveryCopy::setDelays(int quietMs, int longestMs) {
  quiet_.setInterval(quietMs);
  longest_.setInterval(longestMs);
}

QString RecoveryCopy::filePath() const {
  const CopyFiles copy = files();
  return copy.isEmpty() ? QString() : copy.path(copy.copy());
}

CopyFiles RecoveryCopy::files() const {
  return CopyFiles(folder_, id_);
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
    dir_ = CopyFolder::open(folder_, true, reason, refused_);
    if (!dir_) return false;
  }
  // A name of this process's own; a name that is taken, or whose lock another quorpad
  // looking for left copies got hold of first, is given up for another.
  int error = 0;
  for (int attempt = 0; attempt < 8 && lockFd_ < 0; ++attempt) {
    id_ = QStringLiteral("%1-%2")
              .arg(QCoreApplication::applicationPid())
              .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0'));
    errno = 0;
    lockFd_ = dir_->takeLock(files().lock(), O_CREAT | O_EXCL);
    // A lock that another process got first, or whose file was replaced, sets no errno.
    error = errno != 0 ? errno : EAGAIN;
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
  ShadowText::Pieces pieces = textPieces();
  const RecoveryInfo info = info_();
  lastCaret_ = info.caret;
  dirty_ = false;
  copyWanted_ = true;
  const QDateTime changed = lastChange_.isValid() ? lastChange_ : QDateTime::currentDateTimeUtc();
  writer_.start(
      [this, dir = dir_, names = files(), pieces = std::move(pieces), info, changed]() mutable {
        QString text = ShadowText::join(pieces);
        pieces.clear();
        text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        const QString reason = dir->write(names, EncodeRecoveryCopy(text, info, changed));
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
      Q_EMIT writeFailed(refused_ ? tr("Recovery copies are off for this session: %1 is not "
                                       "quorpad's own, since %2.")
                                        .arg(QDir::toNativeSeparators(folder_), reason)
                                  : tr("Could not write a recovery copy in %1: %2")
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
  writer_.start([dir = dir_, names = files()] {
    dir->remove(names.copy());
    dir->remove(names.temporary());
  });
}
