// The layout of the store: lines, records and the encoding of line breaks inside fields.
#pragma once

#include <string>
#include <string_view>

namespace templates::detail {

inline constexpr char kSeparator = '\x04';
inline constexpr char16_t kEncodedCr = u'\x02';
inline constexpr char16_t kEncodedLf = u'\x03';

// Calls f(line) for every line of `data`. A line ends at a CR, and an LF right after that
// CR belongs to the line end; an LF anywhere else is an ordinary character. The last line
// may lack its terminator. f returns false to stop early.
template <class F>
void ForEachLine(std::string_view data, F&& f) {
  std::size_t pos = 0;
  while (pos < data.size()) {
    const std::size_t cr = data.find('\r', pos);
    const std::size_t end = cr == std::string_view::npos ? data.size() : cr;
    if (!f(data.substr(pos, end - pos))) return;
    pos = end + 1;
    if (cr != std::string_view::npos && pos < data.size() && data[pos] == '\n') ++pos;
  }
}

// The three fields of a record line, still as stored. The separator byte means the same
// in UTF-8 and in Windows-1252 and never occurs inside a multi-byte UTF-8 sequence, so a
// line is taken apart on its bytes before any of it is decoded.
struct RecordFields {
  std::string_view index;
  std::string_view name;
  std::string_view value;
};

// Takes a line apart; false when it is not a record: no separator, nothing after the
// first separator, or no second separator.
bool ParseRecord(std::string_view line, RecordFields& out);

// True when an Index reads as a number: optional blanks, an optional sign, digits with an
// optional fraction and exponent, optional blanks. An empty Index is not a number.
bool IsNumber(std::string_view index);

// Line breaks inside names and values are stored as the characters 2 (CR) and 3 (LF).
std::u16string EncodeBreaks(std::u16string text);
std::u16string DecodeBreaks(std::u16string text);

// A line of the store decoded as a whole: UTF-8 when the whole line is valid UTF-8,
// otherwise Windows-1252, so the fields of one line are always read alike.
class LineText {
 public:
  explicit LineText(std::string_view line);
  // A field of the line; with `breaks`, the stored break codes become CR and LF.
  std::u16string Decode(std::string_view field, bool breaks = false) const;
  // The same into `out`, reusing its storage from field to field.
  void DecodeInto(std::string_view field, bool breaks, std::u16string& out) const;
  bool IsAscii() const { return ascii_; }
  bool IsUtf8() const { return utf8_; }

 private:
  bool ascii_;
  bool utf8_;
};

}  // namespace templates::detail
