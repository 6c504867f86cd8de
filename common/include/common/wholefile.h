// Reading and writing a whole file, each in one call that leaves nothing half done.
#pragma once

#include <QByteArray>
#include <QString>
#include <string_view>

// Reads the whole file at `path` into `bytes`, at most `limit` bytes. Anything that is not a
// regular file once links are followed (a folder, a device, a pipe) is refused without
// blocking on it, and no more than `limit` bytes are read whatever size the file reports.
// Returns an empty string on success, else the reason.
QString ReadWholeFile(const QString& path, qint64 limit, QByteArray& bytes);
// The same for a file already open as `fd` (which is not closed): refused unless it is a
// regular file, and read up to `limit` bytes at most.
QString ReadWholeDescriptor(int fd, qint64 limit, QByteArray& bytes);

// Where and how WriteFileAtomically writes, for files that are not a user's document.
struct AtomicWriteOptions {
  // The file is readable and writable by its user alone (0600), whatever the file it
  // replaces or the creation mask allowed, and keeps no other owner: for text that the user
  // has not chosen to keep anywhere yet.
  bool userOnly = false;
  // An open folder that the caller has checked, `path` being a name in it. The file is then
  // reached through that folder alone and never through a link: a link in its place is
  // refused like anything else that is not a regular file.
  int folder = -1;
  // The temporary file's name beside the file, for a caller that has one nobody else writes
  // (named after a lock it holds, say): what a write cut short leaves there is then the
  // caller's to find. Without it, a hidden name of this process's is made each time.
  QString temporary;
};

// Writes `bytes` to `path` through a temporary file beside it that replaces it only once
// complete and on disk, so a failed write at any step leaves the old file byte for byte. A
// link is written through: the file it leads to is replaced and the link stays; but another
// user's link in a sticky folder that every user may write to (such as /tmp) is refused,
// as the kernel refuses to follow it. Temporary files that an earlier save of the same name
// left behind (its process killed midway) are removed first. An existing
// file keeps its permissions, and its owner and group where the user may set them. A target
// that exists and is not a regular file is refused. Returns an empty string on success, else
// the reason in the system's own words. `options` change some of this as they say.
QString WriteFileAtomically(const QString& path, std::string_view bytes,
                            const AtomicWriteOptions& options = {});

// Removes the temporary files ".<base>.<pid>.<anything>.tmp" in `folder` (reached from `at`:
// an open folder, or AT_FDCWD) that writes left behind when their process was killed
// midway: those of a process that no longer runs, owned by this user. A write under way in
// another process is left alone.
void RemoveLeftTemporaries(int at, const QByteArray& folder, const QByteArray& base);

// The file that a write to `path` replaces: `path` with every link on the way followed.
QString WrittenPath(const QString& path);
