// The members of tmpeng: what each returns, what it does to the caller's objects and to the
// store, and the error number of each failure.
#include "engine_test_support.h"
#include "template/version.h"

#include <tuple>

namespace {

using enginetest::ErrorOf;
using enginetest::FakeSlots;
using enginetest::FakeTree;
using enginetest::PlainObject;
using enginetest::Rec;
using enginetest::TempFolder;
using templates::kFalse;
using templates::kTrue;
namespace fs = std::filesystem;

std::u16string U(const std::string& ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

class Members : public ::testing::Test {
 protected:
  // A store of n templates t1..tn with values v1..vn.
  void WriteTemplates(int n) {
    std::string bytes;
    for (int i = 1; i <= n; ++i) {
      bytes += Rec("1|t" + std::to_string(i) + "|v" + std::to_string(i) + "\r\n");
    }
    dir.Write(bytes);
  }
  // Makes the store look old, so that any write shows in its modification time.
  fs::file_time_type Age() {
    const auto old = fs::file_time_type::clock::now() - std::chrono::hours(24);
    fs::last_write_time(dir.store(), old);
    return fs::last_write_time(dir.store());
  }

  TempFolder dir;
  templates::tmpeng engine{dir.path()};
};

TEST_F(Members, LoadsShowTemplatesInFileOrderAndLeaveLaterSlotsAlone) {
  for (int n : {0, 3, 13, 20}) {
    WriteTemplates(n);
    FakeTree tree;
    tree.nodes = {{u"stale", u"stale"}};
    engine.Template_LoadA(tree);
    FakeSlots slots;
    slots.captions[12] = u"kept";
    engine.Template_LoadB(slots);  // a fourteenth slot would throw
    EXPECT_EQ(tree.clears, 1);
    ASSERT_EQ(tree.Count(), n);
    for (int i = 1; i <= std::max(n, 13); ++i) {
      const std::u16string name = U("t" + std::to_string(i)), value = U("v" + std::to_string(i));
      if (i <= n) {
        EXPECT_EQ(tree.nodes[i - 1], std::make_pair(value, name));
      }
      if (i > 13) continue;
      EXPECT_EQ(slots.captions[i - 1], i <= n ? name : i == 13 ? u"kept" : u"Not Set") << n;
      EXPECT_EQ(slots.tags[i - 1], i <= n ? value : u"") << n;
    }
  }
}

TEST_F(Members, LoadBCaptionIsTheStoredNameAndTagTheDecodedValue) {
  dir.Write(Rec("1|two\2\3lines|a\2\3b\r\n"));
  FakeSlots slots;
  engine.Template_LoadB(slots);
  EXPECT_EQ(slots.captions[0], u"two\2\3lines");
  EXPECT_EQ(slots.tags[0], u"a\r\nb");
  FakeTree tree;
  engine.Template_LoadA(tree);
  EXPECT_EQ(tree.Text(1), u"two\r\nlines");
}

TEST_F(Members, CheckExistsObjComparesTextWithNameAndKeyWithValueIgnoringCase) {
  FakeTree tree;
  EXPECT_EQ(engine.Check_Exists_Obj(u"", u"", tree), kFalse);  // no store needed
  tree.nodes = {{u"value one", u"Name One"}, {u"été", u"x"}};
  EXPECT_EQ(engine.Check_Exists_Obj(u"name ONE", u"-", tree), kTrue);
  EXPECT_EQ(engine.Check_Exists_Obj(u"-", u"VALUE one", tree), kTrue);
  EXPECT_EQ(engine.Check_Exists_Obj(u"-", u"ÉTÉ", tree), kTrue);
  EXPECT_EQ(engine.Check_Exists_Obj(u"value one", u"Name One", tree), kFalse);
}

TEST_F(Members, CheckExistsComparesStoredFieldsIgnoringCase) {
  dir.Write(Rec("1|Café|A\2\3B\r\n1|Two\2\3Lines|Été\r\n"));
  PlainObject none;
  EXPECT_EQ(engine.Check_Exists(u"CAFÉ", u"-", none), kTrue);
  EXPECT_EQ(engine.Check_Exists(u"-", u"été", none), kTrue);
  EXPECT_EQ(engine.Check_Exists(u"two\2\3lines", u"-", none), kTrue);
  // Stored line breaks are not decoded, so the text with real ones is not found.
  EXPECT_EQ(engine.Check_Exists(u"Two\r\nLines", u"A\r\nB", none), kFalse);
  EXPECT_EQ(engine.Check_Exists(u"Été", u"Café", none), kFalse);
}

TEST_F(Members, AddBRefusesAStoredNameOrValueExactlyAndWithCase) {
  dir.Write("");
  EXPECT_EQ(engine.Template_AddB(u"a\r\nb", u"v"), kTrue);
  const std::string one = dir.Read();
  EXPECT_EQ(engine.Template_AddB(u"a\r\nb", u"other"), kFalse);
  EXPECT_EQ(engine.Template_AddB(u"a\2\3b", u"other"), kFalse);  // the same stored name
  EXPECT_EQ(engine.Template_AddB(u"new", u"v"), kFalse);
  EXPECT_EQ(dir.Read(), one);
  EXPECT_EQ(engine.Template_AddB(u"A\r\nB", u"V"), kTrue);
  EXPECT_EQ(engine.Template_AddB(u"", u""), kTrue);
  EXPECT_EQ(engine.Template_AddB(u"", u"x"), kFalse);
  EXPECT_EQ(dir.Read(), one + Rec("1|A\2\3B|V\r\n1||\r\n"));
}

TEST_F(Members, EditBChangesEveryRecordOfThatNameAndKeepsItsIndex) {
  dir.Write(Rec("1|a|x\r\n7|a|y\r\n2|A|z\r\n1|two\2\3lines|old"));
  engine.Template_EditB(u"a", u"new\r\nline");
  engine.Template_EditB(u"two\r\nlines", u"new");
  EXPECT_EQ(dir.Read(), Rec("1|a|new\2\3line\r\n7|a|new\2\3line\r\n2|A|z\r\n"
                            "1|two\2\3lines|new\r\n\r\n\r\n"));

  // An empty name or value does nothing, not even a rewrite.
  const std::string before = dir.Read();
  const auto stamp = Age();
  engine.Template_EditB(u"", u"v");
  engine.Template_EditB(u"a", u"");
  EXPECT_EQ(dir.Read(), before);
  EXPECT_EQ(fs::last_write_time(dir.store()), stamp);
}

TEST_F(Members, RmBRemovesEveryRecordOfThatNameWithCase) {
  dir.Write(Rec("1|a|x\r\n1|A|y\r\n1|a|z\r\n1|b\2\3c|w"));
  EXPECT_FALSE(engine.Template_RmB(u"a").has_value());
  EXPECT_EQ(dir.Read(), Rec("\r\n1|A|y\r\n\r\n1|b\2\3c|w\r\n\r\n"));
  // A stored line break is matched by the name without it.
  const std::string kept = dir.Read();
  engine.Template_RmB(u"b\r\nc");
  EXPECT_EQ(dir.Read(), kept + "\r\n");
  EXPECT_FALSE(engine.Template_RmB(u"bc").has_value());
  EXPECT_EQ(dir.Read(), Rec("\r\n1|A|y\r\n\r\n\r\n\r\n\r\n\r\n"));
}

// A template moves among the templates only: lines that hold none keep their places, and
// every other line goes back byte for byte.
TEST_F(Members, MoveChangesTheOrderOfTemplatesAlone) {
  dir.Write(Rec("1|a|x\r\n\r\n1|b|y\r\nnot a record\r\n7|c|z\r\n"));
  EXPECT_EQ(engine.Template_Move(u"c", -1), kTrue);
  EXPECT_EQ(dir.Read(), Rec("1|a|x\r\n\r\n7|c|z\r\nnot a record\r\n1|b|y\r\n\r\n"));
  EXPECT_EQ(engine.Template_Move(u"c", -5), kTrue);   // stops at the first place
  EXPECT_EQ(engine.Template_Move(u"b", 1), kFalse);   // already last
  EXPECT_EQ(engine.Template_Move(u"C", -1), kFalse);  // names match with case, as EditB's
  EXPECT_EQ(engine.Template_Move(u"missing", 1), kFalse);
  EXPECT_EQ(engine.Template_Move(u"a", 0), kFalse);
  EXPECT_EQ(dir.Read(), Rec("7|c|z\r\n\r\n1|a|x\r\nnot a record\r\n1|b|y\r\n\r\n\r\n"));
  FakeSlots slots;
  engine.Template_LoadB(slots);
  EXPECT_EQ(slots.captions[0], u"c");
}

TEST_F(Members, RenameKeepsPlaceIndexAndValueAndRefusesATakenName) {
  dir.Write(Rec("3|old|v\2\3w\r\n1|Other|o\r\n"));
  EXPECT_EQ(engine.Template_Rename(u"old", u"new\r\nname"), kTrue);
  EXPECT_EQ(dir.Read(), Rec("3|new\2\3name|v\2\3w\r\n1|Other|o\r\n\r\n"));
  const std::string before = dir.Read();
  EXPECT_EQ(engine.Template_Rename(u"new\r\nname", u"OTHER"), kFalse);  // taken, in any case
  EXPECT_EQ(engine.Template_Rename(u"missing", u"x"), kFalse);
  EXPECT_EQ(engine.Template_Rename(u"Other", u""), kFalse);
  EXPECT_EQ(dir.Read(), before);
  // A change of case alone is the template's own name, not another's.
  EXPECT_EQ(engine.Template_Rename(u"Other", u"other"), kTrue);
  EXPECT_EQ(ErrorOf([&] {
              TempFolder empty;
              templates::tmpeng(empty.path()).Template_Move(u"a", 1);
            }),
            53);
  EXPECT_EQ(ErrorOf([&] {
              TempFolder empty;
              templates::tmpeng(empty.path()).Template_Rename(u"a", u"b");
            }),
            53);
}

TEST_F(Members, AVariantsReturnFalseAndNeverTouchTheStore) {
  FakeTree tree;
  for (bool present : {false, true}) {
    if (present) WriteTemplates(1);
    const auto stamp = present ? Age() : fs::file_time_type();
    engine.Template_EditA(u"t1", u"changed");
    EXPECT_EQ(engine.Template_RmA(u"t1"), kFalse);
    EXPECT_EQ(engine.Template_AddA(u"new", u"new", tree), kFalse);
    engine.Maintain();
    EXPECT_EQ(fs::exists(dir.store()), present);
    if (present) {
      EXPECT_EQ(fs::last_write_time(dir.store()), stamp);
    }
  }
  EXPECT_EQ(tree.clears, 0);
  EXPECT_EQ(dir.Read(), Rec("1|t1|v1\r\n"));
}

TEST_F(Members, EveryStoreMemberFailsWith53WhenTheStoreIsMissing) {
  FakeTree tree;
  tree.nodes = {{u"k", u"t"}};
  FakeSlots slots;
  try {
    engine.Template_LoadA(tree);
    FAIL() << "LoadA on a missing store succeeded";
  } catch (const templates::EngineError& e) {
    EXPECT_EQ(e.number(), 53);
    EXPECT_EQ(e.status(), 0x800A0035u);
    EXPECT_NE(std::string(e.what()).find(dir.store().string()), std::string::npos);
  }
  EXPECT_TRUE(tree.nodes.empty());
  EXPECT_EQ(ErrorOf([&] { engine.Template_LoadB(slots); }), 53);
  EXPECT_EQ(ErrorOf([&] { engine.Check_Exists(u"a", u"b", tree); }), 53);
  EXPECT_EQ(ErrorOf([&] { engine.Template_AddB(u"a", u"b"); }), 53);
  EXPECT_EQ(ErrorOf([&] { engine.Template_EditB(u"a", u"b"); }), 53);
  EXPECT_EQ(ErrorOf([&] { engine.Template_RmB(u"a"); }), 53);
  // An empty name returns before the store is looked at.
  EXPECT_EQ(ErrorOf([&] {
              engine.Template_RmB(u"");
              engine.Template_EditB(u"", u"b");
            }),
            0);
  EXPECT_FALSE(fs::exists(dir.store()));
}

TEST_F(Members, IndexMustBeANumberWhereItIsConverted) {
  for (const char* index : {"1", " 2", "-3", "+4.5", "6.", ".7", "8e9", "1E-2"}) {
    dir.Write(std::string(index) + Rec("|n|v\r\n"));
    FakeSlots slots;
    EXPECT_EQ(ErrorOf([&] { engine.Template_LoadB(slots); }), 0) << index;
  }
  for (const char* index : {"", " ", "x", "1x", "--1", ".", "1e", "e5", "1.2.3"}) {
    dir.Write(std::string(index) + Rec("|n|v\r\n"));
    FakeSlots slots;
    EXPECT_EQ(ErrorOf([&] { engine.Template_LoadB(slots); }), 13) << '"' << index << '"';
  }
  // A bad Index after the match: the duplicate check reads on, the existence check stops.
  dir.Write(Rec("1|a|b\r\n1|c|d\r\nx|e|f\r\n"));
  PlainObject none;
  EXPECT_EQ(ErrorOf([&] { engine.Template_AddB(u"a", u"new"); }), 13);
  EXPECT_EQ(engine.Check_Exists(u"c", u"-", none), kTrue);
  EXPECT_EQ(ErrorOf([&] { engine.Check_Exists(u"-", u"-", none); }), 13);
  FakeSlots slots;
  EXPECT_EQ(ErrorOf([&] { engine.Template_LoadB(slots); }), 13);
  EXPECT_EQ(slots.captions[1], u"c");  // slots filled before the bad record stay filled
  // LoadA and the rewrites take any Index.
  FakeTree tree;
  engine.Template_LoadA(tree);
  EXPECT_EQ(tree.Count(), 3);
  engine.Template_EditB(u"e", u"g");
  engine.Template_RmB(u"a");
  EXPECT_EQ(dir.Read(), Rec("\r\n1|c|d\r\nx|e|g\r\n\r\n\r\n"));
}

TEST_F(Members, ObjectWithoutTheNeededInterfaceFailsWith438) {
  WriteTemplates(1);
  FakeTree tree;
  FakeSlots slots;
  PlainObject plain;
  EXPECT_EQ(ErrorOf([&] { engine.Template_LoadA(slots); }), 438);
  EXPECT_EQ(ErrorOf([&] { engine.Template_LoadB(tree); }), 438);
  EXPECT_EQ(ErrorOf([&] { engine.Check_Exists_Obj(u"a", u"b", plain); }), 438);
  EXPECT_EQ(ErrorOf([&] { engine.Check_Exists(u"a", u"b", plain); }), 0);
}

TEST_F(Members, CallerObjectFailurePassesThroughWithEarlierWorkKept) {
  dir.Write("");
  engine.Template_AddB(u"a", u"same");
  engine.Template_AddB(u"b", u"other");
  engine.Template_AddB(u"c", u"third");
  engine.Template_EditB(u"b", u"same");  // modifying makes no duplicate check
  FakeTree tree;
  tree.unique_keys = true;
  EXPECT_THROW(engine.Template_LoadA(tree), std::invalid_argument);
  EXPECT_EQ(tree.Count(), 1);

  FakeSlots two;  // a menu with only two items
  two.captions.resize(2);
  two.tags.resize(2);
  EXPECT_THROW(engine.Template_LoadB(two), std::out_of_range);
  EXPECT_EQ(two.captions, (std::vector<std::u16string>{u"a", u"b"}));
}

// One rule for what a name may hold, whichever member is asked to store it.
// One rule for what a name may hold, whichever member is asked to store it.
TEST_F(Members, AddRenameAndMergeRefuseExactlyTheNamesTheRuleRefuses) {
  const struct {
    std::u16string name;
    const char* problem;
  } cases[] = {{u"Sig\4EVIL", templates::kNameHoldsSeparator},
               {u"\4", templates::kNameHoldsSeparator},
               {u"50%1 off", ""},
               {u"line\r\nbreak", ""},
               {std::u16string(templates::kLongestName - 2, u'n'), ""},  // and + " 2" below
               {std::u16string(templates::kLongestName + 1, u'n'), templates::kNameTooLong}};
  for (const auto& [name, problem] : cases) {
    const bool allowed = *problem == '\0';
    EXPECT_EQ(templates::NameProblem(name), problem);
    dir.Write(Rec("1|old|v\r\n"));
    EXPECT_EQ(engine.Template_Rename(u"old", name) != kFalse, allowed);
    EXPECT_EQ(engine.Template_AddB(name + u" 2", u"new value") != kFalse, allowed);
    const auto merged =
        engine.Template_Merge({{u"ok", u"1"}, {name, u"2"}}, templates::Clash::kKeepBoth);
    EXPECT_EQ(merged.added, allowed ? 2 : 1);
    EXPECT_EQ(merged.refused.size() == 1 && merged.refused[0].first == 1, !allowed);
  }
}

// An import's clash rules, and a restore's one rewrite that hands back what it replaced.
TEST_F(Members, MergeSkipsReplacesOrKeepsBothAndReplaceHandsBackTheStore) {
  const struct {
    templates::Clash clash;
    int added, replaced, skipped, refused;
    std::string store;
  } cases[] = {
      // New templates alone are appended, as Add appends; a replacement rewrites.
      {templates::Clash::kSkip, 1, 0, 2, 1, "1|50%1 off|a\r\n7|B|b\r\n1|new|n\r\n"},
      // Replaced, "a" is no template's value any more: "dup" may take it.
      {templates::Clash::kReplace, 2, 2, 0, 0,
       "1|50%1 off|x\r\n7|B|y\r\n1|new|n\r\n1|dup|a\r\n\r\n"},
      {templates::Clash::kKeepBoth, 3, 0, 0, 1,
       "1|50%1 off|a\r\n7|B|b\r\n1|50%1 OFF (2)|x\r\n1|b (2)|y\r\n1|new|n\r\n"},
  };
  for (const auto& c : cases) {
    dir.Write(Rec("1|50%1 off|a\r\n7|B|b\r\n"));
    // A clash ignores case; a value the store has already is refused, as Add refuses it.
    const auto result = engine.Template_Merge(
        {{u"50%1 OFF", u"x"}, {u"b", u"y"}, {u"new", u"n"}, {u"dup", u"a"}}, c.clash);
    EXPECT_EQ(std::make_tuple(result.added, result.replaced, result.skipped, result.refused.size()),
              std::make_tuple(c.added, c.replaced, c.skipped, std::size_t(c.refused)));
    for (const auto& [at, why] : result.refused)
      EXPECT_EQ(std::make_pair(at, why),
                std::make_pair(std::size_t(3), std::string(templates::kTextStored)));
    EXPECT_EQ(dir.Read(), Rec(c.store));
  }
  EXPECT_EQ(engine.Template_Replace(Rec("1|c|d\r\n")), Rec(cases[2].store));
  EXPECT_EQ(dir.Read(), Rec("1|c|d\r\n"));
}

// Another process rewriting the store while an import or a restore runs comes wholly
// before or after it: the import's templates and the restored store are never undone.
TEST_F(Members, MergeAndReplaceRacingAnotherWriterLoseNoChange) {
  for (bool restore : {false, true}) {
    dir.Write(Rec("1|a|v\r\n"));
    const pid_t other = enginetest::Spawn([&] {
      templates::tmpeng own(dir.path());
      for (int i = 0; i < 300; ++i) own.Template_EditB(u"a", U("v" + std::to_string(i)));
    });
    for (int round = 0; round < 10; ++round) {
      const std::string n = std::to_string(round);
      if (restore)
        engine.Template_Replace(Rec("1|a|v\r\n1|restored" + n + "|r\r\n"));
      else
        engine.Template_Merge({{U("mine" + n), U("m" + n)}}, templates::Clash::kSkip);
    }
    ASSERT_EQ(enginetest::Wait(other), 0);
    FakeTree tree;
    engine.Template_LoadA(tree);
    std::set<std::u16string> names;
    for (int i = 1; i <= tree.Count(); ++i) names.insert(tree.Text(i));
    EXPECT_EQ(names.size(), restore ? 2u : 11u);
    EXPECT_EQ(names.count(restore ? u"restored9" : u"mine9"), 1u);
  }
}

TEST_F(Members, VersionIsTheLibraryVersion) {
  EXPECT_EQ(engine.Version(), u"v" TEMPLATE_VERSION);
  EXPECT_EQ(engine.Version(), u"v" TEMPLATE_VERSION);
}

}  // namespace
