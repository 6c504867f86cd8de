// The document in the main window: the items of the tray's menu and of the popup that run
// its commands, the status panels that show it, and the close box and Exit that ask about
// its changes. The document's own behaviour is tested on a bare text box in documents/.
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QToolButton>
#include <QtTest>

#include "documents/document.h"
#include "editor/documentpanels.h"
#include "editor/frmMain.h"
#include "ownwindow.h"
#include "testsupport/guitest.h"

using namespace guitest;

namespace {

// The file's bytes, marked when it is missing.
QByteArray Bytes(const QString& path) {
  return ReadAll(path, "<missing>");
}

}  // namespace

class DocumentWindowTest : public Fixture {
  Q_OBJECT

 private:
  frmMain* w_ = nullptr;
  QString path(const QString& name) const { return folder_->filePath(name); }
  QString text() const { return w_->textBox()->toPlainText(); }
  QString panel() const { return w_->statusPanel()->text(); }
  void open(const QString& file) {
    modal_.files << file;
    w_->mnuOpen_Click();
  }
  void setUp() override {
    folder_->write("");
    modal_.unscripted = QMessageBox::Ok;  // a save prompt left unscripted is cancelled
    w_ = &OwnMainWindow();
  }
  void tearDown() override { delete LoadedOwnMainWindow(); }

 private Q_SLOTS:

  // The tray's menu and the popup's File menu run the same commands, and the first status
  // panel shows each status the document gives.
  void fileItemsRunTheDocumentCommands_data() {
    QTest::addColumn<QString>("prefix");
    QTest::newRow("tray") << "mnu";
    QTest::newRow("popup") << "mnuTemp_";
  }
  void fileItemsRunTheDocumentCommands() {
    QFETCH(QString, prefix);
    const auto run = [&](const char* item) { w_->action(prefix + QLatin1String(item))->trigger(); };
    QSignalSpy status(w_, &frmMain::statusChanged);
    WriteAll(path("a.txt"), "a\r\n");
    modal_.files << path("a.txt");
    run("Open");
    QCOMPARE(text(), QString("a\n"));
    QCOMPARE(panel(), path("a.txt"));
    QCOMPARE(status.first().at(0).toString(), "opening " + path("a.txt") + "...");
    w_->textBox()->setPlainText("b\n");
    status.clear();
    run("Save");
    QCOMPARE(Bytes(path("a.txt")), QByteArray("b\r\n"));
    QCOMPARE(status.first().at(0).toString(), "saving " + path("a.txt") + "...");
    QCOMPARE(panel(), path("a.txt"));
    modal_.files << path("c.txt");
    run("SaveAs");
    QCOMPARE(Bytes(path("c.txt")), QByteArray("b\r\n"));
    QCOMPARE(panel(), path("c.txt"));
    modal_.buttons << QMessageBox::No;
    run("New");
    QCOMPARE(text(), QString());
    QCOMPARE(panel(), QString("Untitled"));
    QCOMPARE(modal_.asked.mid(0, 2), (QStringList{"Open File", "Save As"}));
  }

  // The panels after the first say what the document is; a Windows-1252 file stays so
  // across edits that fit, turns UTF-8 visibly (and says why, once) when one does not, and
  // what the panels show is what Save writes.
  void formatPanelsShowAndChooseWhatSaveWrites() {
    DocumentPanels& panels = *w_->panels();
    QPlainTextEdit& box = *w_->textBox();
    WriteAll(path("old.txt"), "caf\xe9\r\n");
    open(path("old.txt"));
    QCOMPARE(panels.encoding()->text(), QString("Windows-1252"));
    QCOMPARE(panels.lineEnds()->text(), QString("CRLF"));
    QCOMPARE(panels.unsaved()->text(), QString());
    box.moveCursor(QTextCursor::End);
    box.insertPlainText(QString::fromUtf8("\xe2\x82\xac\n"));  // the euro sign fits
    QCOMPARE(panels.encoding()->text(), QString("Windows-1252"));
    QCOMPARE(panels.unsaved()->text(), QString("Unsaved"));
    QCOMPARE(panels.caret()->text(), QString("Ln 3, Col 1"));
    w_->mnuSave_Click();
    QCOMPARE(Bytes(path("old.txt")), QByteArray("caf\xe9\r\n\x80\r\n"));
    QCOMPARE(panels.unsaved()->text(), QString());

    QSignalSpy notices(w_->findChild<Document*>(), &Document::formatNotice);
    box.insertPlainText(QString::fromUtf8("\xc5\x99\xc5\x99"));  // "řř"
    box.insertPlainText(QString::fromUtf8("\xc5\x99"));
    QCOMPARE(panels.encoding()->text(), QString("UTF-8"));
    QCOMPARE(notices.count(), 1);
    QCOMPARE(panels.notice()->text(),
             QString::fromUtf8("\u201C\xc5\x99\u201D is not in Windows-1252:"));
    QVERIFY(panels.notice()->toolTip().contains("(U+0159)"));
    w_->mnuSave_Click();
    QCOMPARE(Bytes(path("old.txt")),
             QByteArray("caf\xc3\xa9\r\n\xe2\x82\xac\r\n\xc5\x99\xc5\x99\xc5\x99"));
    QVERIFY(panels.notice()->text().isEmpty());  // said until saved

    // Windows-1252 is offered again only once the text fits it.
    QMenu* encodings = panels.encoding()->menu();
    const auto choose = [](QMenu* menu, int row) {
      Q_EMIT menu->aboutToShow();
      QAction* a = menu->actions().at(row);
      if (a->isEnabled()) a->trigger();
      return a->isEnabled();
    };
    QVERIFY(!choose(encodings, 1));
    QTextCursor last = box.textCursor();
    last.movePosition(QTextCursor::End);
    last.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, 3);
    last.removeSelectedText();
    QCOMPARE(box.toPlainText(), QString::fromUtf8("caf\xc3\xa9\n\xe2\x82\xac\n"));
    QVERIFY(choose(encodings, 1));
    QVERIFY(choose(panels.lineEnds()->menu(), 0));
    QCOMPARE(panels.encoding()->text(), QString("Windows-1252"));
    QCOMPARE(panels.lineEnds()->text(), QString("LF"));
    QVERIFY(panels.notice()->text().isEmpty());
    QCOMPARE(panels.unsaved()->text(), QString("Unsaved"));
    w_->mnuSave_Click();
    QCOMPARE(Bytes(path("old.txt")), QByteArray("caf\xe9\n\x80\n"));
    // A new document is UTF-8 with LF again.
    modal_.buttons << QMessageBox::No;
    w_->mnuNew_Click();
    QCOMPARE(panels.encoding()->text(), QString("UTF-8"));
    QCOMPARE(panels.lineEnds()->text(), QString("LF"));
  }

  void closeBoxAsksLikeExit() {
    w_->textBox()->insertPlainText("typed");
    modal_.buttons << QMessageBox::Cancel;
    QVERIFY(!w_->close());
    QVERIFY(w_->trayIcon());
    modal_.buttons << QMessageBox::Yes;
    modal_.files << path("closed.txt");
    QVERIFY(w_->close());
    QCOMPARE(Bytes(path("closed.txt")), QByteArray("typed"));
  }

  void exitAsksAboutUnsavedChanges() {
    w_->textBox()->insertPlainText("unsaved");  // typed, so changed since the last save
    modal_.buttons << QMessageBox::Cancel;
    w_->mnuExit_Click();
    QVERIFY(LoadedOwnMainWindow());
    QVERIFY(w_->trayIcon());  // still in the tray after a cancelled Exit
    modal_.buttons << QMessageBox::No;
    w_->mnuExit_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!LoadedOwnMainWindow());
  }
};

QTEST_MAIN(DocumentWindowTest)
#include "documentwindow_test.moc"
