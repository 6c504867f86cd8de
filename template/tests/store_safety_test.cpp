// The store under faults that other processes and the file system bring: a lock held by
// someone else, a store that is no regular file, a linked or foreign-owned store, a
// read-only program folder, and a rewrite killed midway.
#include <grp.h>
#include <sys/stat.h>

#include <cstdlib>
#include <map>

#include "engine_test_support.h"

namespace {

using enginetest::BecomeOrdinaryUser;
using enginetest::FakeSlots;
using enginetest::FakeTree;
using enginetest::FilesIn;
using enginetest::InChild;
using enginetest::LockHolder;
using enginetest::Rec;
using enginetest::Spawn;
using enginetest::TempFolder;
using enginetest::WaitWithin;
using templates::kTrue;
using templates::tmpeng;
namespace fs = std::filesystem;

const std::string kStore = Rec("1|a|va\r\n1|b|vb\r\n");

// A bound on a call that must give up by itself: far above the lock's wait, so that only a
// call that waits for ever (or nearly) fails it.
constexpr int kBoundSeconds = 60;

using Member = void (*)(tmpeng&);
struct NamedMember {
  const char* name;
  Member call;
};

const std::vector<NamedMember> kReaders = {
    {"Template_LoadA",
     [](tmpeng& e) {
       FakeTree tree;
       e.Template_LoadA(tree);
     }},
    {"Template_LoadB",
     [](tmpeng& e) {
       FakeSlots slots;
       e.Template_LoadB(slots);
     }},
    {"Check_Exists",
     [](tmpeng& e) {
       FakeTree unused;
       e.Check_Exists(u"x", u"y", unused);
     }},
};
const std::vector<NamedMember> kWriters = {
    {"Template_AddB", [](tmpeng& e) { e.Template_AddB(u"new", u"new"); }},
    {"Template_EditB", [](tmpeng& e) { e.Template_EditB(u"a", u"changed"); }},
    {"Template_RmB", [](tmpeng& e) { e.Template_RmB(u"b"); }},
};
std::vector<NamedMember> AllMembers() {
  std::vector<NamedMember> all = kReaders;
  all.insert(all.end(), kWriters.begin(), kWriters.end());
  return all;
}

// Runs every member at once, each in a child process of its own, and gives each one's exit
// code: 0, the number of the EngineError it threw, or -2 when it had not ended in time.
std::map<std::string, int> RunEach(const fs::path& folder,
                                   const std::vector<NamedMember>& members) {
  std::vector<std::pair<std::string, pid_t>> started;
  for (const NamedMember& m : members) {
    const Member call = m.call;
    started.emplace_back(m.name, Spawn([folder, call] {
                           tmpeng engine(folder);
                           call(engine);
                         }));
  }
  std::map<std::string, int> codes;
  for (const auto& [name, pid] : started) codes[name] = WaitWithin(pid, kBoundSeconds);
  return codes;
}

std::map<std::string, int> Expect(const std::vector<NamedMember>& members, int code) {
  std::map<std::string, int> codes;
  for (const NamedMember& m : members) codes[m.name] = code;
  return codes;
}

fs::perms PermsOf(const fs::path& file) {
  return fs::symlink_status(file).permissions();
}

// ---------------------------------------------------------------------------------------
// The lock: held by another process, it is waited for a few seconds, never for ever.

class StoreLockWait : public ::testing::Test {
 protected:
  void SetUp() override { dir.Write(kStore); }
  fs::path LockFile() const { return dir.path() / "templates.dat.lock"; }
  TempFolder dir;
};

TEST_F(StoreLockWait, ExclusiveHolderMakesEveryCallGiveUpWithError70) {
  LockHolder holder(LockFile(), true);
  ASSERT_TRUE(holder.held());
  EXPECT_EQ(RunEach(dir.path(), AllMembers()), Expect(AllMembers(), 70));
  EXPECT_EQ(dir.Read(), kStore);
  holder.Stop();
  EXPECT_EQ(RunEach(dir.path(), kReaders), Expect(kReaders, 0));
  EXPECT_EQ(InChild([&] { tmpeng(dir.path()).Template_AddB(u"new", u"new"); }), 0);
  EXPECT_EQ(dir.Read(), kStore + Rec("1|new|new\r\n"));
}

TEST_F(StoreLockWait, SharedHolderLetsReadersInAndKeepsWritersOut) {
  LockHolder holder(LockFile(), false);
  ASSERT_TRUE(holder.held());
  EXPECT_EQ(RunEach(dir.path(), kReaders), Expect(kReaders, 0));
  EXPECT_EQ(RunEach(dir.path(), kWriters), Expect(kWriters, 70));
  EXPECT_EQ(dir.Read(), kStore);
}

TEST_F(StoreLockWait, StoppedHolderFailsTheCallWithAReasonAndTheNextCallWorks) {
  LockHolder holder(LockFile(), true);
  ASSERT_TRUE(holder.held());
  ASSERT_TRUE(holder.Pause());
  tmpeng engine(dir.path());
  try {
    engine.Template_RmB(u"a");
    ADD_FAILURE() << "the remove went through a held lock";
  } catch (const templates::EngineError& e) {
    EXPECT_EQ(e.number(), 70);
    EXPECT_EQ(e.file(), dir.store());
    const std::string what = e.what();
    EXPECT_NE(what.find("Permission denied"), std::string::npos) << what;
    EXPECT_NE(what.find("in use by another process"), std::string::npos) << what;
  }
  EXPECT_EQ(dir.Read(), kStore);
  // Once the holder is gone, the same process (whose first wait was given up) gets the lock.
  holder.Stop();
  EXPECT_EQ(engine.Template_AddB(u"c", u"vc"), kTrue);
  engine.Template_RmB(u"a");
  EXPECT_EQ(dir.Read(), Rec("\r\n1|b|vb\r\n1|c|vc\r\n\r\n"));
}

TEST_F(StoreLockWait, HolderThatNeverLetsGoLeavesFewWaitersBehind) {
  LockHolder holder(LockFile(), true);
  ASSERT_TRUE(holder.held());
  ASSERT_TRUE(holder.Pause());
  tmpeng engine(dir.path());
  const auto threads = [] {
    return std::distance(fs::directory_iterator("/proc/self/task"), fs::directory_iterator());
  };
  const auto before = threads();
  for (int call = 0; call < 4; ++call)
    EXPECT_THROW(engine.Template_RmB(u"a"), templates::EngineError) << "call " << call;
  EXPECT_LE(threads() - before, 2);
  holder.Stop();
  EXPECT_EQ(engine.Template_AddB(u"c", u"vc"), kTrue);
}

TEST_F(StoreLockWait, LockFileOpensOnlyToThoseWhoMayChangeTheStore) {
  // Whoever can open the lock file can hold the lock and stop every other user of the
  // store: the owner always, the group and others only where they may write the store.
  const mode_t old_mask = ::umask(0);
  const std::pair<fs::perms, fs::perms> cases[] = {{fs::perms(0600), fs::perms(0600)},
                                                   {fs::perms(0644), fs::perms(0600)},
                                                   {fs::perms(0444), fs::perms(0600)},
                                                   {fs::perms(0664), fs::perms(0660)},
                                                   {fs::perms(0666), fs::perms(0666)}};
  for (const auto& [store, lock] : cases) {
    fs::remove(LockFile());
    fs::permissions(dir.store(), store);
    FakeTree tree;
    tmpeng(dir.path()).Template_LoadA(tree);
    EXPECT_EQ(PermsOf(LockFile()), lock) << "store " << static_cast<int>(store);
  }
  // One left open to everybody (as older versions made it) is narrowed.
  fs::permissions(LockFile(), fs::perms(0666));
  fs::permissions(dir.store(), fs::perms(0644));
  tmpeng(dir.path()).Template_AddB(u"c", u"vc");
  EXPECT_EQ(PermsOf(LockFile()), fs::perms(0600));
  ::umask(old_mask);
  if (::geteuid() != 0) return;
  // Another user, who may read the store but not change it, cannot even open the lock.
  fs::permissions(dir.path(), fs::perms(0755));
  const pid_t child = ::fork();
  if (child == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(2);
    const int fd = ::open(LockFile().c_str(), O_RDONLY | O_CLOEXEC);
    ::_exit(fd < 0 && errno == EACCES ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

// Two users who may both change a store share its lock: the lock file goes to the store's
// group whatever the creator's own group and creation mask, and where another user's lock
// file cannot be opened, a change is refused rather than locked apart in this user's own
// runtime folder. The users are two uids of no name, members of the store's group alone.
TEST_F(StoreLockWait, UsersWhoMayChangeTheStoreShareItsLock) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as other users";
  static constexpr gid_t kGroup = 100;
  const auto as = [](uid_t user, auto body) {
    return InChild([user, body] {
      if (::setgroups(1, &kGroup) != 0 || ::setgid(user) != 0 || ::setuid(user) != 0) ::_exit(250);
      body();
    });
  };
  const mode_t old_mask = ::umask(022);
  fs::permissions(dir.path(), fs::perms(0777));
  const struct {
    const char* name;
    fs::perms store;
    bool firstUserMakesTheLock;  // else it is root's alone
  } cases[] = {{"the group may change it", fs::perms(0664), true},
               {"a lock file the user may not open", fs::perms(0666), false}};
  for (const auto& c : cases) {
    dir.Write(kStore);
    ASSERT_EQ(::chown(dir.store().c_str(), 0, kGroup), 0);
    fs::permissions(dir.store(), c.store);
    fs::remove(LockFile());
    if (c.firstUserMakesTheLock) {
      ASSERT_EQ(as(60001,
                   [this] {
                     FakeTree tree;
                     tmpeng(dir.path()).Template_LoadA(tree);
                   }),
                0);
      struct stat lock {};
      ASSERT_EQ(::stat(LockFile().c_str(), &lock), 0);
      EXPECT_EQ(lock.st_gid, kGroup) << c.name;
      EXPECT_EQ(lock.st_mode & 0777, 0660u) << c.name;
    } else {
      const int fd = ::open(LockFile().c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
      ASSERT_GE(fd, 0);
      ::close(fd);
    }
    LockHolder holder(LockFile(), true);
    ASSERT_TRUE(holder.held()) << c.name;
    EXPECT_EQ(as(60002, [this] { tmpeng(dir.path()).Template_AddB(u"other", u"user"); }), 70)
        << c.name;
    EXPECT_EQ(dir.Read(), kStore) << c.name;
  }
  ::umask(old_mask);
}

// ---------------------------------------------------------------------------------------
// A store that is not a regular file is refused at once with error 75, and left as it is.

TEST(StoreKind, FifoDeviceAndFolderAreRefusedWithError75WithoutBlocking) {
  struct Case {
    const char* what;
    void (*make)(const fs::path& store);
  };
  const Case cases[] = {
      {"a FIFO (named pipe)", [](const fs::path& s) { ASSERT_EQ(::mkfifo(s.c_str(), 0644), 0); }},
      {"a character device", [](const fs::path& s) { fs::create_symlink("/dev/zero", s); }},
      {"a character device", [](const fs::path& s) { fs::create_symlink("/dev/null", s); }},
      {"a folder", [](const fs::path& s) { fs::create_directory(s); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    TempFolder dir;
    c.make(dir.store());
    const auto type = fs::symlink_status(dir.store()).type();
    EXPECT_EQ(RunEach(dir.path(), AllMembers()), Expect(AllMembers(), 75));
    EXPECT_EQ(fs::symlink_status(dir.store()).type(), type);  // not replaced by a file
    // The reason says what stands there.
    const std::string expected = std::string("is ") + c.what + ", not a regular file";
    const pid_t pid = Spawn([&] {
      try {
        tmpeng(dir.path()).Template_EditB(u"a", u"b");
      } catch (const templates::EngineError& e) {
        ::_exit(std::string(e.what()).find(expected) == std::string::npos ? 1 : 0);
      }
      ::_exit(2);
    });
    EXPECT_EQ(WaitWithin(pid, kBoundSeconds), 0);
  }
}

// ---------------------------------------------------------------------------------------
// A rewrite replaces the file the store is, keeping a link to it and its owner.

TEST(StoreLink, RewritesWriteThroughTheLinkAndKeepIt) {
  TempFolder program, synced;
  const fs::path target = synced.path() / "templates.dat";
  for (const fs::path& link :
       {fs::path(target), fs::relative(target, program.path())}) {  // absolute and relative
    SCOPED_TRACE(link.string());
    std::ofstream(target, std::ios::binary | std::ios::trunc) << kStore;
    fs::permissions(target, fs::perms(0640));
    fs::remove(program.store());
    fs::create_symlink(link, program.store());
    tmpeng engine(program.path());
    engine.Template_EditB(u"a", u"changed");
    engine.Template_RmB(u"b");
    EXPECT_EQ(engine.Template_AddB(u"c", u"vc"), kTrue);

    EXPECT_TRUE(fs::is_symlink(program.store()));
    EXPECT_EQ(fs::read_symlink(program.store()), link);
    EXPECT_EQ(program.Read(), Rec("1|a|changed\r\n\r\n\r\n\r\n1|c|vc\r\n"));
    EXPECT_EQ(PermsOf(target), fs::perms(0640));
    // No temporary file stays behind in either folder.
    EXPECT_EQ(FilesIn(synced.path()), std::set<std::string>{"templates.dat"});
    EXPECT_EQ(FilesIn(program.path()),
              (std::set<std::string>{"templates.dat", "templates.dat.lock"}));
  }
}

TEST(StoreOwner, RewriteByRootKeepsTheUsersOwnershipSoTheUserCanStillWriteIt) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can give the store to another user";
  TempFolder dir;
  dir.Write(kStore);
  fs::permissions(dir.path(), fs::perms::all);
  ASSERT_EQ(::chown(dir.store().c_str(), 65534, 65534), 0);
  fs::permissions(dir.store(), fs::perms(0600));
  tmpeng(dir.path()).Template_EditB(u"a", u"by root");
  struct stat st;
  ASSERT_EQ(::stat(dir.store().c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 65534u);
  EXPECT_EQ(st.st_gid, 65534u);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  ASSERT_EQ(::stat((dir.path() / "templates.dat.lock").c_str(), &st), 0);
  EXPECT_EQ(st.st_uid, 65534u);
  EXPECT_EQ(st.st_mode & 07777, 0600u);
  // The user still owns it, so the user's own next change goes through.
  EXPECT_EQ(InChild([&] {
              BecomeOrdinaryUser();
              tmpeng(dir.path()).Template_EditB(u"b", u"by the user");
            }),
            0);
  EXPECT_EQ(dir.Read(), Rec("1|a|by root\r\n1|b|by the user\r\n\r\n\r\n"));
}

// ---------------------------------------------------------------------------------------
// An add that must end the last line first still keeps only whole lines when it fails.

TEST(StoreAppend, FailedAddAfterAnUnendedLastLineLeavesTheStoreByteForByte) {
  TempFolder dir;
  const std::string before = Rec("1|a|va\r\n1|b|vb");
  dir.Write(before);
  // Room for nothing, for the CR alone, and for the line end but not the record.
  for (std::size_t room : {0, 1, 2}) {
    SCOPED_TRACE(room);
    EXPECT_EQ(InChild([&] { tmpeng(dir.path()).Template_AddB(u"c", u"vc"); }, before.size() + room),
              61);
    EXPECT_EQ(dir.Read(), before);
  }
}

// ---------------------------------------------------------------------------------------
// The temporary file of a rewrite killed midway is removed by the next rewrite; no other
// file is touched.

TEST(TemporaryFiles, RewriteKilledMidwayLeavesItsFileAndTheNextRewriteRemovesIt) {
  TempFolder dir;
  std::string before;
  for (int i = 0; i < 400; ++i)
    before += Rec("1|n" + std::to_string(i) + "|") + std::string(100, 'v') + "\r\n";
  dir.Write(before);
  // Files the cleaning must leave alone: a temporary file of a writer still running (init),
  // names that only look like one, the engine's old pattern, and a link and a folder that
  // match the pattern.
  const std::set<std::string> others = {".templates.dat.1.abcDEF",
                                        ".templates.dat.999999999.abc",
                                        ".templates.dat.x1.abcdef",
                                        ".other.dat.999999999.abcdef",
                                        "templates.dat.Ab12Cd",
                                        "notes.txt",
                                        ".templates.dat.999999998.linkxx",
                                        ".templates.dat.999999997.folder"};
  for (const std::string& name : others) {
    if (name.find("link") != std::string::npos) {
      fs::create_symlink("notes.txt", dir.path() / name);
    } else if (name.find("folder") != std::string::npos) {
      fs::create_directory(dir.path() / name);
    } else {
      std::ofstream(dir.path() / name) << "keep";
    }
  }

  // A real process killed by the kernel in the middle of writing its new store: its files
  // may not grow past 4 KiB, and a write beyond that ends it with SIGXFSZ.
  const pid_t writer = ::fork();
  if (writer == 0) {
    const rlimit size{4096, 4096}, no_core{0, 0};
    ::setrlimit(RLIMIT_CORE, &no_core);
    ::setrlimit(RLIMIT_FSIZE, &size);
    tmpeng(dir.path()).Template_EditB(u"n399", u"changed");
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(::waitpid(writer, &status, 0), writer);
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << status;
  EXPECT_EQ(dir.Read(), before);
  const std::string left_prefix = ".templates.dat." + std::to_string(writer) + ".";
  std::set<std::string> left;
  for (const std::string& name : FilesIn(dir.path())) {
    if (name.rfind(left_prefix, 0) == 0) left.insert(name);
  }
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left.begin()->size(), left_prefix.size() + 6);

  tmpeng(dir.path()).Template_EditB(u"n0", u"changed");
  std::set<std::string> expected = others;
  expected.insert({"templates.dat", "templates.dat.lock"});
  EXPECT_EQ(FilesIn(dir.path()), expected);
  EXPECT_EQ(dir.Read().substr(0, 15), Rec("1|n0|changed\r\n1"));
}

// ---------------------------------------------------------------------------------------
// A program folder that is read-only around a writable store: the lock moves to the user's
// runtime folder, and no write ever runs unlocked.

class RuntimeFolderLock : public ::testing::Test {
 protected:
  void SetUp() override {
    dir.Write(kStore);
    fs::permissions(dir.store(), fs::perms(0666));
    fs::permissions(dir.path(), fs::perms(0555));
    if (::geteuid() == 0) {
      ASSERT_EQ(::chown(runtime.path().c_str(), 65534, 65534), 0);
      ASSERT_EQ(::chown(unwritable.path().c_str(), 65534, 65534), 0);
    }
    fs::permissions(runtime.path(), fs::perms::owner_all);
    fs::permissions(unwritable.path(), fs::perms(0555));
  }

  // Runs `change` in a child as an ordinary user whose runtime folder is `runtime_folder`
  // ("" for none, with a temporary folder in which nothing can be made).
  template <class F>
  int AsUser(F&& change, const fs::path& runtime_folder) {
    return WaitWithin(Spawn([&] {
                        if (runtime_folder.empty()) {
                          ::unsetenv("XDG_RUNTIME_DIR");
                          ::setenv("TMPDIR", unwritable.path().c_str(), 1);
                        } else {
                          ::setenv("XDG_RUNTIME_DIR", runtime_folder.c_str(), 1);
                        }
                        BecomeOrdinaryUser();
                        tmpeng engine(dir.path());
                        change(engine);
                      }),
                      kBoundSeconds);
  }

  fs::path KeyedLock() const {
    struct stat st;
    EXPECT_EQ(::stat(dir.store().c_str(), &st), 0);
    return runtime.path() / ("templates.dat." + std::to_string(st.st_dev) + "." +
                             std::to_string(st.st_ino) + ".lock");
  }

  TempFolder dir, runtime, unwritable;
};

TEST_F(RuntimeFolderLock, ReadOnlyProgramFolderLocksInTheRuntimeFolder) {
  auto add = [](tmpeng& e) {
    if (e.Template_AddB(u"c", u"vc") != kTrue) ::_exit(1);
  };
  EXPECT_EQ(AsUser(add, runtime.path()), 0);
  EXPECT_EQ(FilesIn(dir.path()), std::set<std::string>{"templates.dat"});
  const fs::path lock = KeyedLock();
  EXPECT_EQ(FilesIn(runtime.path()), std::set<std::string>{lock.filename().string()});

  // That lock is the one writers take: held by another process, they give up.
  {
    LockHolder holder(lock, true);
    ASSERT_TRUE(holder.held());
    EXPECT_EQ(AsUser([](tmpeng& e) { e.Template_AddB(u"d", u"vd"); }, runtime.path()), 70);
  }
  // A rewrite needs a new file in the folder, which cannot be made there; it is refused
  // and the store kept.
  EXPECT_EQ(AsUser([](tmpeng& e) { e.Template_RmB(u"a"); }, runtime.path()), 70);
  EXPECT_EQ(dir.Read(), kStore + Rec("1|c|vc\r\n"));
}

TEST_F(RuntimeFolderLock, WritersRefuseWhenNoLockCanBeTakenAnywhere) {
  EXPECT_EQ(AsUser([](tmpeng& e) { e.Template_AddB(u"c", u"vc"); }, ""), 70);
  EXPECT_EQ(AsUser([](tmpeng& e) { e.Template_EditB(u"a", u"changed"); }, ""), 70);
  EXPECT_EQ(AsUser([](tmpeng& e) { e.Template_RmB(u"a"); }, ""), 70);
  EXPECT_EQ(dir.Read(), kStore);
  // Reading changes nothing, so it goes on without a lock.
  EXPECT_EQ(AsUser(
                [](tmpeng& e) {
                  FakeTree tree;
                  e.Template_LoadA(tree);
                  if (tree.Count() != 2) ::_exit(1);
                },
                ""),
            0);
}

// Where the lock file's name is taken by something else, the lock lives in the runtime
// folder even though rewrites replace the store, and with it the file the lock is named after.
TEST_F(RuntimeFolderLock, ConcurrentWritersLoseNothingWhileRewritesReplaceTheStore) {
  fs::permissions(dir.path(), fs::perms::all);
  fs::create_directory(dir.path() / "templates.dat.lock");
  auto writer = [this](char prefix) {
    return Spawn([this, prefix] {
      ::setenv("XDG_RUNTIME_DIR", runtime.path().c_str(), 1);
      BecomeOrdinaryUser();
      tmpeng engine(dir.path());
      for (int i = 0; i < 150; ++i) {
        const std::string name = prefix + std::to_string(i);
        const std::u16string n(name.begin(), name.end());
        if (engine.Template_AddB(n, u"value " + n) != kTrue) ::_exit(1);
        if (i % 10 == 0) engine.Template_EditB(n, u"edited " + n);
      }
    });
  };
  const pid_t first = writer('p');
  const pid_t second = writer('q');
  EXPECT_EQ(WaitWithin(first, 240), 0);
  EXPECT_EQ(WaitWithin(second, 240), 0);
  FakeTree tree;
  tree.unique_keys = true;
  tmpeng(dir.path()).Template_LoadA(tree);
  std::set<std::u16string> names;
  for (const auto& node : tree.nodes) names.insert(node.second);
  EXPECT_EQ(names.size(), 302u);
  EXPECT_EQ(tree.nodes.size(), 302u);
  // Locks named after replaced files do not pile up: at most the current file's stays.
  EXPECT_LE(FilesIn(runtime.path()).size(), 1u);
  EXPECT_EQ(AsUser([](tmpeng& e) { e.Template_RmB(u"a"); }, runtime.path()), 0);
  EXPECT_TRUE(FilesIn(runtime.path()).empty());
}

}  // namespace
