// The document commands on real files: every branch the user can take, the status texts,
// byte-exact round trips and failed reads and writes.
#include <QDir>
#include <QLabel>
#include <QPlainTextEdit>
#include <QtTest>

#include "common/filedialogs.h"
#include "documents/document.h"
#include "editor/frmMain.h"
#include "testsupport/guitest.h"

using namespace guitest;

namespace {

// The file's bytes, marked when it is missing.
QByteArray Bytes(const QString& path) {
  return ReadAll(path, "<missing>");
}

}  // namespace

class DocumentsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<StoreFolder> folder_;
  ScriptedModal answers_;
  frmMain* w_ = nullptr;
  QString path(const QString& name) const { return folder_->filePath(name); }
  QString text() const { return w_->document()->toPlainText(); }
  QString panel() const { return w_->statusPanel()->text(); }
  void open(const QString& file) {
    answers_.files << file;
    w_->mnuOpen_Click();
  }

 private Q_SLOTS:
  void init() {
    folder_ = std::make_unique<StoreFolder>();
    folder_->write("");
    answers_.reset();
    answers_.unscripted = QMessageBox::Ok;  // a save prompt left unscripted is cancelled
    SetModal(&answers_);
    w_ = &MainWindow();
  }
  void cleanup() {
    delete LoadedMainWindow();
    SetModal(nullptr);
    folder_.reset();
  }

  void FilterListPairsLabelsWithPatterns() {
    QCOMPARE(BuildFilterList("*.*|*.txt"), QStringList{"*.* (*.txt)"});
    QCOMPARE(BuildFilterList("*.html|*.*"), QStringList{"*.html (*)"});
    QCOMPARE(BuildFilterList("*.*"), QStringList{"*.* (*)"});
    QCOMPARE(BuildFilterList("*.exe|"), QStringList{"*.exe (*.exe)"});
    QCOMPARE(BuildFilterList(""), QStringList{});
  }

  void OpenReadsLinesAndCountsThem() {
    WriteAll(path("three.txt"), "a\r\nb\r\nc");
    QSignalSpy status(w_, &frmMain::statusChanged);
    open(path("three.txt"));
    QStringList seen;
    for (const auto& args : status) seen << args.at(0).toString();
    QCOMPARE(seen, (QStringList{"opening " + path("three.txt") + "...", "reading line 1",
                                "reading line 2", "reading line 3", path("three.txt")}));
    QCOMPARE(text(), QString("a\nb\nc\n"));
    QCOMPARE(panel(), path("three.txt"));
    QCOMPARE(w_->OpenFilePath(), path("three.txt"));
  }

  void OpenOfAnEmptyFileGoesStraightToThePath() {
    WriteAll(path("empty.txt"), "");
    QSignalSpy status(w_, &frmMain::statusChanged);
    open(path("empty.txt"));
    QCOMPARE(status.count(), 2);
    QCOMPARE(status.last().at(0).toString(), path("empty.txt"));
  }

  void OpenFollowedBySaveGivesTheFileBackByteForByte_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("crlf") << QByteArray("one\r\ntwo\r\n");
    QTest::newRow("lf") << QByteArray("one\ntwo\n");
    QTest::newRow("utf8") << QByteArray("caf\xc3\xa9 \xe2\x82\xac\r\n");
    QTest::newRow("windows-1252") << QByteArray("caf\xe9 \x80 \x81\r\n");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("no-break space and line separator") << QByteArray(
        "a\xc2\xa0"
        "b \xe2\x80\xa8 c\r\n");
    QTest::newRow("windows-1252 no-break space") << QByteArray("caf\xe9\xa0!\r\n");
  }
  void OpenFollowedBySaveGivesTheFileBackByteForByte() {
    QFETCH(QByteArray, bytes);
    WriteAll(path("doc.txt"), bytes);
    open(path("doc.txt"));
    answers_.files << path("doc.txt");  // an empty text asks for a name
    w_->mnuSave_Click();
    QCOMPARE(Bytes(path("doc.txt")), bytes);
  }

  void TextWindows1252LacksIsSavedAsUtf8() {
    WriteAll(path("old.txt"), "caf\xe9\r\n");
    open(path("old.txt"));
    w_->document()->moveCursor(QTextCursor::End);
    w_->document()->insertPlainText(QString::fromUtf8("\xe2\x9c\x93\n"));  // a check mark
    w_->mnuSave_Click();
    QCOMPARE(Bytes(path("old.txt")), QByteArray("caf\xc3\xa9\r\n\xe2\x9c\x93\r\n"));
  }

  void CancelledDialogsLeaveTheDocumentAsItWas() {
    WriteAll(path("keep.txt"), "keep\r\n");
    open(path("keep.txt"));
    w_->mnuSaveAs_Click();  // cancelled
    answers_.buttons << QMessageBox::No;
    w_->mnuOpen_Click();  // dialog cancelled
    QCOMPARE(w_->OpenFilePath(), path("keep.txt"));
    QCOMPARE(text(), QString("keep\n"));
    QCOMPARE(panel(), path("keep.txt"));
  }

  void SaveOfAnUntitledDocumentAsksForAName() {
    w_->document()->setPlainText("new text");
    answers_.files << path("named.txt");
    w_->mnuSave_Click();
    QCOMPARE(answers_.asked, QStringList{"Save File"});
    QCOMPARE(Bytes(path("named.txt")), QByteArray("new text"));
    QCOMPARE(w_->OpenFilePath(), path("named.txt"));
  }

  void OpenAsksBeforeReplacingUntitledText() {
    WriteAll(path("other.txt"), "other\r\n");
    w_->document()->setPlainText("unsaved");
    answers_.buttons << QMessageBox::Cancel;
    open(path("other.txt"));
    QCOMPARE(text(), QString("unsaved"));
    QVERIFY(answers_.asked.first().startsWith("Do you wish to save this file:\r\n"));
  }

  void NewAnsweredYesSavesThenEmpties() {
    WriteAll(path("n.txt"), "old\r\n");
    open(path("n.txt"));
    w_->document()->setPlainText("changed\n");
    answers_.buttons << QMessageBox::Yes;
    w_->mnuNew_Click();
    QCOMPARE(Bytes(path("n.txt")), QByteArray("changed\r\n"));
    QCOMPARE(text(), QString());
    QVERIFY(w_->OpenFilePath().isEmpty());
    QCOMPARE(panel(), QString("Untitled"));
  }

  void SaveOfATitledDocumentShowsItsProgress() {
    WriteAll(path("s.txt"), "old\n");
    open(path("s.txt"));
    w_->document()->setPlainText("new\n");
    QSignalSpy status(w_, &frmMain::statusChanged);
    w_->mnuTemp_Save_Click();  // the popup's item does what the tray's does
    QCOMPARE(Bytes(path("s.txt")), QByteArray("new\n"));
    QCOMPARE(status.count(), 2);
    QCOMPARE(status.at(0).at(0).toString(), "saving " + path("s.txt") + "...");
    QCOMPARE(status.at(1).at(0).toString(), path("s.txt"));
  }

  void NewOnUntitledTextFollowsTheAnswer_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("file");  // the name chosen after Yes; empty = cancelled
    QTest::addColumn<bool>("emptied");
    QTest::newRow("yes, saved") << int(QMessageBox::Yes) << "kept.txt" << true;
    QTest::newRow("yes, dialog cancelled") << int(QMessageBox::Yes) << "" << false;
    QTest::newRow("yes, write fails") << int(QMessageBox::Yes) << "folder" << false;
    QTest::newRow("no") << int(QMessageBox::No) << "" << true;
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << "" << false;
  }
  void NewOnUntitledTextFollowsTheAnswer() {
    QFETCH(int, answer);
    QFETCH(QString, file);
    QFETCH(bool, emptied);
    QDir(folder_->path()).mkdir("folder");
    w_->document()->setPlainText("draft");
    answers_.buttons << QMessageBox::StandardButton(answer);
    answers_.files << (file.isEmpty() ? QString() : path(file));
    w_->mnuTemp_New_Click();
    QCOMPARE(text().isEmpty(), emptied);
    QVERIFY(w_->OpenFilePath().isEmpty());
    if (file == "kept.txt") QCOMPARE(Bytes(path(file)), QByteArray("draft"));
  }

  void OpenSavesTheOldTextFirstWhenAsked() {
    WriteAll(path("first.txt"), "first\n");
    WriteAll(path("second.txt"), "second\n");
    open(path("first.txt"));
    w_->document()->setPlainText("first, changed\n");
    answers_.buttons << QMessageBox::Yes;
    answers_.files << path("second.txt");
    w_->mnuTemp_Open_Click();
    QCOMPARE(Bytes(path("first.txt")), QByteArray("first, changed\n"));
    QCOMPARE(text(), QString("second\n"));

    // Untitled text: Yes asks for a name, and cancelling that cancels the Open.
    w_->mnuNew_Click();
    answers_.buttons.clear();
    answers_.buttons << QMessageBox::No;
    w_->mnuNew_Click();
    w_->document()->setPlainText("untitled");
    answers_.buttons << QMessageBox::Yes;
    answers_.files << QString() << path("first.txt");
    w_->mnuOpen_Click();
    QCOMPARE(text(), QString("untitled"));
  }

  void SaveAsWritesAnEmptyText() {
    answers_.files << path("empty-as.txt");
    w_->mnuTemp_SaveAs_Click();
    QCOMPARE(Bytes(path("empty-as.txt")), QByteArray());
    QCOMPARE(w_->OpenFilePath(), path("empty-as.txt"));
  }

  void CloseBoxAsksLikeExit() {
    w_->document()->insertPlainText("typed");
    answers_.buttons << QMessageBox::Cancel;
    QVERIFY(!w_->close());
    QVERIFY(w_->trayIcon());
    answers_.buttons << QMessageBox::Yes;
    answers_.files << path("closed.txt");
    QVERIFY(w_->close());
    QCOMPARE(Bytes(path("closed.txt")), QByteArray("typed"));
  }

  void NewOnAnEmptyDocumentWithAFileUntiesIt() {
    WriteAll(path("e.txt"), "");
    open(path("e.txt"));
    w_->mnuNew_Click();
    QVERIFY(w_->OpenFilePath().isEmpty());
    QCOMPARE(panel(), QString("Untitled"));
  }

  void FailedWriteKeepsFileTextAndPath() {
    WriteAll(path("w.txt"), "original\r\n");
    open(path("w.txt"));
    w_->document()->setPlainText("new\n");
    // A folder where the file should be makes every write fail, even for root.
    answers_.files << path("sub");
    QDir(folder_->path()).mkdir("sub");
    w_->mnuSaveAs_Click();
    QCOMPARE(w_->OpenFilePath(), path("w.txt"));
    QCOMPARE(text(), QString("new\n"));
    QCOMPARE(Bytes(path("w.txt")), QByteArray("original\r\n"));
    QVERIFY(answers_.asked.last().contains(path("sub")));
  }

  void VanishedFileChangesNothing() {
    w_->document()->setPlainText("mine");
    answers_.buttons << QMessageBox::No;
    open(path("gone.txt"));
    QCOMPARE(text(), QString("mine"));
    QVERIFY(w_->OpenFilePath().isEmpty());
    QVERIFY(answers_.asked.last().contains(path("gone.txt")));
  }

  void DocumentLivesOnABareTextBox() {
    QWidget owner;
    auto* box = new QPlainTextEdit(&owner);
    auto* document = new Document(box, &owner);
    QSignalSpy status(document, &Document::statusChanged);
    WriteAll(path("bare.txt"), "one\r\n");
    answers_.files << path("bare.txt");
    document->open();
    QCOMPARE(box->toPlainText(), QString("one\n"));
    QCOMPARE(document->path(), path("bare.txt"));
    QCOMPARE(status.last().at(0).toString(), path("bare.txt"));
    QVERIFY(document->maybeSave());  // unchanged: nothing asked

    box->moveCursor(QTextCursor::End);
    box->insertPlainText("two\n");
    answers_.buttons << QMessageBox::Cancel << QMessageBox::Yes;
    QVERIFY(!document->maybeSave());
    QCOMPARE(Bytes(path("bare.txt")), QByteArray("one\r\n"));
    QVERIFY(document->maybeSave());
    QCOMPARE(Bytes(path("bare.txt")), QByteArray("one\r\ntwo\r\n"));
    QVERIFY(!box->document()->isModified());
    QCOMPARE(answers_.asked.size(), 3);  // the Open dialog and the two prompts
  }

  void ExitAsksAboutUnsavedChanges() {
    w_->document()->insertPlainText("unsaved");  // typed, so changed since the last save
    answers_.buttons << QMessageBox::Cancel;
    w_->mnuExit_Click();
    QVERIFY(LoadedMainWindow());
    QVERIFY(w_->trayIcon());  // still in the tray after a cancelled Exit
    answers_.buttons << QMessageBox::No;
    w_->mnuExit_Click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!LoadedMainWindow());
  }
};

QTEST_MAIN(DocumentsTest)
#include "documents_test.moc"
