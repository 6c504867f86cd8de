// The session's one quorpad: a later start hands over and is answered, a socket left by a
// killed quorpad is cleared, and nothing a later start sends can upset the running one.
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QDataStream>
#include <QDeadlineTimer>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <memory>

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
    claimed.role = later.Claim(request, claimed.reply, claimed.problem);
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
    const auto role = instance->Claim({}, unused, problem);
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
    running->SetHandler([&](const HandOverRequest& request) {
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

  void requestsWaitUntilTheHandlerIsSet() {
    const auto running = first();
    QVERIFY(running);
    // The handler comes once the window has loaded; a start in the meantime is not lost.
    QTimer::singleShot(300, running.get(), [&] {
      running->SetHandler([](const HandOverRequest&) { return HandOverReply{0, "ok", {}}; });
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
    running->SetHandler([](const HandOverRequest&) { return HandOverReply{0, "here", {}}; });
    QCOMPARE(ClaimElsewhere(path(), {}).reply.output, QStringLiteral("here"));
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
      later.role = next.Claim({}, later.reply, later.problem);
    });
    QVERIFY2(later.role == SingleInstance::Role::kFirst, qPrintable(later.problem));
    QVERIFY2(later.problem.isEmpty(), qPrintable(later.problem));
  }

  void otherReleaseIsToldWhy() {
    const auto running = first();
    QVERIFY(running);
    bool handled = false;
    running->SetHandler([&](const HandOverRequest&) {
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
    running->SetHandler([&](const HandOverRequest&) {
      ++handled;
      return HandOverReply{0, "fine", {}};
    });
    QCOMPARE(RawExchange(path(), bytes), QByteArray());
    QCOMPARE(handled, 0);
    QCOMPARE(ClaimElsewhere(path(), {{QStringLiteral("quorpad")}, {}}).reply.output,
             QStringLiteral("fine"));
    QCOMPARE(handled, 1);
  }
};

QTEST_GUILESS_MAIN(SingleInstanceTest)
#include "singleinstance_test.moc"
