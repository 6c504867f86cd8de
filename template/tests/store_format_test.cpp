// The bytes of the template store: how a record is laid out, which lines readers skip, and
// exactly what an append and a rewrite leave in the file.
#include "engine_test_support.h"

namespace {

using enginetest::FakeTree;
using enginetest::Rec;
using enginetest::TempFolder;
using Nodes = std::vector<std::pair<std::u16string, std::u16string>>;  // key (value), text (name)

class StoreFormat : public ::testing::Test {
 protected:
  Nodes Loaded() {
    FakeTree tree;
    engine.Template_LoadA(tree);
    return tree.nodes;
  }

  TempFolder dir;
  templates::tmpeng engine{dir.path()};
};

TEST_F(StoreFormat, AddWritesOneLineWithLineBreaksEncoded) {
  dir.Write("");
  EXPECT_EQ(engine.Template_AddB(u"Hi", u"x\r\ny"), templates::kTrue);
  EXPECT_EQ(dir.Read(), std::string("\x31\x04\x48\x69\x04\x78\x02\x03\x79\x0D\x0A", 11));
  EXPECT_EQ(Loaded(), (Nodes{{u"x\r\ny", u"Hi"}}));

  // A lone CR or LF is encoded on its own, and the record still stays one line.
  EXPECT_EQ(engine.Template_AddB(u"a\nb", u"\rc"), templates::kTrue);
  EXPECT_EQ(dir.Read().substr(11), Rec("1|a\3b|\2c\r\n"));
  // Text is written as UTF-8, whatever its characters.
  EXPECT_EQ(engine.Template_AddB(u"日本", u"😀 Ω"), templates::kTrue);
  EXPECT_EQ(dir.Read().substr(21), Rec("1|\xe6\x97\xa5\xe6\x9c\xac|\xf0\x9f\x98\x80 \xce\xa9\r\n"));
}

TEST_F(StoreFormat, EmptyStoreShowsNothingAndRewritesStayEmpty) {
  dir.Write("");
  EXPECT_TRUE(Loaded().empty());
  FakeTree unused;
  EXPECT_EQ(engine.Check_Exists(u"", u"", unused), templates::kFalse);
  engine.Template_EditB(u"a", u"b");
  engine.Template_RmB(u"a");
  EXPECT_EQ(dir.Read(), "");
}

TEST_F(StoreFormat, UnterminatedLastLineIsARecordAndGainsItsLineEnd) {
  dir.Write(Rec("1|a|x\r\n1|b|y"));
  EXPECT_EQ(Loaded(), (Nodes{{u"x", u"a"}, {u"y", u"b"}}));
  engine.Template_RmB(u"a");
  EXPECT_EQ(dir.Read(), Rec("\r\n1|b|y\r\n\r\n"));

  dir.Write(Rec("1|b|y"));
  engine.Template_EditB(u"b", u"z");
  EXPECT_EQ(dir.Read(), Rec("1|b|z\r\n\r\n"));
}

TEST_F(StoreFormat, EveryRewriteAddsOneEmptyLine) {
  dir.Write("\r\n\r\n");
  engine.Template_EditB(u"a", u"b");
  EXPECT_EQ(dir.Read(), "\r\n\r\n\r\n");
  engine.Template_RmB(u"a");
  EXPECT_EQ(dir.Read(), "\r\n\r\n\r\n\r\n");
  EXPECT_TRUE(Loaded().empty());
}

TEST_F(StoreFormat, RewriteKeepsOtherLinesByteForByte) {
  // Lines that are not records (no separator, one separator, nothing after the first one),
  // an empty line, a multi-line value, a value holding separators, a line ended by a CR
  // alone and one holding an LF that follows no CR.
  const std::string others =
      Rec("plain text\r\n1|one separator\r\n1|\r\n\r\n"
          "2|multi|line\2\3two|and more\r\n"
          "3|lf|a\nb\r");
  dir.Write(others + Rec("4|target|old"));
  EXPECT_EQ(
      Loaded(),
      (Nodes{{Rec(u"line\r\ntwo|and more"), u"multi"}, {u"a\nb", u"lf"}, {u"old", u"target"}}));
  FakeTree unused;
  EXPECT_EQ(engine.Check_Exists(u"one separator", u"1", unused), templates::kFalse);
  EXPECT_EQ(engine.Template_AddB(u"one separator", u""), templates::kTrue);

  dir.Write(others + Rec("4|target|old"));
  engine.Template_EditB(u"target", u"new");
  const std::string kept = others + "\n";  // the lone CR became a CR LF
  EXPECT_EQ(dir.Read(), kept + Rec("4|target|new\r\n\r\n"));
  engine.Template_RmB(u"target");
  EXPECT_EQ(dir.Read(), kept + "\r\n\r\n\r\n");
}

TEST_F(StoreFormat, LfOnlyFileIsOneLine) {
  dir.Write(Rec("1|a|b\n1|c|d\n"));
  EXPECT_EQ(Loaded(), (Nodes{{Rec(u"b\n1|c|d\n"), u"a"}}));
  FakeTree unused;
  EXPECT_EQ(engine.Check_Exists(u"c", u"d", unused), templates::kFalse);
  engine.Template_EditB(u"a", u"e");
  EXPECT_EQ(dir.Read(), Rec("1|a|e\r\n\r\n"));
}

TEST_F(StoreFormat, SeparatorInValueBelongsToTheValue) {
  dir.Write("");
  engine.Template_AddB(u"n", Rec(u"p|q|"));
  EXPECT_EQ(dir.Read(), Rec("1|n|p|q|\r\n"));
  EXPECT_EQ(Loaded(), (Nodes{{Rec(u"p|q|"), u"n"}}));
  EXPECT_EQ(engine.Template_AddB(u"other", Rec(u"p|q|")), templates::kFalse);
}

}  // namespace
