// Where the template store and the settings file live: beside a program whose folder can be
// written, else in the user's own folders, started from the program folder's copies.
#include <QtTest>

#include <sys/stat.h>

#include <cstring>

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
  void cleanup() {
    SetPackageFolders(QString());
    SetProgramFolder(QString());
  }

  void writableProgramFolderKeepsEverythingBesideTheProgram() {
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
  void readOnlyProgramFolderGivesTheUserAStoreOfTheirOwn_data() {
    QTest::addColumn<bool>("seeded");
    QTest::newRow("with the program folder's store and settings") << true;
    QTest::newRow("with none") << false;
  }
  void readOnlyProgramFolderGivesTheUserAStoreOfTheirOwn() {
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

  // Where the user's folder cannot be made, the start says so, naming it and the reason
  // that kept it (or the first folder missing on the way) from being made, and the program
  // folder's store is still read.
  void userFolderThatCannotBeMadeIsSaid_data() {
    QTest::addColumn<bool>("fileInTheWay");
    QTest::newRow("a file in the way") << true;
    QTest::newRow("a read-only disk under the folders to make") << false;
  }
  void userFolderThatCannotBeMadeIsSaid() {
    QFETCH(bool, fileInTheWay);
    guitest::SmallDisk program;
    if (!program.mounted()) QSKIP(qPrintable(program.why()));
    QVERIFY(program.makeReadOnly());
    const QString data = fileInTheWay ? home_->filePath(QStringLiteral("file"))
                                      : program.filePath(QStringLiteral("home/.local/share"));
    if (fileInTheWay) WriteAll(data, "not a folder");
    qputenv("XDG_DATA_HOME", QFile::encodeName(data));
    SetProgramFolder(program.path());
    const StorePlace& place = ChosenStorePlace();
    QCOMPARE(place.storeFolder, program.path());
    QVERIFY(!place.perUser);
    const QString reason = QString::fromLocal8Bit(std::strerror(fileInTheWay ? ENOTDIR : EROFS));
    QVERIFY2(place.problem.contains(data + QStringLiteral("/quorpad: ") + reason),
             qPrintable(place.problem));
    QVERIFY2(place.problem.contains(QStringLiteral("cannot be kept")), qPrintable(place.problem));
  }

  // A package's folder is never the store's place, even for root, who may write to it.
  void packageFolderIsNeverTheStoresPlace() {
    QTemporaryDir program;
    SetPackageFolders(program.path());
    SetProgramFolder(program.path());
    QVERIFY(ChosenStorePlace().perUser);
    QCOMPARE(ChosenStorePlace().storeFolder, home_->filePath(QStringLiteral("data/quorpad")));
    QVERIFY(!DialogFolder().startsWith(program.path()));
    SetPackageFolders(QStringLiteral("/nowhere"));
    SetProgramFolder(program.path());
    QVERIFY(!ChosenStorePlace().perUser);
    QCOMPARE(DialogFolder(), program.path());
  }

  // The user's own store and settings folders are used only when they are the user's alone
  // (as every private folder is): another user's folder, one others may write to, or a link,
  // is refused by name and owner, and quorpad writes nothing there nor elsewhere instead;
  // settings in such a folder give way to the program folder's, and the start says why.
  void userFoldersThatAreNotTheUsersAloneAreRefused_data() {
    QTest::addColumn<QString>("kind");
    for (const char* kind :
         {"other user", "group-writable", "link", "store of another user", "store as a link"})
      QTest::newRow(kind) << QString::fromLatin1(kind);
  }
  void userFoldersThatAreNotTheUsersAloneAreRefused() {
    QFETCH(QString, kind);
    const bool other = kind.contains(QLatin1String("other"));
    if (::geteuid() != 0 && other) QSKIP("a second user's files need root to make");
    QTemporaryDir program;
    SetPackageFolders(program.path());
    const QString folder = home_->filePath(QStringLiteral("data/quorpad"));
    const QString settings = home_->filePath(QStringLiteral("config/quorpad"));
    const QString store = folder + QStringLiteral("/templates.dat");
    const QString victim = home_->filePath(QStringLiteral("notes.txt"));
    WriteAll(victim, "private\n");
    QVERIFY(QDir().mkpath(folder) && QDir().mkpath(settings));
    ::chmod(QFile::encodeName(folder).constData(), 0700);
    const QByteArray f =
        QFile::encodeName(kind.startsWith(QLatin1String("store")) ? store : folder);
    if (other) WriteAll(store, "1\x04planted\x04x\r\n");
    if (other) QCOMPARE(::chown(f.constData(), 65534, 65534), 0);
    if (other) QCOMPARE(::chown(QFile::encodeName(settings).constData(), 65534, 65534), 0);
    if (kind == QLatin1String("group-writable")) QCOMPARE(::chmod(f.constData(), 0770), 0);
    if (kind == QLatin1String("link")) QVERIFY(QDir(folder).removeRecursively());
    if (kind == QLatin1String("link")) QVERIFY(QFile::link(home_->path(), folder));
    if (kind == QLatin1String("store as a link")) QVERIFY(QFile::link(victim, store));
    SetProgramFolder(program.path());
    const StorePlace& place = ChosenStorePlace();
    QVERIFY2(place.refused.contains(folder), qPrintable(place.refused));
    QCOMPARE(place.refused.contains(QStringLiteral("nobody")), other);
    QCOMPARE(place.settingsFile.startsWith(program.path()), other);
    QCOMPARE(place.problem.contains(settings) && place.problem.contains("nobody"), other);
    bool refused = false;
    try {
      NewEngine()->Template_AddB(u"Sig", u"x");
    } catch (const templates::EngineError& e) {
      refused = e.number() == templates::kErrPermissionDenied;
    }
    QVERIFY(refused);
    QCOMPARE(ReadAll(victim), QByteArray("private\n"));
  }
};

QTEST_MAIN(StorePlaceTest)
#include "storeplace_test.moc"
