// Copies left behind: a copy whose lock can be taken has lost its quorpad. Each is read
// through the copies' folder, never through a link, and removed or set aside once answered.
#include "documents/leftcopies.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>
#include <algorithm>
#include <new>
#include <utility>

#include "copyfolder.h"

namespace {

// Far beyond any document quorpad opens (1 GiB) once its header is added.
constexpr qint64 kLargestCopy = (qint64(1) << 30) + (qint64(1) << 20);
// The description of a copy is its first two lines; read that far only, it is found within
// this much.
constexpr qint64 kLongestDescription = 64 * 1024;

const QString kOfferLock = QStringLiteral(".offering");

}  // namespace

LeftCopy::LeftCopy(std::shared_ptr<const CopyFolder> folder, QString id)
    : folder_(std::move(folder)), id_(std::move(id)) {}

LeftCopy::~LeftCopy() = default;

QString LeftCopy::filePath() const {
  const CopyFiles files = folder_->files(id_);
  return files.path(files.copy());
}

bool LeftCopy::read(RecoveredDocument& document, QString& error) const {
  try {
    QByteArray bytes;
    error = folder_->read(folder_->files(id_).copy(), kLargestCopy, true, bytes);
    if (!error.isEmpty()) return false;
    return DecodeRecoveryCopy(bytes, document, error);
  } catch (const std::bad_alloc&) {
    error = QCoreApplication::translate("LeftCopy", "There is not enough memory to read it.");
    return false;
  }
}

bool LeftCopy::readDescription(RecoveredDocument& document, QString& error) const {
  QByteArray bytes;
  error = folder_->read(folder_->files(id_).copy(), kLongestDescription, false, bytes);
  return error.isEmpty() && DecodeRecoveryDescription(bytes, document, error);
}

void LeftCopy::discard() {
  if (done_) return;
  const CopyFiles files = folder_->files(id_);
  folder_->remove(files.copy());
  folder_->remove(files.lock());
  done_ = true;
}

QString LeftCopy::setAside() {
  if (done_) return QString();
  const CopyFiles files = folder_->files(id_);
  int n = 1;
  while (folder_->exists(files.aside(n))) ++n;
  done_ = true;
  if (!folder_->rename(files.copy(), files.aside(n))) return files.path(files.copy());
  folder_->remove(files.lock());
  return files.path(files.aside(n));
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
                                        ? CopyFolder::open(folder, false, why, unsafe)
                                        : nullptr;
  if (!dir) return found;
  const int offering = dir->takeLock(kOfferLock, O_CREAT);
  if (offering < 0) return found;
  // The offering lock lives as long as the last copy found.
  auto held = std::shared_ptr<const CopyFolder>(
      dir.get(), [dir, offering](const CopyFolder*) { ::close(offering); });
  QStringList ids;
  for (const QString& name : dir->names()) {
    if (const QString id = CopyFiles::idOf(name); !id.isEmpty()) ids << id;
  }
  ids.removeDuplicates();
  std::vector<std::pair<qint64, std::unique_ptr<LeftCopy>>> dated;
  for (const QString& id : ids) {
    const CopyFiles files = dir->files(id);
    const int fd = dir->takeLock(files.lock(), O_CREAT);
    if (fd < 0) continue;  // its quorpad is still running
    // A write cut short leaves its temporary file; the copy before it is still whole.
    dir->remove(files.temporary());
    struct stat copy {};
    if (!dir->regularFile(files.copy(), copy)) {
      // Nothing to offer: no copy, or something that is not a copy in its place.
      if (!dir->exists(files.copy())) dir->remove(files.lock());
      ::close(fd);
      continue;
    }
    // A copy someone else wrote (another user's, or one others may write to, planted while
    // the folder was open to them) is never offered: it goes aside under a name no copy has.
    if (!dir->ownFile(files.copy()).isEmpty()) {
      dir->rename(files.copy(), files.copy() + QStringLiteral(".foreign"));
      dir->remove(files.lock());
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
