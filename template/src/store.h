// The store file on disk: reading it whole or a block at a time, appending a line, and
// writing a new store that replaces the old one. Locking is in lock.h.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "record.h"

namespace templates::detail {

// Closes a descriptor when it goes out of scope.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd();
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  // Hands the descriptor over; it is no longer closed here.
  int Release();
  // Closes now and reports the result, since a failed close can mean lost data.
  int Close();

 private:
  int fd_;
};

// Fails with error 53 when the store does not exist, and with error 75 when it is not a
// regular file (a FIFO, a device, a folder, or a link to one), which no pass could read or
// write without blocking or reading for ever. The store is never created.
void RequireStore(const std::filesystem::path& store);

// Opens the store with the access `flags` (O_RDONLY, O_WRONLY, O_RDWR, O_APPEND) without
// ever blocking, and makes sure that what was opened is a regular file. -1 with errno set
// when the open itself fails; error 75 when something other than a regular file stands
// there now.
int OpenStoreFile(const std::filesystem::path& store, int flags);

// Reads the whole store.
std::string ReadStore(const std::filesystem::path& store);

// Appends a line to the end of the store. A store whose last line lacks its line end gets
// one first, so that the line appended stands on its own. A write that fails midway is cut
// back off, so the store never keeps half a line.
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
  LineEnds ends_;
  bool skip_lf_ = false, eof_ = false;
};

// Writes a new store into a temporary file beside it; Commit flushes it to disk and renames
// it over the store. Without Commit the temporary file is removed, so a failure at any point
// leaves the old store byte for byte. A store that is a symbolic link is written through
// it: the new file replaces the link's target and the link stays. The new file keeps the
// old one's mode, and its owner and group where this user may set them.
//
// Temporary files are named ".templates.dat.<pid>.XXXXXX", a name nobody else makes; the
// writer runs under the store's exclusive lock and first removes those whose process is
// gone, the remains of a writer killed midway.
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
  void KeepOwnerAndMode();
  std::filesystem::path store_;   // as the caller named it
  std::filesystem::path target_;  // the file replaced: the store, or what its link points to
  std::string temp_;
  int fd_ = -1;
  std::string buffer_;
};

// Removes the temporary files of writers of `target` in its folder whose process is gone.
// Only names of the writer's own pattern are considered; every other file stays.
void RemoveStaleTemporaryFiles(const std::filesystem::path& target);

// Throws the EngineError matching a system error number.
[[noreturn]] void ThrowSystemError(int err, const std::filesystem::path& file,
                                   const std::string& action);

}  // namespace templates::detail
