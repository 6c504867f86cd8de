// At a scale factor of 2 every window keeps the proportions of its design and is drawn at
// the screen's full resolution, icons included; at a 14 point font every dialog grows so
// that its texts are shown whole, and scrolls where it gets less room than it needs.
#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QStyleOptionGroupBox>
#include <QTreeWidget>
#include <QtTest>

#include "common/dialogwindow.h"
#include "common/plaintext.h"
#include "editor/documentpanels.h"
#include "editor/findbar.h"
#include "editor/frmMain.h"
#include "manager/frmManage.h"
#include "settings/frmAbout.h"
#include "settings/frmConfig.h"
#include "testsupport/apptest.h"

class HiDpiTest : public guitest::Fixture {
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

  void setUpOnce() override { QCOMPARE(qApp->devicePixelRatio(), 2.0); }
  void tearDown() override { guitest::CloseAll(); }

 private Q_SLOTS:

  void dialogsKeepTheirDesignedSize() {
    folder_->write("");
    checkSize(&ManageDialog(), 7950, 5445);
    checkSize(&AboutDialog(), 3855, 3255);
    // The configuration's "Browser Path:" is wider in this font than its design allows
    // before the box beside it: the dialog grows as a whole, keeping its proportions.
    frmConfig& config = ConfigDialog();
    QVERIFY(config.width() > qRound(4800 * config.logicalDpiX() / 1440.0));
    QVERIFY(qAbs(qRound(config.width() * 3195.0 / 4800) - config.height()) <= 1);
  }

  void dialogsFitTheDesktopFont_data() { guitest::AddDesktopFontRows(); }
  void dialogsFitTheDesktopFont() {
    QFETCH(qreal, points);
    const guitest::DesktopFont font(points);
    folder_->write("");
    guitest::CheckFits(&ManageDialog());
    // And with its filter line open over the list.
    QTest::keyClick(ManageDialog().findChild<QTreeWidget*>(), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(ManageDialog().findChild<QLineEdit*>(QStringLiteral("txtFilter"))->isVisible());
    guitest::CheckFits(&ManageDialog());
    guitest::CheckFits(&AboutDialog());
    guitest::CheckFits(&ConfigDialog());
    // The save prompt, as quorpad asks it.
    QMessageBox prompt(QMessageBox::NoIcon, kAppTitle,
                       QStringLiteral("Do you wish to save this file:\r\n/home/someone/notes.txt"),
                       QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    guitest::CheckFits(&prompt);
    // The main window grows by the dialogs' rule, and with Replace open every caption of
    // its Find bar is whole, the boxes twenty characters wide.
    frmMain& w = MainWindow();
    QCOMPARE(w.width(), qRound(8700 * FontScale(&w) * w.logicalDpiX() / 1440.0) -
                            (w.frameGeometry().width() - w.width()));
    w.findBar()->open(true);
    guitest::CheckFits(&w);
    for (auto* box : w.findBar()->findChildren<QLineEdit*>())
      QVERIFY(box->width() >= 20 * box->fontMetrics().averageCharWidth());
    // A long path in the first panel: shown whole or said whole in the tooltip; the panel
    // keeps its least room beside the others, the format notice among them.
    QTemporaryDir folder2;
    const QString path = folder2.filePath(QString(110, QLatin1Char('p')));
    // Windows-1252, so that an edit changes it; long, so that the caret panel widens at its end.
    guitest::WriteAll(path, "caf\xe9\n" + QByteArray("line\n").repeated(12000));
    w.openFromOutside(path);
    QTRY_COMPARE(w.statusPanel()->text(), path);
    // Side by side, none over another, when the caret panel widens at the end.
    w.findChild<QPlainTextEdit*>()->moveCursor(QTextCursor::End);
    QTRY_VERIFY(w.statusPanel()->geometry().right() < w.panels()->caret()->geometry().left());
    w.findChild<QPlainTextEdit*>()->insertPlainText(QString::fromUtf8("\xc5\x99"));
    for (QLabel* panel :
         {w.statusPanel(), w.panels()->caret(), w.panels()->notice(), w.panels()->unsaved()}) {
      QTRY_VERIFY(panel->isVisible() && !panel->text().isEmpty());
      const QString whole = panel->accessibleDescription();
      QTRY_VERIFY2(panel->toolTip() == PlainToolTip(whole) ||
                       (whole == panel->text() && panel->fontMetrics().horizontalAdvance(whole) <=
                                                      panel->contentsRect().width()),
                   qPrintable(panel->objectName() + ": " + whole));
    }
    QVERIFY(w.statusPanel()->width() >= qRound(1440 * FontScale(&w) * w.logicalDpiX() / 1440.0));
    int right = w.statusPanel()->geometry().right();
    for (QWidget* panel : w.panels()->all())
      if (panel->isVisible()) {
        QVERIFY2(panel->geometry().left() > right, qPrintable(panel->objectName()));
        right = panel->geometry().right();
      }
    QVERIFY(right < w.statusBar()->width());
    if (points > 0) {
      // Larger than the design, and still whole where the window manager gives it less room:
      // the rest is reached by scrolling.
      frmManage& manager = ManageDialog();
      QVERIFY(manager.width() > qRound(7950 * manager.logicalDpiX() / 1440.0));
      manager.setMinimumSize(0, 0);
      manager.resize(manager.width() / 2, manager.height());
      QTRY_VERIFY(manager.findChild<QScrollArea*>()->horizontalScrollBar()->isVisible());
    }
    guitest::CloseAll();
  }

  void iconsAreSharpAtEverySize() {
    folder_->write("");
    frmMain& w = MainWindow();
    QTRY_VERIFY(!w.windowIcon().isNull());  // drawn once the window is up
    for (const QIcon& icon : {w.windowIcon(), ManageDialog().windowIcon()}) {
      for (int size : {16, 32, 256}) {
        const QPixmap pixmap = icon.pixmap(QSize(size, size), 2.0);
        QCOMPARE(pixmap.width(), size * 2);  // rendered for the size asked, never scaled up
      }
    }
    // The About box's artwork too, drawn for its own pixels (its lettering left out).
    auto* artwork = AboutDialog().findChild<QWidget*>(QStringLiteral("Picture1"));
    QImage drawn(artwork->size() * 2, QImage::Format_ARGB32_Premultiplied);
    drawn.setDevicePixelRatio(2);
    drawn.fill(Qt::black);
    artwork->render(&drawn, QPoint(), QRegion(), QWidget::RenderFlags());
    QSet<QRgb> colours;
    for (int y = 0; y < drawn.height(); y += 4) colours.insert(drawn.pixel(drawn.width() / 2, y));
    QVERIFY2(colours.size() > 8, "the artwork is not drawn");
    guitest::CloseAll();
    QVERIFY(modal_.shown.isEmpty());
  }
};

QTEST_MAIN(HiDpiTest)
#include "hidpi_test.moc"
