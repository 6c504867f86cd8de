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

  // An add ends that line first, so the last template keeps its value.
  dir.Write(Rec("1|a|va\r\n1|b|vb"));
  EXPECT_EQ(engine.Template_AddB(u"c", u"vc"), templates::kTrue);
  EXPECT_EQ(dir.Read(), Rec("1|a|va\r\n1|b|vb\r\n1|c|vc\r\n"));
  EXPECT_EQ(Loaded(), (Nodes{{u"va", u"a"}, {u"vb", u"b"}, {u"vc", u"c"}}));
  // A last line ended by a CR alone is ended already.
  dir.Write(Rec("1|a|va\r"));
  EXPECT_EQ(engine.Template_AddB(u"c", u"vc"), templates::kTrue);
  EXPECT_EQ(dir.Read(), Rec("1|a|va\r1|c|vc\r\n"));
  EXPECT_EQ(Loaded(), (Nodes{{u"va", u"a"}, {u"vc", u"c"}}));
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
  // alone and one ended by an LF alone.
  const std::string others =
      Rec("plain text\r\n1|one separator\r\n1|\r\n\r\n"
          "2|multi|line\2\3two|and more\r\n"
          "3|lf|a\nb\r");
  dir.Write(others + Rec("4|target|old"));
  EXPECT_EQ(Loaded(),
            (Nodes{{Rec(u"line\r\ntwo|and more"), u"multi"}, {u"a", u"lf"}, {u"old", u"target"}}));
  FakeTree unused;
  EXPECT_EQ(engine.Check_Exists(u"one separator", u"1", unused), templates::kFalse);
  EXPECT_EQ(engine.Template_AddB(u"one separator", u""), templates::kTrue);

  dir.Write(others + Rec("4|target|old"));
  engine.Template_EditB(u"target", u"new");
  // The lone CR and the lone LF each became a CR LF; every line kept its bytes.
  const std::string kept = others.substr(0, others.size() - 4) + "a\r\nb\r\n";
  EXPECT_EQ(dir.Read(), kept + Rec("4|target|new\r\n\r\n"));
  engine.Template_RmB(u"target");
  EXPECT_EQ(dir.Read(), kept + "\r\n\r\n\r\n");
}

TEST_F(StoreFormat, LfOnlyFileReadsLineByLineAndRewritesWithCrLf) {
  const std::string lf_only = Rec("1|a|b\n1|c|d\n\n1|e|f\n");
  dir.Write(lf_only);
  EXPECT_EQ(Loaded(), (Nodes{{u"b", u"a"}, {u"d", u"c"}, {u"f", u"e"}}));
  FakeTree unused;
  EXPECT_EQ(engine.Check_Exists(u"c", u"-", unused), templates::kTrue);
  EXPECT_EQ(engine.Template_AddB(u"e", u"new"), templates::kFalse);  // seen as a duplicate

  // Modify keeps every other template, Remove takes only the one named.
  engine.Template_EditB(u"c", u"changed");
  EXPECT_EQ(dir.Read(), Rec("1|a|b\r\n1|c|changed\r\n\r\n1|e|f\r\n\r\n"));
  dir.Write(lf_only);
  engine.Template_RmB(u"c");
  EXPECT_EQ(dir.Read(), Rec("1|a|b\r\n\r\n\r\n1|e|f\r\n\r\n"));

  // An add after a last line ended by an LF alone needs no line end of its own first.
  dir.Write(lf_only);
  EXPECT_EQ(engine.Template_AddB(u"g", u"h"), templates::kTrue);
  EXPECT_EQ(dir.Read(), lf_only + Rec("1|g|h\r\n"));
  // An LF right after a CR still belongs to that CR: no empty line between them.
  dir.Write(Rec("1|a|b\r\n1|c|d\n\r1|e|f"));
  EXPECT_EQ(Loaded(), (Nodes{{u"b", u"a"}, {u"d", u"c"}, {u"f", u"e"}}));
  engine.Template_EditB(u"e", u"g");
  EXPECT_EQ(dir.Read(), Rec("1|a|b\r\n1|c|d\r\n\r\n1|e|g\r\n\r\n"));
}

TEST_F(StoreFormat, SeparatorInValueBelongsToTheValue) {
  dir.Write("");
  engine.Template_AddB(u"n", Rec(u"p|q|"));
  EXPECT_EQ(dir.Read(), Rec("1|n|p|q|\r\n"));
  EXPECT_EQ(Loaded(), (Nodes{{Rec(u"p|q|"), u"n"}}));
  EXPECT_EQ(engine.Template_AddB(u"other", Rec(u"p|q|")), templates::kFalse);
}

}  // namespace
