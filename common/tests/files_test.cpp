// Whole-file reads and atomic writes on real files, file drops, the file dialogs' filters and
// the INI layout of quorpad.ini.
#include <QDir>
#include <QDropEvent>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QUrl>
#include <QtTest>
#include <chrono>
#include <future>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/filedialogs.h"
#include "common/filedrop.h"
#include "common/inifile.h"
#include "common/storewatch.h"
#include "common/wholefile.h"
#include "testsupport/guitest.h"

using namespace guitest;

namespace {

QByteArray Local(const QString& path) {
  return QFile::encodeName(path);
}

}  // namespace

class FilesTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<QTemporaryDir> dir_;
  QString path(const QString& name) const { return dir_->filePath(name); }
  QString ini() const { return path(QStringLiteral("quorpad.ini")); }
  static mode_t Mode(const QString& path) {
    struct stat st {};
    return ::stat(Local(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
  }

 private Q_SLOTS:
  void init() {
    dir_ = std::make_unique<QTemporaryDir>();
    QVERIFY(dir_->isValid());
  }
  void cleanup() { dir_.reset(); }

  void filterListPairsLabelsWithPatterns() {
    QCOMPARE(BuildFilterList("*.*|*.txt"), QStringList{"*.* (*.txt)"});
    QCOMPARE(BuildFilterList("*.html|*.*"), QStringList{"*.html (*)"});
    QCOMPARE(BuildFilterList("*.*"), QStringList{"*.* (*)"});
    QCOMPARE(BuildFilterList("*.exe|"), QStringList{"*.exe (*.exe)"});
    QCOMPARE(BuildFilterList(""), QStringList{});
  }

  // A big file comes whole; what is missing or not a regular file is refused with its reason,
  // and a pipe that nobody writes never holds the read up.
  void readTakesTheWholeFileOrSaysWhy_data() {
    QTest::addColumn<QString>("name");  // made in the folder, or an absolute path
    QTest::addColumn<QString>("reason");
    QTest::newRow("big file") << "big" << QString();
    QTest::newRow("missing") << "missing" << QString::fromLocal8Bit(std::strerror(ENOENT));
    QTest::newRow("folder") << "folder"
                            << "It is a folder, not a regular file.";
    QTest::newRow("fifo") << "fifo"
                          << "It is a named pipe (FIFO), not a regular file.";
    QTest::newRow("link to a fifo") << "fifo-link"
                                    << "It is a named pipe (FIFO), not a regular file.";
    QTest::newRow("/dev/zero") << "/dev/zero"
                               << "It is a character device, not a regular file.";
  }
  void readTakesTheWholeFileOrSaysWhy() {
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QByteArray big;
    if (name == "big") {
      big.resize(8 << 20);
      for (qsizetype i = 0; i < big.size(); ++i) big[i] = char(i % 251);
      WriteAll(path("big"), big);
    }
    QVERIFY(::mkfifo(Local(path("fifo")).constData(), 0600) == 0);
    QVERIFY(QFile::link(path("fifo"), path("fifo-link")));
    QVERIFY(QDir(dir_->path()).mkdir("folder"));

    const QString target = name.startsWith('/') ? name : path(name);
    QByteArray bytes = "before";
    auto read = std::async(std::launch::async,
                           [&] { return ReadWholeFile(target, qint64(1) << 30, bytes); });
    if (read.wait_for(std::chrono::seconds(10)) == std::future_status::timeout) {
      // A writer lets a read held up on the pipe go, so that the test can end.
      const int writer = ::open(Local(path("fifo")).constData(), O_WRONLY | O_NONBLOCK);
      if (writer >= 0) ::close(writer);
      read.wait();
      QFAIL("the read was held up");
    }
    QCOMPARE(read.get(), reason);
    QCOMPARE(bytes, reason.isEmpty() ? big : QByteArray());
  }

  void readStopsAtItsLimitWhateverTheSizeSays() {
    // Files under /proc report a size of 0 and hold more.
    QByteArray bytes;
    QCOMPARE(ReadWholeFile("/proc/self/status", 1 << 20, bytes), QString());
    QVERIFY(bytes.contains("Name:"));
    const QString reason = ReadWholeFile("/proc/self/status", 16, bytes);
    QVERIFY2(reason.contains("larger than 16 bytes"), qPrintable(reason));
    QVERIFY(bytes.isEmpty());
    WriteAll(path("exact.txt"), "0123456789");
    QCOMPARE(ReadWholeFile(path("exact.txt"), 10, bytes), QString());
    QCOMPARE(bytes, QByteArray("0123456789"));
    QVERIFY(!ReadWholeFile(path("exact.txt"), 9, bytes).isEmpty());
  }

  // A shorter text leaves no tail of the longer one, and nothing is left beside the file.
  void writeReplacesTheWholeFile() {
    WriteAll(path("doc.txt"), "a longer old text\r\nand its second line\r\n");
    QCOMPARE(WriteFileAtomically(path("doc.txt"), "new\n"), QString());
    QCOMPARE(ReadAll(path("doc.txt")), QByteArray("new\n"));
    QCOMPARE(WriteFileAtomically(path("doc.txt"), std::string()), QString());
    QCOMPARE(ReadAll(path("doc.txt"), "<missing>"), QByteArray());
    QCOMPARE(FolderEntries(dir_->path()), QStringList{"doc.txt"});
  }

  void failedWriteKeepsTheOldFileAndSaysWhy_data() {
    QTest::addColumn<bool>("full");
    QTest::newRow("read-only disk") << false;
    QTest::newRow("full disk") << true;
  }
  void failedWriteKeepsTheOldFileAndSaysWhy() {
    QFETCH(bool, full);
    SmallDisk disk(64);
    if (!disk.mounted()) QSKIP(qPrintable("No small disk: " + disk.why()));
    const QString file = disk.filePath("kept.txt");
    WriteAll(file, "old text\r\n");
    // Read-only for root as well, which a folder's permissions are not.
    QVERIFY(full ? disk.fill(0) : disk.makeReadOnly());
    const QStringList entries = FolderEntries(disk.path());
    QCOMPARE(WriteFileAtomically(file, std::string(100 * 1024, 'n')),
             QString::fromLocal8Bit(std::strerror(full ? ENOSPC : EROFS)));
    QCOMPARE(ReadAll(file), QByteArray("old text\r\n"));
    QCOMPARE(FolderEntries(disk.path()), entries);
  }

  // A file anyone may write, in a folder that takes no new file (made as nobody, where root
  // writes anywhere): the folder is named as what refused, and the file is left as it was.
  void folderThatTakesNoFileIsNamed() {
    const QString folder = path("shared"), file = folder + "/doc.txt";
    QVERIFY(QDir().mkdir(folder));
    WriteAll(file, "old\r\n");
    QVERIFY(::chmod(Local(file).constData(), 0666) == 0 &&
            ::chmod(Local(folder).constData(), 0555) == 0 &&
            ::chmod(Local(dir_->path()).constData(), 0711) == 0);
    const bool root = ::geteuid() == 0;
    if (root && ::seteuid(65534) != 0) QSKIP("cannot act as nobody");
    const QString reason = WriteFileAtomically(file, "new\n");
    if (root && ::seteuid(0) != 0) qFatal("cannot act as root again");
    QCOMPARE(reason, "no file can be made in its folder " + folder + ": " + std::strerror(EACCES));
    QCOMPARE(ReadAll(file), QByteArray("old\r\n"));
  }

  void newFileTakesTheUsersCreationMask() {
    // The mask is read, never set for a moment: other threads may be creating files.
    const mode_t before = ::umask(027);
    const QString reason = WriteFileAtomically(path("new.txt"), "text\n");
    const mode_t during = ::umask(before);
    QVERIFY2(reason.isEmpty(), qPrintable(reason));
    QCOMPARE(during, mode_t(027));
    struct stat st {};
    QVERIFY(::stat(Local(path("new.txt")).constData(), &st) == 0);
    QCOMPARE(st.st_mode & 07777, mode_t(0640));
  }

  // Whatever the file it replaces allowed, and whatever the creation mask, nobody else may
  // read it, not even for the moment before it is complete.
  void userOnlyFileIsReadableByTheUserAlone_data() {
    QTest::addColumn<bool>("replacing");
    QTest::addColumn<bool>("inFolder");
    QTest::newRow("new, by path") << false << false;
    QTest::newRow("replacing one open to all, by path") << true << false;
    QTest::newRow("replacing one open to all, in an open folder") << true << true;
  }
  void userOnlyFileIsReadableByTheUserAlone() {
    QFETCH(bool, replacing);
    QFETCH(bool, inFolder);
    if (replacing) {
      WriteAll(path("notes"), "old");
      QVERIFY(::chmod(QFile::encodeName(path("notes")).constData(), 0666) == 0);
    }
    const int folder = ::open(QFile::encodeName(dir_->path()).constData(), O_RDONLY | O_DIRECTORY);
    AtomicWriteOptions how;
    how.userOnly = true;
    if (inFolder) how.folder = folder;
    const mode_t mask = ::umask(0);
    const QString reason = WriteFileAtomically(inFolder ? "notes" : path("notes"), "unsaved", how);
    ::umask(mask);
    ::close(folder);
    QVERIFY2(reason.isEmpty(), qPrintable(reason));
    QCOMPARE(ReadAll(path("notes")), QByteArray("unsaved"));
    QCOMPARE(Mode(path("notes")), mode_t(0600));
    QCOMPARE(guitest::FolderEntries(dir_->path()), QStringList{"notes"});
  }

  // Within an open folder the file is never reached through a link, and a temporary file of
  // the caller's that a write cut short left is taken over, not left beside it.
  void writeInAnOpenFolderRefusesALinkAndTakesOverItsTemporary() {
    WriteAll(path("elsewhere"), "kept");
    QVERIFY(QFile::link(path("elsewhere"), path("copy")));
    WriteAll(path("copy.tmp"), "half of an earlier write");
    const int folder = ::open(QFile::encodeName(dir_->path()).constData(), O_RDONLY | O_DIRECTORY);
    AtomicWriteOptions how;
    how.folder = folder;
    how.temporary = QStringLiteral("copy.tmp");
    const QString refused = WriteFileAtomically(QStringLiteral("copy"), "new", how);
    QVERIFY2(refused.contains(QStringLiteral("a symbolic link")), qPrintable(refused));
    QCOMPARE(ReadAll(path("elsewhere")), QByteArray("kept"));

    QVERIFY(QFile::remove(path("copy")));
    const QString reason = WriteFileAtomically(QStringLiteral("copy"), "new", how);
    ::close(folder);
    QVERIFY2(reason.isEmpty(), qPrintable(reason));
    QCOMPARE(ReadAll(path("copy")), QByteArray("new"));
    QCOMPARE(guitest::FolderEntries(dir_->path()), (QStringList{"copy", "elsewhere"}));
  }
  void droppedFilesAreTheLocalOnes() {
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a b.txt")),
                  QUrl(QStringLiteral("https://example.org/x.txt")),
                  QUrl::fromLocalFile(QStringLiteral("/tmp/ü.html"))});
    QCOMPARE(DroppedFiles(&data),
             (QStringList{QStringLiteral("/tmp/a b.txt"), QStringLiteral("/tmp/ü.html")}));
    QMimeData text;
    text.setText(QStringLiteral("/tmp/a.txt"));
    QVERIFY(DroppedFiles(&text).isEmpty());
    QVERIFY(DroppedFiles(nullptr).isEmpty());
  }

  // A drop of files is taken and its first file handed on once the drop is over; dragged text
  // reaches the box as before.
  void fileDropHandsOnTheFirstFileAfterTheDrop() {
    QPlainTextEdit box;
    FileDropTarget target;
    target.watch(box.viewport());
    QSignalSpy dropped(&target, &FileDropTarget::fileDropped);
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(path("first.txt")), QUrl::fromLocalFile(path("next.txt"))});
    const QPoint at(5, 5);
    QDragEnterEvent enter(at, Qt::CopyAction, &files, Qt::LeftButton, {});
    QApplication::sendEvent(box.viewport(), &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(at, Qt::CopyAction, &files, Qt::LeftButton, {});
    QApplication::sendEvent(box.viewport(), &drop);
    QVERIFY(drop.isAccepted());
    QCOMPARE(dropped.count(), 0);
    QTRY_COMPARE(dropped.count(), 1);
    QCOMPARE(dropped.at(0).at(0).toString(), path("first.txt"));
    QVERIFY(box.toPlainText().isEmpty());

    QMimeData words;
    words.setText(QStringLiteral("dropped words"));
    QDragEnterEvent enterText(at, Qt::CopyAction, &words, Qt::LeftButton, {});
    QApplication::sendEvent(box.viewport(), &enterText);
    QDropEvent dropText(at, Qt::CopyAction, &words, Qt::LeftButton, {});
    QApplication::sendEvent(box.viewport(), &dropText);
    Settle();
    QCOMPARE(box.toPlainText(), QStringLiteral("dropped words"));
    QCOMPARE(dropped.count(), 1);
  }

  // The INI file read and written: case, blanks and quotes ignored on reading; a write
  // changes one value in place, or adds the key (and its section, and the file), keeping
  // every other line as it was.
  void iniFileReadAndWritten_data() {
    QTest::addColumn<QByteArray>("before");  // "-" for no file
    QTest::addColumn<QString>("section");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("read");
    QTest::addColumn<QByteArray>("after");  // once the key was set to "/b"
    const QByteArray quoted =
        "; settings\r\n[Other]\r\npreview_path=wrong\r\n"
        "  [ CONFIG ]  \r\n  Preview_Path  =  \"C:\\b\\x.exe\"  \r\n";
    QTest::newRow("case, blanks and quotes")
        << quoted << "config"
        << "preview_path"
        << "C:\\b\\x.exe"
        << QByteArray(
               "; settings\r\n[Other]\r\npreview_path=wrong\r\n  [ CONFIG ]  \r\n"
               "  Preview_Path  =/b\r\n");
    QTest::newRow("missing key") << quoted << "config"
                                 << "missing"
                                 << "" << quoted + "missing=/b\r\n";
    QTest::newRow("in place, other lines kept")
        << QByteArray("; kept\r\n[config]\r\nPreview_Path = old\r\nother=1\r\n\r\n[x]\r\ny=2\r\n")
        << "CONFIG"
        << "preview_path"
        << "old"
        << QByteArray("; kept\r\n[config]\r\nPreview_Path =/b\r\nother=1\r\n\r\n[x]\r\ny=2\r\n");
    QTest::newRow("no file") << QByteArray("-") << "config"
                             << "preview_path"
                             << "" << QByteArray("[config]\npreview_path=/b\n");
    QTest::newRow("key added at its section's end")
        << QByteArray("[config]\nfirst=1\n\n[next]\nz=0\n") << "config"
        << "preview_path"
        << "" << QByteArray("[config]\nfirst=1\npreview_path=/b\n\n[next]\nz=0\n");
  }
  void iniFileReadAndWritten() {
    QFETCH(QByteArray, before);
    QFETCH(QString, section);
    QFETCH(QString, key);
    QFETCH(QString, read);
    QFETCH(QByteArray, after);
    if (before != "-") WriteAll(ini(), before);
    QCOMPARE(ReadIniValue(ini(), section, key), read);
    QVERIFY(WriteIniValue(ini(), section, key, "/b").isEmpty());
    QCOMPARE(ReadAll(ini()), after);
    QCOMPARE(ReadIniValue(ini(), section, key), QString("/b"));
  }

  // The store as another thread read it: marked seen, a change made since that read comes as
  // a change even where the watch had already looked, and none comes where it is unchanged.
  void storeSeenElsewhereBringsOnlyLaterChanges() {
    const QString store = path(QStringLiteral("templates.dat"));
    WriteAll(store, "a");
    StoreWatch watch(store, nullptr);
    QSignalSpy changes(&watch, &StoreWatch::changed);
    const StoreStamp read = StoreStamp::of(store);
    AppendAll(store, "b");
    QTRY_COMPARE(changes.count(), 1);  // looked, and left to the owner
    watch.markSeen(read);
    QTRY_COMPARE(changes.count(), 2);
    watch.markSeen(StoreStamp::of(store));
    QTest::qWait(400);
    QCOMPARE(changes.count(), 2);
  }

  void readIniStringCutsAtNulAndTrailingSpaces() {
    QCOMPARE(CutAtNul(QString("ab") + QChar(u'\0') + "cd"), QString("ab"));
    QCOMPARE(CutAtNul(QString(QChar(u'\0'))), QString());
    QCOMPARE(CutAtNul("plain"), QString("plain"));
    WriteAll(ini(), "[config]\npreview_path=\"/b   \"\n");
    QCOMPARE(ReadIniString(ini(), "config", "preview_path"), QString("/b"));
  }
};

QTEST_MAIN(FilesTest)
#include "files_test.moc"
