// The store file on disk: locking, reading it whole, appending a line, replacing it.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace templates::detail {

// An advisory lock on a lock file beside the store, held for the life of the object. The
// store itself cannot carry the lock because a rewrite replaces it by a rename. Writers
// hold it exclusively from their reading pass to the end of their write, readers shared,
// so two processes never lose each other's change.
class StoreLock {
 public:
  enum class Mode { kShared, kExclusive };
  StoreLock(const std::filesystem::path& store, Mode mode);
  ~StoreLock();
  StoreLock(const StoreLock&) = delete;
  StoreLock& operator=(const StoreLock&) = delete;

 private:
  int fd_ = -1;
};

// Fails with error 53 when the store does not exist; the store is never created.
void RequireStore(const std::filesystem::path& store);

// Reads the whole store.
std::string ReadStore(const std::filesystem::path& store);

// Appends bytes to the end of the store. A write that fails midway is cut back off, so the
// store never keeps half a line.
void AppendToStore(const std::filesystem::path& store, std::string_view bytes);

// Replaces the store's content: written to a temporary file in the same folder, flushed to
// disk and renamed over the store, so that a failure at any point leaves the old file
// byte for byte.
void ReplaceStore(const std::filesystem::path& store, std::string_view content);

// Throws the EngineError matching a system error number.
[[noreturn]] void ThrowSystemError(int err, const std::filesystem::path& file,
                                   const std::string& action);

}  // namespace templates::detail
