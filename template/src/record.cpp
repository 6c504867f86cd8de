// Record parsing, Index checking and the line-break encoding of the store.
#include "record.h"

#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>

#include "template/textcodec.h"

namespace templates::detail {

bool ParseRecord(std::string_view line, RecordFields& out) {
  const std::size_t first = line.find(kSeparator);
  if (first == std::string_view::npos) return false;
  const std::string_view rest = line.substr(first + 1);
  if (rest.empty()) return false;
  const std::size_t second = rest.find(kSeparator);
  if (second == std::string_view::npos) return false;
  out.index = line.substr(0, first);
  out.name = rest.substr(0, second);
  out.value = rest.substr(second + 1);
  return true;
}

bool IsNumber(std::string_view s) {
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  auto digit = [](char c) { return c >= '0' && c <= '9'; };
  std::size_t i = 0;
  const std::size_t n = s.size();
  while (i < n && blank(s[i])) ++i;
  if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < n && digit(s[i])) ++i, ++digits;
  if (i < n && s[i] == '.') {
    ++i;
    while (i < n && digit(s[i])) ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < n && (s[j] == '+' || s[j] == '-')) ++j;
    std::size_t exponent = 0;
    while (j < n && digit(s[j])) ++j, ++exponent;
    if (exponent == 0) return false;
    i = j;
  }
  while (i < n && blank(s[i])) ++i;
  return i == n;
}

std::u16string EncodeBreaks(std::u16string text) {
  std::replace(text.begin(), text.end(), u'\r', kEncodedCr);
  std::replace(text.begin(), text.end(), u'\n', kEncodedLf);
  return text;
}

std::u16string DecodeBreaks(std::u16string text) {
  std::replace(text.begin(), text.end(), kEncodedCr, u'\r');
  std::replace(text.begin(), text.end(), kEncodedLf, u'\n');
  return text;
}

LineText::LineText(std::string_view line)
    : ascii_(text::IsAscii(line)), utf8_(ascii_ || text::IsUtf8(line)) {}

std::u16string LineText::Decode(std::string_view field, bool breaks) const {
  std::u16string out;
  DecodeInto(field, breaks, out);
  return out;
}

void LineText::DecodeInto(std::string_view field, bool breaks, std::u16string& out) const {
  // A field of a valid UTF-8 line is valid UTF-8 itself (it is cut at ASCII separators);
  // a field of any other line is decoded as Windows-1252 even where it alone looks like
  // UTF-8, so that all fields of the line agree.
  out.resize(field.size());  // never more UTF-16 units than bytes
  char16_t* o = out.data();
  if (ascii_) {
    const auto* in = reinterpret_cast<const unsigned char*>(field.data());
    const std::size_t n = field.size();
    if (!breaks) {
      for (std::size_t i = 0; i < n; ++i) o[i] = in[i];
      return;
    }
    // Branch-free, so that the compiler can vectorise it: 2 -> 13, 3 -> 10.
    for (std::size_t i = 0; i < n; ++i) {
      const unsigned c = in[i];
      o[i] = static_cast<char16_t>(c + (c == 2u) * 11u + (c == 3u) * 7u);
    }
    return;
  }
  if (utf8_) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(field.data());
    const auto length = static_cast<std::int32_t>(field.size());
    std::size_t j = 0;
    for (std::int32_t i = 0; i < length;) {
      UChar32 c;
      U8_NEXT_UNSAFE(bytes, i, c);
      U16_APPEND_UNSAFE(o, j, c);
    }
    out.resize(j);
  } else {
    out = text::DecodeWindows1252(field);
  }
  if (breaks) out = DecodeBreaks(std::move(out));
}

}  // namespace templates::detail
