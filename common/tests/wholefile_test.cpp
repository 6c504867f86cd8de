// The atomic writer's options for files that are not a user's document: a file of the user's
// alone, and a write that stays within a folder the caller opened.
#include <QtTest>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/wholefile.h"
#include "testsupport/guitest.h"

using guitest::ReadAll;
using guitest::WriteAll;

class WholeFileTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> dir_;

  QString path(const QString& name) const { return dir_->filePath(name); }
  static mode_t Mode(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
  }

 private Q_SLOTS:
  void init() { dir_ = std::make_unique<QTemporaryDir>(); }

  // Whatever the file it replaces allowed, and whatever the creation mask, nobody else may
  // read it, not even for the moment before it is complete.
  void UserOnlyFileIsReadableByTheUserAlone_data() {
    QTest::addColumn<bool>("replacing");
    QTest::addColumn<bool>("inFolder");
    QTest::newRow("new, by path") << false << false;
    QTest::newRow("replacing one open to all, by path") << true << false;
    QTest::newRow("replacing one open to all, in an open folder") << true << true;
  }
  void UserOnlyFileIsReadableByTheUserAlone() {
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
  void WriteInAnOpenFolderRefusesALinkAndTakesOverItsTemporary() {
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
};

QTEST_MAIN(WholeFileTest)
#include "wholefile_test.moc"
