// The end of the program by a signal: the hand-over from the handler to the event loop, and
// what the main window leaves behind.
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>
#include <csignal>

#include "app/endsignals.h"
#include "app/program.h"
#include "documents/recovery.h"
#include "editor/frmMain.h"
#include "testsupport/apptest.h"

namespace {

// Ends the program by a signal while a question is open: the question then ends with no
// button chosen.
class SignalDuringQuestion : public guitest::ScriptedModal {
 public:
  QMessageBox::StandardButton message(QWidget* parent, const QString& caption, const QString& text,
                                      QMessageBox::Icon icon, QMessageBox::StandardButtons buttons,
                                      QMessageBox::StandardButton defaultButton) override {
    ScriptedModal::message(parent, caption, text, icon, buttons, defaultButton);
    EndBySignal();
    return QMessageBox::NoButton;
  }
};

}  // namespace

class EndSignalsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void eachSignalReachesTheEventLoop_data() {
    QTest::addColumn<int>("number");
    QTest::newRow("SIGTERM") << int(SIGTERM);
    QTest::newRow("SIGHUP") << int(SIGHUP);
    QTest::newRow("SIGINT") << int(SIGINT);
  }
  void eachSignalReachesTheEventLoop() {
    QFETCH(int, number);
    struct sigaction before {};
    QCOMPARE(sigaction(number, nullptr, &before), 0);
    {
      EndSignals signals;
      QSignalSpy received(&signals, &EndSignals::received);
      QCOMPARE(std::raise(number), 0);
      // Nothing happens inside the handler; the loop hears of it.
      QCOMPARE(received.size(), 0);
      QVERIFY(received.wait(5000));
      QCOMPARE(received.size(), 1);
      QCOMPARE(received.at(0).at(0).toInt(), number);
    }
    // The signal's former handling is back.
    struct sigaction now {};
    QCOMPARE(sigaction(number, nullptr, &now), 0);
    QVERIFY(now.sa_handler == before.sa_handler);
    QVERIFY(now.sa_sigaction == before.sa_sigaction);
  }

  void signalBeforeTheEventLoopWaitsForIt() {
    // Caught while the program starts, before anything could tell the event loop.
    EndSignals::catchEarly();
    QCOMPARE(std::raise(SIGTERM), 0);
    EndSignals signals;
    QSignalSpy received(&signals, &EndSignals::received);
    QVERIFY(received.wait(5000));
    QCOMPARE(received.at(0).at(0).toInt(), int(SIGTERM));
  }

  void anotherSignalRightBehindIsPassedOnToo() {
    // A session's end sends SIGHUP right behind SIGTERM; the process must live on to
    // bring the recovery copy up to date.
    EndSignals signals;
    QSignalSpy received(&signals, &EndSignals::received);
    QCOMPARE(std::raise(SIGTERM), 0);
    QCOMPARE(std::raise(SIGHUP), 0);
    QTRY_COMPARE_WITH_TIMEOUT(received.size(), 2, 5000);
    QCOMPARE(received.at(0).at(0).toInt(), int(SIGTERM));
    QCOMPARE(received.at(1).at(0).toInt(), int(SIGHUP));
  }

  // Last: the program counts as ending from here on. The signal arrives while the save
  // prompt of Exit is open; ending the event loops closes the prompt with no answer.
  void endBySignalKeepsTheCopyCurrentAndTakesTheIconDown() {
    QTemporaryDir state;
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    guitest::StoreFolder store;
    store.write("");
    SignalDuringQuestion modal;
    SetModal(&modal);
    KeepRecoveryCopies(true);
    frmMain& w = MainWindow();
    // No write would come on its own during the case.
    w.recovery()->setDelays(60000, 60000);
    w.textBox()->insertPlainText(QStringLiteral("typed just now"));

    w.mnuExit_Click();
    QCOMPARE(modal.shown.size(), 1);
    QVERIFY(EndingBySignal());
    QCOMPARE(LoadedMainWindow(), &w);
    QCOMPARE(w.trayIcon(), nullptr);
    RecoveredDocument copy;
    QString error;
    QFile file(w.recovery()->filePath());
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY2(DecodeRecoveryCopy(file.readAll(), copy, error), qPrintable(error));
    QCOMPARE(copy.text, QStringLiteral("typed just now"));
    // Whatever happens to the document from now on, the copy stays, and the close that
    // follows asks nothing.
    w.textBox()->clear();
    w.textBox()->document()->setModified(false);
    QVERIFY(w.close());
    guitest::Settle();
    QVERIFY(file.exists());
    QCOMPARE(modal.shown.size(), 1);

    guitest::CloseAll();
    KeepRecoveryCopies(false);
    SetModal(nullptr);
  }
};

QTEST_MAIN(EndSignalsTest)
#include "endsignals_test.moc"
