// What a recovery copy holds and its bytes on disk, read and written without touching a file.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include "common/privatefolder.h"
#include "documents/documentfile.h"

// The folder of the copies: quorpad's state folder (StateFolder()).
inline QString RecoveryFolder() {
  return StateFolder();
}

// What the copy records besides the text.
struct RecoveryInfo {
  QString path;  // empty while the document is untitled
  DocumentFormat format;
  int caret = 0;
};

// A document read back from a copy.
struct RecoveredDocument {
  QString text;  // lines separated by LF
  RecoveryInfo info;
  QDateTime changed;  // when the text was last changed
};

// The bytes of a copy file: a first line naming the format, a second line of JSON
// describing the document, then the text as UTF-8.
QByteArray EncodeRecoveryCopy(const QString& text, const RecoveryInfo& info,
                              const QDateTime& changed);
// Reads the bytes of a copy file; false and `error` when they are not a sound copy.
bool DecodeRecoveryCopy(const QByteArray& bytes, RecoveredDocument& document, QString& error);
// Reads what the first bytes of a copy file say of its document (no text, caret 0).
bool DecodeRecoveryDescription(const QByteArray& bytes, RecoveredDocument& document,
                               QString& error);
