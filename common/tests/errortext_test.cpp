// What the user reads about an exception: the engine's report, another exception's message,
// and a throw of no known kind.
#include <QtTest>

#include <filesystem>
#include <new>
#include <stdexcept>

#include "common/errortext.h"
#include "template/tmpeng.h"

namespace {

template <class Thrown>
std::exception_ptr Caught(Thrown thrown) {
  try {
    throw thrown;
  } catch (...) {
    return std::current_exception();
  }
}

const QString kContext = QStringLiteral("the templates could not be read: ");

}  // namespace

class ErrorTextTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // The report names the store, the number and its meaning whatever the caller was doing;
  // a name outside ASCII arrives as the engine wrote it, in UTF-8.
  void engineErrorIsToldWholeWithItsStore() {
    const std::filesystem::path store(u8"/home/zo\u00eb/templates.dat");
    const std::exception_ptr error =
        Caught(templates::EngineError(53, store, "the template store does not exist"));
    const QString zoe = QStringLiteral(u"/home/zo\u00eb/templates.dat");
    const QString expected = QStringLiteral(
                                 "The template store could not be used.\n\nFile: %1\nError 53: "
                                 "File not found\n\nError 53 (File not found) on %1: the "
                                 "template store does not exist")
                                 .arg(zoe);
    QCOMPARE(ErrorText(error, kContext), expected);
    const Failure failure = ReadFailure(error);
    QCOMPARE(failure.kind, Failure::Kind::kEngine);
    QCOMPARE(failure.text, expected);
    QVERIFY(failure.message.startsWith(QStringLiteral("Error 53 (File not found) on ") + zoe));
  }

  // Any other exception: what failed, then its own message read as UTF-8; running out of
  // memory is told apart for the callers that have words of their own for it.
  void otherExceptionFollowsTheContext() {
    const std::exception_ptr error = Caught(std::runtime_error("caf\xc3\xa9 unreadable"));
    QCOMPARE(ErrorText(error, kContext), kContext + QStringLiteral(u"caf\u00e9 unreadable"));
    QCOMPARE(ErrorText(error), QStringLiteral(u"caf\u00e9 unreadable"));
    QCOMPARE(ReadFailure(error).kind, Failure::Kind::kOther);

    const Failure memory = ReadFailure(Caught(std::bad_alloc()));
    QCOMPARE(memory.kind, Failure::Kind::kMemory);
    QCOMPARE(memory.text, QString::fromLatin1(std::bad_alloc().what()));
  }

  void unknownThrowStillSaysSomething() {
    const std::exception_ptr error = Caught(42);
    QCOMPARE(ReadFailure(error).kind, Failure::Kind::kUnknown);
    QCOMPARE(ErrorText(error, kContext), kContext + QStringLiteral("unknown error"));
  }
};

QTEST_GUILESS_MAIN(ErrorTextTest)
#include "errortext_test.moc"
