// The store's lock file: where it lives, and waiting for it within a time limit.
#include "lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <condition_variable>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "store.h"
#include "template/tmpeng.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace templates::detail {
namespace {

enum class Wait { kHeld, kTimedOut, kFailed };

// Takes the lock by polling, for when no thread can be started to wait for it.
Wait PollBy(Fd& fd, int op, Clock::time_point deadline, int& err) {
  std::chrono::milliseconds pause{1};
  for (;;) {
    if (::flock(fd.get(), op | LOCK_NB) == 0) return Wait::kHeld;
    if (errno != EWOULDBLOCK && errno != EINTR) {
      err = errno;
      return Wait::kFailed;
    }
    const auto now = Clock::now();
    if (now >= deadline) return Wait::kTimedOut;
    std::this_thread::sleep_for(std::min<Clock::duration>(pause, deadline - now));
    pause = std::min(pause * 2, std::chrono::milliseconds{50});
  }
}

struct LockWaiter {
  std::mutex mutex;
  std::condition_variable done;
  bool finished = false;
  bool abandoned = false;
  int err = 0;
};

// Takes `op` on `fd` by the deadline. A lock that is not free at once is waited for by a
// helper thread in a blocking flock, which, unlike polling, gets the lock as soon as it is
// let go even when its holder takes it again at once. A blocking flock cannot be given a
// time limit, so when the deadline passes first the helper is left behind with the
// descriptor: once the lock comes free it lets it go again and closes the descriptor.
// Helpers left behind still wait while the holder keeps the lock. Only a few are kept: past
// them a wait polls, so a holder that never lets go cannot make a long session pile up
// threads and descriptors, one for every call that gave up.
constexpr int kMostWaitersLeftBehind = 2;
std::atomic<int> waiters_left_behind{0};

Wait LockBy(Fd& fd, int op, Clock::time_point deadline, int& err) {
  for (;;) {
    if (::flock(fd.get(), op | LOCK_NB) == 0) return Wait::kHeld;
    if (errno == EINTR) continue;
    if (errno != EWOULDBLOCK) {
      err = errno;
      return Wait::kFailed;
    }
    break;
  }
  if (Clock::now() >= deadline) return Wait::kTimedOut;
  if (waiters_left_behind.load() >= kMostWaitersLeftBehind) return PollBy(fd, op, deadline, err);
  auto waiter = std::make_shared<LockWaiter>();
  const int waiting_fd = fd.get();
  try {
    std::thread([waiter, waiting_fd, op] {
      int failed = 0;
      while (::flock(waiting_fd, op) != 0) {
        if (errno != EINTR) {
          failed = errno;
          break;
        }
      }
      const std::lock_guard<std::mutex> guard(waiter->mutex);
      if (waiter->abandoned) {
        // Let go explicitly: a child process forked meanwhile shares the descriptor's lock.
        if (failed == 0) ::flock(waiting_fd, LOCK_UN);
        ::close(waiting_fd);
        waiters_left_behind.fetch_sub(1);
        return;
      }
      waiter->finished = true;
      waiter->err = failed;
      waiter->done.notify_one();
    }).detach();
  } catch (const std::system_error&) {
    return PollBy(fd, op, deadline, err);
  }
  std::unique_lock<std::mutex> guard(waiter->mutex);
  if (!waiter->done.wait_until(guard, deadline, [&] { return waiter->finished; })) {
    waiter->abandoned = true;
    waiters_left_behind.fetch_add(1);
    fd.Release();  // the helper closes it
    return Wait::kTimedOut;
  }
  if (waiter->err != 0) {
    err = waiter->err;
    return Wait::kFailed;
  }
  return Wait::kHeld;
}

[[noreturn]] void ThrowInUse(const fs::path& store, const std::string& lock_file) {
  throw EngineError(kErrPermissionDenied, store,
                    "the template store is in use by another process: its lock " + lock_file +
                        " did not come free within " + std::to_string(kLockWait.count()) +
                        " seconds");
}

// Whoever can open a lock file can hold the lock and so stop every other user of the store.
// It opens to the store's owner, and to its group and to others only where they may change
// the store; readers who may not can still read without it.
mode_t LockPermissions(mode_t store) {
  mode_t perms = S_IRUSR | S_IWUSR;
  if (store & S_IWGRP) perms |= S_IRGRP | S_IWGRP;
  if (store & S_IWOTH) perms |= S_IROTH | S_IWOTH;
  return perms;
}

// Opens (or creates) a lock file without following a link to it and without blocking;
// -1 with `failure` set when there can be none, and `closed` set when one exists that this
// user may not open.
int OpenLockFile(const std::string& path, mode_t perms, gid_t group, std::string& failure,
                 bool& closed) {
  constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  int raw = ::open(path.c_str(), O_RDWR | O_CREAT | kFlags, perms);
  // One that exists already may be open to this user for reading only; flock needs no more.
  if (raw < 0) raw = ::open(path.c_str(), O_RDONLY | kFlags);
  Fd fd(raw);
  if (fd.get() < 0) {
    closed = errno == EACCES || errno == EPERM;
    failure = (closed ? "the lock file " + path + " cannot be opened by this user ("
                      : "no lock file can be created as " + path + " (") +
              std::strerror(errno) + ")";
    return -1;
  }
  struct stat st;
  if (::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
    failure = path + " is not a regular file and cannot serve as a lock file";
    return -1;
  }
  // Where this user owns it, it opens to exactly those who may change the store, whatever
  // the creation mask took away: one left open to others (as older versions made it) is
  // narrowed, and the store's group gets it back where the mask or the creator's own group
  // would keep out members who may change the store.
  if (st.st_uid == ::geteuid()) {
    if ((perms & S_IWGRP) != 0 && st.st_gid != group) {
      if (::fchown(fd.get(), static_cast<uid_t>(-1), group) != 0) {
        // Not a member of the store's group: the group's members lock beside it only if
        // they may open it another way, and are refused a change otherwise.
      }
    }
    if ((st.st_mode & 0777) != perms && ::fchmod(fd.get(), perms) != 0) {
      // It stays as it is; the lock works regardless.
    }
  }
  return fd.Release();
}

// The user's runtime folder, or "" with `failure` set. $XDG_RUNTIME_DIR where it is set
// and this user's; otherwise a folder private to this user in the temporary folder.
fs::path RuntimeFolder(std::string& failure) {
  const uid_t uid = ::geteuid();
  if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg && xdg[0] == '/') {
    struct stat st;
    if (::stat(xdg, &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == uid &&
        ::access(xdg, W_OK | X_OK) == 0) {
      return xdg;
    }
  }
  std::error_code ec;
  fs::path temp = fs::temp_directory_path(ec);
  if (ec) temp = "/tmp";
  const fs::path folder = temp / ("templates-" + std::to_string(uid));
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    failure = "no runtime folder can be created as " + folder.string() + " (" +
              std::strerror(errno) + ")";
    return {};
  }
  // Someone else's folder of that name, or a link, would let another user hold the lock.
  struct stat st;
  if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != uid ||
      (st.st_mode & 077) != 0) {
    failure = folder.string() + " is not a folder private to this user";
    return {};
  }
  return folder;
}

bool SameFile(const struct stat& a, const struct stat& b) {
  return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

struct stat StatStore(const fs::path& store) {
  struct stat st;
  if (::stat(store.c_str(), &st) != 0) {
    RequireStore(store);  // names a store that has gone
    ThrowSystemError(errno, store, "cannot reach the template store");
  }
  return st;
}

}  // namespace

StoreLock::StoreLock(const fs::path& store, Mode mode) {
  const auto deadline = Clock::now() + kLockWait;
  const int op = mode == Mode::kShared ? LOCK_SH : LOCK_EX;
  const struct stat st = StatStore(store);
  std::string beside_failure, runtime_failure;
  bool closed = false;
  if (LockBeside(store, st, op, deadline, beside_failure, closed)) return;
  // A lock file beside the store that this user may not open is another user's, who may be
  // changing the store this user may change too: a lock in this user's runtime folder would
  // not keep the two apart. (A store this user may not change is refused by the write.)
  if (closed && mode == Mode::kExclusive && ::access(store.c_str(), W_OK) == 0) {
    throw EngineError(kErrPermissionDenied, store,
                      "the template store is not changed, since another user who may change "
                      "it holds its lock file: " +
                          beside_failure);
  }
  if (LockInRuntimeFolder(store, op, deadline, runtime_failure)) return;
  // A reader without a lock may at worst see an add half done; it changes nothing.
  if (mode == Mode::kShared) return;
  throw EngineError(kErrPermissionDenied, store,
                    "the template store is not changed, since it cannot be locked against "
                    "other processes: " +
                        beside_failure + "; " + runtime_failure);
}

bool StoreLock::LockBeside(const fs::path& store, const struct stat& store_stat, int op,
                           Clock::time_point deadline, std::string& failure, bool& closed) {
  const std::string path = store.string() + ".lock";
  Fd fd(
      OpenLockFile(path, LockPermissions(store_stat.st_mode), store_stat.st_gid, failure, closed));
  if (fd.get() < 0) return false;
  // Made by root on a user's store, it goes to the store's owner, or that user could no
  // longer open it.
  struct stat own;
  if (::geteuid() == 0 && ::fstat(fd.get(), &own) == 0 && own.st_uid == 0 &&
      (store_stat.st_uid != 0 || store_stat.st_gid != own.st_gid)) {
    if (::fchown(fd.get(), store_stat.st_uid, store_stat.st_gid) != 0) {
      // It stays root's; that user then locks in the runtime folder instead.
    }
  }
  int err = 0;
  switch (LockBy(fd, op, deadline, err)) {
    case Wait::kHeld:
      fd_ = fd.Release();
      return true;
    case Wait::kTimedOut:
      ThrowInUse(store, path);
    case Wait::kFailed:
      break;
  }
  failure = "cannot lock " + path + " (" + std::strerror(err) + ")";
  return false;
}

bool StoreLock::LockInRuntimeFolder(const fs::path& store, int op, Clock::time_point deadline,
                                    std::string& failure) {
  const fs::path folder = RuntimeFolder(failure);
  if (folder.empty()) return false;
  for (;;) {
    // Named after the file that is the store now; a rewrite that replaces it meanwhile
    // retires this lock, and the loop takes the new file's.
    const struct stat key = StatStore(store);
    const std::string path =
        (folder / (store.filename().string() + "." + std::to_string(key.st_dev) + "." +
                   std::to_string(key.st_ino) + ".lock"))
            .string();
    bool closed = false;
    Fd fd(OpenLockFile(path, 0600, ::getegid(), failure, closed));
    if (fd.get() < 0) return false;
    int err = 0;
    switch (LockBy(fd, op, deadline, err)) {
      case Wait::kHeld:
        break;
      case Wait::kTimedOut:
        ThrowInUse(store, path);
      case Wait::kFailed:
        failure = "cannot lock " + path + " (" + std::strerror(err) + ")";
        return false;
    }
    struct stat held, named;
    if (::fstat(fd.get(), &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
        SameFile(held, named)) {
      if (SameFile(StatStore(store), key)) {
        fd_ = fd.Release();
        keyed_path_ = path;
        return true;
      }
      // The store was replaced between naming this lock and getting it, and this lock file
      // was made again after its rewrite retired it; it is retired here the same way.
      ::unlink(path.c_str());
    }
    if (Clock::now() >= deadline) ThrowInUse(store, path);
  }
}

void StoreLock::Retire() {
  if (!keyed_path_.empty()) ::unlink(keyed_path_.c_str());
}

StoreLock::~StoreLock() {
  if (fd_ >= 0) ::close(fd_);  // closing the descriptor releases the lock
}

}  // namespace templates::detail
