// The recovery copy's format: a line naming it, a line of JSON describing the document
// (with the text's length and checksum), then the text.
#include "documents/recoveryformat.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>
#include <algorithm>
#include <climits>
#include <cmath>

namespace {

const QByteArray kMagic = QByteArrayLiteral("quorpad recovery copy 1\n");

QString EncodingName(const DocumentFormat& format) {
  return format.utf8 ? QStringLiteral("UTF-8") : QStringLiteral("Windows-1252");
}

}  // namespace

QByteArray EncodeRecoveryCopy(const QString& text, const RecoveryInfo& info,
                              const QDateTime& changed) {
  const QByteArray body = text.toUtf8();
  QJsonObject header;
  header[QStringLiteral("path")] = info.path;
  header[QStringLiteral("encoding")] = EncodingName(info.format);
  // A copy keeps one kind of line end: mixed ends come back as CR LF.
  header[QStringLiteral("lineEnd")] =
      info.format.lineEnd == QLatin1String("\n")   ? QStringLiteral("LF")
      : info.format.lineEnd == QLatin1String("\r") ? QStringLiteral("CR")
                                                   : QStringLiteral("CRLF");
  header[QStringLiteral("caret")] = info.caret;
  header[QStringLiteral("changed")] = changed.toUTC().toString(Qt::ISODateWithMs);
  header[QStringLiteral("length")] = static_cast<double>(body.size());
  header[QStringLiteral("sha256")] =
      QString::fromLatin1(QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex());
  QByteArray bytes;
  bytes.reserve(body.size() + 512);
  bytes += kMagic;
  bytes += QJsonDocument(header).toJson(QJsonDocument::Compact);
  bytes += '\n';
  bytes += body;
  return bytes;
}

namespace {

// Reads the description of a copy (its first two lines) into `header`, and where the text
// begins into `textStart`; false and `error` when it is not a sound description.
bool DecodeDescription(const QByteArray& bytes, QJsonObject& header, qsizetype& textStart,
                       QString& error) {
  if (!bytes.startsWith(kMagic)) {
    error =
        QCoreApplication::translate("RecoveryFormat", "It does not begin as a recovery copy does.");
    return false;
  }
  const qsizetype headerEnd = bytes.indexOf('\n', kMagic.size());
  if (headerEnd < 0) {
    error = QCoreApplication::translate("RecoveryFormat",
                                        "Its description of the document is cut short.");
    return false;
  }
  QJsonParseError parse{};
  const QJsonDocument json =
      QJsonDocument::fromJson(bytes.mid(kMagic.size(), headerEnd - kMagic.size()), &parse);
  header = json.object();
  if (parse.error != QJsonParseError::NoError || !json.isObject() ||
      !header.value(QStringLiteral("path")).isString() ||
      !header.value(QStringLiteral("length")).isDouble() ||
      !header.value(QStringLiteral("sha256")).isString()) {
    error = QCoreApplication::translate("RecoveryFormat",
                                        "Its description of the document cannot be read.");
    return false;
  }
  textStart = headerEnd + 1;
  return true;
}

// The document's path, format and time of change from a sound description.
void TakeDescription(const QJsonObject& header, RecoveredDocument& document) {
  RecoveryInfo& info = document.info;
  info.path = header.value(QStringLiteral("path")).toString();
  info.format.utf8 =
      header.value(QStringLiteral("encoding")).toString() != QLatin1String("Windows-1252");
  const QString lineEnd = header.value(QStringLiteral("lineEnd")).toString();
  info.format.lineEnd = lineEnd == QLatin1String("CRLF") ? QStringLiteral("\r\n")
                        : lineEnd == QLatin1String("CR") ? QStringLiteral("\r")
                                                         : QStringLiteral("\n");
  document.changed =
      QDateTime::fromString(header.value(QStringLiteral("changed")).toString(), Qt::ISODateWithMs);
}

}  // namespace

bool DecodeRecoveryCopy(const QByteArray& bytes, RecoveredDocument& document, QString& error) {
  QJsonObject header;
  qsizetype textStart = 0;
  if (!DecodeDescription(bytes, header, textStart, error)) return false;
  const QByteArray body = bytes.mid(textStart);
  // A length is a whole number of bytes that the file could hold; anything else (a huge
  // number, which has no integer value) is refused before it is used as one.
  const double length = header.value(QStringLiteral("length")).toDouble();
  if (!(length >= 0 && length <= static_cast<double>(bytes.size()) &&
        length == std::floor(length))) {
    error = QCoreApplication::translate("RecoveryFormat",
                                        "It gives a length that does not fit the copy.");
    return false;
  }
  if (static_cast<qsizetype>(length) != body.size()) {
    error = QCoreApplication::translate("RecoveryFormat",
                                        "It holds %1 bytes of text where %2 were written.")
                .arg(body.size())
                .arg(static_cast<qint64>(length));
    return false;
  }
  if (QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex() !=
      header.value(QStringLiteral("sha256")).toString().toLatin1()) {
    error = QCoreApplication::translate(
        "RecoveryFormat", "Its text has been changed or damaged since it was written.");
    return false;
  }
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  document.text = decoder.decode(body);
  if (decoder.hasError()) {
    error = QCoreApplication::translate("RecoveryFormat", "Its text is not valid UTF-8.");
    return false;
  }
  TakeDescription(header, document);
  document.info.caret =
      std::clamp(header.value(QStringLiteral("caret")).toInt(), 0,
                 static_cast<int>(std::min<qsizetype>(document.text.size(), INT_MAX)));
  return true;
}

bool DecodeRecoveryDescription(const QByteArray& bytes, RecoveredDocument& document,
                               QString& error) {
  QJsonObject header;
  qsizetype textStart = 0;
  if (!DecodeDescription(bytes, header, textStart, error)) return false;
  document.text.clear();
  TakeDescription(header, document);
  document.info.caret = 0;
  return true;
}
