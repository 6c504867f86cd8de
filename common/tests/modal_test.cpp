// The real questions: a window closed for good while its question is open; the keyboard
// handed back as a dialog goes; a choice's details worked out beside it.
#include <QDialog>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMainWindow>
#include <QPlainTextEdit>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QtTest>
#include <atomic>
#include <optional>

#include "common/longjob.h"
#include "common/modal.h"

class ModalTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  // The question, a child of the window, ends as cancelled and the window goes after it has
  // returned, not under it (a window deleted by the question's own event loop would free the
  // question from the caller's stack).
  void windowDeletedDuringItsQuestionGoesAfterIt() {
    QPointer<QMainWindow> owner = new QMainWindow;
    owner->setAttribute(Qt::WA_DeleteOnClose);
    owner->show();
    QTimer::singleShot(50, owner, [owner] { owner->close(); });
    const QMessageBox::StandardButton answer = Modal().message(
        owner, QStringLiteral("quorpad"), QStringLiteral("Save?"), QMessageBox::Question,
        QMessageBox::Yes | QMessageBox::Cancel, QMessageBox::Yes);
    QCOMPARE(answer, QMessageBox::Cancel);
    QVERIFY(owner);
    QTRY_VERIFY(!owner);
  }

  // A dialog that closes hands the front and the keyboard back to the window it came from:
  // also from another window already on screen that the window manager chose, but not from a
  // window come since, nor once a question holds the program.
  void closedDialogHandsTheKeyboardBack_data() {
    QTest::addColumn<QString>("after");  // what happens as the dialog goes
    QTest::addColumn<bool>("back");      // whether the window it came from has the keyboard
    QTest::newRow("nothing") << "" << true;
    QTest::newRow("the window manager chose another") << "other" << true;
    QTest::newRow("a window came") << "new" << false;
    QTest::newRow("long work") << "work" << true;
  }
  void closedDialogHandsTheKeyboardBack() {
    QFETCH(QString, after);
    QFETCH(bool, back);
    HandBackWhenDialogsClose([] { return nullptr; });
    QWidget from, other, later;
    for (QWidget* w : {&other, &from}) {
      w->show();
      QVERIFY(QTest::qWaitForWindowExposed(w));
    }
    auto* dialog = new QDialog(&from);
    dialog->show();
    dialog->activateWindow();
    QTRY_COMPARE(QApplication::activeWindow(), dialog);
    std::optional<ModalWork> work;
    if (after == "work") work.emplace();
    dialog->close();
    if (after == "other") other.activateWindow();
    if (after == "new") {
      later.show();
      later.activateWindow();
    }
    if (work) {
      // The window manager chooses another while the work lasts; both later passes wait.
      other.activateWindow();
      QTRY_COMPARE(QApplication::activeWindow(), &other);
      QTest::qWait(300);
      QCOMPARE(QApplication::activeWindow(), &other);
      work.reset();
    }
    QWidget* expected = back ? &from : &later;
    QTRY_COMPARE(QApplication::activeWindow(), expected);
    QTest::qWait(300);  // the second pass, too, leaves it there
    QCOMPARE(QApplication::activeWindow(), expected);
    delete dialog;
  }

  // What a choice says of a row is worked out beside the dialog: the dialog shows and answers
  // while the work lasts, a row passed over never shows its text and is told to stop, and the
  // dialog closes without waiting for work that is still under way.
  void choiceDetailsAreWorkedOutBesideTheDialog() {
    // The first row works until told to stop, the second until released.
    std::atomic<bool> released{false};
    std::atomic<int> began{0}, stopped{0}, ended{0};
    const auto details = [&](int row, JobProgress& job) {
      ++began;
      QElapsedTimer waited;
      waited.start();
      while (!(row == 0 ? job.cancelled() : released.load()) && waited.elapsed() < 5000)
        QThread::msleep(1);
      if (job.cancelled()) ++stopped;
      ++ended;
      return QStringLiteral("row %1").arg(row);
    };
    QString whileWorking, worked;
    QTimer::singleShot(0, [&] {
      QWidget* dialog = QApplication::activeModalWidget();
      auto* box = dialog->findChild<QPlainTextEdit*>(QStringLiteral("details"));
      auto* list = dialog->findChild<QListWidget*>(QStringLiteral("choices"));
      whileWorking = box->toPlainText() + QLatin1Char('|') + box->placeholderText();
      const auto waitFor = [](const auto& done) { return QTest::qWaitFor(done, 5000); };
      if (waitFor([&] { return began == 1; })) QTest::keyClick(list, Qt::Key_Down);
      if (waitFor([&] { return stopped == 1; })) released = true;
      if (waitFor([&] { return !box->toPlainText().isEmpty(); })) worked = box->toPlainText();
      released = false;
      QTest::keyClick(list, Qt::Key_Up);
      if (waitFor([&] { return began == 3; }))
        QTest::keyClick(list, Qt::Key_Down);  // still working as the dialog closes
      waitFor([&] { return began == 4; });
      QMetaObject::invokeMethod(dialog, "reject", Qt::QueuedConnection);
    });
    const int chosen = Modal().choice(nullptr, QStringLiteral("Versions"), QStringLiteral("Which?"),
                                      {QStringLiteral("first"), QStringLiteral("second")},
                                      QStringLiteral("Restore"), details);
    const int endedWhenClosed = ended;
    released = true;
    QTRY_COMPARE(ended.load(), 4);
    QCOMPARE(chosen, -1);
    QCOMPARE(whileWorking, QStringLiteral("|Reading..."));
    QCOMPARE(worked, QStringLiteral("row 1"));
    QCOMPARE(stopped.load(), 3);  // the first row twice, and the second once the dialog closed
    QCOMPARE(endedWhenClosed, 3);
  }
};

QTEST_MAIN(ModalTest)
#include "modal_test.moc"
