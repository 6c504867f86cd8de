// Text encoding of the files quorpad reads and writes: UTF-8 out, UTF-8 or Windows-1252 in.
#pragma once

#include <string>
#include <string_view>

#include "template/template_export.h"

namespace templates::text {

// Decodes bytes as UTF-8 when they are valid UTF-8, and otherwise as Windows-1252, so that
// files written on older systems read correctly. Every byte maps to a character (the five
// bytes Windows-1252 leaves unassigned map to the C1 controls of the same number), so no
// byte is lost and encoding the result as Windows-1252 would give the input back.
TEMPLATE_EXPORT std::u16string Decode(std::string_view bytes);

// Decodes bytes as Decode() does into `out`, which has room for bytes.size() units, and
// returns how many it wrote: `utf8` is what IsUtf8() said of the same bytes, so that they are
// not checked again and the text is never copied (bytes that turn out not to be UTF-8 after
// all are decoded as Windows-1252).
TEMPLATE_EXPORT std::size_t DecodeInto(std::string_view bytes, bool utf8, char16_t* out);

// Decodes bytes as Windows-1252 alone.
TEMPLATE_EXPORT std::u16string DecodeWindows1252(std::string_view bytes);

// Encodes text as Windows-1252 into `out`; false when the text holds a character the code
// page lacks (then `out` is unspecified).
TEMPLATE_EXPORT bool EncodeWindows1252(std::u16string_view text, std::string& out);

// True when every byte is below 0x80; such bytes read alike in UTF-8 and Windows-1252.
TEMPLATE_EXPORT bool IsAscii(std::string_view bytes);

// True when `bytes` is well-formed UTF-8.
TEMPLATE_EXPORT bool IsUtf8(std::string_view bytes);

// Encodes text as UTF-8. An unpaired surrogate becomes U+FFFD, the only character that can
// not be represented.
TEMPLATE_EXPORT std::string Encode(std::u16string_view text);

// Full Unicode lower-casing in the default locale ("ÉTÉ" gives "été").
TEMPLATE_EXPORT std::u16string ToLower(std::u16string_view text);

}  // namespace templates::text
