// The hand-over's frames and their payloads.
#include "app/handoverwire.h"

#include <QDataStream>
#include <QIODevice>

namespace {

constexpr quint32 kMagic = 0x71706164;  // "qpad"
constexpr quint32 kMostArguments = 4096;

}  // namespace

QByteArray Frame(const QByteArray& payload) {
  QByteArray frame;
  QDataStream out(&frame, QIODevice::WriteOnly);
  out << static_cast<quint32>(payload.size());
  frame += payload;
  return frame;
}

bool TakeFrame(QByteArray& buffer, quint32 largest, QByteArray& payload, bool& tooLarge) {
  tooLarge = false;
  if (buffer.size() < 4) return false;
  quint32 length = 0;
  QDataStream(buffer) >> length;
  if (length > largest) {
    tooLarge = true;
    return false;
  }
  if (static_cast<quint32>(buffer.size()) - 4 < length) return false;
  payload = buffer.mid(4, length);
  buffer.remove(0, 4 + static_cast<qsizetype>(length));
  return true;
}

QByteArray EncodeRequest(const HandOverRequest& request) {
  QByteArray payload;
  QDataStream out(&payload, QIODevice::WriteOnly);
  out.setVersion(QDataStream::Qt_6_0);
  out << kMagic << kHandOverVersion << static_cast<quint32>(request.arguments.size());
  for (const QString& argument : request.arguments) out << argument;
  out << request.workingFolder;
  return payload;
}

QByteArray EncodeReply(const HandOverReply& reply) {
  QByteArray payload;
  QDataStream out(&payload, QIODevice::WriteOnly);
  out.setVersion(QDataStream::Qt_6_0);
  out << kMagic << kHandOverVersion << static_cast<qint32>(reply.status) << reply.output
      << reply.errors;
  return payload;
}

Decoded DecodeRequest(const QByteArray& payload, HandOverRequest& request, quint16& version) {
  QDataStream in(payload);
  in.setVersion(QDataStream::Qt_6_0);
  quint32 magic = 0;
  in >> magic >> version;
  if (in.status() != QDataStream::Ok || magic != kMagic) return Decoded::kCorrupt;
  if (version != kHandOverVersion) return Decoded::kOtherVersion;
  quint32 count = 0;
  in >> count;
  if (count > kMostArguments) return Decoded::kCorrupt;
  for (quint32 i = 0; i < count && in.status() == QDataStream::Ok; ++i) {
    QString argument;
    in >> argument;
    request.arguments << argument;
  }
  in >> request.workingFolder;
  return in.status() == QDataStream::Ok && in.atEnd() ? Decoded::kOk : Decoded::kCorrupt;
}

bool DecodeReply(const QByteArray& payload, HandOverReply& reply) {
  QDataStream in(payload);
  in.setVersion(QDataStream::Qt_6_0);
  quint32 magic = 0;
  quint16 version = 0;
  qint32 status = 0;
  in >> magic >> version >> status >> reply.output >> reply.errors;
  reply.status = status;
  return in.status() == QDataStream::Ok && magic == kMagic;
}
