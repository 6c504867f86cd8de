// The folder of the recovery copies as both the live copy and the copies left behind use
// it, and the names of one copy's files in it.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <utility>

struct stat;

// The names of one copy's files, all made from the copy's id: the copy, the lock its
// quorpad holds, the temporary file a write goes through, and where a damaged copy is set
// aside. Older quorpads' copies are found by these names, so they never change.
class CopyFiles {
 public:
  CopyFiles(QString folder, QString id) : folder_(std::move(folder)), id_(std::move(id)) {}

  // The id of the copy that `name` in the folder belongs to: empty for a name that is no
  // copy's, lock's or temporary file's (hidden names and copies set aside included).
  static QString idOf(const QString& name);

  bool isEmpty() const { return id_.isEmpty(); }
  QString copy() const { return id_ + QStringLiteral(".copy"); }
  QString lock() const { return id_ + QStringLiteral(".lock"); }
  QString temporary() const { return id_ + QStringLiteral(".tmp"); }
  // The `n`th name tried for a damaged copy set aside (from 1): "ID.damaged", "ID-2.damaged"...
  QString aside(int n) const;
  // The path of `name`, one of the names above.
  QString path(const QString& name) const;

 private:
  QString folder_;
  QString id_;
};

// The folder of the copies, opened once it has been checked to be quorpad's own: a real
// folder, not a link, owned by this user, that nobody else may write to. Everything in it is
// reached relative to this descriptor and without following links, so nothing that another
// user planted, or a folder swapped in later, is ever written, read or restored.
class CopyFolder {
 public:
  // Opens `path`, making it (mode 0700, with its parents) when `create` and it is missing.
  // nullptr with `why` when it cannot be used, and `unsafe` set when that is because it is
  // not quorpad's own (rather than, say, a full disk).
  static std::shared_ptr<CopyFolder> open(const QString& path, bool create, QString& why,
                                          bool& unsafe);
  ~CopyFolder();
  CopyFolder(const CopyFolder&) = delete;
  CopyFolder& operator=(const CopyFolder&) = delete;

  const QString& path() const { return path_; }
  // The names of `id`'s files in this folder.
  CopyFiles files(const QString& id) const { return CopyFiles(path_, id); }

  void remove(const QString& name) const;
  bool rename(const QString& from, const QString& to) const;
  // The regular file `name` (not a link): its stat, or false.
  bool regularFile(const QString& name, struct stat& st) const;
  bool exists(const QString& name) const;
  // The names in the folder.
  QStringList names() const;

  // Opens `name` and takes its lock without waiting; -1 when another process holds it. A
  // lock on a file that its holder removed before we got it guards nothing, so that counts
  // as held too.
  int takeLock(const QString& name, int flags) const;

  // Writes `bytes` as the copy of `files` (readable by the user alone) through its
  // temporary file, which replaces the copy only once the bytes are on disk: a copy is
  // always whole, the new one or the one before. Returns an empty string on success, else
  // the reason.
  QString write(const CopyFiles& files, const QByteArray& bytes) const;
  // Reads the regular file `name`, at most `limit` bytes (`whole`: all of it, or the file is
  // refused as too large). Returns an empty string on success, else the reason.
  QString read(const QString& name, qint64 limit, bool whole, QByteArray& bytes) const;

 private:
  CopyFolder(QString path, int fd) : path_(std::move(path)), fd_(fd) {}
  // Opens `name` in the folder, never through a link; -1 with errno on failure.
  int openFile(const QString& name, int flags) const;

  QString path_;
  int fd_;
};
