// Robustness of the store: failed writes leave it intact, concurrent writers lose nothing,
// size is unlimited, and text in any encoding survives.
#include "engine_test_support.h"

namespace {

using enginetest::FakeSlots;
using enginetest::FakeTree;
using enginetest::FilesIn;
using enginetest::InChild;
using enginetest::Rec;
using enginetest::TempFolder;
using templates::kTrue;
using templates::tmpeng;
namespace fs = std::filesystem;

const std::set<std::string> kStoreAndLock = {"templates.dat", "templates.dat.lock"};

// A store of `records` templates whose values are long enough to make it a few pages.
std::string SampleStore(int records) {
  std::string bytes = Rec("1|Caf\xe9|cp1252\r\n\r\nnot a record\r\n");
  for (int i = 0; i < records; ++i) {
    bytes += Rec("1|n" + std::to_string(i) + "|") +
             std::string(100, static_cast<char>('a' + i % 26)) + "\r\n";
  }
  return bytes;
}

TEST(MendedFaults, FailedRewriteLeavesTheStoreByteForByte) {
  TempFolder dir;
  const std::string before = SampleStore(200);
  dir.Write(before);
  ASSERT_GT(before.size(), 16384u);
  EXPECT_EQ(InChild([&] { tmpeng(dir.path()).Template_EditB(u"n199", u"changed"); }, 4096), 61);
  EXPECT_EQ(dir.Read(), before);
  EXPECT_EQ(FilesIn(dir.path()), kStoreAndLock);
  EXPECT_EQ(InChild([&] { tmpeng(dir.path()).Template_RmB(u"n0"); }, 4096), 61);
  EXPECT_EQ(dir.Read(), before);
  EXPECT_EQ(FilesIn(dir.path()), kStoreAndLock);
}

TEST(MendedFaults, FailedAddLeavesTheStoreByteForByte) {
  TempFolder dir;
  const std::string before = SampleStore(20);
  dir.Write(before);
  const std::u16string value(5000, u'v');
  EXPECT_EQ(InChild([&] { tmpeng(dir.path()).Template_AddB(u"new", value); }, before.size() + 100),
            61);
  EXPECT_EQ(dir.Read(), before);
  EXPECT_EQ(FilesIn(dir.path()), kStoreAndLock);
  // The same add succeeds where the file may grow.
  EXPECT_EQ(tmpeng(dir.path()).Template_AddB(u"new", value), kTrue);
}

TEST(MendedFaults, RewriteKeepsPermissionBits) {
  TempFolder dir;
  dir.Write(SampleStore(1));
  for (const auto perms : {fs::perms(0640), fs::perms(0604), fs::perms(0666)}) {
    fs::permissions(dir.store(), perms);
    tmpeng(dir.path()).Template_EditB(u"n0", u"x");
    EXPECT_EQ(fs::status(dir.store()).permissions(), perms);
  }
}

TEST(MendedFaults, StoreTheUserMayNotWriteIsRefusedByEveryWriter) {
  TempFolder dir;
  const std::string before = SampleStore(1);
  dir.Write(before);
  fs::permissions(dir.path(), fs::perms::all);  // the folder is open, the store read-only
  fs::permissions(dir.store(), fs::perms(0444));
  auto as_user = [&](auto change) {  // root would write regardless, so drop to nobody
    return InChild([&] {
      if (::geteuid() == 0 && ::setuid(65534) != 0) throw std::runtime_error("setuid failed");
      change(tmpeng(dir.path()));
    });
  };
  EXPECT_EQ(as_user([](tmpeng e) { e.Template_AddB(u"new", u"new"); }), 70);
  EXPECT_EQ(as_user([](tmpeng e) { e.Template_EditB(u"n0", u"changed"); }), 70);
  EXPECT_EQ(as_user([](tmpeng e) { e.Template_RmB(u"n0"); }), 70);
  EXPECT_EQ(dir.Read(), before);
}

TEST(MendedFaults, RefusedWriteNamesTheReadOnlyFolder) {
  TempFolder dir;
  dir.Write(SampleStore(1));
  fs::permissions(dir.store(), fs::perms(0444));
  fs::permissions(dir.path(), fs::perms(0555));  // as a system-wide install leaves it
  const std::string folder = "the folder " + dir.path().string() + " is read-only";
  const int code = InChild([&] {
    if (::geteuid() == 0 && ::setuid(65534) != 0) throw std::runtime_error("setuid failed");
    for (auto change : {+[](tmpeng& e) { e.Template_AddB(u"new", u"new"); },
                        +[](tmpeng& e) { e.Template_RmB(u"n0"); }}) {
      try {
        tmpeng engine(dir.path());
        change(engine);
      } catch (const templates::EngineError& e) {
        if (std::string(e.what()).find(folder) == std::string::npos) ::_exit(1);
        continue;
      }
      ::_exit(2);  // the write went through
    }
  });
  EXPECT_EQ(code, 0);
}

TEST(MendedFaults, ConcurrentWritersLoseNothing) {
  TempFolder dir;
  dir.Write("");
  auto adder = [&](const std::string& prefix, bool also_edit) {
    return [&dir, prefix, also_edit] {
      tmpeng engine(dir.path());
      for (int i = 0; i < 500; ++i) {
        const auto name = prefix + std::to_string(i);
        const std::u16string n(name.begin(), name.end());
        if (engine.Template_AddB(n, u"value " + n) != kTrue) throw std::logic_error("refused");
        // A rewrite between the other process's adds must not lose any of them.
        if (also_edit && i % 50 == 0) engine.Template_EditB(n, u"edited " + n);
      }
    };
  };
  const pid_t first = enginetest::Spawn(adder("p", false));
  const pid_t second = enginetest::Spawn(adder("q", true));
  EXPECT_EQ(enginetest::Wait(first), 0);
  EXPECT_EQ(enginetest::Wait(second), 0);

  FakeTree tree;
  tree.unique_keys = true;
  tmpeng(dir.path()).Template_LoadA(tree);
  std::set<std::u16string> names;
  for (const auto& node : tree.nodes) names.insert(node.second);
  EXPECT_EQ(tree.nodes.size(), 1000u);
  EXPECT_EQ(names.size(), 1000u);
}

TEST(MendedFaults, MillionLineStoreLoadsAndRewrites) {
  TempFolder dir;
  std::string bytes;
  for (int i = 0; i < 250000; ++i) {
    bytes += "1|n" + std::to_string(i) + "|v" + std::to_string(i) + "\r\n\r\n\r\n\r\n";
  }
  dir.Write(Rec(bytes));
  tmpeng engine(dir.path());
  FakeTree tree;
  engine.Template_LoadA(tree);
  ASSERT_EQ(tree.Count(), 250000);
  EXPECT_EQ(tree.Text(250000), u"n249999");
  FakeSlots slots;
  engine.Template_LoadB(slots);
  EXPECT_EQ(slots.captions[12], u"n12");

  engine.Template_EditB(u"n249999", u"last");
  bytes.replace(bytes.size() - 15, 7, "last");
  EXPECT_TRUE(dir.Read() == Rec(bytes) + "\r\n");  // no diff of ten megabytes on failure
}

TEST(MendedFaults, LongNamesAndMegabyteValuesRoundTrip) {
  TempFolder dir;
  dir.Write("");
  tmpeng engine(dir.path());
  // The longest name the rule allows: separators past any 16-bit position.
  const std::u16string name(templates::kLongestName, u'n');
  std::u16string value;
  while (value.size() < 2000000) value += u"line é € 😀\r\n";
  ASSERT_EQ(engine.Template_AddB(name, value), kTrue);
  EXPECT_EQ(engine.Template_AddB(u"second", u"x"), kTrue);
  FakeTree tree;
  engine.Template_LoadA(tree);
  ASSERT_EQ(tree.Count(), 2);
  EXPECT_TRUE(tree.Text(1) == name && tree.Key(1) == value);
  FakeSlots slots;
  engine.Template_LoadB(slots);
  EXPECT_EQ(slots.captions[1], u"second");
  EXPECT_EQ(engine.Check_Exists(u"SECOND", u"-", tree), kTrue);

  engine.Template_EditB(u"second", value);
  engine.Template_EditB(name, u"short");
  engine.Template_LoadA(tree);
  EXPECT_TRUE(tree.Key(1) == u"short" && tree.Key(2) == value);
}

TEST(MendedFaults, Windows1252StoreReadsRightAndUnchangedLinesKeepTheirBytes) {
  TempFolder dir;
  const std::string cp1252 = Rec("1|Caf\xe9|na\xefve \x80 \x81\r\n");
  dir.Write(cp1252 + Rec("2|b|old\r\n"));
  tmpeng engine(dir.path());
  FakeTree tree;
  engine.Template_LoadA(tree);
  EXPECT_EQ(tree.nodes[0],
            std::make_pair(std::u16string(u"naïve € \u0081"), std::u16string(u"Café")));
  EXPECT_EQ(engine.Check_Exists(u"CAFÉ", u"-", tree), kTrue);
  EXPECT_EQ(engine.Template_AddB(u"Café", u"other"), templates::kFalse);

  engine.Template_EditB(u"b", u"neu €");
  EXPECT_EQ(dir.Read(), cp1252 + Rec("2|b|neu \xe2\x82\xac\r\n\r\n"));
  // A changed line is written as UTF-8.
  engine.Template_EditB(u"Café", u"crème");
  const std::string rest = Rec("2|b|neu \xe2\x82\xac\r\n\r\n\r\n");
  EXPECT_EQ(dir.Read(), Rec("1|Caf\xc3\xa9|cr\xc3\xa8me\r\n") + rest);
  dir.Write(cp1252 + rest);
  engine.Template_RmB(u"Café");
  EXPECT_EQ(dir.Read(), "\r\n" + rest + "\r\n");

  // One line is read in one encoding, even where a field of it alone would be UTF-8.
  dir.Write(Rec("1|Caf\xc3\xa9|\xe9\r\n"));
  engine.Template_LoadA(tree);
  EXPECT_EQ(tree.nodes[0], std::make_pair(std::u16string(u"é"), std::u16string(u"CafÃ©")));
}

}  // namespace
