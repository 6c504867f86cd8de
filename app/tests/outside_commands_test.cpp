// Commands from outside an open question or dialog (the tray's menu, its activation) with the
// real dialogs: never a second dialog on top, never the window taken away under one, and Exit
// cancelling the dialog before its usual steps.
#include <QAbstractButton>
#include <QFileDialog>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTimer>

#include "editor/frmMain.h"
#include "testsupport/apptest.h"

using namespace guitest;

namespace {

int VisibleDialogs() {
  int n = 0;
  for (QWidget* top : QApplication::topLevelWidgets())
    n += top->isVisible() && (qobject_cast<QFileDialog*>(top) || qobject_cast<QMessageBox*>(top));
  return n;
}

// Runs `inside` once a modal dialog (a message box, with `box`) is open, within its event
// loop, unless `scope` has gone by then.
void WhenDialogOpen(QObject* scope, std::function<void(QWidget*)> inside, bool box = false) {
  auto* poll = new QTimer(scope);
  QObject::connect(poll, &QTimer::timeout, qApp, [poll, inside, box] {
    QWidget* open = QApplication::activeModalWidget();
    if (open && open->isVisible() && (!box || qobject_cast<QMessageBox*>(open))) {
      poll->deleteLater();
      poll->stop();
      inside(open);
    }
  });
  poll->start(10);
}

void Press(QWidget* box, QMessageBox::StandardButton which) {
  if (auto* message = qobject_cast<QMessageBox*>(box)) message->button(which)->click();
}

}  // namespace

class OutsideCommandsTest : public Fixture {
  Q_OBJECT

 protected:
  void setUpOnce() override {
    SetModal(nullptr);  // the real dialogs, which run event loops of their own
  }
  void setUp() override { folder_->write(QByteArray()); }
  void tearDown() override { CloseAll(); }

 private Q_SLOTS:
  void trayCommandsBringTheOpenDialogForward() {
    QObject scope;
    frmMain& w = ShownMainWindow();
    QStringList seen;
    WhenDialogOpen(&scope, [&](QWidget* open) {
      for (const char* item : {"mnuOpen", "mnuSaveAs", "mnuSave", "mnuNew", "mnuAbout"})
        w.action(QString::fromLatin1(item))->trigger();
      w.Form_MouseUp(QSystemTrayIcon::DoubleClick);
      seen << QStringLiteral("%1 dialog(s), '%2' in front")
                  .arg(VisibleDialogs())
                  .arg(QApplication::activeModalWidget()->windowTitle());
      static_cast<QDialog*>(open)->reject();
    });
    w.action(QStringLiteral("mnuOpen"))->trigger();
    Settle();
    QCOMPARE(seen, QStringList{"1 dialog(s), 'Open File' in front"});
    QCOMPARE(VisibleDialogs(), 0);
    QVERIFY(w.isVisible());
  }

  // Exit from the tray while Save As is open: the dialog is cancelled, then Exit asks about
  // the changes as usual, and the window ends only once they are let go.
  void exitCancelsTheOpenDialogThenRunsItsSteps_data() {
    QTest::addColumn<bool>("modified");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("ends");
    QTest::newRow("nothing unsaved") << false << int(QMessageBox::NoButton) << true;
    QTest::newRow("changes let go") << true << int(QMessageBox::No) << true;
    QTest::newRow("Exit cancelled at its prompt") << true << int(QMessageBox::Cancel) << false;
  }
  void exitCancelsTheOpenDialogThenRunsItsSteps() {
    QFETCH(bool, modified);
    QFETCH(int, answer);
    QFETCH(bool, ends);
    QObject scope;
    QPointer<frmMain> w = &ShownMainWindow();
    if (modified) w->textBox()->insertPlainText(QStringLiteral("unsaved"));
    QStringList prompts;
    WhenDialogOpen(&scope, [&](QWidget*) {
      w->action(QStringLiteral("mnuExit"))->trigger();
      // The prompt of Exit comes once the dialog has gone; a second Exit only brings it
      // forward.
      WhenDialogOpen(
          &scope,
          [&](QWidget* prompt) {
            prompts << prompt->windowTitle() + QStringLiteral(": ") +
                           static_cast<QMessageBox*>(prompt)->text().section(QLatin1Char('\r'), 0,
                                                                             0);
            w->action(QStringLiteral("mnuExit"))->trigger();
            prompts << QString::number(VisibleDialogs());
            Press(prompt, static_cast<QMessageBox::StandardButton>(answer));
          },
          true);
    });
    w->action(QStringLiteral("mnuSaveAs"))->trigger();
    // Exit runs once the dialog's caller has finished.
    QTRY_VERIFY(VisibleDialogs() == 0 && (!modified || prompts.size() == 2));
    Settle();
    if (modified) QCOMPARE(prompts, (QStringList{"quorpad: Do you wish to save this file:", "1"}));
    QCOMPARE(w.isNull() || !w->isVisible(), ends);
  }
};

QTEST_MAIN(OutsideCommandsTest)
#include "outside_commands_test.moc"
