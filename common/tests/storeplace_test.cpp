// Where the template store and the settings file live: beside a program whose folder can be
// written, else in the user's own folders, started from the program folder's copies.
#include <QtTest>

#include <sys/stat.h>

#include "common/programfolder.h"
#include "common/textconv.h"
#include "testsupport/guitest.h"

using guitest::ReadAll;
using guitest::WriteAll;

class StorePlaceTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> home_;  // a fresh home for each case

  static uint Mode(const QString& path) {
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
  }

 private Q_SLOTS:
  void init() {
    home_ = std::make_unique<QTemporaryDir>();
    qputenv("XDG_DATA_HOME", QFile::encodeName(home_->filePath(QStringLiteral("data"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home_->filePath(QStringLiteral("config"))));
  }
  void cleanup() { SetProgramFolder(QString()); }

  void WritableProgramFolderKeepsEverythingBesideTheProgram() {
    QTemporaryDir program;
    SetProgramFolder(program.path());
    const StorePlace& place = ChosenStorePlace();
    QCOMPARE(place.storeFolder, program.path());
    QCOMPARE(place.settingsFile, program.filePath(QStringLiteral("quorpad.ini")));
    QVERIFY(!place.perUser && place.problem.isEmpty());
    QVERIFY(!QFileInfo::exists(home_->filePath(QStringLiteral("data"))));
  }

  // A program folder nobody may write (a package's): the user's own store and settings,
  // first copied from the program folder's where it has them, never copied over later.
  void ReadOnlyProgramFolderGivesTheUserAStoreOfTheirOwn_data() {
    QTest::addColumn<bool>("seeded");
    QTest::newRow("with the program folder's store and settings") << true;
    QTest::newRow("with none") << false;
  }
  void ReadOnlyProgramFolderGivesTheUserAStoreOfTheirOwn() {
    QFETCH(bool, seeded);
    guitest::SmallDisk program;
    if (!program.mounted()) QSKIP(qPrintable(program.why()));
    const QByteArray seed("1\x04Greeting\x04Hello\r\n");
    if (seeded) {
      WriteAll(program.filePath(QStringLiteral("templates.dat")), seed);
      WriteAll(program.filePath(QStringLiteral("quorpad.ini")), "[config]\npreview_path=/x\n");
    }
    QVERIFY(program.makeReadOnly());
    SetProgramFolder(program.path());
    QVERIFY(PlannedStorePlace().perUser);
    QVERIFY(!QFileInfo::exists(home_->filePath(QStringLiteral("data"))));  // planning makes nothing
    const StorePlace place = ChosenStorePlace();
    const QString folder = home_->filePath(QStringLiteral("data/quorpad"));
    QCOMPARE(place.storeFolder, folder);
    QCOMPARE(place.settingsFile, home_->filePath(QStringLiteral("config/quorpad/quorpad.ini")));
    QVERIFY(place.perUser && place.problem.isEmpty());
    QCOMPARE(Mode(folder), 0700u);
    const QString store = folder + QStringLiteral("/templates.dat");
    QCOMPARE(ReadAll(store), seeded ? seed : QByteArray());
    QCOMPARE(QFileInfo::exists(place.settingsFile), seeded);
    QVERIFY(StoreLine(place).endsWith(store + QStringLiteral(" (yours)")));

    // The engine of every window works on the user's store.
    QCOMPARE(NewEngine()->Template_AddB(u"Sign", u"Regards"), templates::kTrue);
    const QByteArray changed = ReadAll(store);
    QVERIFY(changed.endsWith("Sign\x04Regards\r\n"));
    SetProgramFolder(program.path());  // a later start
    QCOMPARE(ChosenStorePlace().storeFolder, folder);
    QCOMPARE(ReadAll(store), changed);
    QCOMPARE(ReadAll(program.filePath(QStringLiteral("templates.dat")), "missing"),
             seeded ? seed : QByteArray("missing"));
  }

  // Where the user's folder cannot be made, the start says so, naming it and why, and the
  // program folder's store is still read.
  void UserFolderThatCannotBeMadeIsSaid() {
    guitest::SmallDisk program;
    if (!program.mounted()) QSKIP(qPrintable(program.why()));
    QVERIFY(program.makeReadOnly());
    const QString blocker = home_->filePath(QStringLiteral("file"));
    WriteAll(blocker, "not a folder");
    qputenv("XDG_DATA_HOME", QFile::encodeName(blocker));
    SetProgramFolder(program.path());
    const StorePlace& place = ChosenStorePlace();
    QCOMPARE(place.storeFolder, program.path());
    QVERIFY(!place.perUser);
    QVERIFY2(place.problem.contains(blocker + QStringLiteral("/quorpad")),
             qPrintable(place.problem));
    QVERIFY2(place.problem.contains(QStringLiteral("cannot be made")), qPrintable(place.problem));
  }
};

QTEST_MAIN(StorePlaceTest)
#include "storeplace_test.moc"
