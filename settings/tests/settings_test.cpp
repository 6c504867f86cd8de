// The settings file, the configuration dialog and the About box, on real files.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include <sys/stat.h>

#include "common/dialogwindow.h"
#include "common/inifile.h"
#include "common/programfolder.h"
#include "common/version.h"
#include "common/versionlines.h"
#include "settings/frmAbout.h"
#include "settings/frmConfig.h"
#include "template/version.h"
#include "testsupport/guitest.h"

using namespace guitest;

namespace {

QLineEdit* PathBox(const frmConfig& dialog) {
  return Child<QLineEdit>(&dialog, "txtPath");
}
void Click(const frmConfig& dialog, const QString& button) {
  Child<QPushButton>(&dialog, button)->click();
}
QString LabelText(const frmAbout& about, const QString& label) {
  return Child<QLabel>(&about, label)->text();
}

}  // namespace

class SettingsTest : public Fixture {
  Q_OBJECT

 private:
  // Each dialog's one instance, kept as the program keeps it.
  ProgramWideDialog<frmConfig> config_;
  ProgramWideDialog<frmAbout> about_;
  QString ini() const { return folder_->filePath("quorpad.ini"); }
  frmConfig& reopen() {
    delete config_.loaded();
    return config_.get();
  }

  // Done with `value` in the box where the settings file at `file` cannot take it: the failure
  // names the file and the system's reason, the file keeps every byte, nothing is left beside
  // it, and the dialog stays open with the old value as the saved one.
  void doneFailsCleanly(const QString& file, const QString& value, const QString& reason) {
    const QByteArray before = ReadAll(file);
    const QStringList entries = guitest::FolderEntries(QFileInfo(file).path());
    frmConfig& dialog = config_.get();
    const QString saved = dialog.savedBrowserPath();
    PathBox(dialog)->setText(value);
    Click(dialog, "cmdDone");
    QCOMPARE(modal_.asked.size(), 1);
    const QString& message = modal_.asked.first();
    QVERIFY2(message.contains(file) && message.contains(reason), qPrintable(message));
    QCOMPARE(ReadAll(file), before);
    QCOMPARE(guitest::FolderEntries(QFileInfo(file).path()), entries);
    QCOMPARE(dialog.savedBrowserPath(), saved);
    QVERIFY(config_.loaded());
  }
  void tearDown() override {
    delete config_.loaded();
    delete about_.loaded();
  }

 private Q_SLOTS:

  void doneWritesOnlyAChange() {
    WriteAll(ini(), "[config]\npreview_path=/usr/bin/Browser\n");
    frmConfig& dialog = config_.get();
    QCOMPARE(PathBox(dialog)->text(), QString("/usr/bin/Browser"));
    WriteAll(ini(), "[config]\npreview_path=/usr/bin/Browser\n; marker\n");
    Click(dialog, "cmdDone");  // unchanged: nothing written, the marker stays
    QVERIFY(ReadAll(ini()).endsWith("; marker\n"));

    frmConfig& again = reopen();
    PathBox(again)->setText("/usr/bin/browser");  // a change of case only is a change
    Click(again, "cmdDone");
    QCOMPARE(ReadIniValue(ini(), "config", "preview_path"), QString("/usr/bin/browser"));
  }

  void clearingTheBoxKeepsTheOldPath() {
    WriteAll(ini(), "[config]\npreview_path=/old\n");
    frmConfig& dialog = config_.get();
    PathBox(dialog)->clear();
    Click(dialog, "cmdApply");
    Click(dialog, "cmdDone");
    QCOMPARE(PathBox(reopen())->text(), QString("/old"));
  }

  void browseFillsTheBoxWithoutWriting() {
    frmConfig& dialog = config_.get();
    modal_.files << "/opt/browser" << QString();
    Click(dialog, "cmdBrowse");
    QCOMPARE(PathBox(dialog)->text(), QString("/opt/browser"));
    Click(dialog, "cmdBrowse");  // cancelled: the box stays
    QCOMPARE(PathBox(dialog)->text(), QString("/opt/browser"));
    QVERIFY(!QFile::exists(ini()));
  }

  void failedWriteIsReportedAndNotTakenAsSaved() {
    WriteAll(ini(), "[config]\npreview_path=/old\n");
    frmConfig& dialog = config_.get();
    // A folder in the way of the save makes the write fail, even for root.
    QFile::remove(ini());
    QDir(folder_->path()).mkdir("quorpad.ini");
    PathBox(dialog)->setText("/new");
    Click(dialog, "cmdDone");
    QCOMPARE(modal_.asked.size(), 1);
    QVERIFY(modal_.asked.first().contains(ini()));
    QCOMPARE(dialog.savedBrowserPath(), QString("/old"));
    QVERIFY(config_.loaded());  // Done stays open so the user can try again
    QDir(folder_->path()).rmdir("quorpad.ini");
  }

  void fullDiskKeepsTheSettingsFile_data() {
    QTest::addColumn<qint64>("left");
    QTest::addColumn<int>("size");
    QTest::newRow("full") << qint64(0) << 10;
    QTest::newRow("8 KiB left, 20 KiB") << qint64(8192) << 20 * 1024;
  }
  void fullDiskKeepsTheSettingsFile() {
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

  void fileSizeLimitKeepsTheSettingsFile() {
    if (!guitest::InChild()) {
      const QString failed = guitest::RunInChildWithFileSizeLimit(4096);
      QVERIFY2(failed.isEmpty(), qPrintable(failed));
      return;
    }
    WriteAll(ini(), "[config]\npreview_path=/old\n");
    doneFailsCleanly(ini(), "/" + QString(10000, QLatin1Char('b')),
                     QString::fromLocal8Bit(std::strerror(EFBIG)));
  }

  void pipeInPlaceOfTheSettingsFileIsNeitherReadNorReplaced() {
    // A pipe with no writer would block the dialog for good if it were opened.
    QVERIFY(::mkfifo(QFile::encodeName(ini()).constData(), 0600) == 0);
    QCOMPARE(ReadIniString(ini(), "config", "preview_path"), QString());
    doneFailsCleanly(ini(), "/new", "It is a named pipe (FIFO), not a regular file.");
    struct stat st {};
    QVERIFY(::lstat(QFile::encodeName(ini()).constData(), &st) == 0 && S_ISFIFO(st.st_mode));
    QFile::remove(ini());
  }

  void aboutShowsBothVersions() {
    QCOMPARE(ProgramVersionLine(0, 1, 5), QString("v0.1.5a"));
    frmAbout& about = about_.get();
    QCOMPARE(LabelText(about, "lblVer"), QString("v" QUORPAD_VERSION "a"));
    QCOMPARE(LabelText(about, "lblTempEngine"),
             QString("Using Quorvin Template Engine v" TEMPLATE_VERSION));
    const templates::tmpeng* first = about.Temp.get();
    BringForward(about_.get());
    QCOMPARE(about.Temp.get(), first);        // brought forward, not loaded again
    QTest::keyClick(&about, Qt::Key_Escape);  // the box has no Cancel
    QVERIFY(about.isVisible());
    about.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!about_.loaded());
    QCOMPARE(LabelText(about_.get(), "lblVer"), QString("v" QUORPAD_VERSION "a"));
  }

  // The version lines stand out from the box's light artwork in a dark theme as in a light
  // one: the darkest pixel of each line's text is far darker than the artwork behind it.
  void aboutIsReadableInDarkAndLightThemes_data() {
    QTest::addColumn<bool>("dark");
    QTest::newRow("light") << false;
    QTest::newRow("dark") << true;
  }
  void aboutIsReadableInDarkAndLightThemes() {
    QFETCH(bool, dark);
    const QPalette before = QApplication::palette();
    if (dark) {
      QPalette palette;
      palette.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
      palette.setColor(QPalette::WindowText, QColor(0xee, 0xee, 0xee));
      palette.setColor(QPalette::Base, QColor(0x2a, 0x2a, 0x2a));
      palette.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
      QApplication::setPalette(palette);
    }
    frmAbout& about = about_.get();
    for (const char* name : {"lblVer", "lblTempEngine"}) {
      auto* label = about.findChild<QLabel*>(QString::fromLatin1(name));
      QVERIFY(label);
      const QImage shot = label->parentWidget()->grab(label->geometry()).toImage();
      int darkest = 255;
      int lightest = 0;
      for (int y = 0; y < shot.height(); ++y)
        for (int x = 0; x < shot.width(); ++x) {
          const int grey = qGray(shot.pixel(x, y));
          darkest = std::min(darkest, grey);
          lightest = std::max(lightest, grey);
        }
      QVERIFY2(
          lightest - darkest > 128,
          qPrintable(QStringLiteral("%1: text %2 on %3").arg(name).arg(darkest).arg(lightest)));
    }
    about.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::setPalette(before);
  }
};

QTEST_MAIN(SettingsTest)
#include "settings_test.moc"
