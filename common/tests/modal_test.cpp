// The real questions: a window closed for good while its question is open; the keyboard
// handed back as a dialog goes.
#include <QDialog>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <QtTest>
#include <optional>

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
};

QTEST_MAIN(ModalTest)
#include "modal_test.moc"
