// Files that come from outside the menus: given at start-up, handed over by a later start,
// dropped on the window. Each goes through Open's reading, after the save prompt.
#include <QClipboard>
#include <QDialog>
#include <QDropEvent>
#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QUrl>

#include "app/handover.h"
#include "app/templaterequests.h"
#include "common/templatefields.h"
#include "common/templatelist.h"
#include "editor/frmMain.h"
#include "testsupport/apptest.h"

using namespace guitest;

namespace {

HandOverReply HandOver(const QStringList& arguments, const QString& folder) {
  return RunHandedOver({QStringList{QStringLiteral("quorpad")} + arguments, folder});
}

}  // namespace

class HandOverTest : public Fixture {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> docs_;

  QString doc(const QString& name) const { return docs_->filePath(name); }
  void write(const QString& name, const QByteArray& bytes) const {
    QFile file(doc(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
  }
  QByteArray read(const QString& name) const {
    QFile file(doc(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }
  frmMain& started() {
    if (!StartQuorpad()) qWarning("quorpad did not start");
    return MainWindow();
  }
  static QString text(frmMain& w) { return w.textBox()->toPlainText(); }

  void setUp() override {
    folder_->write(QByteArray());
    docs_ = std::make_unique<QTemporaryDir>();
    write(QStringLiteral("a.txt"), "alpha\r\n");
    write(QStringLiteral("b ü.txt"), "beta\nline two\n");
  }
  void tearDown() override {
    CloseAll();
    docs_.reset();
  }

 private Q_SLOTS:

  void givenAndHandedOverFilesOpenAsOpenDoes() {
    frmMain& w = started();
    OpenWhenFree(doc(QStringLiteral("a.txt")));
    QTRY_COMPARE(text(w), QStringLiteral("alpha\n"));
    QCOMPARE(w.OpenFilePath(), doc(QStringLiteral("a.txt")));
    QCOMPARE(w.statusPanel()->text(), doc(QStringLiteral("a.txt")));

    // Relative to the later start's folder; unchanged text is replaced without a question.
    const HandOverReply reply = HandOver({QStringLiteral("b ü.txt")}, docs_->path());
    QCOMPARE(reply.status, 0);
    QCOMPARE(reply.errors, QString());
    QTRY_COMPARE(text(w), QStringLiteral("beta\nline two\n"));
    QCOMPARE(w.OpenFilePath(), doc(QStringLiteral("b ü.txt")));
    QVERIFY2(modal_.shown.isEmpty(), qPrintable(modal_.shown.join('\n')));
    QVERIFY(!w.textBox()->document()->isModified());
  }

  void unsavedChangesAreAskedAboutFirst_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("opened");
    QTest::addColumn<QByteArray>("aAfter");
    QTest::newRow("yes saves, then opens")
        << int(QMessageBox::Yes) << true << QByteArray("alpha edited\r\n");
    QTest::newRow("no drops the changes")
        << int(QMessageBox::No) << true << QByteArray("alpha\r\n");
    QTest::newRow("cancel keeps them")
        << int(QMessageBox::Cancel) << false << QByteArray("alpha\r\n");
  }
  void unsavedChangesAreAskedAboutFirst() {
    QFETCH(int, answer);
    QFETCH(bool, opened);
    QFETCH(QByteArray, aAfter);
    frmMain& w = started();
    OpenWhenFree(doc(QStringLiteral("a.txt")));
    QTRY_COMPARE(w.OpenFilePath(), doc(QStringLiteral("a.txt")));
    w.textBox()->moveCursor(QTextCursor::Start);
    w.textBox()->moveCursor(QTextCursor::EndOfLine);
    w.textBox()->insertPlainText(QStringLiteral(" edited"));
    modal_.buttons = {static_cast<QMessageBox::StandardButton>(answer)};

    // The later start has its answer before the question is asked: it ends at once.
    QCOMPARE(HandOver({doc(QStringLiteral("b ü.txt"))}, QDir::rootPath()).status, 0);
    QVERIFY2(modal_.shown.isEmpty(), qPrintable(modal_.shown.join('\n')));
    QTRY_COMPARE(modal_.shown.size(), 1);
    QCOMPARE(modal_.shown.first(), QStringLiteral("quorpad: Do you wish to save this file:\r\n") +
                                       doc(QStringLiteral("a.txt")) + QStringLiteral(" [buttons]"));
    Settle();
    QCOMPARE(read(QStringLiteral("a.txt")), aAfter);
    if (opened) {
      QCOMPARE(text(w), QStringLiteral("beta\nline two\n"));
      QCOMPARE(w.OpenFilePath(), doc(QStringLiteral("b ü.txt")));
    } else {
      QCOMPARE(text(w), QStringLiteral("alpha edited\n"));
      QCOMPARE(w.OpenFilePath(), doc(QStringLiteral("a.txt")));
    }
  }

  // A file that does not exist yet starts an empty document of that name, which Save writes
  // there; one in a folder that does not exist is refused, naming the file and the reason.
  void missingFileStartsADocumentThereOrIsRefused() {
    frmMain& w = started();
    w.textBox()->setPlainText(QStringLiteral("kept"));
    w.textBox()->document()->setModified(false);
    const QString missing = doc(QStringLiteral("not yet.txt"));
    QCOMPARE(HandOver({QStringLiteral("not yet.txt")}, docs_->path()).status, 0);
    QTRY_COMPARE(w.OpenFilePath(), missing);
    QCOMPARE(text(w), QString());
    QCOMPARE(w.statusPanel()->text(), missing);
    w.textBox()->insertPlainText(QStringLiteral("new text"));
    w.mnuSave_Click();
    QCOMPARE(ReadAll(missing), QByteArray("new text"));
    QCOMPARE(modal_.shown, QStringList());
    const QString nowhere = doc(QStringLiteral("no folder/x.txt"));
    HandOver({nowhere}, docs_->path());
    QTRY_COMPARE(modal_.shown.size(), 1);
    QCOMPARE(modal_.shown.first(), QStringLiteral("quorpad: Could not open the file ") + nowhere +
                                       QStringLiteral("\n\nNo such file or directory [icon]"));
    QCOMPARE(w.OpenFilePath(), missing);
  }

  void windowHiddenInTheTrayComesBack() {
    frmMain& w = started();
    w.hide();
    QVERIFY(!w.isVisible());
    QCOMPARE(HandOver({}, QDir::rootPath()).status, 0);
    QVERIFY(w.isVisible());
    QVERIFY(!w.isMinimized());
  }

  void fileWaitsWhileAQuestionIsOpen() {
    frmMain& w = started();
    QDialog question(&w);
    question.setModal(true);
    question.show();
    QTRY_VERIFY(QApplication::activeModalWidget() == &question);
    HandOver({doc(QStringLiteral("a.txt"))}, QDir::rootPath());
    QTest::qWait(500);
    QCOMPARE(text(w), QString());
    question.close();
    QTRY_COMPARE(text(w), QStringLiteral("alpha\n"));
    // A popup menu holds it too, until it closes.
    QMenu menu(&w);
    menu.addAction(QStringLiteral("item"));
    menu.popup(w.geometry().center());
    QTRY_VERIFY(QApplication::activePopupWidget() == &menu);
    HandOver({doc(QStringLiteral("b ü.txt"))}, QDir::rootPath());
    QTest::qWait(300);
    QCOMPARE(text(w), QStringLiteral("alpha\n"));
    menu.close();
    QTRY_COMPARE(text(w), QStringLiteral("beta\nline two\n"));
  }

  void severalFilesOpenTheFirstAndNameTheRest() {
    started();
    const HandOverReply reply =
        HandOver({QStringLiteral("a.txt"), QStringLiteral("b ü.txt")}, docs_->path());
    QCOMPARE(reply.status, 0);
    QVERIFY2(reply.errors.contains(QStringLiteral("left out: ") + doc(QStringLiteral("b ü.txt"))),
             qPrintable(reply.errors));
    QTRY_COMPARE(LoadedMainWindow()->OpenFilePath(), doc(QStringLiteral("a.txt")));
  }

  void fileDroppedOnTheDocumentOpens() {
    frmMain& w = started();
    QWidget* target = w.textBox()->viewport();
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(doc(QStringLiteral("b ü.txt")))});
    const QPoint at(5, 5);
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
    QApplication::sendEvent(target, &drop);
    QVERIFY(drop.isAccepted());
    QTRY_COMPARE(text(w), QStringLiteral("beta\nline two\n"));
    QCOMPARE(w.OpenFilePath(), doc(QStringLiteral("b ü.txt")));

    // Dragged text is not a file: it goes into the document as before.
    QMimeData words;
    words.setText(QStringLiteral("dropped words"));
    QDragEnterEvent enterText(at, Qt::CopyAction, &words, Qt::LeftButton, {});
    QApplication::sendEvent(target, &enterText);
    QDropEvent dropText(at, Qt::CopyAction, &words, Qt::LeftButton, {});
    QApplication::sendEvent(target, &dropText);
    Settle();
    QVERIFY2(text(w).contains(QStringLiteral("dropped words")), qPrintable(text(w)));
    QCOMPARE(w.OpenFilePath(), doc(QStringLiteral("b ü.txt")));
  }

  void namesForOtherProgramsKeepToOneLineAndAreFound() {
    TemplateList list;
    list.Add(u"sig", u"Signature");
    list.Add(u"two", u"Two\r\nlines\tname");
    list.Add(u"upper", u"ÉTÉ");
    list.Add(u"second sig", u"Signature");           // a hand-edited store may repeat a name
    list.Add(u"escape", u"Red\x1b[31m\x07\u009b!");  // would drive a terminal
    QCOMPARE(
        NameLines(list),
        QStringLiteral("Signature\nTwo lines name\nÉTÉ\nSignature\nRed\\x1b[31m\\x07\\x9b!\n"));
    QCOMPARE(FindByName(list, QStringLiteral("Signature")), 0);
    QCOMPARE(FindByName(list, QStringLiteral("signature")), 0);
    QCOMPARE(FindByName(list, QStringLiteral("été")), 2);
    QCOMPARE(FindByName(list, QStringLiteral("Two lines name")), 1);
    QCOMPARE(FindByName(list, QStringLiteral("Red\\x1b[31m\\x07\\x9b!")), 4);
    QCOMPARE(FindByName(list, QStringLiteral("Two")), -1);
    QCOMPARE(FindByName(list, QString()), -1);
  }

  void runningQuorpadListsTheTemplateNames() {
    folder_->write(Rec("1|Signature|Ann\r\n1|Two\x02\x03lines|x\r\n1|Grüße|y\r\n"));
    started();
    const HandOverReply reply = HandOver({QStringLiteral("--list")}, docs_->path());
    QCOMPARE(reply.status, 0);
    QCOMPARE(reply.output, QStringLiteral("Signature\nTwo lines\nGrüße\n"));
    QCOMPARE(reply.errors, QString());
    // An empty store lists nothing, and says nothing either.
    folder_->write(QByteArray());
    QCOMPARE(HandOver({QStringLiteral("--list")}, docs_->path()).output, QString());
  }

  void copyPutsTheTextOnTheClipboardOrFailsNamingTheTemplate() {
    folder_->write(
        Rec("1|Signature|Kind regards,\x02\x03"
            "Ann\r\n1|Reply|Dear {:ask To:},{:caret:} re {:selection:}\r\n"
            "1|Esc|{:ask \x1b]0;owned\x07:}\r\n"));
    frmMain& w = started();
    w.hide();  // a quorpad in the tray answers just the same
    QApplication::clipboard()->clear();
    HandOverReply reply =
        HandOver({QStringLiteral("--copy"), QStringLiteral("signature")}, docs_->path());
    QCOMPARE(reply.status, 0);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Kind regards,\nAnn"));
    QVERIFY(!w.isVisible());

    // With fields on, what needs asking is left empty and said; the text is still copied.
    QVERIFY(SwitchFields(true).isEmpty());
    QVERIFY(w.fieldsOn());
    reply = HandOver({QStringLiteral("--copy"), QStringLiteral("Reply")}, docs_->path());
    QCOMPARE(reply.status, 0);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Dear , re "));
    QCOMPARE(reply.errors, QStringLiteral("quorpad: --copy asks nothing, so these fields are "
                                          "empty: {:ask To:}, {:selection:}\n"));
    // A fill-in's name reaches the terminal as --list writes names: no control character raw.
    reply = HandOver({QStringLiteral("--copy"), QStringLiteral("Esc")}, docs_->path());
    QCOMPARE(reply.errors, QStringLiteral("quorpad: --copy asks nothing, so these fields are "
                                          "empty: {:ask \\x1b]0;owned\\x07:}\n"));
    QVERIFY(SwitchFields(false).isEmpty());
    QVERIFY(!w.fieldsOn());
    QApplication::clipboard()->setText(QStringLiteral("Kind regards,\nAnn"));

    reply = HandOver({QStringLiteral("--copy"), QStringLiteral("Nobody")}, docs_->path());
    QCOMPARE(reply.status, 1);
    QVERIFY2(reply.errors.contains(QStringLiteral("\"Nobody\"")), qPrintable(reply.errors));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Kind regards,\nAnn"));

    // A store that cannot be read fails with the engine's reason, naming the store.
    QFile::remove(folder_->store());
    reply = HandOver({QStringLiteral("--copy"), QStringLiteral("Signature")}, docs_->path());
    QCOMPARE(reply.status, 1);
    QVERIFY2(reply.errors.contains(folder_->store()), qPrintable(reply.errors));
  }
};

QTEST_MAIN(HandOverTest)
#include "handover_test.moc"
