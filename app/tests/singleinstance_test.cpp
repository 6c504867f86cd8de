// The session's one quorpad: a later start hands over and is answered, a socket left by a
// killed quorpad is cleared, and nothing a later start sends can upset the running one.
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <csignal>
#include <memory>
#include <vector>

#include "app/singleinstance.h"

namespace {

// Lets this thread's event loop serve while `work` runs on a thread of its own, as a later
// start in another process would.
template <typename Work>
void RunElsewhere(Work work) {
  std::unique_ptr<QThread> thread(QThread::create(work));
  thread->start();
  const QDeadlineTimer deadline(40000);
  while (!thread->isFinished() && !deadline.hasExpired())
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
  QVERIFY(thread->wait(5000));
}

struct Claimed {
  SingleInstance::Role role = SingleInstance::Role::kAlone;
  HandOverReply reply;
  QString problem;
};

Claimed ClaimElsewhere(const QString& path, const HandOverRequest& request) {
  Claimed claimed;
  RunElsewhere([&] {
    SingleInstance later(path);
    claimed.role = later.claim(request, claimed.reply, claimed.problem);
  });
  return claimed;
}

// Sends `bytes` as they are and returns whatever comes back before the other end closes.
QByteArray RawExchange(const QString& path, const QByteArray& bytes) {
  QByteArray answer;
  RunElsewhere([&] {
    QLocalSocket socket;
    socket.connectToServer(path);
    if (!socket.waitForConnected(2000)) return;
    socket.write(bytes);
    socket.waitForBytesWritten(2000);
    while (socket.waitForReadyRead(5000)) answer += socket.readAll();
    answer += socket.readAll();
  });
  return answer;
}

QByteArray Framed(const QByteArray& payload) {
  QByteArray frame;
  QDataStream(&frame, QIODevice::WriteOnly) << static_cast<quint32>(payload.size());
  return frame + payload;
}

}  // namespace

class SingleInstanceTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  QString path() const { return dir_->filePath(QStringLiteral("qp")); }
  // The session's quorpad, listening on path().
  std::unique_ptr<SingleInstance> first() {
    auto instance = std::make_unique<SingleInstance>(path());
    HandOverReply unused;
    QString problem;
    const auto role = instance->claim({}, unused, problem);
    if (role != SingleInstance::Role::kFirst || !problem.isEmpty()) qWarning() << problem;
    return role == SingleInstance::Role::kFirst ? std::move(instance) : nullptr;
  }

 private Q_SLOTS:
  void init() { dir_ = std::make_unique<QTemporaryDir>(); }
  void cleanup() { dir_.reset(); }

  void laterStartHandsOverAndGetsTheAnswer() {
    const auto running = first();
    QVERIFY(running);
    HandOverRequest received;
    running->setHandler([&](const HandOverRequest& request) {
      received = request;
      return HandOverReply{3, QStringLiteral("out\n"), QStringLiteral("err ✓\n")};
    });

    const HandOverRequest sent{
        {QStringLiteral("quorpad"), QStringLiteral("my notes.txt"), QStringLiteral("文書.txt")},
        QStringLiteral("/home/ü/docs")};
    const Claimed later = ClaimElsewhere(path(), sent);
    QCOMPARE(later.role, SingleInstance::Role::kHandedOver);
    QCOMPARE(later.reply.status, 3);
    QCOMPARE(later.reply.output, QStringLiteral("out\n"));
    QCOMPARE(later.reply.errors, QStringLiteral("err ✓\n"));
    QCOMPARE(received.arguments, sent.arguments);
    QCOMPARE(received.workingFolder, sent.workingFolder);
  }

  // A start that only looks (a pick on its own) is answered by the running quorpad; with none
  // running it leaves neither a socket nor a lock behind, so the next start is the session's.
  void aStartThatOnlyLooksNeverListens() {
    const HandOverRequest pick{{QStringLiteral("quorpad"), QStringLiteral("--pick")},
                               QDir::rootPath()};
    HandOverReply reply;
    QString problem;
    SingleInstance looking(path());
    QVERIFY(!looking.handOverOnly(pick, reply, problem));
    QCOMPARE(problem, QString());
    QVERIFY(!looking.listening());
    QCOMPARE(QDir(dir_->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());
    const auto running = first();
    QVERIFY(running);
    running->setHandler([](const HandOverRequest& request) {
      return HandOverReply{0, request.arguments.join(QLatin1Char(' ')), {}};
    });
    bool answered = false;
    RunElsewhere([&] { answered = SingleInstance(path()).handOverOnly(pick, reply, problem); });
    QVERIFY(answered);
    QCOMPARE(reply.output, QStringLiteral("quorpad --pick"));
  }

  void requestsWaitUntilTheHandlerIsSet() {
    const auto running = first();
    QVERIFY(running);
    // The handler comes once the window has loaded; a start in the meantime is not lost.
    QTimer::singleShot(300, running.get(), [&] {
      running->setHandler([](const HandOverRequest&) { return HandOverReply{0, "ok", {}}; });
    });
    const Claimed later = ClaimElsewhere(path(), {{QStringLiteral("quorpad")}, QDir::rootPath()});
    QCOMPARE(later.role, SingleInstance::Role::kHandedOver);
    QCOMPARE(later.reply.output, QStringLiteral("ok"));
  }

  void socketLeftByAKilledQuorpadIsTakenOver() {
    // A socket file that nobody listens on any more, as a killed process leaves it.
    const QByteArray name = QFile::encodeName(path());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    QVERIFY(fd >= 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, name.constData(), sizeof(address.sun_path));
    QCOMPARE(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
    QVERIFY(QFile::exists(path()));

    const auto running = first();
    QVERIFY(running);
    running->setHandler([](const HandOverRequest&) { return HandOverReply{0, "here", {}}; });
    QCOMPARE(ClaimElsewhere(path(), {}).reply.output, QStringLiteral("here"));
  }

  void socketOfAnotherUserGetsNothing() {
    if (::geteuid() != 0) QSKIP("Needs root to listen as another user");
    // In the shared temporary folder another local user can listen on the name first.
    QVERIFY(::chmod(QFile::encodeName(dir_->path()).constData(), 0777) == 0);
    const QByteArray name = QFile::encodeName(path());
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, name.constData(), sizeof(address.sun_path));
    const pid_t child = ::fork();
    QVERIFY(child >= 0);
    if (child == 0) {
      // Only calls that are safe after fork: listen as nobody, report what arrives.
      if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(3);
      const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
      if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
          ::listen(fd, 1) != 0)
        ::_exit(4);
      const int peer = ::accept(fd, nullptr, nullptr);
      char byte = 0;
      ::_exit(peer >= 0 && ::read(peer, &byte, 1) > 0 ? 1 : 0);
    }
    const QDeadlineTimer ready(10000);
    while (!QFile::exists(path()) && !ready.hasExpired()) QThread::msleep(10);

    const Claimed later = ClaimElsewhere(path(), {{QStringLiteral("quorpad"), "secret.txt"}, {}});
    int status = 0;
    bool reaped = false;
    const QDeadlineTimer ended(10000);
    while (!(reaped = ::waitpid(child, &status, WNOHANG) == child) && !ended.hasExpired())
      QThread::msleep(10);
    if (!reaped) {
      ::kill(child, SIGKILL);
      ::waitpid(child, &status, 0);
      QFAIL("the listener was never connected to");
    }
    QCOMPARE(later.role, SingleInstance::Role::kAlone);
    QVERIFY2(later.problem.contains(QStringLiteral("another user")), qPrintable(later.problem));
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);  // not a byte of the request reached it
  }

  // With no descriptor left the system refuses a connection, and Qt stops listening for
  // good: listening is taken up again once it can be, said once, and later starts reach
  // this quorpad again rather than starting quorpads of their own.
  void listeningGoesOnAfterAFailedAccept() {
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
    QSKIP(
        "the sanitizers need descriptors of their own to check memory, and this test takes "
        "every one; it runs in the plain build");
#endif
#endif
    const auto running = first();
    QVERIFY(running);
    running->setHandler([](const HandOverRequest&) { return HandOverReply{0, "here", {}}; });
    QSignalSpy said(running.get(), &SingleInstance::listeningFailed);
    const int client = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    QVERIFY(client >= 0);
    rlimit before{};
    QVERIFY(::getrlimit(RLIMIT_NOFILE, &before) == 0);
    // Every descriptor taken: the next accept cannot have one.
    std::vector<int> filler;
    for (int fd; (fd = ::dup(client)) >= 0 && filler.size() < 4096;) filler.push_back(fd);
    rlimit lowered = before;
    lowered.rlim_cur = static_cast<rlim_t>(filler.back() + 1);
    QVERIFY(::setrlimit(RLIMIT_NOFILE, &lowered) == 0);
    for (int fd; (fd = ::dup(client)) >= 0;) filler.push_back(fd);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, QFile::encodeName(path()).constData(), sizeof(address.sun_path));
    QVERIFY(::connect(client, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0);
    QTRY_VERIFY_WITH_TIMEOUT(!running->listening(), 5000);
    QTRY_COMPARE_WITH_TIMEOUT(said.size(), 1, 5000);  // still short of descriptors: said once
    QTest::qWait(2500);
    QCOMPARE(said.size(), 1);
    for (int fd : filler) ::close(fd);
    ::close(client);
    QVERIFY(::setrlimit(RLIMIT_NOFILE, &before) == 0);
    QTRY_VERIFY_WITH_TIMEOUT(running->listening(), 10000);
    const Claimed later = ClaimElsewhere(path(), {{QStringLiteral("quorpad")}, QDir::rootPath()});
    QCOMPARE(later.role, SingleInstance::Role::kHandedOver);
    QCOMPARE(later.reply.output, QStringLiteral("here"));
  }

  // Without a runtime folder of the user's own (none, another user's as `su` leaves it, or
  // one open to others) the socket goes in a folder of the user's own: another user who made
  // "quorpad-<uid>" in the temporary folder first is passed by.
  void fallbackFolderIsTheUsersOwn() {
    const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
    const QByteArray tmp = qgetenv("TMPDIR");
    const QByteArray cache = qgetenv("XDG_CACHE_HOME");
    const QString own_runtime = dir_->filePath("rt");
    QVERIFY(QDir().mkdir(own_runtime));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(own_runtime));
    qputenv("TMPDIR", QFile::encodeName(dir_->filePath("tmp")));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(dir_->filePath("cache")));
    QVERIFY(QDir().mkpath(dir_->filePath("tmp")));
    const QString squatted = dir_->filePath(QStringLiteral("tmp/quorpad-%1").arg(::getuid()));
    QString own = SingleInstance::sessionSocketPath();
    QCOMPARE(QFileInfo(own).path(), own_runtime);
    if (::geteuid() == 0)
      QVERIFY(::chown(QFile::encodeName(own_runtime).constData(), 65534, 65534) == 0);
    QVERIFY(::chmod(QFile::encodeName(own_runtime).constData(), 0777) == 0);
    own = SingleInstance::sessionSocketPath();
    QCOMPARE(QFileInfo(own).path(), squatted);
    qunsetenv("XDG_RUNTIME_DIR");
    own = SingleInstance::sessionSocketPath();
    QCOMPARE(QFileInfo(own).path(), squatted);
    QCOMPARE(QFileInfo(squatted).permissions() & 0x0077, QFileDevice::Permissions());
    // Another user's folder: made by them (as root can show), or one open to others.
    if (::geteuid() == 0)
      QVERIFY(::chown(QFile::encodeName(squatted).constData(), 65534, 65534) == 0);
    else
      QVERIFY(::chmod(QFile::encodeName(squatted).constData(), 0777) == 0);
    own = SingleInstance::sessionSocketPath();
    QCOMPARE(QFileInfo(own).path(), dir_->filePath("cache/quorpad"));
    qputenv("XDG_RUNTIME_DIR", runtime);
    qputenv("TMPDIR", tmp);
    qputenv("XDG_CACHE_HOME", cache);
    if (tmp.isNull()) qunsetenv("TMPDIR");
    if (cache.isNull()) qunsetenv("XDG_CACHE_HOME");
    if (runtime.isNull()) qunsetenv("XDG_RUNTIME_DIR");
  }

  // A socket another user left in this user's runtime folder (a quorpad run with `sudo -E`,
  // then killed) answers no quorpad of this user's: it is taken over as a killed one's is.
  void socketAnotherUserLeftIsTakenOver() {
    if (::geteuid() != 0) QSKIP("Needs root to leave a socket as another user");
    const QString folder = dir_->filePath(QStringLiteral("rt"));
    const QByteArray name = QFile::encodeName(folder + QStringLiteral("/qp"));
    QVERIFY(QDir().mkdir(folder));
    QVERIFY(::chmod(QFile::encodeName(dir_->path()).constData(), 0711) == 0 &&
            ::chown(QFile::encodeName(folder).constData(), 65534, 65534) == 0);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, name.constData(), sizeof(address.sun_path));
    QVERIFY(fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0);
    ::close(fd);
    // This user is nobody, whose folder it is.
    QVERIFY(::seteuid(65534) == 0);
    const Claimed claimed = ClaimElsewhere(QFile::decodeName(name), {});
    QVERIFY(::seteuid(0) == 0);
    QVERIFY2(claimed.problem.isEmpty(), qPrintable(claimed.problem));
    QCOMPARE(claimed.role, SingleInstance::Role::kFirst);
  }

  void quorpadThatEndsWithoutAnsweringIsTakenOver() {
    // One that is on its way out: it takes the connection and goes away.
    QLocalServer ending;
    QVERIFY(ending.listen(path()));
    connect(&ending, &QLocalServer::newConnection, &ending, [&] {
      QLocalSocket* taken = ending.nextPendingConnection();
      ending.close();
      taken->abort();
    });
    Claimed later;
    RunElsewhere([&] {
      SingleInstance next(path());
      later.role = next.claim({}, later.reply, later.problem);
    });
    QVERIFY2(later.role == SingleInstance::Role::kFirst, qPrintable(later.problem));
    QVERIFY2(later.problem.isEmpty(), qPrintable(later.problem));
  }

  void otherReleaseIsToldWhy() {
    const auto running = first();
    QVERIFY(running);
    bool handled = false;
    running->setHandler([&](const HandOverRequest&) {
      handled = true;
      return HandOverReply{};
    });
    QByteArray payload;
    QDataStream(&payload, QIODevice::WriteOnly)
        << quint32(0x71706164) << quint16(SingleInstance::kProtocolVersion + 1) << quint32(0);
    const QByteArray answer = RawExchange(path(), Framed(payload));
    QDataStream in(answer);
    quint32 length = 0, magic = 0;
    quint16 version = 0;
    qint32 status = 0;
    QString output, errors;
    in >> length >> magic >> version >> status >> output >> errors;
    QCOMPARE(in.status(), QDataStream::Ok);
    QCOMPARE(status, 1);
    QVERIFY2(errors.contains(QStringLiteral("another release")), qPrintable(errors));
    QVERIFY(!handled);
  }

  void malformedRequestsAreDroppedAndServingGoesOn_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("wrong magic") << Framed("not a request at all");
    QTest::newRow("longer than any request") << QByteArray("\x7f\xff\xff\xff", 4);
    QByteArray huge;
    QDataStream(&huge, QIODevice::WriteOnly)
        << quint32(0x71706164) << SingleInstance::kProtocolVersion << quint32(0xffffffff);
    QTest::newRow("absurd argument count") << Framed(huge);
    QByteArray cut;
    QDataStream(&cut, QIODevice::WriteOnly)
        << quint32(0x71706164) << SingleInstance::kProtocolVersion << quint32(2)
        << QStringLiteral("quorpad");
    QTest::newRow("arguments cut short") << Framed(cut);
  }
  void malformedRequestsAreDroppedAndServingGoesOn() {
    QFETCH(QByteArray, bytes);
    const auto running = first();
    QVERIFY(running);
    int handled = 0;
    running->setHandler([&](const HandOverRequest&) {
      ++handled;
      return HandOverReply{0, "fine", {}};
    });
    QCOMPARE(RawExchange(path(), bytes), QByteArray());
    QCOMPARE(handled, 0);
    QCOMPARE(ClaimElsewhere(path(), {{QStringLiteral("quorpad")}, {}}).reply.output,
             QStringLiteral("fine"));
    QCOMPARE(handled, 1);
  }

  // The frames on bytes alone: a request and a reply come back whole from bytes that arrive
  // one at a time, and a frame longer than allowed is said before it is buffered.
  void framesComeBackWholeFromAnyPieces() {
    const HandOverRequest sent{{QStringLiteral("quorpad"), QStringLiteral("ü.txt")}, "/home"};
    QByteArray buffer, payload;
    QList<QByteArray> payloads;
    bool tooLarge = false;
    for (char c : Frame(EncodeRequest(sent)) + Frame(EncodeReply({3, "o", "e"}))) {
      buffer += c;
      if (TakeFrame(buffer, kLargestRequest, payload, tooLarge)) payloads << payload;
    }
    HandOverRequest request;
    HandOverReply reply;
    quint16 version = 0;
    QVERIFY(payloads.size() == 2 && DecodeReply(payloads[1], reply));
    QCOMPARE(DecodeRequest(payloads[0], request, version), Decoded::kOk);
    QCOMPARE(request.arguments + QStringList(request.workingFolder),
             sent.arguments + QStringList("/home"));
    QCOMPARE(QString::number(reply.status) + reply.output + reply.errors, QStringLiteral("3oe"));
    buffer = Frame(QByteArray(16, 'x'));
    QVERIFY(!TakeFrame(buffer, 15, payload, tooLarge) && tooLarge);
  }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "singleinstance_test.moc"
