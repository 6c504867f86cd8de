// The settings file, the configuration dialog and the About box, on real files.
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>

#include "common/version.h"
#include "settings/frmAbout.h"
#include "settings/frmConfig.h"
#include "settings/inifile.h"
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

class SettingsTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<StoreFolder> folder_;
  ScriptedModal answers_;
  QString ini() const { return folder_->filePath("quorpad.ini"); }
  frmConfig& reopen() {
    delete LoadedConfigDialog();
    return ConfigDialog();
  }

 private Q_SLOTS:
  void init() {
    folder_ = std::make_unique<StoreFolder>();
    answers_.reset();
    SetModal(&answers_);
  }
  void cleanup() {
    delete LoadedConfigDialog();
    delete LoadedAboutDialog();
    SetModal(nullptr);
    folder_.reset();
  }

  void ReaderIgnoresCaseBlanksAndQuotes() {
    WriteAll(ini(),
             "; settings\r\n[Other]\r\npreview_path=wrong\r\n"
             "  [ CONFIG ]  \r\n  Preview_Path  =  \"C:\\b\\x.exe\"  \r\n");
    QCOMPARE(ReadIniValue(ini(), "config", "preview_path"), QString("C:\\b\\x.exe"));
    QCOMPARE(ReadIniValue(ini(), "config", "missing"), QString());
    QCOMPARE(ReadIniValue(folder_->filePath("none.ini"), "config", "preview_path"), QString());
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
    QCOMPARE(PathBox(dialog)->text(), QString("/usr/bin/Browser"));
    WriteAll(ini(), "[config]\npreview_path=/usr/bin/Browser\n; marker\n");
    Click(dialog, "cmdDone");  // unchanged: nothing written, the marker stays
    QVERIFY(ReadAll(ini()).endsWith("; marker\n"));

    frmConfig& again = reopen();
    PathBox(again)->setText("/usr/bin/browser");  // a change of case only is a change
    Click(again, "cmdDone");
    QCOMPARE(ReadIniValue(ini(), "config", "preview_path"), QString("/usr/bin/browser"));
  }

  void ClearingTheBoxKeepsTheOldPath() {
    WriteAll(ini(), "[config]\npreview_path=/old\n");
    frmConfig& dialog = ConfigDialog();
    PathBox(dialog)->clear();
    Click(dialog, "cmdApply");
    Click(dialog, "cmdDone");
    QCOMPARE(PathBox(reopen())->text(), QString("/old"));
  }

  void BrowseFillsTheBoxWithoutWriting() {
    frmConfig& dialog = ConfigDialog();
    answers_.files << "/opt/browser" << QString();
    Click(dialog, "cmdBrowse");
    QCOMPARE(PathBox(dialog)->text(), QString("/opt/browser"));
    Click(dialog, "cmdBrowse");  // cancelled: the box stays
    QCOMPARE(PathBox(dialog)->text(), QString("/opt/browser"));
    QVERIFY(!QFile::exists(ini()));
  }

  void FailedWriteIsReportedAndNotTakenAsSaved() {
    WriteAll(ini(), "[config]\npreview_path=/old\n");
    frmConfig& dialog = ConfigDialog();
    // A folder in the way of the save makes the write fail, even for root.
    QFile::remove(ini());
    QDir(folder_->path()).mkdir("quorpad.ini");
    PathBox(dialog)->setText("/new");
    Click(dialog, "cmdDone");
    QCOMPARE(answers_.asked.size(), 1);
    QVERIFY(answers_.asked.first().contains(ini()));
    QCOMPARE(dialog.savedBrowserPath(), QString("/old"));
    QVERIFY(LoadedConfigDialog());  // Done stays open so the user can try again
    QDir(folder_->path()).rmdir("quorpad.ini");
  }

  void AboutShowsBothVersions() {
    QCOMPARE(ProgramVersionLine(0, 1, 5), QString("v0.1.5a"));
    frmAbout& about = AboutDialog();
    QCOMPARE(LabelText(about, "lblVer"), QString("v" QUORPAD_VERSION "a"));
    QCOMPARE(LabelText(about, "lblTempEngine"),
             QString("Using Quorvin Template Engine v" TEMPLATE_VERSION));
    const templates::tmpeng* first = about.Temp.get();
    ShowAboutDialog();
    QCOMPARE(about.Temp.get(), first);  // brought forward, not loaded again
    about.close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!LoadedAboutDialog());
    QCOMPARE(LabelText(AboutDialog(), "lblVer"), QString("v" QUORPAD_VERSION "a"));
  }
};

QTEST_MAIN(SettingsTest)
#include "settings_test.moc"
