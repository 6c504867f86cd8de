// Documents on disk, through the engine's decoder so that both read files alike.
#include "documents/documentfile.h"

#include <cstring>

#include <QCoreApplication>
#include <algorithm>

#include "common/longjob.h"
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

namespace {

// How much of a document's file its first screen is told from, in bytes.
constexpr qsizetype kHeadLength = 64 * 1024;

// Why `bytes` is no text quorpad can edit and save back unchanged; empty when it is text. A
// NUL byte never stands in a text file; nor do many other control bytes (those a text may
// hold, tabs, line and page ends, escapes and the store's own codes, aside).
QString BinaryContent(const QByteArray& bytes) {
  if (const qsizetype nul = bytes.indexOf('\0'); nul >= 0)
    return QCoreApplication::translate("DocumentFile",
                                       "It holds binary data (a NUL byte at offset %1), not "
                                       "text: quorpad opens text files only, and saving it "
                                       "would change it.")
        .arg(nul);
  const qsizetype sample = std::min<qsizetype>(bytes.size(), 64 * 1024);
  qsizetype control = 0;
  for (qsizetype i = 0; i < sample; ++i) {
    const auto c = static_cast<unsigned char>(bytes.at(i));
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r' && c != '\f' && c != '\v' && c != 0x1b &&
        c != 0x02 && c != 0x03 && c != 0x04)
      ++control;
  }
  if (sample > 0 && control * 10 > sample)
    return QCoreApplication::translate(
        "DocumentFile",
        "It holds binary data (control bytes), not text: quorpad opens text "
        "files only, and saving it would change it.");
  return QString();
}

}  // namespace

ReadResult ReadDocument(const QString& path, const std::function<void(int)>& progress,
                        JobProgress* job, const std::function<void(const QString&, bool)>& head) {
  ReadResult result;
  // Far beyond any text a person edits, and beyond what the decoder takes in one piece.
  constexpr qint64 kLargest = qint64(1) << 30;
  QByteArray bytes;
  result.error = ReadWholeFile(path, kLargest, bytes);
  if (!result.error.isEmpty()) return result;
  if (const QString binary = BinaryContent(bytes); !binary.isEmpty()) {
    result.error = binary;
    return result;
  }
  const std::string_view view(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  result.format.utf8 = templates::text::IsUtf8(view);
  // The first whole lines, told before the rest is decoded: decoded as the whole file is, their
  // line ends as the loop below ends them, they are the start of the text it makes.
  if (head) {
    const qsizetype cut = bytes.lastIndexOf('\n', std::min(bytes.size(), kHeadLength) - 1);
    if (cut >= 0) {
      const std::string_view first = view.substr(0, static_cast<std::size_t>(cut) + 1);
      QString lines = FromU16(result.format.utf8 ? templates::text::Decode(first)
                                                 : templates::text::DecodeWindows1252(first));
      lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
      lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
      head(lines, result.format.utf8);
    }
  }
  // Decoded straight into the text, whose line ends are then made one LF each in place.
  QString& text = result.text;
  text.reserve(bytes.size() + 1);  // room for the last line's break, where the file has none
  text.resize(bytes.size() + 1);
  QChar* const chars = text.data();
  const qsizetype n = static_cast<qsizetype>(
      templates::text::DecodeInto(view, result.format.utf8, reinterpret_cast<char16_t*>(chars)));
  bytes = QByteArray();

  // Lines end at CR LF, a lone CR or a lone LF; each comes into the editor ending with one
  // line break, the last one included.
  QByteArray ends;
  int line = 0;
  qsizetype pos = 0, out = 0;
  while (pos < n) {
    qsizetype end = pos;
    while (end < n && chars[end] != QLatin1Char('\r') && chars[end] != QLatin1Char('\n')) ++end;
    progress(++line);
    if (job && line % 4096 == 0) {
      if (job->cancelled()) return ReadResult();
      job->report(pos, n);
    }
    if (out != pos) std::memmove(chars + out, chars + pos, sizeof(QChar) * size_t(end - pos));
    out += end - pos;
    char code = kEndLf;
    if (end < n && chars[end] == QLatin1Char('\r')) {
      code = end + 1 < n && chars[end + 1] == QLatin1Char('\n') ? kEndCrLf : kEndCr;
      if (code == kEndCrLf) ++end;
    }
    chars[out++] = QLatin1Char('\n');
    // The last line's end, where the file has none, is no kind of its own.
    if (end < n) ends.append(code);
    pos = end + 1;
  }
  text.truncate(out);
  // Text of many bytes a character (CJK in UTF-8) leaves much of the room unused.
  if (text.capacity() - out > out / 8) text.squeeze();
  // A file keeps its kind of line end: LF where it has none; where its lines end in more
  // than one way, each line keeps its own.
  const bool lf = ends.contains(kEndLf), cr = ends.contains(kEndCr), crlf = ends.contains(kEndCrLf);
  if (int(lf) + int(cr) + int(crlf) > 1) {
    result.format.lineEnd.clear();
    result.lineEnds = ends;
  } else {
    result.format.lineEnd = cr     ? QStringLiteral("\r")
                            : crlf ? QStringLiteral("\r\n")
                                   : QStringLiteral("\n");
  }
  result.ok = true;
  return result;
}

namespace {

// Line breaks go out as the file's kind of line end, in one pass over the encoded bytes
// (LF is one byte in both encodings).
std::string WithLineEnds(std::string bytes, const QString& lineEnd, const QByteArray& ends) {
  if (lineEnd == QLatin1String("\n")) return bytes;
  if (lineEnd == QLatin1String("\r")) {
    std::replace(bytes.begin(), bytes.end(), '\n', '\r');
    return bytes;
  }
  const auto breaks = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
  if (breaks == 0) return bytes;
  std::string out;
  out.reserve(bytes.size() + breaks);
  const bool mixed = lineEnd.isEmpty();
  char code = kEndCrLf;
  qsizetype line = 0;
  std::size_t from = 0;
  // Each line copied whole, its end after it.
  for (std::size_t at; (at = bytes.find('\n', from)) != std::string::npos; from = at + 1) {
    out.append(bytes, from, at - from);
    if (mixed && line < ends.size()) code = ends.at(line);
    ++line;
    if (!mixed || code == kEndCrLf) {
      out += "\r\n";
    } else {
      out += code == kEndCr ? '\r' : '\n';
    }
  }
  out.append(bytes, from, std::string::npos);
  return out;
}

}  // namespace

QString WriteDocument(const QString& path, const QString& text, DocumentFormat& format,
                      const QByteArray& lineEnds) {
  const std::u16string_view wide(reinterpret_cast<const char16_t*>(text.utf16()),
                                 static_cast<std::size_t>(text.size()));
  std::string bytes;
  bool utf8 = format.utf8;
  if (!utf8 && !templates::text::EncodeWindows1252(wide, bytes)) utf8 = true;
  if (utf8) bytes = templates::text::Encode(wide);
  const QString reason =
      WriteFileAtomically(path, WithLineEnds(std::move(bytes), format.lineEnd, lineEnds));
  if (reason.isEmpty()) format.utf8 = utf8;
  return reason;
}
