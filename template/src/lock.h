// The store's lock, held by every engine call that touches the store, and never waited for
// without limit.
#pragma once

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <string>

namespace templates::detail {

// How long an engine call waits for the store's lock before it gives up with error 70.
inline constexpr std::chrono::seconds kLockWait{5};

// An advisory lock, held for the life of the object. The store itself cannot carry it
// because a rewrite replaces the store by a rename, so it lives in a lock file: beside the
// store ("templates.dat.lock", created with permissions no wider than the store's and, by
// root, given to the store's owner), or,
// where none can be made there (a read-only program folder), in the user's runtime folder,
// named after the store's device and inode. Writers hold it exclusively from their reading
// pass to the end of their write, readers shared, so two processes never lose each other's
// change. Where no lock can be had at all, readers go on without one and writers fail.
class StoreLock {
 public:
  enum class Mode { kShared, kExclusive };
  StoreLock(const std::filesystem::path& store, Mode mode);
  ~StoreLock();
  StoreLock(const StoreLock&) = delete;
  StoreLock& operator=(const StoreLock&) = delete;

  // To be called once a rewrite has put its new file in the store's place: a lock named
  // after the old file's inode guards nothing any more and is removed. Whoever waits on it
  // finds it gone once it gets it and takes the new file's lock instead.
  void Retire();

 private:
  // `closed` is set where a lock file is there that this user may not open.
  bool LockBeside(const std::filesystem::path& store, const struct stat& store_stat, int op,
                  std::chrono::steady_clock::time_point deadline, std::string& failure,
                  bool& closed);
  bool LockInRuntimeFolder(const std::filesystem::path& store, int op,
                           std::chrono::steady_clock::time_point deadline, std::string& failure);
  int fd_ = -1;
  std::string keyed_path_;  // the lock file in the runtime folder, when the lock is there
};

}  // namespace templates::detail
