// One quorpad per user and display session: the first start listens on a local socket, and a
// later start hands its command line over to it instead of opening windows of its own.
#pragma once

#include <QHash>
#include <QObject>
#include <QString>
#include <functional>

#include "app/handoverwire.h"

class QLocalServer;
class QLocalSocket;
class QTimer;

class SingleInstance : public QObject {
  Q_OBJECT

 public:
  enum class Role {
    kFirst,       // this process listens: it is the session's quorpad
    kHandedOver,  // a running quorpad took the request and answered
    kAlone,       // neither could be done; the reason is given and the process may run alone
  };
  using Handler = std::function<HandOverReply(const HandOverRequest&)>;

  // The first version of the exchange; a request of any other version is answered with an
  // error, so that quorpads of different releases never misread each other.
  static constexpr quint16 kProtocolVersion = kHandOverVersion;

  explicit SingleInstance(QString socketPath, QObject* parent = nullptr);
  ~SingleInstance() override;

  // The socket of this user's display session, named after the Wayland and X displays: in
  // $XDG_RUNTIME_DIR, else in a folder of this user's alone (mode 0700, checked to be a real
  // folder owned by the user that nobody else may write to), "quorpad-<uid>" in the
  // temporary folder or, where another user took that name, "quorpad" in the cache folder.
  static QString sessionSocketPath();

  // Becomes the session's quorpad, or hands `request` over to the running one and fills
  // `reply`. A socket left by a quorpad that was killed is cleared away; two starts at the
  // same moment agree through a lock file beside the socket.
  Role claim(const HandOverRequest& request, HandOverReply& reply, QString& problem);
  // Only hands `request` over to the running quorpad, for a start that is never the session's
  // (a pick on its own): true once it answered, with `reply` filled. No lock is taken and
  // nothing listens; where a quorpad is there but cannot be reached (or ended twice on the
  // way), `problem` says why, and is empty where none is there.
  bool handOverOnly(const HandOverRequest& request, HandOverReply& reply, QString& problem);

  // Answers the requests of later starts. Requests that arrive before it is set wait.
  void setHandler(Handler handler);
  // Stops being the session's quorpad: later starts find nobody and start as usual.
  void release();

  const QString& socketPath() const { return socketPath_; }
  // Whether later starts can reach this quorpad now.
  bool listening() const;

 Q_SIGNALS:
  // Listening stopped (the system refused a connection: no descriptors left, say); it is
  // taken up again after a short pause, and said once until it works again.
  void listeningFailed(const QString& problem);

 private:
  enum class Attempt {
    kNobodyListens,  // no socket, or one that nobody listens on any more
    kAnswered,
    kGone,      // the running quorpad ended before it answered
    kNoAnswer,  // it is there but does not answer, or cannot be reached
  };
  bool listen(QString& problem);
  Attempt handOver(const HandOverRequest& request, HandOverReply& reply, QString& problem);
  void accept();
  void letGoWhenIdle(QLocalSocket* socket);
  void read(QLocalSocket* socket);
  // Reads the socket from the event loop, never from within one of its own signals: the
  // handler may run a question's event loop, in which the socket may be deleted, and Qt's
  // code that emitted the signal would then go on with a deleted socket.
  void readSoon(QLocalSocket* socket);
  // Listens again where the server stopped; with a growing pause while that fails.
  void keepListening();

  // A later start's connection: the bytes of its request so far, and whether it was
  // answered. Kept as long as its socket.
  struct Connection {
    QByteArray buffer;
    bool answered = false;
  };

  QString socketPath_;
  QLocalServer* server_ = nullptr;
  QHash<const QLocalSocket*, Connection> connections_;
  Handler handler_;
  QTimer* watch_ = nullptr;
  bool failureSaid_ = false;
};
