// Watching the template store for changes made by other processes, or by hand.
#include "common/storewatch.h"

#include <QFileInfo>

#include <sys/stat.h>

namespace {

// Long enough to gather one writer's rename and lock file, short enough to feel immediate.
constexpr int kSettleMs = 200;

}  // namespace

StoreStamp StoreStamp::of(const QString& path) {
  StoreStamp stamp;
  struct stat st {};
  if (::stat(QFile::encodeName(path).constData(), &st) != 0) return stamp;
  stamp.exists = true;
  stamp.device = static_cast<qint64>(st.st_dev);
  stamp.inode = static_cast<qint64>(st.st_ino);
  stamp.size = static_cast<qint64>(st.st_size);
  stamp.modified = static_cast<qint64>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  stamp.changed = static_cast<qint64>(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
  return stamp;
}

bool StoreStamp::operator==(const StoreStamp& other) const {
  return exists == other.exists && device == other.device && inode == other.inode &&
         size == other.size && modified == other.modified && changed == other.changed;
}

StoreWatch::StoreWatch(const QString& store, QObject* parent) : QObject(parent), store_(store) {
  settle_.setSingleShot(true);
  settle_.setInterval(kSettleMs);
  connect(&settle_, &QTimer::timeout, this, &StoreWatch::check);
  // The first event starts the clock; the ones that follow within it add nothing.
  const auto soon = [this] {
    if (!settle_.isActive()) settle_.start();
  };
  connect(&watcher_, &QFileSystemWatcher::fileChanged, this, soon);
  connect(&watcher_, &QFileSystemWatcher::directoryChanged, this, soon);
  last_ = StoreStamp::of(store_);
  watch(last_);
}

void StoreWatch::watch(const StoreStamp& now) {
  // A file replaced by a rename is watched again here: the watch held on to the old file.
  // A store that is a link changes where the link leads, so that folder is watched as well.
  if (watchedInode_ != now.inode && watcher_.files().contains(store_)) {
    watcher_.removePath(store_);
  }
  QStringList paths{QFileInfo(store_).absolutePath()};
  if (now.exists) {
    paths << store_;
    const QFileInfo target(QFileInfo(store_).canonicalFilePath());
    if (!target.filePath().isEmpty()) paths << target.absolutePath();
  }
  const QStringList watched = watcher_.files() + watcher_.directories();
  for (const QString& path : paths) {
    if (!watched.contains(path)) watcher_.addPath(path);
  }
  watchedInode_ = now.inode;
}

void StoreWatch::markSeen() {
  last_ = StoreStamp::of(store_);
  watch(last_);
}

void StoreWatch::markSeen(const StoreStamp& seen) {
  last_ = seen;
  const StoreStamp now = StoreStamp::of(store_);
  watch(now);
  if (now != last_ && !settle_.isActive()) settle_.start();
}

bool StoreWatch::seenIsCurrent() const {
  return StoreStamp::of(store_) == last_;
}

void StoreWatch::check() {
  const StoreStamp now = StoreStamp::of(store_);
  watch(now);
  if (now == last_) return;
  last_ = now;
  Q_EMIT changed();
}
