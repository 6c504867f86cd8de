// Reading and writing documents: encoding and line ends kept as the file had them.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <string>

// How a document's file is written back: its encoding and its kind of line end.
struct DocumentFormat {
  bool utf8 = true;                        // else Windows-1252
  QString lineEnd = QStringLiteral("\n");  // "\r\n" or "\n"
};

struct ReadResult {
  bool ok = false;
  QString text;  // every line ends with a line break
  DocumentFormat format;
  QString error;  // why the file could not be read
};

// Reads the whole file at `path` into `bytes`, at most `limit` bytes. Anything that is not a
// regular file once links are followed (a folder, a device, a pipe) is refused without
// blocking on it, and no more than `limit` bytes are read whatever size the file reports.
// Returns an empty string on success, else the reason.
QString ReadWholeFile(const QString& path, qint64 limit, QByteArray& bytes);

// Reads a whole document. A file that is valid UTF-8 is read as UTF-8, any other as
// Windows-1252. `progress` is told each line number as the reading reaches it.
ReadResult ReadDocument(const QString& path, const std::function<void(int)>& progress);

// Writes `bytes` to `path` through a temporary file beside it that replaces it only once
// complete and on disk, so a failed write at any step leaves the old file byte for byte. A
// link is written through: the file it leads to is replaced and the link stays. An existing
// file keeps its permissions, and its owner and group where the user may set them. A target
// that exists and is not a regular file is refused. Returns an empty string on success, else
// the reason in the system's own words.
QString WriteFileAtomically(const QString& path, const std::string& bytes);

// Writes a document atomically: a failed write leaves the old file as it was. The text
// goes out in the format's encoding (UTF-8 when Windows-1252 lacks one of its characters,
// which then becomes the format's encoding) with the format's line ends. Returns an empty
// string on success, else the reason.
QString WriteDocument(const QString& path, const QString& text, DocumentFormat& format);
