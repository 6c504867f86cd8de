// The layout of the store: lines, records and the encoding of line breaks inside fields.
#pragma once

#include <cstring>
#include <string>
#include <string_view>

namespace templates::detail {

inline constexpr char kSeparator = '\x04';
inline constexpr char16_t kEncodedCr = u'\x02';
inline constexpr char16_t kEncodedLf = u'\x03';

// Finds the ends of lines in a buffer: a CR, or an LF that stands alone. The next CR and
// the next LF are each looked up once and remembered until passed, so a buffer is searched
// in linear time whichever kind of line end it holds.
class LineEnds {
 public:
  // The position of the first CR or LF in data[from, size), or size when there is none.
  std::size_t Next(const char* data, std::size_t from, std::size_t size) {
    if (cr_ == kUnknown || cr_ < from) cr_ = Find(data, from, size, '\r');
    if (lf_ == kUnknown || lf_ < from) lf_ = Find(data, from, size, '\n');
    return cr_ < lf_ ? cr_ : lf_;
  }
  // To be called whenever the buffer's bytes move or its size changes.
  void Reset() { cr_ = lf_ = kUnknown; }

 private:
  static constexpr std::size_t kUnknown = static_cast<std::size_t>(-1);
  static std::size_t Find(const char* data, std::size_t from, std::size_t size, char c) {
    const void* at = std::memchr(data + from, c, size - from);
    return at ? static_cast<std::size_t>(static_cast<const char*>(at) - data) : size;
  }
  std::size_t cr_ = kUnknown, lf_ = kUnknown;
};

// Calls f(line) for every line of `data`. A line ends at a CR, and an LF right after that
// CR belongs to the line end; an LF anywhere else ends a line too, as a file whose line
// ends were converted to LF alone holds them. The last line may lack its terminator.
// f returns false to stop early.
template <class F>
void ForEachLine(std::string_view data, F&& f) {
  LineEnds ends;
  std::size_t pos = 0;
  while (pos < data.size()) {
    const std::size_t end = ends.Next(data.data(), pos, data.size());
    if (!f(data.substr(pos, end - pos)) || end == data.size()) return;
    pos = end + 1;
    if (data[end] == '\r' && pos < data.size() && data[pos] == '\n') ++pos;
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
