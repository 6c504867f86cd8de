// A folder of the user's own (the recovery copies, the store's versions, the per-user store
// and settings, the one-instance fallback): made, opened and checked in one place, and the
// files in it reached only through it.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <utility>

struct stat;

// A folder that has been checked to be the user's own: a real folder, not a link, owned by
// this user, that nobody else may write to. It is opened once and everything in it is
// reached relative to that descriptor and without following links, so nothing another user
// planted, nor a folder swapped in later, is ever written, read or offered.
class PrivateFolder {
 public:
  // Opens `path`, making it (mode 0700 from the start, with any missing parents) when
  // `create` and it is missing. nullptr with `why` when it cannot be used; `unsafe` is set
  // when that is because it is not the user's own (rather than, say, a full disk), and `why`
  // then names the folder's owner or mode.
  static std::shared_ptr<PrivateFolder> open(const QString& path, bool create, QString& why,
                                             bool& unsafe);
  // The same for the folder `name` inside this one.
  std::shared_ptr<PrivateFolder> child(const QString& name, bool create, QString& why,
                                       bool& unsafe) const;
  virtual ~PrivateFolder();
  PrivateFolder(const PrivateFolder&) = delete;
  PrivateFolder& operator=(const PrivateFolder&) = delete;

  const QString& path() const { return path_; }
  // The full path of `name` in the folder.
  QString filePath(const QString& name) const;

  void remove(const QString& name) const;
  // The name a write of this process's gives its temporary file, for files of the kind
  // `base` ("version"): whatever a killed process left under such a name goes at the next
  // removeLeftTemporaries(base).
  static QString temporaryName(const QString& base);
  void removeLeftTemporaries(const QString& base) const;
  bool rename(const QString& from, const QString& to) const;
  // The regular file `name` (not a link): its stat, or false.
  bool regularFile(const QString& name, struct stat& st) const;
  // The regular file `name` is the user's own: not a link, owned by this user, and nobody
  // else may write to it. Empty when it is, else why not. Nothing else in the folder is
  // ever read or offered.
  QString ownFile(const QString& name) const;
  bool exists(const QString& name) const;
  // The names in the folder.
  QStringList names() const;

  // Opens `name` and takes its lock without waiting; -1 when another process holds it. A
  // lock on a file that its holder removed before we got it guards nothing, so that counts
  // as held too.
  int takeLock(const QString& name, int flags) const;

  // Writes `bytes` as `name` (readable by the user alone) through the temporary file
  // `temporary`, which replaces `name` only once the bytes are on disk: the file is always
  // whole, the new one or the one before. Returns an empty string on success, else the
  // reason.
  QString write(const QString& name, const QString& temporary, const QByteArray& bytes) const;
  // Reads `name`, which must be the user's own file (ownFile), at most `limit` bytes
  // (`whole`: all of it, or the file is refused as too large). Returns an empty string on
  // success, else the reason.
  QString read(const QString& name, qint64 limit, bool whole, QByteArray& bytes) const;

 protected:
  PrivateFolder(QString path, int fd) : path_(std::move(path)), fd_(fd) {}
  // The descriptor of `path` checked as open() checks it; -1 with `why` and `unsafe`.
  static int openChecked(const QString& path, bool create, QString& why, bool& unsafe);

 private:
  // Opens `name` in the folder, never through a link; -1 with errno on failure.
  int openFile(const QString& name, int flags) const;

  QString path_;
  int fd_;
};

// quorpad's folder of the user's state, which the recovery copies and the store's versions
// share: $XDG_STATE_HOME/quorpad, by default ~/.local/state/quorpad (a relative
// XDG_STATE_HOME is invalid and ignored, as for every XDG base folder).
QString StateFolder();

// The name of the user with `uid`, or the number where it has none.
QString UserName(unsigned uid);
