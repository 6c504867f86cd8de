// Recovery copies left behind by quorpads that are no longer running: found, read, and then
// removed or set aside.
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "documents/recoveryformat.h"

class CopyFolder;

// A copy left behind by a quorpad that is no longer running. While any copy found by one
// FindLeftCopies() lives, other quorpads starting meanwhile are offered none.
class LeftCopy {
 public:
  LeftCopy(std::shared_ptr<const CopyFolder> folder, QString id);
  ~LeftCopy();
  LeftCopy(const LeftCopy&) = delete;
  LeftCopy& operator=(const LeftCopy&) = delete;

  QString filePath() const;
  // Reads and checks the whole copy. On failure `error` says why and nothing is returned.
  bool read(RecoveredDocument& document, QString& error) const;
  // Reads only what the copy says of its document (path, format, when), not the text.
  bool readDescription(RecoveredDocument& document, QString& error) const;
  // Removes the copy and its lock.
  void discard();
  // Moves a copy that cannot be read aside, out of the way of later starts, and returns
  // its new path; the copy itself is kept.
  QString setAside();

 private:
  std::shared_ptr<const CopyFolder> folder_;
  QString id_;
  bool done_ = false;
};

// The copies in `folder` whose quorpad is no longer running, newest first. Leftovers of such
// a quorpad that hold no text are cleaned away. The folder must be quorpad's own (a folder,
// not a link, of this user, that nobody else may write to); anything else gives none, and
// nothing in it is reached through a link.
std::vector<std::unique_ptr<LeftCopy>> FindLeftCopies(const QString& folder = RecoveryFolder());
