// At a scale factor of 2 every window keeps the proportions of its design and is drawn at
// the screen's full resolution, icons included.
#include <QtTest>

#include "editor/frmMain.h"
#include "manager/frmManage.h"
#include "settings/frmAbout.h"
#include "settings/frmConfig.h"
#include "testsupport/guitest.h"

class HiDpiTest : public QObject {
  Q_OBJECT

 private:
  // The client size is the design's twips at the screen's DPI, whatever the scale.
  static void checkSize(QWidget* w, int twipsWide, int twipsHigh) {
    QCOMPARE(w->width(), qRound(twipsWide * w->logicalDpiX() / 1440.0));
    QCOMPARE(w->height(), qRound(twipsHigh * w->logicalDpiY() / 1440.0));
    // Drawn at twice the pixels, not stretched from a half-size picture.
    const QPixmap picture = w->grab();
    QCOMPARE(picture.devicePixelRatio(), 2.0);
    QCOMPARE(picture.width(), w->width() * 2);
  }

  guitest::ScriptedModal modal_;

 private Q_SLOTS:
  void initTestCase() {
    QCOMPARE(qApp->devicePixelRatio(), 2.0);
    SetModal(&modal_);
  }

  void DialogsKeepTheirDesignedSize() {
    guitest::StoreFolder folder;
    folder.write("");
    checkSize(&ManageDialog(), 7950, 5445);
    checkSize(&AboutDialog(), 3855, 3255);
    checkSize(&ConfigDialog(), 4800, 3195);
    guitest::CloseAll();
  }

  void IconsAreSharpAtEverySize() {
    guitest::StoreFolder folder;
    folder.write("");
    frmMain& w = MainWindow();
    for (const QIcon& icon : {w.windowIcon(), ManageDialog().windowIcon()}) {
      for (int size : {16, 32, 256}) {
        const QPixmap pixmap = icon.pixmap(QSize(size, size), 2.0);
        QCOMPARE(pixmap.width(), size * 2);  // rendered for the size asked, never scaled up
      }
    }
    guitest::CloseAll();
    QVERIFY(modal_.shown.isEmpty());
  }
};

QTEST_MAIN(HiDpiTest)
#include "hidpi_test.moc"
