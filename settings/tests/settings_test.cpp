// The settings file, the configuration dialog and the About box, on real files.
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include <sys/stat.h>

#include "documents/documentfile.h"
#include "editor/modal.h"
#include "editor/program.h"
#include "editor/tests/gui_test_support.h"
#include "settings/frmAbout.h"
#include "settings/frmConfig.h"
#include "settings/inifile.h"

namespace {

class Answers : public ModalSeam {
 public:
  QStringList files;
  QStringList messages;
  QMessageBox::StandardButton message(QWidget*, const QString&, const QString& text,
                                      QMessageBox::Icon, QMessageBox::StandardButtons,
                                      QMessageBox::StandardButton) override {
    messages << text;
    return QMessageBox::Ok;
  }
  QString fileName(QWidget*, bool, const QString&, const QString&, const QStringList&) override {
    return files.isEmpty() ? QString() : files.takeFirst();
  }
};

// Empty for a missing file, and for a pipe, which is never opened.
QByteArray ReadAll(const QString& path) {
  QByteArray bytes;
  ReadWholeFile(path, 1 << 20, bytes);
  return bytes;
}

void WriteAll(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  QVERIFY(f.open(QIODevice::WriteOnly));
  f.write(bytes);
}

}  // namespace

class SettingsTest : public QObject {
  Q_OBJECT

 private:
  QTemporaryDir dir_;
  Answers answers_;
  QString ini() const { return dir_.filePath("quorpad.ini"); }
  frmConfig& reopen() {
    delete LoadedConfigDialog();
    return ConfigDialog();
  }
  // Done with `value` in the box where the settings file at `file` cannot take it: the failure
  // names the file and the system's reason, the file keeps every byte, nothing is left beside
  // it, and the dialog stays open with the old value as the saved one.
  void doneFailsCleanly(const QString& file, const QString& value, const QString& reason) {
    const QByteArray before = ReadAll(file);
    const QStringList entries = guitest::FolderEntries(QFileInfo(file).path());
    frmConfig& dialog = ConfigDialog();
    const QString saved = dialog.savedBrowserPath();
    dialog.txtPath->setText(value);
    dialog.cmdDone->click();
    QCOMPARE(answers_.messages.size(), 1);
    const QString& message = answers_.messages.first();
    QVERIFY2(message.contains(file) && message.contains(reason), qPrintable(message));
    QCOMPARE(ReadAll(file), before);
    QCOMPARE(guitest::FolderEntries(QFileInfo(file).path()), entries);
    QCOMPARE(dialog.savedBrowserPath(), saved);
    QVERIFY(LoadedConfigDialog());
  }

 private Q_SLOTS:
  void init() {
    QFile::remove(ini());
    SetProgramFolder(dir_.path());
    answers_ = Answers();
    SetModal(&answers_);
  }
  void cleanup() {
    delete LoadedConfigDialog();
    delete LoadedAboutDialog();
    SetModal(nullptr);
  }

  void ReaderIgnoresCaseBlanksAndQuotes() {
    WriteAll(ini(),
             "; settings\r\n[Other]\r\npreview_path=wrong\r\n"
             "  [ CONFIG ]  \r\n  Preview_Path  =  \"C:\\b\\x.exe\"  \r\n");
    QCOMPARE(ReadIniValue(ini(), "config", "preview_path"), QString("C:\\b\\x.exe"));
    QCOMPARE(ReadIniValue(ini(), "config", "missing"), QString());
    QCOMPARE(ReadIniValue(dir_.filePath("none.ini"), "config", "preview_path"), QString());
  }

  void WriterReplacesInPlaceAndKeepsEveryOtherLine() {
    const QByteArray before =
        "; kept\r\n[config]\r\nPreview_Path = old\r\nother=1\r\n\r\n[x]\r\ny=2\r\n";
    WriteAll(ini(), before);
    QVERIFY(WriteIniValue(ini(), "CONFIG", "preview_path", "/usr/bin/b").isEmpty());
    QCOMPARE(
        ReadAll(ini()),
        QByteArray(
            "; kept\r\n[config]\r\nPreview_Path =/usr/bin/b\r\nother=1\r\n\r\n[x]\r\ny=2\r\n"));
  }

  void WriterCreatesFileSectionAndKey() {
    QVERIFY(WriteIniValue(ini(), "config", "preview_path", "/b").isEmpty());
    QCOMPARE(ReadAll(ini()), QByteArray("[config]\npreview_path=/b\n"));
    WriteAll(ini(), "[config]\nfirst=1\n\n[next]\nz=0\n");
    QVERIFY(WriteIniValue(ini(), "config", "preview_path", "/b").isEmpty());
    QCOMPARE(ReadAll(ini()), QByteArray("[config]\nfirst=1\npreview_path=/b\n\n[next]\nz=0\n"));
  }

  void ReadIniStringCutsAtNulAndTrailingSpaces() {
    QCOMPARE(CutAtNul(QString("ab") + QChar(u'\0') + "cd"), QString("ab"));
    QCOMPARE(CutAtNul(QString(QChar(u'\0'))), QString());
    QCOMPARE(CutAtNul("plain"), QString("plain"));
    WriteAll(ini(), "[config]\npreview_path=\"/b   \"\n");
    QCOMPARE(ReadIniString(ini(), "config", "preview_path"), QString("/b"));
  }

  void DoneWritesOnlyAChange() {
    WriteAll(ini(), "[config]\npreview_path=/usr/bin/Browser\n");
    frmConfig& dialog = ConfigDialog();
    QCOMPARE(dialog.txtPath->text(), QString("/usr/bin/Browser"));
    WriteAll(ini(), "[config]\npreview_path=/usr/bin/Browser\n; marker\n");
    dialog.cmdDone->click();  // unchanged: nothing written, the marker stays
    QVERIFY(ReadAll(ini()).endsWith("; marker\n"));

    frmConfig& again = reopen();
    again.txtPath->setText("/usr/bin/browser");  // a change of case only is a change
    again.cmdDone->click();
    QCOMPARE(ReadIniValue(ini(), "config", "preview_path"), QString("/usr/bin/browser"));
  }

  void ClearingTheBoxKeepsTheOldPath() {
    WriteAll(ini(), "[config]\npreview_path=/old\n");
    frmConfig& dialog = ConfigDialog();
    dialog.txtPath->clear();
    dialog.cmdApply->click();
    dialog.cmdDone->click();
    QCOMPARE(reopen().txtPath->text(), QString("/old"));
  }

  void BrowseFillsTheBoxWithoutWriting() {
    frmConfig& dialog = ConfigDialog();
    answers_.files << "/opt/browser" << QString();
    dialog.cmdBrowse->click();
    QCOMPARE(dialog.txtPath->text(), QString("/opt/browser"));
    dialog.cmdBrowse->click();  // cancelled: the box stays
    QCOMPARE(dialog.txtPath->text(), QString("/opt/browser"));
    QVERIFY(!QFile::exists(ini()));
  }

  void FailedWriteIsReportedAndNotTakenAsSaved() {
    WriteAll(ini(), "[config]\npreview_path=/old\n");
    frmConfig& dialog = ConfigDialog();
    // A folder in the way of the save makes the write fail, even for root.
    QFile::remove(ini());
    QDir(dir_.path()).mkdir("quorpad.ini");
    dialog.txtPath->setText("/new");
    dialog.cmdDone->click();
    QCOMPARE(answers_.messages.size(), 1);
    QVERIFY(answers_.messages.first().contains(ini()));
    QCOMPARE(dialog.savedBrowserPath(), QString("/old"));
    QVERIFY(LoadedConfigDialog());  // Done stays open so the user can try again
    QDir(dir_.path()).rmdir("quorpad.ini");
  }

  void FullDiskKeepsTheSettingsFile_data() {
    QTest::addColumn<qint64>("left");
    QTest::addColumn<int>("size");
    QTest::newRow("full") << qint64(0) << 10;
    QTest::newRow("8 KiB left, 20 KiB") << qint64(8192) << 20 * 1024;
  }
  void FullDiskKeepsTheSettingsFile() {
    QFETCH(qint64, left);
    QFETCH(int, size);
    guitest::SmallDisk disk(64);
    if (!disk.mounted()) QSKIP(qPrintable("No small disk to fill: " + disk.why()));
    SetProgramFolder(disk.path());
    const QString file = disk.filePath("quorpad.ini");
    WriteAll(file, "[config]\r\npreview_path=/old\r\n");
    QVERIFY(disk.fill(left));
    doneFailsCleanly(file, "/" + QString(size, QLatin1Char('b')),
                     QString::fromLocal8Bit(std::strerror(ENOSPC)));
  }

  void FileSizeLimitKeepsTheSettingsFile() {
    if (!guitest::InChild()) {
      const QString failed = guitest::RunInChildWithFileSizeLimit(4096);
      QVERIFY2(failed.isEmpty(), qPrintable(failed));
      return;
    }
    WriteAll(ini(), "[config]\npreview_path=/old\n");
    doneFailsCleanly(ini(), "/" + QString(10000, QLatin1Char('b')),
                     QString::fromLocal8Bit(std::strerror(EFBIG)));
  }

  void PipeInPlaceOfTheSettingsFileIsNeitherReadNorReplaced() {
    // A pipe with no writer would block the dialog for good if it were opened.
    QVERIFY(::mkfifo(QFile::encodeName(ini()).constData(), 0600) == 0);
    QCOMPARE(ReadIniString(ini(), "config", "preview_path"), QString());
    doneFailsCleanly(ini(), "/new", "It is a named pipe (FIFO), not a regular file.");
    struct stat st {};
    QVERIFY(::lstat(QFile::encodeName(ini()).constData(), &st) == 0 && S_ISFIFO(st.st_mode));
    QFile::remove(ini());
  }

  void AboutShowsBothVersions() {
    QCOMPARE(ProgramVersionLine(0, 1, 5), QString("v0.1.5a"));
    frmAbout& about = AboutDialog();
    QCOMPARE(about.lblVer->text(), QString("v0.1.27a"));
    QCOMPARE(about.lblTempEngine->text(), QString("Using Quorvin Template Engine v0.2.9"));
    const templates::tmpeng* first = about.Temp.get();
    ShowAboutDialog();
    QCOMPARE(about.Temp.get(), first);  // brought forward, not loaded again
    about.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!LoadedAboutDialog());
    QCOMPARE(AboutDialog().lblVer->text(), QString("v0.1.27a"));
  }
};

QTEST_MAIN(SettingsTest)
#include "settings_test.moc"
