// The document commands on a bare text box and real files: every branch the user can take,
// the status texts, byte-exact round trips and failed reads and writes.
#include <QDir>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QtTest>

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "common/longjob.h"
#include "documents/document.h"
#include "testsupport/guitest.h"

using namespace guitest;

namespace {

// The file's bytes, marked when it is missing.
QByteArray Bytes(const QString& path) {
  return ReadAll(path, "<missing>");
}

QByteArray Local(const QString& path) {
  return QFile::encodeName(path);
}

// What lstat says the path is, as one letter: f file, l link, p pipe, d folder, c device.
char KindAt(const QString& path) {
  struct stat st {};
  if (::lstat(Local(path).constData(), &st) != 0) return '-';
  if (S_ISREG(st.st_mode)) return 'f';
  if (S_ISLNK(st.st_mode)) return 'l';
  if (S_ISFIFO(st.st_mode)) return 'p';
  if (S_ISDIR(st.st_mode)) return 'd';
  if (S_ISCHR(st.st_mode)) return 'c';
  return '?';
}

// Puts in `folder` a named pipe "fifo", links "fifo-link" to it and "zero-link" to
// /dev/zero, and a folder "folder".
void MakeWhatIsNotARegularFile(const QString& folder) {
  const QDir dir(folder);
  QVERIFY(::mkfifo(Local(dir.filePath("fifo")).constData(), 0600) == 0);
  QVERIFY(QFile::link(dir.filePath("fifo"), dir.filePath("fifo-link")));
  QVERIFY(QFile::link("/dev/zero", dir.filePath("zero-link")));
  QVERIFY(dir.mkdir("folder"));
}

}  // namespace

class DocumentsTest : public Fixture {
  Q_OBJECT

 private:
  // The document on a bare text box, in a window of the test's own.
  std::unique_ptr<QWidget> window_;
  QPlainTextEdit* box_ = nullptr;
  Document* document_ = nullptr;
  QString status_;
  QString path(const QString& name) const { return folder_->filePath(name); }
  QString text() const { return box_->toPlainText(); }
  // The last status the document gave: what a window's status panel shows.
  QString lastStatus() const { return status_; }
  void open(const QString& file) {
    modal_.files << file;
    document_->open();
  }

  // Opens `file`, replaces its text by `replacement` and saves it where no room is left for
  // it: the failure is told with the path and the system's reason, the file keeps every byte,
  // the document stays changed and tied to the file, nothing is left beside it, and the close
  // check still asks.
  void saveFailsCleanly(const QString& file, const QString& replacement, const QString& reason) {
    const QByteArray before = Bytes(file);
    const QStringList entries = guitest::FolderEntries(QFileInfo(file).path());
    open(file);
    box_->selectAll();
    box_->insertPlainText(replacement);
    const qsizetype asked = modal_.asked.size();
    document_->save();
    QCOMPARE(modal_.asked.size(), asked + 1);
    const QString message = modal_.asked.last();
    QVERIFY2(message.contains(file) && message.contains(reason), qPrintable(message));
    QCOMPARE(Bytes(file), before);
    QCOMPARE(guitest::FolderEntries(QFileInfo(file).path()), entries);
    QCOMPARE(document_->path(), file);
    QCOMPARE(lastStatus(), file);
    QVERIFY(box_->document()->isModified());
    modal_.buttons << QMessageBox::Cancel;
    QVERIFY(!document_->maybeSave());
    QVERIFY(modal_.asked.last().startsWith("Do you wish to save this file:"));
  }

  void setUp() override {
    modal_.unscripted = QMessageBox::Ok;  // a save prompt left unscripted is cancelled
    window_ = std::make_unique<QWidget>();
    box_ = new QPlainTextEdit(window_.get());
    // With recovery copies, as in the program: a long save takes the text as the copy
    // follows it.
    document_ = new Document(box_, window_.get(), true);
    status_.clear();
    connect(document_, &Document::statusChanged, this,
            [this](const QString& text) { status_ = text; });
  }
  void tearDown() override { window_.reset(); }

 private Q_SLOTS:

  void openReadsLinesAndCountsThem() {
    WriteAll(path("three.txt"), "a\r\nb\r\nc");
    QSignalSpy status(document_, &Document::statusChanged);
    open(path("three.txt"));
    QStringList seen;
    for (const auto& args : status) seen << args.at(0).toString();
    QCOMPARE(seen, (QStringList{"opening " + path("three.txt") + "...", "reading line 1",
                                "reading line 2", "reading line 3", path("three.txt")}));
    QCOMPARE(text(), QString("a\nb\nc\n"));
    QCOMPARE(lastStatus(), path("three.txt"));
    QCOMPARE(document_->path(), path("three.txt"));
  }

  // A file of a megabyte or more comes in beside the window, read-only until it is whole;
  // Cancel, while it is read or while it is shown, leaves the document before it as it was;
  // once whole, it is exact: saved unchanged it gives back every byte, mixed line ends and
  // Windows-1252 included.
  void aLargeFileComesInBesideTheWindow() {
    QByteArray line("caf\xe9 ");
    line += QByteArray(1000, 'x');
    QByteArray bytes;
    for (int i = 0; bytes.size() < 4 * 1024 * 1024; ++i) bytes += line + (i % 3 ? "\r\n" : "\n");
    WriteAll(path("large.txt"), bytes);
    open(path("three.txt"));  // missing: the document stays untitled
    box_->insertPlainText(QStringLiteral("mine"));
    const auto unchanged = [this] {
      QCOMPARE(text(), QStringLiteral("mine"));
      QVERIFY(box_->document()->isModified());
      QCOMPARE(document_->path(), QString());
      QVERIFY(!box_->isReadOnly());
      QVERIFY(!document_->loading());
    };
    modal_.buttons << QMessageBox::No << QMessageBox::No << QMessageBox::No;
    for (bool whileShown : {false, true}) {
      document_->openFromOutside(path("large.txt"));
      QVERIFY(box_->isReadOnly());
      if (whileShown)
        while (text() == QStringLiteral("mine")) QCoreApplication::processEvents();
      QVERIFY(document_->loading());
      document_->loadJob()->cancel();
      unchanged();
    }
    document_->openFromOutside(path("large.txt"));
    document_->loadJob()->waitForIdle();
    QVERIFY(!box_->isReadOnly());
    QVERIFY(!box_->document()->isModified());
    QVERIFY(!box_->document()->isUndoAvailable());
    QCOMPARE(lastStatus(), path("large.txt"));
    QCOMPARE(box_->document()->blockCount(), bytes.count('\n') + 1);
    // A change after it came in is in what is saved.
    QTextCursor(box_->document()).insertText(QStringLiteral("edited "));
    bytes.prepend("edited ");
    document_->saveAs();  // unscripted: cancelled
    // A long text is written beside the window: a command from outside waits for it as for a
    // question, and finds the file whole. A write that fails says so and keeps the changes.
    modal_.files << path("missing/copy.txt");
    document_->saveAs();
    QVERIFY2(modal_.asked.last().contains(path("missing/copy.txt")),
             qPrintable(modal_.asked.last()));
    QVERIFY(box_->document()->isModified());
    QByteArray seen = "nothing yet";
    bool writing = false;
    QTimer::singleShot(0, this, [&] {
      writing = document_->saveJob()->busy() && box_->isReadOnly();  // no drop reaches it
      WhenNoModal(this, [&] { seen = Bytes(path("copy.txt")); });
    });
    modal_.files << path("copy.txt");
    document_->saveAs();
    QVERIFY(writing);
    QCOMPARE(Bytes(path("copy.txt")), bytes);
    QVERIFY(!box_->document()->isModified());
    QTRY_COMPARE(seen, bytes);
  }

  void openOfAnEmptyFileGoesStraightToThePath() {
    WriteAll(path("empty.txt"), "");
    QSignalSpy status(document_, &Document::statusChanged);
    open(path("empty.txt"));
    QCOMPARE(status.count(), 2);
    QCOMPARE(status.last().at(0).toString(), path("empty.txt"));
  }

  void openFollowedBySaveGivesTheFileBackByteForByte_data() {
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
    // Every line keeps its own end: a lone CR stays one, and a mixed file stays mixed.
    QTest::newRow("cr") << QByteArray("one\rtwo\r");
    QTest::newRow("mixed") << QByteArray("a\r\nb\nc\rd\n\ne\r\n");
    QTest::newRow("store bytes") << QByteArray("1\x04n\x04v\x02\x03w\r\n");
    // The text is decoded into its own room and its line ends made one in place: a last line
    // with no end, a byte order mark, and text of fewer characters than bytes.
    QTest::newRow("no end at the end") << QByteArray("one\r\n\r\ntwo");
    QTest::newRow("byte order mark") << QByteArray("\xef\xbb\xbf\xef\xbb\xbfone\r\n");
    QTest::newRow("three bytes a character")
        << QByteArray("\xe6\x97\xa5\xe6\x9c\xac\xe8\xaa\x9e\r\n\xf0\x9f\x98\x80\r\r\n");
  }
  void openFollowedBySaveGivesTheFileBackByteForByte() {
    QFETCH(QByteArray, bytes);
    WriteAll(path("doc.txt"), bytes);
    open(path("doc.txt"));
    modal_.files << path("doc.txt");  // an empty text asks for a name
    document_->save();
    // Every line is saved with an end, the last one too.
    const bool endless = !bytes.isEmpty() && !bytes.endsWith('\n') && !bytes.endsWith('\r');
    QCOMPARE(Bytes(path("doc.txt")), endless ? bytes + "\r\n" : bytes);
    if (!QByteArray(QTest::currentDataTag()).startsWith("mixed")) return;
    // A line typed into a mixed file takes the end of the line before it.
    QTextCursor at(box_->document()->findBlockByNumber(2));
    at.movePosition(QTextCursor::EndOfBlock);
    at.insertText(QStringLiteral("\nnew"));
    document_->save();
    QCOMPARE(Bytes(path("doc.txt")), QByteArray("a\r\nb\nc\rnew\rd\n\ne\r\n"));
  }

  // A file that holds binary data is refused, naming it, and never rewritten.
  void openRefusesBinaryFiles_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("nul") << QByteArray(
        "\x7f"
        "ELF\x02\x01\x01\0\0\0text\r\n",
        16);
    QTest::newRow("control bytes") << QByteArray("\x01\x05\x06\x07\x08\x0e\x0f\x10 a\r\n");
  }
  void openRefusesBinaryFiles() {
    QFETCH(QByteArray, bytes);
    WriteAll(path("program"), bytes);
    open(path("program"));
    QVERIFY2(modal_.asked.last().contains(path("program")) &&
                 modal_.asked.last().contains("binary data"),
             qPrintable(modal_.asked.last()));
    QVERIFY(document_->path().isEmpty());
    QCOMPARE(Bytes(path("program")), bytes);
  }

  void cancelledDialogsLeaveTheDocumentAsItWas() {
    WriteAll(path("keep.txt"), "keep\r\n");
    open(path("keep.txt"));
    document_->saveAs();  // cancelled
    modal_.buttons << QMessageBox::No;
    document_->open();  // dialog cancelled
    QCOMPARE(document_->path(), path("keep.txt"));
    QCOMPARE(text(), QString("keep\n"));
    QCOMPARE(lastStatus(), path("keep.txt"));
  }

  void saveOfAnUntitledDocumentAsksForAName() {
    box_->setPlainText("new text");
    modal_.files << path("named.txt");
    document_->save();
    QCOMPARE(modal_.asked, QStringList{"Save File"});
    QCOMPARE(Bytes(path("named.txt")), QByteArray("new text"));
    QCOMPARE(document_->path(), path("named.txt"));
  }

  void openAsksBeforeReplacingUntitledText() {
    WriteAll(path("other.txt"), "other\r\n");
    box_->setPlainText("unsaved");
    modal_.buttons << QMessageBox::Cancel;
    open(path("other.txt"));
    QCOMPARE(text(), QString("unsaved"));
    QVERIFY(modal_.asked.first().startsWith("Do you wish to save this file:\r\n"));
  }

  void newAnsweredYesSavesThenEmpties() {
    WriteAll(path("n.txt"), "old\r\n");
    open(path("n.txt"));
    box_->setPlainText("changed\n");
    modal_.buttons << QMessageBox::Yes;
    document_->newFile();
    QCOMPARE(Bytes(path("n.txt")), QByteArray("changed\r\n"));
    QCOMPARE(text(), QString());
    QVERIFY(document_->path().isEmpty());
    QCOMPARE(lastStatus(), QString("Untitled"));
  }

  void saveOfATitledDocumentShowsItsProgress() {
    WriteAll(path("s.txt"), "old\n");
    open(path("s.txt"));
    box_->setPlainText("new\n");
    QSignalSpy status(document_, &Document::statusChanged);
    document_->save();
    QCOMPARE(Bytes(path("s.txt")), QByteArray("new\n"));
    QCOMPARE(status.count(), 2);
    QCOMPARE(status.at(0).at(0).toString(), "saving " + path("s.txt") + "...");
    QCOMPARE(status.at(1).at(0).toString(), path("s.txt"));
  }

  void newOnUntitledTextFollowsTheAnswer_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("file");  // the name chosen after Yes; empty = cancelled
    QTest::addColumn<bool>("emptied");
    QTest::newRow("yes, saved") << int(QMessageBox::Yes) << "kept.txt" << true;
    QTest::newRow("yes, dialog cancelled") << int(QMessageBox::Yes) << "" << false;
    QTest::newRow("yes, write fails") << int(QMessageBox::Yes) << "folder" << false;
    QTest::newRow("no") << int(QMessageBox::No) << "" << true;
    QTest::newRow("cancel") << int(QMessageBox::Cancel) << "" << false;
  }
  void newOnUntitledTextFollowsTheAnswer() {
    QFETCH(int, answer);
    QFETCH(QString, file);
    QFETCH(bool, emptied);
    QDir(folder_->path()).mkdir("folder");
    box_->setPlainText("draft");
    modal_.buttons << QMessageBox::StandardButton(answer);
    modal_.files << (file.isEmpty() ? QString() : path(file));
    document_->newFile();
    QCOMPARE(text().isEmpty(), emptied);
    QVERIFY(document_->path().isEmpty());
    if (file == "kept.txt") QCOMPARE(Bytes(path(file)), QByteArray("draft"));
  }

  void openSavesTheOldTextFirstWhenAsked() {
    WriteAll(path("first.txt"), "first\n");
    WriteAll(path("second.txt"), "second\n");
    open(path("first.txt"));
    box_->setPlainText("first, changed\n");
    modal_.buttons << QMessageBox::Yes;
    modal_.files << path("second.txt");
    document_->open();
    QCOMPARE(Bytes(path("first.txt")), QByteArray("first, changed\n"));
    QCOMPARE(text(), QString("second\n"));

    // Untitled text: Yes asks for a name, and cancelling that cancels the Open.
    document_->newFile();
    modal_.buttons.clear();
    modal_.buttons << QMessageBox::No;
    document_->newFile();
    box_->setPlainText("untitled");
    modal_.buttons << QMessageBox::Yes;
    modal_.files << QString() << path("first.txt");
    document_->open();
    QCOMPARE(text(), QString("untitled"));
  }

  void saveAsWritesAnEmptyText() {
    modal_.files << path("empty-as.txt");
    document_->saveAs();
    QCOMPARE(Bytes(path("empty-as.txt")), QByteArray());
    QCOMPARE(document_->path(), path("empty-as.txt"));
  }

  void newOnAnEmptyDocumentWithAFileUntiesIt() {
    WriteAll(path("e.txt"), "");
    open(path("e.txt"));
    document_->newFile();
    QVERIFY(document_->path().isEmpty());
    QCOMPARE(lastStatus(), QString("Untitled"));
  }

  void failedWriteKeepsFileTextAndPath() {
    WriteAll(path("w.txt"), "original\r\n");
    open(path("w.txt"));
    box_->setPlainText("new\n");
    // A folder where the file should be makes every write fail, even for root.
    modal_.files << path("sub");
    QDir(folder_->path()).mkdir("sub");
    document_->saveAs();
    QCOMPARE(document_->path(), path("w.txt"));
    QCOMPARE(text(), QString("new\n"));
    QCOMPARE(Bytes(path("w.txt")), QByteArray("original\r\n"));
    QVERIFY(modal_.asked.last().contains(path("sub")));
  }

  void vanishedFileChangesNothing() {
    box_->setPlainText("mine");
    modal_.buttons << QMessageBox::No;
    open(path("gone.txt"));
    QCOMPARE(text(), QString("mine"));
    QVERIFY(document_->path().isEmpty());
    QVERIFY(modal_.asked.last().contains(path("gone.txt")));
  }

  void documentLivesOnABareTextBox() {
    QWidget owner;
    auto* box = new QPlainTextEdit(&owner);
    auto* document = new Document(box, &owner);
    QSignalSpy status(document, &Document::statusChanged);
    WriteAll(path("bare.txt"), "one\r\n");
    modal_.files << path("bare.txt");
    document->open();
    QCOMPARE(box->toPlainText(), QString("one\n"));
    QCOMPARE(document->path(), path("bare.txt"));
    QCOMPARE(status.last().at(0).toString(), path("bare.txt"));
    QVERIFY(document->maybeSave());  // unchanged: nothing asked

    box->moveCursor(QTextCursor::End);
    box->insertPlainText("two\n");
    modal_.buttons << QMessageBox::Cancel << QMessageBox::Yes;
    QVERIFY(!document->maybeSave());
    QCOMPARE(Bytes(path("bare.txt")), QByteArray("one\r\n"));
    QVERIFY(document->maybeSave());
    QCOMPARE(Bytes(path("bare.txt")), QByteArray("one\r\ntwo\r\n"));
    QVERIFY(!box->document()->isModified());
    QCOMPARE(modal_.asked.size(), 3);  // the Open dialog and the two prompts
  }

  void openRefusesWhatIsNotARegularFile_data() {
    QTest::addColumn<QString>("name");  // made in the folder, or an absolute path
    QTest::addColumn<QString>("kind");
    QTest::newRow("/dev/zero") << "/dev/zero"
                               << "a character device";
    QTest::newRow("/dev/urandom") << "/dev/urandom"
                                  << "a character device";
    QTest::newRow("link to /dev/zero") << "zero-link"
                                       << "a character device";
    QTest::newRow("fifo") << "fifo"
                          << "a named pipe (FIFO)";
    QTest::newRow("link to a fifo") << "fifo-link"
                                    << "a named pipe (FIFO)";
    QTest::newRow("folder") << "folder"
                            << "a folder";
  }
  void openRefusesWhatIsNotARegularFile() {
    QFETCH(QString, name);
    QFETCH(QString, kind);
    const QTemporaryDir own;
    const auto at = [&own](const QString& n) { return own.filePath(n); };
    // Nothing here may block: a pipe with no writer would hang the open or the read.
    MakeWhatIsNotARegularFile(own.path());
    WriteAll(at("before.txt"), "before\r\n");
    open(at("before.txt"));

    const QString target = name.startsWith('/') ? name : at(name);
    modal_.buttons << QMessageBox::No;
    open(target);
    QVERIFY2(modal_.asked.last().contains(target) &&
                 modal_.asked.last().contains("It is " + kind + ", not a regular file."),
             qPrintable(modal_.asked.last()));
    QCOMPARE(text(), QString("before\n"));
    QCOMPARE(document_->path(), at("before.txt"));
    QCOMPARE(lastStatus(), at("before.txt"));
    QCOMPARE(KindAt(at("fifo")), 'p');
  }

  void saveRefusesATargetThatIsNotARegularFile_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<char>("kind");
    QTest::addColumn<QString>("says");
    QTest::newRow("fifo") << "fifo" << 'p' << "a named pipe (FIFO)";
    QTest::newRow("link to a fifo") << "fifo-link" << 'l' << "a named pipe (FIFO)";
    QTest::newRow("folder") << "folder" << 'd' << "a folder";
  }
  void saveRefusesATargetThatIsNotARegularFile() {
    QFETCH(QString, name);
    QFETCH(char, kind);
    QFETCH(QString, says);
    const QTemporaryDir own;
    const auto at = [&own](const QString& n) { return own.filePath(n); };
    MakeWhatIsNotARegularFile(own.path());
    box_->insertPlainText("typed");
    modal_.files << at(name);
    document_->saveAs();
    QVERIFY2(modal_.asked.last().contains(at(name)) && modal_.asked.last().contains(says),
             qPrintable(modal_.asked.last()));
    QCOMPARE(KindAt(at(name)), kind);
    QCOMPARE(KindAt(at("fifo")), 'p');
    QCOMPARE(guitest::FolderEntries(own.path()),
             (QStringList{"fifo", "fifo-link", "folder", "zero-link"}));
    QVERIFY(document_->path().isEmpty());
    QVERIFY(box_->document()->isModified());
  }

  void saveWritesThroughALinkAndKeepsModeAndOwner() {
    QVERIFY(QDir(folder_->path()).mkdir("real"));
    const QString target = path("real/doc.txt");
    WriteAll(target, "old\n");
    QVERIFY(::chmod(Local(target).constData(), 0640) == 0);
    const bool root = ::geteuid() == 0;
    if (root) QVERIFY(::chown(Local(target).constData(), 4321, 4322) == 0);
    QVERIFY(QFile::link("real/doc.txt", path("link.txt")));  // relative, as users make them
    open(path("link.txt"));
    box_->setPlainText("new\n");
    document_->save();
    QCOMPARE(KindAt(path("link.txt")), 'l');
    QCOMPARE(Bytes(target), QByteArray("new\n"));
    struct stat st {};
    QVERIFY(::stat(Local(target).constData(), &st) == 0);
    QCOMPARE(st.st_mode & 07777, mode_t(0640));
    if (root) {
      QCOMPARE(st.st_uid, uid_t(4321));
      QCOMPARE(st.st_gid, gid_t(4322));
    }
    QCOMPARE(guitest::FolderEntries(path("real")), QStringList{"doc.txt"});
    QCOMPARE(lastStatus(), target);  // the file actually written
  }

  // In a sticky folder that everybody may write to (as /tmp), another user's link is not
  // written through, as the kernel would not follow it; the user's own link still is.
  void saveRefusesAnotherUsersLinkInASharedFolder() {
    if (::geteuid() != 0) QSKIP("giving a link to another user needs root");
    QVERIFY(QDir(folder_->path()).mkdir("shared"));
    QVERIFY(::chmod(Local(path("shared")).constData(), 01777) == 0);
    WriteAll(path("victim.txt"), "mine\n");
    QVERIFY(QFile::link(path("victim.txt"), path("shared/report.txt")));
    QVERIFY(QFile::link(path("victim.txt"), path("shared/own.txt")));
    QVERIFY(::lchown(Local(path("shared/report.txt")).constData(), 65534, 65534) == 0);
    modal_.files << path("shared/report.txt");
    box_->insertPlainText("attacker's wish\n");
    document_->saveAs();
    const QString message = modal_.asked.last();
    QVERIFY2(message.contains(path("shared/report.txt")) && message.contains("every user") &&
                 message.contains(QStringLiteral("another user's link")),
             qPrintable(message));
    QCOMPARE(Bytes(path("victim.txt")), QByteArray("mine\n"));
    QVERIFY(box_->document()->isModified());
    modal_.files << path("shared/own.txt");
    document_->saveAs();
    QCOMPARE(Bytes(path("victim.txt")), QByteArray("attacker's wish\n"));
    QCOMPARE(lastStatus(), path("victim.txt"));
  }

  // A save killed midway leaves its temporary file; the next save of that document removes
  // it, leaving those of a save still under way and files not named as its own.
  void nextSaveRemovesTemporaryFilesLeftBehind() {
    WriteAll(path("doc.txt"), "old\n");
    const pid_t gone = ::fork();
    if (gone == 0) ::_exit(0);
    QVERIFY(::waitpid(gone, nullptr, 0) == gone);
    const QString left = path(QStringLiteral(".doc.txt.%1.k3j.tmp").arg(gone));
    const QString running = path(QStringLiteral(".doc.txt.%1.a9z.tmp").arg(::getpid()));
    WriteAll(left, "half");
    WriteAll(running, "half");
    WriteAll(path(".doc.txt.old.tmp"), "not ours");
    open(path("doc.txt"));
    box_->setPlainText("new\n");
    document_->save();
    QCOMPARE(Bytes(path("doc.txt")), QByteArray("new\n"));
    QVERIFY(!QFileInfo::exists(left));
    QVERIFY(QFileInfo::exists(running));
    QVERIFY(QFileInfo::exists(path(".doc.txt.old.tmp")));
  }

  void saveOnAFullDiskKeepsTheFile_data() {
    QTest::addColumn<qint64>("left");  // bytes still free on the disk
    QTest::addColumn<int>("size");     // of the text saved
    QTest::newRow("full, a line") << qint64(0) << 10;
    QTest::newRow("full, 100 KiB") << qint64(0) << 100 * 1024;
    QTest::newRow("8 KiB left, 100 KiB") << qint64(8192) << 100 * 1024;
  }
  void saveOnAFullDiskKeepsTheFile() {
    QFETCH(qint64, left);
    QFETCH(int, size);
    guitest::SmallDisk disk(64);
    if (!disk.mounted()) QSKIP(qPrintable("No small disk to fill: " + disk.why()));
    const QString file = disk.filePath("doc.txt");
    WriteAll(file, "original\r\nsecond line\r\n");
    QVERIFY(disk.fill(left));
    saveFailsCleanly(file, QString(size, QLatin1Char('x')),
                     QString::fromLocal8Bit(std::strerror(ENOSPC)));
  }

  void saveBeyondTheFileSizeLimitKeepsTheFile() {
    if (!guitest::InChild()) {
      const QString failed = guitest::RunInChildWithFileSizeLimit(64 * 1024);
      QVERIFY2(failed.isEmpty(), qPrintable(failed));
      return;
    }
    WriteAll(path("limited.txt"), "small\r\n");
    saveFailsCleanly(path("limited.txt"), QString(200 * 1024, QLatin1Char('y')),
                     QString::fromLocal8Bit(std::strerror(EFBIG)));
  }
};

QTEST_MAIN(DocumentsTest)
#include "documents_test.moc"
