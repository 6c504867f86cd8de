// The recovery copy of a document with unsaved changes, in the user's state folder: kept
// current while the text has unsaved changes and removed once it has none.
#pragma once

#include <QDateTime>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QThreadPool>
#include <QTimer>
#include <functional>
#include <memory>

#include "documents/recoveryformat.h"
#include "documents/shadowtext.h"

class CopyFiles;
class CopyFolder;
class QTextDocument;

// The recovery copy of one document, owned by this process for as long as the object
// lives (a lock on it tells other quorpads so). Follows the document's changes: a change
// is written about two seconds after the typing stops (and at least every ten seconds
// while it goes on), on a thread of its own; the copy goes away when the document is
// saved, replaced or undone back to its saved state.
class RecoveryCopy : public QObject {
  Q_OBJECT

 public:
  using InfoSource = std::function<RecoveryInfo()>;

  // `document` is followed, `info` asked for the rest at each write; neither is owned.
  RecoveryCopy(QTextDocument* document, InfoSource info, QObject* parent = nullptr,
               const QString& folder = RecoveryFolder());
  // Waits for a write under way; a copy still wanted stays for the next start.
  ~RecoveryCopy() override;

  // Brings the copy up to date now and waits until it is on disk. Returns false when it
  // could not be written.
  bool flush();
  // Brings the copy up to date and stops following the document, so that nothing that
  // happens to it from now on can remove the copy. For the end of the program by a signal.
  bool keepForNextStart();
  // The user let the changes go: the copy is removed.
  void discard();
  // Sets the time of the last change, for a document brought back from an older copy.
  void setLastChange(const QDateTime& when) { lastChange_ = when; }

  // The delays between the last change and the write (tests shorten them).
  void setDelays(int quietMs, int longestMs);

  // The copy's file, whether or not it exists.
  QString filePath() const;
  // Whether changes are still followed (not after keepForNextStart()).
  bool following() const { return following_; }
  // Whether a copy is on disk or on its way there.
  bool hasCopy() const { return copyWanted_; }
  // The document's raw text as the copy follows it: cheap to take, to be joined beside the
  // window (ShadowText::join).
  ShadowText::Pieces textPieces() { return shadow_ ? shadow_->pieces() : ShadowText::Pieces(); }

 Q_SIGNALS:
  // A copy could not be written; told once until a write succeeds again.
  void writeFailed(const QString& message);
  // A write finished (for tests and benchmarks).
  void written(bool ok);

 private:
  void documentChanged();
  void modificationChanged(bool modified);
  void writeNow();
  bool worthKeeping() const;
  bool takeLock(QString& reason);
  CopyFiles files() const;
  void writeDone(bool ok, const QString& reason);

  QTextDocument* document_;
  QPointer<ShadowText> shadow_;  // the document's text, ready to be taken at no cost
  InfoSource info_;
  QString folder_;
  std::shared_ptr<CopyFolder> dir_;  // the folder once checked as quorpad's own
  bool refused_ = false;             // the folder is not quorpad's own: no copies
  QString id_;                       // names this copy's files; empty until its lock is taken
  int lockFd_ = -1;
  bool following_ = true;
  bool copyWanted_ = false;  // a write was sent and no discard since
  bool dirty_ = false;       // changes not yet sent to the writer
  bool failureTold_ = false;
  int lastCaret_ = -1;
  QDateTime lastChange_;
  QTimer quiet_;    // restarted by every change
  QTimer longest_;  // started by the first change that is not yet written
  QThreadPool writer_;
};
