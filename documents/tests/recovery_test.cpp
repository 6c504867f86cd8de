// The document's recovery copies on real files in a state folder of each case's own, the
// document on a bare text box: when a copy appears and goes, what it holds, damaged and
// unwritable copies, copies of other processes, and the offer of copies left behind.
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QtTest>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "common/modal.h"
#include "common/programfolder.h"
#include "documents/document.h"
#include "documents/leftcopies.h"
#include "documents/recovery.h"
#include "testsupport/guitest.h"

namespace {

using guitest::ReadAll;
using guitest::WriteAll;

unsigned Mode(const QString& path) {
  struct stat info {};
  return ::stat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 0777u : 0u;
}

// The helper process of the two-process case: keeps a copy of its own until it is killed.
int HoldCopy(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  QTextDocument document;
  RecoveryCopy copy(
      &document, [] { return RecoveryInfo{}; }, nullptr, QString::fromLocal8Bit(argv[2]));
  document.setPlainText(QStringLiteral("held by another quorpad"));
  document.setModified(true);
  if (!copy.flush()) return 1;
  std::cout << copy.filePath().toStdString() << std::endl;
  // Until the test kills it, or at most a minute.
  for (int i = 0; i < 600; ++i) usleep(100 * 1000);
  return 0;
}

}  // namespace

class RecoveryTest : public guitest::Fixture {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> state_;
  // The document's window: a bare text box, and the status the document gave last.
  std::unique_ptr<QWidget> window_;
  QPlainTextEdit* box_ = nullptr;
  Document* document_ = nullptr;
  QString status_;

  // A new window and document, keeping recovery copies, with short delays.
  void open() {
    window_ = std::make_unique<QWidget>();
    box_ = new QPlainTextEdit(window_.get());
    document_ = new Document(box_, window_.get(), true);
    QObject::connect(document_, &Document::statusChanged,
                     [this](const QString& text) { status_ = text; });
    document_->recovery()->setDelays(30, 200);
  }

  QString folder() const { return RecoveryFolder(); }
  QString path(const QString& name) const { return folder_->filePath(name); }
  QStringList files(const QString& pattern = QStringLiteral("*")) const {
    return QDir(folder()).entryList({pattern}, QDir::Files);
  }
  QStringList copies() const { return files(QStringLiteral("*.copy")); }
  // Types into the document and waits until the copy is written.
  bool typeAndWait(const QString& text) {
    QSignalSpy written(document_->recovery(), &RecoveryCopy::written);
    box_->insertPlainText(text);
    return written.wait(5000) && written.last().at(0).toBool();
  }
  RecoveredDocument ownCopy() {
    RecoveredDocument document;
    QString error;
    if (!DecodeRecoveryCopy(ReadAll(document_->recovery()->filePath()), document, error)) {
      qWarning() << "the copy cannot be read:" << error;
    }
    return document;
  }
  // Leaves a copy as a quorpad that crashed would have: no lock held.
  QString leaveCopy(const QString& id, const QString& text, const RecoveryInfo& info) {
    QDir().mkpath(folder());
    const QString file = QDir(folder()).filePath(id + QStringLiteral(".copy"));
    WriteAll(file, EncodeRecoveryCopy(text, info, QDateTime(QDate(2026, 3, 1), QTime(9, 30))));
    return file;
  }

  void setUp() override {
    state_ = std::make_unique<QTemporaryDir>();
    qputenv("XDG_STATE_HOME", state_->path().toLocal8Bit());
    folder_->write("");
    open();
  }
  void tearDown() override {
    window_.reset();
    if (state_) {
      // Folders made read-only by a case are removed again.
      QFile::setPermissions(
          folder(), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    state_.reset();
  }

 private Q_SLOTS:
  void copyHoldsTextPathFormatAndCaret() {
    const QString file = path("latin.txt");
    WriteAll(file, "caf\xe9\r\nline two\r\n");
    modal_.files << file;
    document_->open();
    QVERIFY(copies().isEmpty());  // opened, not changed

    QTextCursor caret = box_->textCursor();
    caret.setPosition(3);
    box_->setTextCursor(caret);
    QVERIFY(typeAndWait(QStringLiteral("\u00e9\u2028")));
    QCOMPARE(copies().size(), 1);
    const RecoveredDocument copy = ownCopy();
    QCOMPARE(copy.text, QStringLiteral("caf\u00e9\u2028\u00e9\nline two\n"));
    QCOMPARE(copy.info.path, file);
    // Windows-1252 has no line separator: the next save writes UTF-8, and so says the copy.
    QCOMPARE(copy.info.format.utf8, true);
    QCOMPARE(copy.info.format.lineEnd, QStringLiteral("\r\n"));
    QCOMPARE(copy.info.caret, 5);
    QVERIFY(qAbs(copy.changed.secsTo(QDateTime::currentDateTimeUtc())) < 60);

    // Readable by the user alone, in a folder of the user's alone.
    QCOMPARE(Mode(document_->recovery()->filePath()), 0600u);
    QCOMPARE(Mode(folder()), 0700u);
    // Nothing half-written is left beside it.
    QCOMPARE(files(QStringLiteral("*.tmp")), QStringList());
  }

  void burstOfChangesIsWrittenOnce() {
    // A quiet time far above the pauses between keys, so that a loaded machine cannot
    // split the burst.
    document_->recovery()->setDelays(2000, 20000);
    QSignalSpy written(document_->recovery(), &RecoveryCopy::written);
    for (int i = 0; i < 20; ++i) {
      box_->insertPlainText(QStringLiteral("x"));
      QTest::qWait(5);
    }
    QVERIFY(written.wait(10000));
    QTest::qWait(400);
    QCOMPARE(written.size(), 1);
    QCOMPARE(ownCopy().text, QString(20, QLatin1Char('x')));
  }

  void steadyTypingIsWrittenWithinTheLongestDelay() {
    document_->recovery()->setDelays(300, 600);
    QSignalSpy written(document_->recovery(), &RecoveryCopy::written);
    // A key every 100 ms never leaves the quiet time; the longest delay still writes, and
    // the typing goes on long enough for that write to finish on a loaded machine too.
    for (int i = 0; i < 60 && written.isEmpty(); ++i) {
      box_->insertPlainText(QStringLiteral("y"));
      QTest::qWait(100);
    }
    QVERIFY(!written.isEmpty());
  }

  void copyGoesWhenTheChangesStopBeingUnsaved_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("Save As") << "save as";
    QTest::newRow("Save") << "save";
    QTest::newRow("New answered No") << "new no";
    QTest::newRow("Open answered No") << "open no";
    QTest::newRow("undo back to the saved text") << "undo";
    QTest::newRow("closing answered No") << "close no";
    QTest::newRow("all text deleted in an untitled document") << "emptied";
  }
  void copyGoesWhenTheChangesStopBeingUnsaved() {
    QFETCH(QString, how);
    const QString file = path("doc.txt");
    WriteAll(file, "saved\n");
    if (how == "save") {
      modal_.files << file;
      document_->open();
    }
    QVERIFY(typeAndWait(QStringLiteral("more ")));
    QCOMPARE(copies().size(), 1);

    if (how == "save as") {
      modal_.files << path("new.txt");
      document_->saveAs();
    } else if (how == "save") {
      document_->save();
    } else if (how == "new no") {
      modal_.buttons << QMessageBox::No;
      document_->newFile();
    } else if (how == "open no") {
      modal_.buttons << QMessageBox::No;
      modal_.files << file;
      document_->open();
      QCOMPARE(box_->toPlainText(), QStringLiteral("saved\n"));
    } else if (how == "undo") {
      box_->undo();
      QVERIFY(!box_->document()->isModified());
    } else if (how == "close no") {
      modal_.buttons << QMessageBox::No;
      QVERIFY(document_->maybeSave());
      document_->closing();
    } else if (how == "emptied") {
      box_->selectAll();
      box_->textCursor().removeSelectedText();
      QTest::qWait(100);
    }
    QTRY_COMPARE_WITH_TIMEOUT(copies(), QStringList(), 3000);
    // Changes made after a Save are kept again.
    if (how == "save" || how == "save as") {
      QVERIFY(typeAndWait(QStringLiteral("again")));
      QCOMPARE(copies().size(), 1);
    }
  }

  void cancelledCloseKeepsTheCopy() {
    QVERIFY(typeAndWait(QStringLiteral("keep me")));
    modal_.buttons << QMessageBox::Cancel;
    QVERIFY(!document_->maybeSave());
    QTest::qWait(100);
    QCOMPARE(copies().size(), 1);
    QCOMPARE(ownCopy().text, QStringLiteral("keep me"));
  }

  void noThenAFailedOpenKeepsTheCopy() {
    // No lets the changes go only once the text really goes: a file from outside that
    // then cannot be opened leaves the text in the window, and its copy with it.
    QVERIFY(typeAndWait(QStringLiteral("still here")));
    modal_.buttons << QMessageBox::No;
    document_->openFromOutside(folder_->path());  // a folder, which cannot be opened
    QCOMPARE(box_->toPlainText(), QStringLiteral("still here"));
    QVERIFY(document_->recovery()->keepForNextStart());
    QCOMPARE(copies().size(), 1);
    QCOMPARE(ownCopy().text, QStringLiteral("still here"));
  }

  void unwritableFolderIsToldOnceAndEditingGoesOn_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("taken by a file") << "file";
    // The superuser writes into read-only folders all the same.
    if (geteuid() != 0) QTest::newRow("read-only") << "read-only";
  }
  void unwritableFolderIsToldOnceAndEditingGoesOn() {
    QFETCH(QString, how);
    if (how == "file") {
      WriteAll(folder(), "not a folder");
    } else {
      QVERIFY(QDir().mkpath(folder()));
      QFile::setPermissions(folder(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    QSignalSpy status(document_, &Document::statusChanged);
    QSignalSpy written(document_->recovery(), &RecoveryCopy::written);
    box_->insertPlainText(QStringLiteral("one"));
    QVERIFY(written.wait(3000));
    QCOMPARE(written.last().at(0).toBool(), false);
    QCOMPARE(status.size(), 1);
    QVERIFY2(status.last().at(0).toString().contains(
                 QStringLiteral("Could not write a recovery copy in ") + folder()),
             qPrintable(status.last().at(0).toString()));
    // Told once: further failures stay quiet, and the text is as typed.
    box_->insertPlainText(QStringLiteral(" two"));
    QVERIFY(written.wait(3000));
    QCOMPARE(status.size(), 1);
    QCOMPARE(box_->toPlainText(), QStringLiteral("one two"));
    QVERIFY(!document_->recovery()->flush());
    QVERIFY(modal_.asked.isEmpty());
  }

  void fullDiskIsToldAndTheLastWholeCopyStays() {
    guitest::SmallDisk disk(64);
    if (!disk.mounted()) QSKIP(qPrintable("No small disk to fill: " + disk.why()));
    // A window whose copies go to the small disk.
    window_.reset();
    qputenv("XDG_STATE_HOME", QFile::encodeName(disk.path()));
    open();
    QVERIFY(typeAndWait(QStringLiteral("kept")));

    QVERIFY(disk.fill(0));
    QSignalSpy status(document_, &Document::statusChanged);
    QSignalSpy written(document_->recovery(), &RecoveryCopy::written);
    box_->insertPlainText(QString(100 * 1024, QLatin1Char('z')));
    QVERIFY(written.wait(3000));
    QCOMPARE(written.last().at(0).toBool(), false);
    QCOMPARE(status.size(), 1);
    QVERIFY2(status.last().at(0).toString().contains(QString::fromLocal8Bit(std::strerror(ENOSPC))),
             qPrintable(status.last().at(0).toString()));
    // The copy before is whole and nothing half-written is left.
    QCOMPARE(ownCopy().text, QStringLiteral("kept"));
    QCOMPARE(files(QStringLiteral("*.tmp")), QStringList());
    window_.reset();
  }

  void leftCopyIsRestoredWithPathFormatAndCaret() {
    RecoveryInfo info;
    info.path = path("gone.txt");
    info.format.lineEnd = QStringLiteral("\r\n");
    info.caret = 6;
    const QString left =
        leaveCopy(QStringLiteral("4242-crashed"), QStringLiteral("line 1\nline 2\n"), info);
    modal_.buttons << QMessageBox::Yes;
    document_->offerRecovery();
    QCOMPARE(modal_.asked.size(), 1);
    QVERIFY2(modal_.asked[0].contains(QStringLiteral("Document: ") + info.path),
             qPrintable(modal_.asked[0]));
    QVERIFY(modal_.asked[0].contains(QStringLiteral("Last changed: ")));

    QCOMPARE(box_->toPlainText(), QStringLiteral("line 1\nline 2\n"));
    QCOMPARE(document_->path(), info.path);
    QVERIFY(box_->document()->isModified());
    QCOMPARE(box_->textCursor().position(), 6);
    QCOMPARE(status_, info.path);
    // The document's own copy took over from the old one.
    QVERIFY(!QFile::exists(left));
    QCOMPARE(copies().size(), 1);
    QCOMPARE(ownCopy().text, QStringLiteral("line 1\nline 2\n"));
    QCOMPARE(ownCopy().info.format.lineEnd, QStringLiteral("\r\n"));

    // A Save writes the restored text to its file, in its format, and the copy goes.
    document_->save();
    QCOMPARE(ReadAll(info.path), QByteArray("line 1\r\nline 2\r\n"));
    QTRY_COMPARE_WITH_TIMEOUT(copies(), QStringList(), 3000);
  }

  // Many copies make one question, a list: Discard removes those checked, Restore brings
  // back the first checked and leaves the others, Later keeps them all. However many there
  // are, no descriptor is kept per copy while they are offered.
  void leftCopiesAreOfferedInOneQuestion() {
    constexpr int kCopies = 2000;  // more than the usual 1024 descriptors a process may hold
    QVERIFY(QDir().mkpath(folder()));
    for (int i = 0; i < kCopies; ++i) {
      RecoveryInfo info;
      info.path = path(QStringLiteral("doc%1.txt").arg(i));
      leaveCopy(QStringLiteral("%1-left").arg(i + 1), QStringLiteral("text %1").arg(i), info);
    }
    const auto descriptors = [] { return QDir(QStringLiteral("/proc/self/fd")).count(); };
    const uint before = descriptors();
    QList<int> some;
    for (int row = 0; row < kCopies / 2; ++row) some << row;
    modal_.checks << some;
    modal_.buttons << QMessageBox::No;
    document_->offerRecovery();
    QCOMPARE(modal_.asked.size(), 1);
    QVERIFY(modal_.asked[0].contains(QStringLiteral("changes to %1 documents").arg(kCopies)));
    QVERIFY(modal_.asked[0].contains(path("doc0.txt")));
    QCOMPARE(copies().size(), kCopies / 2);
    QVERIFY(descriptors() <= before + 2);

    modal_.reset();
    modal_.checks << QList<int>{1, 2};
    modal_.buttons << QMessageBox::Yes;
    document_->offerRecovery();
    QCOMPARE(modal_.asked.size(), 1);
    const QString restored = document_->path();
    QVERIFY2(restored.startsWith(path("doc")), qPrintable(restored));
    QVERIFY(box_->document()->isModified());
    // The restored one's copy is now the document's own; the others wait.
    QCOMPARE(copies().size(), kCopies / 2);

    modal_.reset();
    modal_.buttons << QMessageBox::Cancel;
    document_->offerRecovery();
    QCOMPARE(copies().size(), kCopies / 2);
    QCOMPARE(FindLeftCopies().size(), size_t(kCopies / 2 - 1));
  }

  // The copies' folder is quorpad's own or not used at all: a link put in its place, or a
  // folder of another user, is neither written nor offered, and that is said once; a copy
  // that is a link (to a device, say) is never read.
  void folderThatIsNotQuorpadsOwnIsNeverUsed_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("a link") << "link";
    QTest::newRow("open to others") << "group-writable";
    if (geteuid() == 0) QTest::newRow("another user's") << "foreign";
  }
  void folderThatIsNotQuorpadsOwnIsNeverUsed() {
    QFETCH(QString, how);
    const QString planted = state_->filePath(QStringLiteral("planted"));
    QVERIFY(QDir().mkpath(planted));
    WriteAll(planted + QStringLiteral("/9-planted.copy"),
             EncodeRecoveryCopy(QStringLiteral("planted"), RecoveryInfo{}, {}));
    if (how == "link") {
      QVERIFY(QFile::link(planted, folder()));
    } else {
      QVERIFY(QDir().rename(planted, folder()));
      QVERIFY(::chmod(QFile::encodeName(folder()).constData(), how == "foreign" ? 0755 : 0775) ==
              0);
      if (how == "foreign")
        QVERIFY(::chown(QFile::encodeName(folder()).constData(), 65534, 65534) == 0);
    }
    document_->offerRecovery();
    QVERIFY2(modal_.asked.isEmpty(), qPrintable(modal_.asked.join('\n')));
    QSignalSpy status(document_, &Document::statusChanged);
    box_->insertPlainText(QStringLiteral("typed"));
    QVERIFY(!document_->recovery()->flush());
    box_->insertPlainText(QStringLiteral(" more"));
    QVERIFY(!document_->recovery()->flush());
    QCOMPARE(status.size(), 1);
    QVERIFY2(status.last().at(0).toString().contains(QStringLiteral("Recovery copies are off")),
             qPrintable(status.last().at(0).toString()));
    QCOMPARE(QDir(how == "link" ? planted : folder()).entryList(QDir::Files),
             QStringList{"9-planted.copy"});
  }

  void copyThatIsALinkIsNeverRead() {
    QVERIFY(QDir().mkpath(folder()));
    QVERIFY(QFile::link(QStringLiteral("/dev/zero"), QDir(folder()).filePath("5-zero.copy")));
    QVERIFY(QFile::link(path("templates.dat"), QDir(folder()).filePath("6-file.copy")));
    QVERIFY(FindLeftCopies().empty());
    document_->offerRecovery();
    QVERIFY(modal_.asked.isEmpty());
  }

  void damagedLeftCopyIsReportedAndSetAside() {
    const QString left = QDir(folder()).filePath(QStringLiteral("7-broken.copy"));
    QVERIFY(QDir().mkpath(folder()));
    QByteArray bytes = EncodeRecoveryCopy(QStringLiteral("text"), RecoveryInfo{}, {});
    WriteAll(left, bytes.chopped(2));
    document_->offerRecovery();
    QCOMPARE(modal_.asked.size(), 1);
    QVERIFY2(modal_.asked[0].contains(folder() + QStringLiteral("/7-broken.damaged")),
             qPrintable(modal_.asked[0]));
    QVERIFY(modal_.asked[0].contains(QStringLiteral("where 4 were written")));
    QCOMPARE(ReadAll(QDir(folder()).filePath(QStringLiteral("7-broken.damaged"))),
             bytes.chopped(2));
    QVERIFY(!QFile::exists(left));
    QVERIFY(!box_->document()->isModified());
    // Never offered again.
    modal_.asked.clear();
    document_->offerRecovery();
    QVERIFY(modal_.asked.isEmpty());
  }

  void ownCopyAndThoseOfRunningQuorpadsAreNotOffered() {
    QVERIFY(typeAndWait(QStringLiteral("mine")));
    QProcess other;
    other.start(QCoreApplication::applicationFilePath(), {QStringLiteral("--hold-copy"), folder()});
    QVERIFY(other.waitForReadyRead(20000));
    const QString theirs = QString::fromLocal8Bit(other.readLine()).trimmed();
    QVERIFY(QFile::exists(theirs));
    QCOMPARE(copies().size(), 2);

    QVERIFY(FindLeftCopies().empty());
    document_->offerRecovery();
    QVERIFY(modal_.asked.isEmpty());

    // Once the other process is killed, its copy is left behind and can be taken.
    other.kill();
    QVERIFY(other.waitForFinished(10000));
    const auto left = FindLeftCopies();
    QCOMPARE(left.size(), size_t(1));
    QCOMPARE(left[0]->filePath(), theirs);
    RecoveredDocument document;
    QString error;
    QVERIFY(left[0]->read(document, error));
    QCOMPARE(document.text, QStringLiteral("held by another quorpad"));
    // While this process holds it, nobody else is offered it.
    QVERIFY(FindLeftCopies().empty());
  }
};

int main(int argc, char** argv) {
  if (argc == 3 && qstrcmp(argv[1], "--hold-copy") == 0) return HoldCopy(argc, argv);
  QApplication app(argc, argv);
  RecoveryTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "recovery_test.moc"
