// Notice of changes to the template store on disk, whoever makes them.
#pragma once

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

// What tells one state of the store file from another, or that it is missing: a rewrite
// replaces the file by a rename (a new inode), an add appends in place (its size and times
// move on), and a hand edit may keep the size, so every one of them is compared, the times to
// the nanosecond.
struct StoreStamp {
  bool exists = false;
  qint64 device = 0, inode = 0, size = 0, modified = 0, changed = 0;

  // The stamp of the file at `path` as it is now.
  static StoreStamp of(const QString& path);
  bool operator==(const StoreStamp& other) const;
  bool operator!=(const StoreStamp& other) const { return !(*this == other); }
};

// Watches the store file and the folders it lives in. A rewrite replaces the file by a
// rename, which only its folder sees; an add appends in place, which only the file sees.
// Bursts of events are gathered into one look, and changed() comes only when the file
// itself is no longer what it was: a lock file or an unrelated file in the folder is no
// change of the store.
class StoreWatch : public QObject {
  Q_OBJECT

 public:
  StoreWatch(const QString& store, QObject* parent);
  // The store as it is now is known to the owner (it is about to read it, or wrote it): a
  // change up to here brings no changed(). Call it before reading, so that a change made
  // after it is not missed.
  void markSeen();
  // The store as it was when `seen` was taken is known to the owner (read on another
  // thread); a change since then brings changed() soon.
  void markSeen(const StoreStamp& seen);
  // Whether the store is as it was when last marked seen or looked at (one stat).
  bool seenIsCurrent() const;
  // The owner could not read the store it marked seen: no state of it counts as seen, and
  // the next change comes as a change.
  void markUnseen() { last_ = StoreStamp(); }

 Q_SIGNALS:
  void changed();

 private:
  void watch(const StoreStamp& now);
  void check();

  QString store_;
  QFileSystemWatcher watcher_;
  QTimer settle_;
  StoreStamp last_;
  qint64 watchedInode_ = -1;
};
