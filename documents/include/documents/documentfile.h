// Reading and writing documents: encoding and line ends kept as the file had them.
#pragma once

#include <QString>
#include <functional>

// How a document's file is written back: its encoding and its kind of line end.
struct DocumentFormat {
  bool utf8 = true;  // else Windows-1252
  // "\r\n", "\n" or "\r"; empty for a file whose lines end in more than one way, each
  // of which keeps its own end (see ReadResult::lineEnds).
  QString lineEnd = QStringLiteral("\n");
};

// The end of one line of a file with mixed line ends.
enum LineEndCode : char { kEndLf = 'n', kEndCr = 'r', kEndCrLf = 'c' };

// Where the first character that Windows-1252 lacks is in `text`, or -1 when it has them
// all. Line and paragraph breaks of a text box (U+2029) count as line ends, which it has.
qsizetype FindOutsideWindows1252(QStringView text);

class JobProgress;

struct ReadResult {
  bool ok = false;
  QString text;  // every line ends with a line break
  DocumentFormat format;
  // For mixed line ends alone: each line's end, a LineEndCode per line.
  QByteArray lineEnds;
  QString error;  // why the file could not be read
};

// Reads a whole document. A file that is valid UTF-8 is read as UTF-8, any other as
// Windows-1252. `progress` is told each line number as the reading reaches it. A file that
// holds binary data (a NUL byte, or mostly control bytes) is refused: it cannot be shown as
// it is, and saving it would change it. Read as a job, it tells `job` how far it got and
// stops (with no result) once cancelled. `head`, where given, is told the text's first
// whole lines (from its first 64 KB; the start of the result's text) and whether the file is
// UTF-8, before the rest is decoded, so that a first screen can show at once.
ReadResult ReadDocument(const QString& path, const std::function<void(int)>& progress,
                        JobProgress* job = nullptr,
                        const std::function<void(const QString&, bool)>& head = {});

// Writes a document atomically: a failed write leaves the old file as it was. The text
// goes out in the format's encoding (UTF-8 when Windows-1252 lacks one of its characters,
// which then becomes the format's encoding) with the format's line ends; with mixed ends,
// line i ends as lineEnds[i] says (a line beyond them as the line before it). Returns an
// empty string on success, else the reason.
QString WriteDocument(const QString& path, const QString& text, DocumentFormat& format,
                      const QByteArray& lineEnds = QByteArray());
