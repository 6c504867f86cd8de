// The folder of the recovery copies as both the live copy and the copies left behind use
// it, and the names of one copy's files in it.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <memory>
#include <utility>

#include "common/privatefolder.h"

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

// The folder of the copies: a folder of the user's own (see PrivateFolder) that also names
// each copy's files.
class CopyFolder : public PrivateFolder {
 public:
  // As PrivateFolder::open.
  static std::shared_ptr<CopyFolder> open(const QString& path, bool create, QString& why,
                                          bool& unsafe);

  // The names of `id`'s files in this folder.
  CopyFiles files(const QString& id) const { return CopyFiles(path(), id); }
  // Writes `bytes` as the copy of `files`, through its temporary file.
  QString write(const CopyFiles& files, const QByteArray& bytes) const {
    return PrivateFolder::write(files.copy(), files.temporary(), bytes);
  }

 private:
  using PrivateFolder::PrivateFolder;
};
