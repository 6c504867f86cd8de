// The INI layout of quorpad.ini on real files: what the reader takes, what the writer keeps.
#include <QTemporaryDir>
#include <QtTest>

#include "common/inifile.h"
#include "testsupport/guitest.h"

using guitest::ReadAll;
using guitest::WriteAll;

class IniFileTest : public QObject {
  Q_OBJECT

  QTemporaryDir dir_;
  QString ini() const { return dir_.filePath(QStringLiteral("quorpad.ini")); }

 private Q_SLOTS:
  void init() { QFile::remove(ini()); }

  void readerIgnoresCaseBlanksAndQuotes() {
    WriteAll(ini(),
             "; settings\r\n[Other]\r\npreview_path=wrong\r\n"
             "  [ CONFIG ]  \r\n  Preview_Path  =  \"C:\\b\\x.exe\"  \r\n");
    QCOMPARE(ReadIniValue(ini(), "config", "preview_path"), QString("C:\\b\\x.exe"));
    QCOMPARE(ReadIniValue(ini(), "config", "missing"), QString());
    QCOMPARE(ReadIniValue(dir_.filePath("none.ini"), "config", "preview_path"), QString());
  }

  void writerReplacesInPlaceAndKeepsEveryOtherLine() {
    const QByteArray before =
        "; kept\r\n[config]\r\nPreview_Path = old\r\nother=1\r\n\r\n[x]\r\ny=2\r\n";
    WriteAll(ini(), before);
    QVERIFY(WriteIniValue(ini(), "CONFIG", "preview_path", "/usr/bin/b").isEmpty());
    QCOMPARE(
        ReadAll(ini()),
        QByteArray(
            "; kept\r\n[config]\r\nPreview_Path =/usr/bin/b\r\nother=1\r\n\r\n[x]\r\ny=2\r\n"));
  }

  void writerCreatesFileSectionAndKey() {
    QVERIFY(WriteIniValue(ini(), "config", "preview_path", "/b").isEmpty());
    QCOMPARE(ReadAll(ini()), QByteArray("[config]\npreview_path=/b\n"));
    WriteAll(ini(), "[config]\nfirst=1\n\n[next]\nz=0\n");
    QVERIFY(WriteIniValue(ini(), "config", "preview_path", "/b").isEmpty());
    QCOMPARE(ReadAll(ini()), QByteArray("[config]\nfirst=1\npreview_path=/b\n\n[next]\nz=0\n"));
  }

  void readIniStringCutsAtNulAndTrailingSpaces() {
    QCOMPARE(CutAtNul(QString("ab") + QChar(u'\0') + "cd"), QString("ab"));
    QCOMPARE(CutAtNul(QString(QChar(u'\0'))), QString());
    QCOMPARE(CutAtNul("plain"), QString("plain"));
    WriteAll(ini(), "[config]\npreview_path=\"/b   \"\n");
    QCOMPARE(ReadIniString(ini(), "config", "preview_path"), QString("/b"));
  }
};

QTEST_MAIN(IniFileTest)
#include "inifile_test.moc"
