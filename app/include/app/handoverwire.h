// What a later start and the running quorpad exchange, as bytes. Every message is one frame:
// its length (4 bytes, big-endian) and a QDataStream payload that begins with a magic number
// and the exchange's version. A request carries the later start's arguments and working
// folder; the reply carries an exit status and the texts for standard output and standard
// error.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// What a later start asks the running quorpad: its whole command line (the program's name
// first) and the folder it was started in, so that relative names mean what the user meant.
struct HandOverRequest {
  QStringList arguments;
  QString workingFolder;
};

// The running quorpad's answer: the status the later start ends with and what it prints.
struct HandOverReply {
  int status = 0;
  QString output;  // for standard output
  QString errors;  // for standard error
};

// The exchange's version: a running quorpad of another version answers only that.
inline constexpr quint16 kHandOverVersion = 1;
// Far beyond any command line; a longer request is refused before it is buffered.
inline constexpr quint32 kLargestRequest = 1 << 20;
// An answer may carry a long text (a list of every template, say).
inline constexpr quint32 kLargestReply = 256 << 20;

// `payload` as one frame.
QByteArray Frame(const QByteArray& payload);
// The payload of the first complete frame in `buffer`, which loses it; false while the frame
// is incomplete. `tooLarge` is set for a frame that is longer than `largest`.
bool TakeFrame(QByteArray& buffer, quint32 largest, QByteArray& payload, bool& tooLarge);

QByteArray EncodeRequest(const HandOverRequest& request);
QByteArray EncodeReply(const HandOverReply& reply);

enum class Decoded { kOk, kOtherVersion, kCorrupt };
// Reads a request; `version` is the sender's version, also where it is not ours.
Decoded DecodeRequest(const QByteArray& payload, HandOverRequest& request, quint16& version);
bool DecodeReply(const QByteArray& payload, HandOverReply& reply);
