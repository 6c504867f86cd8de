// Text encoding: which bytes count as UTF-8, the Windows-1252 fallback, UTF-8 output and
// lower-casing.
#include <cstring>
#include <set>

#include "engine_test_support.h"
#include "template/textcodec.h"

namespace {

namespace text = templates::text;

TEST(TextCodec, EveryWindows1252ByteDecodesToItsOwnCharacter) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  ASSERT_FALSE(text::IsUtf8(all));
  const std::u16string decoded = text::Decode(all);
  ASSERT_EQ(decoded.size(), 256u);
  // No two bytes give the same character, so encoding back gives the input again.
  EXPECT_EQ(decoded, text::DecodeWindows1252(all));
  EXPECT_EQ(std::set<char16_t>(decoded.begin(), decoded.end()).size(), 256u);
  EXPECT_EQ(decoded.substr(0, 0x80), std::u16string(all.begin(), all.begin() + 0x80));
  EXPECT_EQ(decoded[0x80], u'€');
  EXPECT_EQ(decoded[0xE9], u'é');
  for (int unassigned : {0x81, 0x8D, 0x8F, 0x90, 0x9D}) {
    EXPECT_EQ(decoded[static_cast<size_t>(unassigned)], static_cast<char16_t>(unassigned));
  }
}

TEST(TextCodec, OneInvalidSequenceMakesTheWholeTextWindows1252) {
  EXPECT_EQ(text::Decode("caf\xc3\xa9"), u"café");
  EXPECT_EQ(text::Decode("caf\xc3\xa9 caf\xe9"), u"cafÃ© café");
  EXPECT_EQ(text::Decode(std::string("a\0b", 3)), std::u16string(u"a\0b", 3));
}

TEST(TextCodec, OnlyWellFormedUtf8IsUtf8) {
  EXPECT_TRUE(text::IsUtf8(""));
  EXPECT_TRUE(text::IsUtf8("\xc2\x80\xe2\x82\xac\xef\xbf\xbf\xf4\x8f\xbf\xbf"));
  for (const char* bad : {
           "\xc0\xaf", "\xc1\xbf",              // overlong two-byte forms of ASCII
           "\xe0\x80\xaf", "\xf0\x80\x80\xaf",  // overlong three- and four-byte forms
           "\xed\xa0\x80", "\xed\xbf\xbf",      // surrogates
           "\xed\xa0\xbd\xed\xb8\x80",          // a surrogate pair encoded as two characters
           "\xf4\x90\x80\x80",                  // past U+10FFFF
           "\xf8\x88\x80\x80\x80",              // five bytes
           "\xe2\x82", "\x80", "\xc3 ",         // cut short, or a lone continuation byte
       }) {
    EXPECT_FALSE(text::IsUtf8(bad)) << testing::PrintToString(std::string(bad));
    EXPECT_EQ(text::Decode(bad), text::DecodeWindows1252(bad));
    // Said to be UTF-8 by mistake, it is still read as Windows-1252.
    std::u16string into(std::strlen(bad), u'\0');
    into.resize(text::DecodeInto(bad, true, into.data()));
    EXPECT_EQ(into, text::DecodeWindows1252(bad));
  }
  EXPECT_EQ(text::Decode("\xf0\x9f\x98\x80"), u"😀");
}

TEST(TextCodec, EncodeWritesUtf8AndReplacesOnlyUnpairedSurrogates) {
  EXPECT_EQ(text::Encode(u"plain\r\n"), "plain\r\n");
  EXPECT_EQ(text::Encode(u"é€😀"), "\xc3\xa9\xe2\x82\xac\xf0\x9f\x98\x80");
  EXPECT_EQ(text::Encode(std::u16string(1, 0xD83D)), "\xef\xbf\xbd");
  EXPECT_EQ(text::Encode(std::u16string{u'a', 0xDE00, u'.'}), "a\xef\xbf\xbd.");
  EXPECT_EQ(text::Encode(std::u16string{0xDE00, 0xD83D}), "\xef\xbf\xbd\xef\xbf\xbd");
  EXPECT_EQ(text::Encode(std::u16string(u"\0é", 2)), std::string("\0\xc3\xa9", 3));
}

TEST(TextCodec, ToLowerIsFullUnicodeLowerCasing) {
  EXPECT_EQ(text::ToLower(u"ÉTÉ"), u"été");
  EXPECT_EQ(text::ToLower(u"ΣΟΦΌΣ"), u"σοφός");            // final sigma
  EXPECT_EQ(text::ToLower(u"\U00010400"), u"\U00010428");  // outside the 16-bit range
  EXPECT_EQ(text::ToLower(u"İ"), u"i\u0307");              // one unit becomes two
  const std::u16string many(100, u'İ');
  std::u16string expected;
  for (int i = 0; i < 100; ++i) expected += u"i\u0307";
  EXPECT_EQ(text::ToLower(many), expected);
}

}  // namespace
