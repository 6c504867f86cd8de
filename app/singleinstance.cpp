// The session's one quorpad: the local socket it listens on and the exchange with later
// starts, in the frames of handoverwire.
#include "app/singleinstance.h"

#include "app/handoverwire.h"
#include "common/privatefolder.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <algorithm>

namespace {

constexpr int kConnectMs = 2000;
constexpr int kLockWaitMs = 10000;
// The running quorpad answers at once; only one that hangs takes this long.
constexpr int kAnswerMs = 20000;
// How long a quorpad that is ending is given to take its socket away.
constexpr unsigned long kEndingMs = 100;
// A later start that connects and then says nothing is let go after this.
constexpr int kIdleConnectionMs = 10000;
// How often listening is looked after, and the longest pause while it cannot be taken up.
constexpr int kWatchMs = 1000;
constexpr int kLongestWatchMs = 30000;
// The longest path a local socket's address holds, with room to spare.
constexpr int kLongestSocketPath = 100;

QString SessionKey() {
  // Starts in the same desktop session see the same displays; other sessions of the same
  // user (another seat, an ssh login with its own X display) get quorpads of their own.
  const QByteArray session = qgetenv("WAYLAND_DISPLAY") + '\n' + qgetenv("DISPLAY");
  return QString::fromLatin1(
      QCryptographicHash::hash(session, QCryptographicHash::Sha256).toHex().left(16));
}

// Whether the process at the other end of a connected local socket runs as this user.
bool PeerIsThisUser(qintptr descriptor) {
  ucred peer{};
  socklen_t length = sizeof peer;
  if (::getsockopt(static_cast<int>(descriptor), SOL_SOCKET, SO_PEERCRED, &peer, &length) != 0)
    return false;
  return peer.uid == ::getuid();
}

}  // namespace

SingleInstance::SingleInstance(QString socketPath, QObject* parent)
    : QObject(parent), socketPath_(std::move(socketPath)) {}

SingleInstance::~SingleInstance() = default;

namespace {

// `path` as a folder of this user's alone, made (mode 0700) where it is missing.
bool OwnFolder(const QString& path) {
  QString why;
  bool unsafe = false;
  return PrivateFolder::open(path, true, why, unsafe) != nullptr;
}

// Whether `path` is there and another user's: a socket left by a quorpad that ran as that
// user with this user's runtime folder (as `sudo -E` runs it), which no quorpad of this
// user's answers on.
bool OtherUsersFile(const QString& path) {
  struct stat st {};
  return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && st.st_uid != ::geteuid();
}

}  // namespace

QString SingleInstance::sessionSocketPath() {
  const QString socket = QStringLiteral("quorpad-") + SessionKey();
  // The runtime folder, where it is the user's alone: one of another user's (left by `su`
  // without a login) or open to others is passed over, as the temporary folder is.
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  QString why;
  bool unsafe = false;
  if (!runtime.isEmpty() && PrivateFolder::open(runtime, false, why, unsafe)) {
    const QString path = QDir(runtime).filePath(socket);
    if (QFile::encodeName(path).size() <= kLongestSocketPath) return path;
  }
  // In the shared temporary folder another user could take the socket's or the lock's name
  // first: they go in a folder of the user's own, which nobody else can enter or fill.
  const QString temporary =
      QDir(QDir::tempPath()).filePath(QStringLiteral("quorpad-%1").arg(::getuid()));
  if (OwnFolder(temporary)) return QDir(temporary).filePath(socket);
  QString cache = qEnvironmentVariable("XDG_CACHE_HOME");
  if (cache.isEmpty() || QDir::isRelativePath(cache)) cache = QDir::homePath() + "/.cache";
  QDir().mkpath(cache);
  const QString own = QDir(cache).filePath(QStringLiteral("quorpad"));
  if (OwnFolder(own) && QFile::encodeName(own).size() + 30 <= kLongestSocketPath)
    return QDir(own).filePath(socket);
  // Nowhere private: the socket is still only ever handed a request by a quorpad of this
  // user's (see HandOver).
  return QDir(temporary).filePath(socket);
}

SingleInstance::Role SingleInstance::claim(const HandOverRequest& request, HandOverReply& reply,
                                           QString& problem) {
  // Between a start's look for a running quorpad and its own listening, another start must
  // not look: it would find neither and listen too. The lock of a killed process is stale
  // and taken over at once.
  QLockFile lock(socketPath_ + QStringLiteral(".lock"));
  QString lockProblem;
  if (!lock.tryLock(kLockWaitMs)) {
    lockProblem =
        QCoreApplication::translate("SingleInstance", "could not lock %1 (%2); going on without it")
            .arg(socketPath_ + QStringLiteral(".lock"),
                 lock.error() == QLockFile::PermissionError
                     ? QCoreApplication::translate("SingleInstance", "no permission")
                     : QCoreApplication::translate("SingleInstance", "held"));
  }
  if (handOverOnly(request, reply, problem)) return Role::kHandedOver;
  // A quorpad there that cannot be reached (the reason said) keeps its socket.
  if (!problem.isEmpty()) return Role::kAlone;
  problem = lockProblem;
  return listen(problem) ? Role::kFirst : Role::kAlone;
}

bool SingleInstance::handOverOnly(const HandOverRequest& request, HandOverReply& reply,
                                  QString& problem) {
  // A quorpad that ends while the request is on its way answers nothing: look once more.
  for (int attempt = 0; attempt < 2; ++attempt) {
    switch (handOver(request, reply, problem)) {
      case Attempt::kAnswered:
        return true;
      case Attempt::kGone:
        // Give its socket a moment to go with it.
        QThread::msleep(kEndingMs);
        break;
      case Attempt::kNobodyListens:
        problem.clear();  // one that ended on the way is no problem of this start
        return false;
      case Attempt::kNoAnswer:
        return false;
    }
  }
  return false;
}

SingleInstance::Attempt SingleInstance::handOver(const HandOverRequest& request,
                                                 HandOverReply& reply, QString& problem) {
  QLocalSocket socket;
  socket.connectToServer(socketPath_);
  if (!socket.waitForConnected(kConnectMs)) {
    const auto error = socket.error();
    if (error == QLocalSocket::ServerNotFoundError ||
        error == QLocalSocket::ConnectionRefusedError ||
        (error == QLocalSocket::SocketAccessError && OtherUsersFile(socketPath_)))
      return Attempt::kNobodyListens;
    // Some other quorpad may be listening there still: its socket is left alone.
    problem = QCoreApplication::translate("SingleInstance",
                                          "could not reach the running quorpad at %1: %2")
                  .arg(socketPath_, socket.errorString());
    return Attempt::kNoAnswer;
  }
  // Outside the user's own runtime folder the socket's name can be foreseen, and another
  // local user could listen there first: the command line and working folder go only to a
  // quorpad of this user's.
  if (!PeerIsThisUser(socket.socketDescriptor())) {
    problem = QCoreApplication::translate("SingleInstance",
                                          "%1 is held by another user; not handing over to it")
                  .arg(socketPath_);
    return Attempt::kNoAnswer;
  }

  socket.write(Frame(EncodeRequest(request)));
  QByteArray buffer;
  QByteArray payload;
  bool tooLarge = false;
  const QDeadlineTimer deadline(kAnswerMs);
  while (!TakeFrame(buffer, kLargestReply, payload, tooLarge)) {
    if (tooLarge) {
      problem = QCoreApplication::translate("SingleInstance",
                                            "the running quorpad sent an answer too long to read");
      return Attempt::kNoAnswer;
    }
    // Bytes that are still on their way out are written by the same waits.
    if (socket.bytesToWrite() > 0) socket.waitForBytesWritten(0);
    if (!socket.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
      if (socket.state() != QLocalSocket::ConnectedState) {
        problem = QCoreApplication::translate("SingleInstance",
                                              "the running quorpad ended before it answered");
        return Attempt::kGone;
      }
      problem = QCoreApplication::translate("SingleInstance",
                                            "the running quorpad did not answer within %1 s (%2)")
                    .arg(kAnswerMs / 1000)
                    .arg(socketPath_);
      return Attempt::kNoAnswer;
    }
    buffer += socket.readAll();
  }
  if (!DecodeReply(payload, reply)) {
    problem = QCoreApplication::translate("SingleInstance",
                                          "the running quorpad's answer could not be read");
    return Attempt::kNoAnswer;
  }
  return Attempt::kAnswered;
}

bool SingleInstance::listen(QString& problem) {
  auto* server = new QLocalServer(this);
  server->setSocketOptions(QLocalServer::UserAccessOption);
  // Nobody answered on the socket: whatever file is there was left by a quorpad that did
  // not end normally.
  QLocalServer::removeServer(socketPath_);
  if (!server->listen(socketPath_)) {
    problem = QCoreApplication::translate("SingleInstance", "could not listen on %1: %2")
                  .arg(socketPath_, server->errorString());
    delete server;
    return false;
  }
  server_ = server;
  connect(server_, &QLocalServer::newConnection, this, &SingleInstance::accept);
  // Qt stops listening for good when the system refuses to accept a connection (no
  // descriptors left): it is looked after, and taken up again.
  if (!watch_) {
    watch_ = new QTimer(this);
    watch_->setSingleShot(true);
    connect(watch_, &QTimer::timeout, this, &SingleInstance::keepListening);
  }
  watch_->start(kWatchMs);
  return true;
}

void SingleInstance::release() {
  if (watch_) watch_->stop();
  if (!server_) return;
  server_->close();
  delete server_;
  server_ = nullptr;
}

bool SingleInstance::listening() const {
  return server_ && server_->isListening();
}

void SingleInstance::keepListening() {
  if (listening()) {
    failureSaid_ = false;
    watch_->start(kWatchMs);
    return;
  }
  const QString why = server_ ? server_->errorString() : QString();
  if (server_) {
    // Connections taken before it stopped are answered still.
    for (QLocalSocket* socket : server_->findChildren<QLocalSocket*>()) socket->setParent(this);
    server_->deleteLater();
    server_ = nullptr;
  }
  // Meanwhile a later start may have found nobody and become the session's quorpad; its
  // socket is left alone, and it serves the later starts from now on.
  QLockFile lock(socketPath_ + QStringLiteral(".lock"));
  lock.tryLock(kConnectMs);
  QLocalSocket other;
  other.connectToServer(socketPath_);
  if (other.waitForConnected(kConnectMs)) {
    Q_EMIT listeningFailed(QCoreApplication::translate(
                               "SingleInstance", "another quorpad answers later starts at %1 now")
                               .arg(socketPath_));
    return;
  }
  QString problem;
  if (listen(problem)) {
    failureSaid_ = false;
    return;
  }
  if (!failureSaid_) {
    failureSaid_ = true;
    Q_EMIT listeningFailed(
        QCoreApplication::translate(
            "SingleInstance", "later starts cannot reach this quorpad at %1 (%2); trying again")
            .arg(socketPath_, problem.isEmpty() ? why : problem));
  }
  // A pause that grows while it goes on failing, so that a system short of descriptors is
  // not pressed.
  const int pause = std::min(watch_->interval() * 2, kLongestWatchMs);
  watch_->start(std::max(pause, kWatchMs));
}

void SingleInstance::setHandler(Handler handler) {
  handler_ = std::move(handler);
  if (!server_) return;
  for (QLocalSocket* socket : server_->findChildren<QLocalSocket*>()) {
    letGoWhenIdle(socket);
    readSoon(socket);
  }
}

void SingleInstance::letGoWhenIdle(QLocalSocket* socket) {
  // Counted from when this quorpad can answer: a start of its own that is slow (a question
  // on screen, a store in use) must not send later starts off on their own.
  // A request being answered is not idle: its answer may wait on a question for as long as
  // the person takes, and letting it go would have the later start send it again.
  QTimer::singleShot(kIdleConnectionMs, socket, [this, socket] {
    if (!connections_.value(socket).answered) socket->abort();
  });
}

void SingleInstance::accept() {
  while (QLocalSocket* socket = server_->nextPendingConnection()) {
    connections_.insert(socket, Connection());
    connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readSoon(socket); });
    connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QObject::destroyed, this, [this, socket] { connections_.remove(socket); });
    if (handler_) letGoWhenIdle(socket);
    readSoon(socket);
  }
}

void SingleInstance::readSoon(QLocalSocket* socket) {
  QMetaObject::invokeMethod(
      this,
      [this, guard = QPointer<QLocalSocket>(socket)] {
        if (guard) read(guard);
      },
      Qt::QueuedConnection);
}

void SingleInstance::read(QLocalSocket* socket) {
  const auto at = connections_.find(socket);
  if (!handler_ || at == connections_.end() || at->answered) return;
  Connection& connection = *at;
  connection.buffer += socket->readAll();
  QByteArray payload;
  bool tooLarge = false;
  if (!TakeFrame(connection.buffer, kLargestRequest, payload, tooLarge)) {
    if (tooLarge) socket->abort();
    return;
  }
  // One answer a connection: a read while the handler runs (it may ask a question) finds it
  // answered already.
  connection.answered = true;
  HandOverRequest request;
  quint16 version = 0;
  HandOverReply reply;
  // The handler may run an event loop (a question), in which this socket may go and another
  // take its address.
  const QPointer<QLocalSocket> guard(socket);
  switch (DecodeRequest(payload, request, version)) {
    case Decoded::kCorrupt:
      socket->abort();
      return;
    case Decoded::kOtherVersion:
      reply.status = 1;
      reply.errors = QCoreApplication::translate(
                         "SingleInstance",
                         "quorpad: the running quorpad is of another release (its exchange "
                         "is version %1, this one's %2); end it, or start with --new-instance\n")
                         .arg(kProtocolVersion)
                         .arg(version);
      break;
    case Decoded::kOk:
      reply = handler_(request);
      break;
  }
  if (!guard) return;
  socket->write(Frame(EncodeReply(reply)));
  socket->disconnectFromServer();
}
