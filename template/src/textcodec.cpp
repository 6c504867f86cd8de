// UTF-8 and Windows-1252 decoding, UTF-8 encoding and lower-casing, on ICU.
#include "template/textcodec.h"

#include <unicode/uchar.h>
#include <unicode/ustring.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace templates::text {
namespace {

// Windows-1252 bytes 0x80 to 0x9F. The five bytes the code page leaves unassigned (0x81,
// 0x8D, 0x8F, 0x90, 0x9D) map to the C1 control of the same number, as Windows itself
// converts them, so every byte survives a round trip.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 98-9F
};

std::u16string Widen(std::string_view ascii) {
  return std::u16string(ascii.begin(), ascii.end());
}

}  // namespace

std::u16string DecodeWindows1252(std::string_view bytes) {
  std::u16string out(bytes.size(), u'\0');
  DecodeInto(bytes, false, out.data());
  return out;
}

namespace {

bool IsUtf8NonAscii(std::string_view bytes) {
  const auto* s = reinterpret_cast<const uint8_t*>(bytes.data());
  const auto length = static_cast<int32_t>(bytes.size());
  for (int32_t i = 0; i < length;) {
    UChar32 c;
    U8_NEXT(s, i, length, c);
    if (c < 0) return false;
  }
  return true;
}

}  // namespace

bool EncodeWindows1252(std::u16string_view text, std::string& out) {
  out.clear();
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out += static_cast<char>(c);
      continue;
    }
    const auto* found = std::find(kCp1252High.begin(), kCp1252High.end(), c);
    if (found == kCp1252High.end()) return false;
    out += static_cast<char>(0x80 + (found - kCp1252High.begin()));
  }
  return true;
}

bool IsAscii(std::string_view bytes) {
  const char* p = bytes.data();
  std::size_t n = bytes.size();
  std::uint64_t any = 0;
  for (; n >= 8; p += 8, n -= 8) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    any |= word;
  }
  for (; n > 0; ++p, --n) any |= static_cast<unsigned char>(*p);
  return (any & 0x8080808080808080ull) == 0;
}

bool IsUtf8(std::string_view bytes) {
  return IsAscii(bytes) || IsUtf8NonAscii(bytes);
}

std::u16string Decode(std::string_view bytes) {
  if (IsAscii(bytes)) return Widen(bytes);
  // Valid UTF-8 never needs more UTF-16 units than it has bytes.
  std::u16string out(bytes.size(), u'\0');
  out.resize(DecodeInto(bytes, IsUtf8NonAscii(bytes), out.data()));
  return out;
}

std::size_t DecodeInto(std::string_view bytes, bool utf8, char16_t* out) {
  if (utf8 && bytes.size() <= static_cast<std::size_t>(INT32_MAX)) {
    int32_t length = 0;
    UErrorCode status = U_ZERO_ERROR;
    u_strFromUTF8(out, static_cast<int32_t>(bytes.size()), &length, bytes.data(),
                  static_cast<int32_t>(bytes.size()), &status);
    if (U_SUCCESS(status)) return static_cast<std::size_t>(length);
  }
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    out[i] = (b >= 0x80 && b < 0xA0) ? kCp1252High[b - 0x80] : static_cast<char16_t>(b);
  }
  return bytes.size();
}

std::string Encode(std::u16string_view text) {
  if (std::all_of(text.begin(), text.end(), [](char16_t c) { return c < 0x80; })) {
    return std::string(text.begin(), text.end());
  }
  // A UTF-16 unit becomes at most three bytes of UTF-8.
  std::string out(text.size() * 3, '\0');
  int32_t length = 0;
  int32_t substitutions = 0;
  UErrorCode status = U_ZERO_ERROR;
  u_strToUTF8WithSub(out.data(), static_cast<int32_t>(out.size()), &length, text.data(),
                     static_cast<int32_t>(text.size()), 0xFFFD, &substitutions, &status);
  // With room for the longest encoding and a substitute for every unpaired surrogate, the
  // conversion cannot fail; were it to, an empty result would lose text silently.
  if (U_FAILURE(status)) throw std::runtime_error("text could not be converted to UTF-8");
  out.resize(static_cast<std::size_t>(length));
  return out;
}

std::u16string ToLower(std::u16string_view text) {
  std::u16string out(text.size() + 8, u'\0');
  for (;;) {
    UErrorCode status = U_ZERO_ERROR;
    const int32_t length = u_strToLower(out.data(), static_cast<int32_t>(out.size()), text.data(),
                                        static_cast<int32_t>(text.size()), nullptr, &status);
    if (status == U_BUFFER_OVERFLOW_ERROR) {
      out.resize(static_cast<std::size_t>(length));
      continue;
    }
    if (U_FAILURE(status)) return std::u16string(text);
    out.resize(static_cast<std::size_t>(length));
    return out;
  }
}

}  // namespace templates::text
