// The store file on disk: locking, reading it whole or a block at a time, appending a line,
// and writing a new store that replaces the old one.
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

// Reads the store a block at a time and hands out its lines by the line rule of ForEachLine.
class StoreReader {
 public:
  explicit StoreReader(const std::filesystem::path& store);
  ~StoreReader();
  StoreReader(const StoreReader&) = delete;
  StoreReader& operator=(const StoreReader&) = delete;
  // The next line; false at the end of the file. The view lives until the next call.
  bool Next(std::string_view& line);

 private:
  void Fill();
  std::filesystem::path store_;
  int fd_ = -1;
  std::string buffer_;
  std::size_t start_ = 0, end_ = 0;
  bool skip_lf_ = false, eof_ = false;
};

// Writes a new store into a temporary file in the same folder; Commit flushes it to disk and
// renames it over the store. Without Commit the temporary file is removed, so a failure at
// any point leaves the old store byte for byte.
class StoreWriter {
 public:
  explicit StoreWriter(const std::filesystem::path& store);
  ~StoreWriter();
  StoreWriter(const StoreWriter&) = delete;
  StoreWriter& operator=(const StoreWriter&) = delete;
  void Write(std::string_view bytes);
  void Commit();

 private:
  void Flush();
  [[noreturn]] void Fail(int err, const std::string& action);
  std::filesystem::path store_;
  std::string temp_;
  int fd_ = -1;
  std::string buffer_;
};

// Throws the EngineError matching a system error number.
[[noreturn]] void ThrowSystemError(int err, const std::filesystem::path& file,
                                   const std::string& action);

}  // namespace templates::detail
