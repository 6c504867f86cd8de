// Shared helpers of the engine tests: a temporary store folder and fake caller objects.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "template/tmpeng.h"

namespace enginetest {

namespace fs = std::filesystem;

// A fresh folder under the system's temporary folder, removed again afterwards.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (fs::temp_directory_path() / "quorpad-engine-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ec;
    fs::permissions(path_, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(path_, ec);
  }
  const fs::path& path() const { return path_; }
  fs::path store() const { return path_ / "templates.dat"; }

  void Write(const std::string& bytes) const {
    std::ofstream out(store(), std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  std::string Read() const {
    std::ifstream in(store(), std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
  }

 private:
  fs::path path_;
};

// Store bytes written readably: every '|' becomes the field separator, byte 4. Encoded line
// breaks are written as the octal escapes "\2\3".
inline std::string Rec(std::string bytes) {
  for (char& c : bytes) {
    if (c == '|') c = '\x04';
  }
  return bytes;
}
inline std::u16string Rec(std::u16string text) {
  for (char16_t& c : text) {
    if (c == u'|') c = u'\x04';
  }
  return text;
}

// A tree view that keeps its nodes in a vector and, like a real one, can refuse keys.
class FakeTree : public templates::TreeView {
 public:
  std::vector<std::pair<std::u16string, std::u16string>> nodes;  // key, text
  int clears = 0;
  bool unique_keys = false;  // refuse a key the tree already holds

  void Clear() override {
    ++clears;
    nodes.clear();
  }
  void Add(const std::u16string& key, const std::u16string& text) override {
    if (unique_keys) {
      for (const auto& node : nodes) {
        if (node.first == key) throw std::invalid_argument("key is not unique");
      }
    }
    nodes.emplace_back(key, text);
  }
  int Count() const override { return static_cast<int>(nodes.size()); }
  std::u16string Text(int i) const override { return nodes.at(static_cast<size_t>(i - 1)).second; }
  std::u16string Key(int i) const override { return nodes.at(static_cast<size_t>(i - 1)).first; }
};

// Thirteen menu slots that start as the menu's design leaves them.
class FakeSlots : public templates::MenuSlots {
 public:
  std::vector<std::u16string> captions = std::vector<std::u16string>(13, u"Not Set");
  std::vector<std::u16string> tags = std::vector<std::u16string>(13);

  void SetCaption(int n, const std::u16string& caption) override { At(captions, n) = caption; }
  void SetTag(int n, const std::u16string& tag) override { At(tags, n) = tag; }

 private:
  static std::u16string& At(std::vector<std::u16string>& v, int n) {
    if (n < 1 || n > static_cast<int>(v.size())) throw std::out_of_range("no such menu item");
    return v[static_cast<size_t>(n - 1)];
  }
};

// An object that supports nothing the engine asks for.
class PlainObject : public templates::Object {};

// The number of the EngineError that `body` throws, or 0 when it throws none.
template <class F>
int ErrorOf(F&& body) {
  try {
    body();
  } catch (const templates::EngineError& e) {
    return e.number();
  }
  return 0;
}

// Starts `body` in a child process whose files cannot grow past `file_size_limit` bytes, as
// on a full disk (root ignores folder permissions, so a size limit is how a write is made to
// fail). The child leaves by _exit, running none of the parent's cleanup; its exit code is 0,
// the number of the EngineError that `body` threw (those below 256), or 255 for anything else.
template <class F>
pid_t Spawn(F&& body, rlim_t file_size_limit = RLIM_INFINITY) {
  const pid_t pid = ::fork();
  if (pid != 0) return pid;
  int code = 0;
  ::signal(SIGXFSZ, SIG_IGN);  // a write past the limit fails with EFBIG instead
  const rlimit limit{file_size_limit, file_size_limit};
  if (file_size_limit != RLIM_INFINITY && ::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(254);
  try {
    body();
  } catch (const templates::EngineError& e) {
    code = e.number();
  } catch (...) {
    code = 255;
  }
  ::_exit(code);
}

// Waits for a child started by Spawn and returns its exit code (-1 when it did not exit).
inline int Wait(pid_t pid) {
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

template <class F>
int InChild(F&& body, rlim_t file_size_limit = RLIM_INFINITY) {
  return Wait(Spawn(std::forward<F>(body), file_size_limit));
}

// Waits for a child started by Spawn for at most `seconds`; a child still running then is
// killed and -2 returned, so that a call that waits for ever fails the test instead of
// holding it up.
inline int WaitWithin(pid_t pid, int seconds) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  for (;;) {
    int status = 0;
    const pid_t done = ::waitpid(pid, &status, WNOHANG);
    if (done == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (done < 0) return -1;
    if (std::chrono::steady_clock::now() >= end) {
      ::kill(pid, SIGKILL);
      ::waitpid(pid, &status, 0);
      return -2;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

// In a child process: gives up root for the user nobody, where a test needs the rights of
// an ordinary user (root writes into read-only folders regardless).
inline void BecomeOrdinaryUser() {
  if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) {
    throw std::runtime_error("cannot become the user nobody");
  }
}

// A second process holding an flock on `file`, shared or exclusive, until it is stopped: a
// shell that takes the lock and then becomes `sleep`, so that the one process started holds
// it and ending that process lets it go.
class LockHolder {
 public:
  LockHolder(const fs::path& file, bool exclusive) {
    pid_ = ::fork();
    if (pid_ == 0) {
      const std::string script = std::string("exec 9>>\"$0\" && flock ") +
                                 (exclusive ? "-x" : "-s") + " 9 && exec sleep 300";
      ::execl("/bin/sh", "sh", "-c", script.c_str(), file.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    // Held once another open of the file can no longer take it exclusively.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (pid_ > 0 && std::chrono::steady_clock::now() < end) {
      const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
      const bool taken = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
      if (fd >= 0) ::close(fd);
      if (taken) {
        held_ = true;
        break;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  ~LockHolder() { Stop(); }
  LockHolder(const LockHolder&) = delete;
  LockHolder& operator=(const LockHolder&) = delete;

  bool held() const { return held_; }
  // Stops the holder as a debugger or Ctrl+Z would, the lock still held; true once stopped.
  bool Pause() {
    int status = 0;
    return ::kill(pid_, SIGSTOP) == 0 && ::waitpid(pid_, &status, WUNTRACED) == pid_ &&
           WIFSTOPPED(status);
  }
  void Stop() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  pid_t pid_ = -1;
  bool held_ = false;
};

// The names of the files in a folder.
inline std::set<std::string> FilesIn(const fs::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    names.insert(entry.path().filename().string());
  }
  return names;
}

}  // namespace enginetest
