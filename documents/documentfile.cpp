// Documents on disk, through the engine's decoder so that both read files alike.
#include "documents/documentfile.h"

#include <algorithm>

#include "common/textconv.h"
#include "common/wholefile.h"
#include "template/textcodec.h"

qsizetype FindOutsideWindows1252(QStringView text) {
  std::string bytes;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t c = text[i].unicode();
    if (c < 0x80 || c == QChar::ParagraphSeparator) continue;
    if (!templates::text::EncodeWindows1252(std::u16string_view(&c, 1), bytes)) return i;
  }
  return -1;
}

ReadResult ReadDocument(const QString& path, const std::function<void(int)>& progress) {
  ReadResult result;
  // Far beyond any text a person edits, and beyond what the decoder takes in one piece.
  constexpr qint64 kLargest = qint64(1) << 30;
  QByteArray bytes;
  result.error = ReadWholeFile(path, kLargest, bytes);
  if (!result.error.isEmpty()) return result;
  const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  result.format.utf8 = templates::text::IsUtf8(view);
  const QString decoded = FromU16(templates::text::Decode(view));
  // A file keeps its kind of line end: LF where its lines end in a lone LF (or it has
  // none), CR LF otherwise.
  result.format.lineEnd =
      decoded.contains(QLatin1Char('\r')) ? QStringLiteral("\r\n") : QStringLiteral("\n");

  // Lines end at CR LF, a lone CR or a lone LF; each comes into the editor ending with one
  // line break, the last one included.
  QString& text = result.text;
  text.reserve(decoded.size() + 1);
  int line = 0;
  qsizetype pos = 0;
  const qsizetype n = decoded.size();
  while (pos < n) {
    qsizetype end = pos;
    while (end < n && decoded.at(end) != QLatin1Char('\r') &&
           decoded.at(end) != QLatin1Char('\n')) {
      ++end;
    }
    progress(++line);
    text.append(QStringView(decoded).mid(pos, end - pos));
    text.append(QLatin1Char('\n'));
    if (end < n && decoded.at(end) == QLatin1Char('\r') && end + 1 < n &&
        decoded.at(end + 1) == QLatin1Char('\n')) {
      ++end;
    }
    pos = end + 1;
  }
  result.ok = true;
  return result;
}

namespace {

// Line breaks go out as the file's kind of line end, in one pass over the encoded bytes
// (LF is one byte in both encodings).
std::string WithLineEnds(std::string bytes, const QString& lineEnd) {
  if (lineEnd == QLatin1String("\n")) return bytes;
  const auto breaks = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
  if (breaks == 0) return bytes;
  std::string out;
  out.reserve(bytes.size() + breaks);
  for (char c : bytes) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace

QString WriteDocument(const QString& path, const QString& text, DocumentFormat& format) {
  const std::u16string wide = ToU16(text);
  std::string bytes;
  bool utf8 = format.utf8;
  if (!utf8 && !templates::text::EncodeWindows1252(wide, bytes)) utf8 = true;
  if (utf8) bytes = templates::text::Encode(wide);
  const QString reason = WriteFileAtomically(path, WithLineEnds(std::move(bytes), format.lineEnd));
  if (reason.isEmpty()) format.utf8 = utf8;
  return reason;
}
