// The real questions: a window closed for good while its question is open.
#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <QtTest>

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
    const QMessageBox::StandardButton answer =
        Modal().message(owner, QStringLiteral("quorpad"), QStringLiteral("Save?"),
                        QMessageBox::Question, QMessageBox::Yes | QMessageBox::Cancel,
                        QMessageBox::Yes);
    QCOMPARE(answer, QMessageBox::Cancel);
    QVERIFY(owner);
    QTRY_VERIFY(!owner);
  }
};

QTEST_MAIN(ModalTest)
#include "modal_test.moc"
