// The main window on the offscreen platform, a window of the test's own: the templates popup,
// layout, clipboard commands, Exit, the menus and the tray icon's clicks.
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTextCursor>
#include <QThread>
#include <QToolButton>
#include <QWheelEvent>
#include <QWindow>

#include "common/longjob.h"
#include "common/storewatch.h"
#include "common/twips.h"
#include "documents/recovery.h"
#include "editor/documentpanels.h"
#include "editor/findbar.h"
#include "editor/frmMain.h"
#include "editor/mainlayout.h"
#include "editor/menuslots.h"
#include "editor/templatepicker.h"
#include "ownwindow.h"
#include "testsupport/guitest.h"

using namespace guitest;

namespace {

// Starts work a quarter done that goes on until it is stopped.
void RunUntilStopped(LongJob& job, const QString& what) {
  job.start<int>(
      what,
      [](JobProgress& progress) {
        progress.report(1, 4);
        while (!progress.cancelled()) QThread::msleep(1);
        return 0;
      },
      [](int&) {});
}

}  // namespace

class MainWindowTest : public Fixture {
  Q_OBJECT

 protected:
  void setUp() override { QApplication::clipboard()->clear(); }
  void tearDown() override { CloseOwnWindows(); }

 private Q_SLOTS:
  void onlyRightButtonReleaseOpensPopupAtPointer() {
    folder_->write(Numbered(1, 1));
    frmMain& w = ShownOwnMainWindow();
    w.move(0, 0);  // room below the pointer, so the popup need not shift to fit the screen
    Settle();
    QWidget* viewport = w.textBox()->viewport();
    QMenu* popup = w.templatesPopup();
    const QPoint at(10, 12);

    QTest::mouseClick(viewport, Qt::LeftButton, {}, at);
    QTest::mouseClick(viewport, Qt::MiddleButton, {}, at);
    QVERIFY(!popup->isVisible());

    for (const QPoint& p : {at, QPoint(40, 30)}) {
      QTest::mouseClick(viewport, Qt::RightButton, {}, p);
      QVERIFY(popup->isVisible());
      QCOMPARE(popup->pos(), viewport->mapToGlobal(p));
      popup->close();
    }
  }

  void keyboardOpensPopup_data() {
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("modifiers");
    QTest::newRow("Shift+F10") << int(Qt::Key_F10) << int(Qt::ShiftModifier);
    QTest::newRow("Menu key") << int(Qt::Key_Menu) << int(Qt::NoModifier);
  }
  void keyboardOpensPopup() {
    QFETCH(int, key);
    QFETCH(int, modifiers);
    folder_->write(Numbered(1, 1));
    frmMain& w = ShownOwnMainWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.textBox()->setFocus();
    QTest::keyClick(w.textBox(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QVERIFY(w.templatesPopup()->isVisible());
  }

  // The document box holds the file commands' keys (the menus carry none) and redo's.
  void documentKeysRunTheMenuCommands() {
    folder_->write(QByteArray());
    frmMain& w = ShownOwnMainWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.textBox()->setFocus();
    QTest::keyClicks(w.textBox(), QStringLiteral("ab"));
    QTest::keyClick(w.textBox(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(w.textBox(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(w.textBox()->toPlainText(), QStringLiteral("ab"));
    QTest::keyClick(w.textBox(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(w.textBox(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(w.textBox()->toPlainText(), QStringLiteral("ab"));
    // Ctrl+G takes the caret to the start of the line asked for; a cancel leaves it.
    for (const QString& line : {QStringLiteral("line 2"), QStringLiteral("line 3")}) {
      QTest::keyClick(w.textBox(), Qt::Key_Return);
      QTest::keyClicks(w.textBox(), line);
    }
    modal_.numbers << 2;
    QTest::keyClick(w.textBox(), Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(w.textBox()->textCursor().blockNumber(), 1);
    QCOMPARE(w.textBox()->textCursor().positionInBlock(), 0);
    QTest::keyClick(w.textBox(), Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(w.textBox()->textCursor().blockNumber(), 1);
    QCOMPARE(modal_.asked, (QStringList{"Go to Line", "Go to Line"}));
    modal_.asked.clear();
    w.textBox()->selectAll();
    QTest::keyClicks(w.textBox(), QStringLiteral("ab"));
    const QString saved = folder_->filePath(QStringLiteral("keys.txt"));
    modal_.files << saved;
    QTest::keyClick(w.textBox(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(modal_.asked, QStringList{"Save File"});
    QCOMPARE(ReadAll(saved), QByteArray("ab"));
    QTest::keyClick(w.textBox(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(w.textBox(), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(w.textBox(), Qt::Key_N, Qt::ControlModifier);
    // Open and New ask first, as their menu items do, since the document holds text.
    const QString ask = QStringLiteral("Do you wish to save this file:\r\n") + saved;
    QCOMPARE(modal_.asked, (QStringList{"Save File", "Save As", ask, "Open File", ask}));
    QCOMPARE(w.textBox()->toPlainText(), QString());
  }

  void layoutKeepsLeastSizeAndFollowsWindow_data() {
    QTest::addColumn<QSize>("outer");  // twips
    QTest::addColumn<QSize>("laidOut");
    QTest::newRow("too narrow") << QSize(5999, 5000) << QSize(6001, 5000);
    QTest::newRow("least width stays") << QSize(6000, 5000) << QSize(6000, 5000);
    QTest::newRow("too low") << QSize(7000, 3999) << QSize(7000, 4001);
    QTest::newRow("least height stays") << QSize(7000, 4000) << QSize(7000, 4000);
    QTest::newRow("both too small") << QSize(100, 0) << QSize(6001, 4001);
  }
  void layoutKeepsLeastSizeAndFollowsWindow() {
    QFETCH(QSize, outer);
    QFETCH(QSize, laidOut);
    const MainLayout l = LayoutMainWindow(outer.width(), outer.height());
    QCOMPARE(QSize(l.windowWidth, l.windowHeight), laidOut);
    QCOMPARE(l.resized, outer != laidOut);
    QCOMPARE(l.panelWidth, laidOut.width());
    QCOMPARE(QSize(l.frameWidth, l.frameHeight), laidOut - QSize(120, 680));
    QCOMPARE(QSize(l.textWidth, l.textHeight), laidOut - QSize(120 + 99, 680 + 200));
  }

  void tooSmallWindowGrowsToLeastSize() {
    folder_->write(Numbered(1, 1));
    frmMain& w = ShownOwnMainWindow();
    // Every time, not only the first: a size corrected once is no excuse the next time.
    for (const QSize& size : {QSize(60, 40), QSize(500, 500), QSize(60, 40), QSize(60, 40)}) {
      w.resize(size);
      Settle();
      const QSize outer = w.frameGeometry().size();
      QVERIFY2(ToTwipsX(&w, outer.width()) >= 6001 && ToTwipsY(&w, outer.height()) >= 4001,
               qPrintable(QStringLiteral("%1x%2 after %3x%4")
                              .arg(outer.width())
                              .arg(outer.height())
                              .arg(size.width())
                              .arg(size.height())));
    }
    // A size above the least stays as it is.
    w.resize(700, 500);
    Settle();
    QCOMPARE(w.size(), QSize(700, 500));
  }

  void minimizingWithoutTrayKeepsWindowShown() {
    folder_->write(Numbered(1, 1));
    frmMain& w = ShownOwnMainWindow();
    w.showMinimized();
    Settle();
    QVERIFY(!w.hidesToTray());
    QVERIFY(w.isVisible());
  }

  void exitEmptiesClipboardOnlyOfItsOwnText_data() {
    QTest::addColumn<QString>("command");
    QTest::addColumn<int>("selected");   // characters copied
    QTest::addColumn<QString>("other");  // what another program then puts there
    QTest::addColumn<QString>("left");
    QTest::newRow("own text, tray Exit") << "mnuExit" << 4 << "" << QString();
    QTest::newRow("own text, popup Exit") << "mnuTempExit" << 4 << "" << QString();
    QTest::newRow("other program's text") << "mnuExit" << 4 << "theirs"
                                          << "theirs";
    QTest::newRow("same text from another program") << "mnuExit" << 4 << "mine"
                                                    << "mine";
    QTest::newRow("picture after an empty copy") << "mnuExit" << 0 << "picture"
                                                 << "picture";
  }
  void exitEmptiesClipboardOnlyOfItsOwnText() {
    QFETCH(QString, command);
    QFETCH(int, selected);
    QFETCH(QString, other);
    QFETCH(QString, left);
    folder_->write(Numbered(1, 1));
    frmMain& w = ShownOwnMainWindow();
    QTest::keyClicks(w.textBox(), QStringLiteral("mine"));
    SelectText(w.textBox(), 0, selected);
    w.action(QStringLiteral("mnuCopy"))->trigger();
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("mine").left(selected));
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (other == QLatin1String("picture")) {
      QImage picture(4, 4, QImage::Format_RGB32);
      picture.fill(Qt::red);
      clipboard->setImage(picture);
    } else if (!other.isEmpty()) {
      clipboard->setText(other);
    }

    QSignalSpy destroyed(&w, &QObject::destroyed);
    w.action(command)->trigger();
    Settle();
    QCOMPARE(destroyed.count(), 1);
    QCOMPARE(LoadedOwnMainWindow(), nullptr);
    if (left == QLatin1String("picture")) {
      QVERIFY(!clipboard->image().isNull());
    } else {
      QCOMPARE(clipboard->text(), left);
    }
    QCOMPARE(modal_.shown.size(), 1);  // the save prompt, answered No
  }

  void clipboardCommandsWorkOnSelection() {
    folder_->write(Numbered(1, 1));
    frmMain& w = OwnMainWindow();
    QPlainTextEdit* doc = w.textBox();
    QClipboard* clipboard = QApplication::clipboard();
    doc->setPlainText(QStringLiteral("alpha beta"));

    clipboard->setText(QStringLiteral("before"));
    SelectText(doc, 2, 0);
    w.action(QStringLiteral("mnuCopy"))->trigger();
    QCOMPARE(clipboard->text(), QString());
    w.action(QStringLiteral("mnuCut"))->trigger();
    QCOMPARE(doc->toPlainText(), QStringLiteral("alpha beta"));

    SelectText(doc, 0, 6);
    w.action(QStringLiteral("mnuCut"))->trigger();
    QCOMPARE(clipboard->text(), QStringLiteral("alpha "));
    QCOMPARE(doc->toPlainText(), QStringLiteral("beta"));

    clipboard->setText(QStringLiteral("one\ntwo"));
    SelectText(doc, 0, 4);
    w.action(QStringLiteral("mnuPaste"))->trigger();
    QCOMPARE(doc->toPlainText(), QStringLiteral("one\ntwo"));
    QCOMPARE(doc->blockCount(), 2);
  }

  void menusHaveTheirCaptionsAndOnlyTwoDisabledItems() {
    folder_->write(QByteArray());
    frmMain& w = OwnMainWindow();
    auto captions = [](QMenu* menu) {
      QStringList list;
      for (QAction* a : menu->actions()) list << (a->isSeparator() ? "-" : a->text());
      return list;
    };
    QCOMPARE(captions(w.trayMenu()).join(u','),
             QStringLiteral("New,Open...,Save,Save As...,-,Configuration,About,-,Exit"));
    QCOMPARE(captions(w.templatesPopup()).join(u','),
             QString(NotSet() + ',').repeated(kTemplateSlots) +
                 "-,Manage Templates,Preview Page,-,File,Edit,-,Exit");
    QCOMPARE(captions(w.findChild<QMenu*>(QStringLiteral("mnuTmp_File"))).join(u','),
             QStringLiteral("New,Open...,Save,Save As..."));
    QCOMPARE(captions(w.findChild<QMenu*>(QStringLiteral("mnuEdit"))).join(u','),
             QStringLiteral("Cut,Copy,Paste"));

    QStringList disabled;
    for (QAction* a : w.findChildren<QAction*>()) {
      if (!a->isEnabled()) disabled << a->objectName();
      QVERIFY2(a->shortcut().isEmpty(), qPrintable(a->objectName()));
    }
    disabled.sort();
    QCOMPARE(disabled, QStringList({"mnuConfig", "mnuPreview"}));
  }

  // The tray: its menu belongs to the icon, so that a D-Bus host can show it and an X11
  // tray opens it at the pointer; nothing pops it up by hand.
  void trayMenuIsTheIconsOwnAndNeverPoppedByHand() {
    folder_->write(QByteArray());
    frmMain& w = ShownOwnMainWindow();
    QVERIFY(w.trayIcon());
    QCOMPARE(w.trayIcon()->contextMenu(), w.trayMenu());
    Q_EMIT w.trayIcon()->activated(QSystemTrayIcon::Context);
    Settle();
    QVERIFY(!w.trayMenu()->isVisible());
    for (QWidget* top : QApplication::topLevelWidgets())
      QVERIFY2(top == &w || !top->isVisible(), qPrintable(top->objectName()));
  }

  // Here the icon has no place on screen, as an item that a D-Bus host draws: its primary
  // action (a trigger) restores like an X11 tray's double click.
  void trayActivationRestoresWindow_data() {
    QTest::addColumn<QSystemTrayIcon::ActivationReason>("reason");
    QTest::addColumn<QString>("before");
    QTest::newRow("host's activate, hidden") << QSystemTrayIcon::Trigger << "hidden";
    QTest::newRow("host's activate, maximized") << QSystemTrayIcon::Trigger << "maximized";
    QTest::newRow("double click, hidden") << QSystemTrayIcon::DoubleClick << "hidden";
    QTest::newRow("double click, maximized") << QSystemTrayIcon::DoubleClick << "maximized";
  }
  void trayActivationRestoresWindow() {
    QFETCH(QSystemTrayIcon::ActivationReason, reason);
    QFETCH(QString, before);
    folder_->write(QByteArray());
    frmMain& w = ShownOwnMainWindow();
    if (before == QLatin1String("hidden")) {
      w.hide();  // as in the tray
    } else {
      w.showMaximized();
      Settle();
      QVERIFY(w.isMaximized());
    }
    Q_EMIT w.trayIcon()->activated(reason);
    Settle();
    QVERIFY(w.isVisible());
    QVERIFY(!w.isMaximized());
    QVERIFY(!w.isMinimized());
  }

  void trayMiddleClickLeavesHiddenWindowHidden() {
    folder_->write(QByteArray());
    frmMain& w = ShownOwnMainWindow();
    w.hide();
    Q_EMIT w.trayIcon()->activated(QSystemTrayIcon::MiddleClick);
    Q_EMIT w.trayIcon()->activated(QSystemTrayIcon::Unknown);
    Settle();
    QVERIFY(!w.isVisible());
  }

  // On Wayland a menu opens as a popup of the window it belongs to, or not at all; one
  // without that parent becomes a stray top-level window.
  void popupsOpenAsPopupsOfTheirWindow() {
    folder_->write(QByteArray());
    frmMain& w = ShownOwnMainWindow();
    QMenu* popup = w.templatesPopup();
    w.showTemplatesPopupAtCaret();
    QTRY_VERIFY(popup->isVisible());
    QVERIFY(popup->windowHandle());
    QCOMPARE(popup->windowHandle()->type(), Qt::Popup);
    QCOMPARE(popup->windowHandle()->transientParent(), w.windowHandle());
    for (const char* name : {"mnuTmp_File", "mnuEdit"}) {
      auto* sub = w.findChild<QMenu*>(QLatin1String(name));
      QVERIFY(sub);
      popup->setActiveAction(sub->menuAction());
      QTest::keyClick(popup, Qt::Key_Right);
      QTRY_VERIFY2(sub->isVisible(), name);
      QCOMPARE(sub->windowHandle()->type(), Qt::Popup);
      QCOMPARE(sub->windowHandle()->transientParent(), popup->windowHandle());
      QTest::keyClick(sub, Qt::Key_Left);
      QTRY_VERIFY(!sub->isVisible());
    }
    popup->close();
  }

  // A slot shows its template's name on one line and cut short where it would stretch the
  // popup across the screen; it still holds the text whole.
  void slotShowsItsNameOnOneLine_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("shown");
    QTest::newRow("an access key's mark") << "R&D"
                                          << "R&&D";
    QTest::newRow("a tab") << "a\tb"
                           << "a b";
    QTest::newRow("a line break") << "line\r\nbreak" << QString::fromUtf8("line⏎break");
    QTest::newRow("a long name") << QString(100, 'L') << QString(80, 'L') + QChar(0x2026);
  }
  void slotShowsItsNameOnOneLine() {
    QFETCH(QString, name);
    QFETCH(QString, shown);
    folder_->write(QByteArray());
    frmMain* w = &OwnMainWindow();
    QVERIFY(w->Temp->Template_AddB(ToU16(name), u"text") != templates::kFalse);
    w->refillTemplateSlots(*w->Temp);
    QCOMPARE(w->templateSlot(1)->text(), shown);
    QCOMPARE(SlotTag(w->templateSlot(1)), QStringLiteral("text"));
  }

  void popupFollowsTheStoreWhoeverChangesIt() {
    folder_->write(Numbered(1, 3));
    frmMain* w = &OwnMainWindow();
    QCOMPARE(SlotCaption(w->templateSlot(3)), QString("Name 3"));

    // Another process rewrites it, as the engine does: a new file renamed over the old one.
    QProcess writer;
    writer.setWorkingDirectory(QFileInfo(folder_->store()).path());
    writer.start("/bin/sh", {"-c",
                             "printf '1\\004Other\\004text\\r\\n' > new.tmp && "
                             "mv new.tmp templates.dat"});
    QVERIFY(writer.waitForFinished(30000) && writer.exitCode() == 0);
    QTRY_COMPARE(SlotCaption(w->templateSlot(1)), QString("Other"));
    QCOMPARE(SlotTag(w->templateSlot(1)), QString("text"));
    // A template gone from the store leaves its slot as well.
    QCOMPARE(w->templateSlot(2)->text(), NotSet());
    QCOMPARE(SlotTag(w->templateSlot(2)), QString());

    // An add appends to the file in place, which only a watch on the file itself sees.
    folder_->append(Rec("1|Appended|more\r\n"));
    QTRY_COMPARE(SlotCaption(w->templateSlot(2)), QString("Appended"));
    QVERIFY(modal_.shown.isEmpty());
  }

  void storeThatBreaksKeepsTheSlotsAndIsReportedOnce() {
    folder_->write(Numbered(1, 2));
    frmMain* w = &OwnMainWindow();
    auto* watch = w->findChild<StoreWatch*>();
    QVERIFY(watch);
    QSignalSpy changes(watch, &StoreWatch::changed);

    QVERIFY(QFile::remove(folder_->store()));
    QTRY_COMPARE(changes.count(), 1);
    folder_->write(Rec("1|A|a\r\n|Name|Value\r\n"));  // broken another way
    QTRY_COMPARE(changes.count(), 2);
    QCOMPARE(modal_.shown.size(), 1);
    QVERIFY2(modal_.shown.first().contains(folder_->store()) &&
                 modal_.shown.first().contains("Error 53"),
             qPrintable(modal_.shown.first()));
    QCOMPARE(SlotCaption(w->templateSlot(2)), QString("Name 2"));

    // Mended, it is followed again; broken once more, it is reported once more.
    folder_->write(Numbered(5, 5));
    QTRY_COMPARE(SlotCaption(w->templateSlot(1)), QString("Name 5"));
    QCOMPARE(w->templateSlot(2)->text(), NotSet());
    folder_->write(Rec("|Name|Value\r\n"));
    QTRY_COMPARE(modal_.shown.size(), 2);
    QVERIFY2(modal_.shown.last().contains("Error 13"), qPrintable(modal_.shown.last()));
    QCOMPARE(SlotCaption(w->templateSlot(1)), QString("Name 5"));
  }

  // A line too long to wrap in time (one of a minified file, a template of one line) turns
  // wrapping off however it comes in; a text opened afresh without one turns it back on.
  void longLineTurnsWrappingOff_data() {
    QTest::addColumn<QString>("how");
    QTest::newRow("a file of one line") << "file";
    QTest::newRow("a template of one line") << "template";
  }
  void longLineTurnsWrappingOff() {
    QFETCH(QString, how);
    const QString line(300000, QLatin1Char('x'));
    folder_->write(Rec(("1|Long|" + line + "\r\n").toUtf8()));
    frmMain& w = OwnMainWindow();
    QPlainTextEdit* doc = w.textBox();
    QCOMPARE(doc->lineWrapMode(), QPlainTextEdit::WidgetWidth);
    QTemporaryDir files;
    const auto file = [&files](const QString& name, const QString& text) {
      const QString path = files.filePath(name);
      WriteAll(path, text.toUtf8());
      return path;
    };
    if (how == "file") {
      w.openFromOutside(file("one.json", line));
      QTRY_VERIFY(doc->document()->characterCount() > line.size());
    } else {
      w.templateSlot(1)->trigger();
    }
    QCOMPARE(doc->lineWrapMode(), QPlainTextEdit::NoWrap);
    doc->document()->setModified(false);
    w.openFromOutside(file("short.txt", QStringLiteral("short\nlines\n")));
    QTRY_COMPARE(doc->toPlainText(), QStringLiteral("short\nlines\n"));
    QCOMPARE(doc->lineWrapMode(), QPlainTextEdit::WidgetWidth);
  }

  void filledSlotReplacesSelectionWithItsLines() {
    folder_->write(Rec("1|Letter|Dear Sir,\x02\x03Yours\r\n1|Not Set|literal\r\n1|Not\tSet|\r\n"));
    frmMain& w = OwnMainWindow();
    QSignalSpy managerAsked(&w, &frmMain::emptySlotChosen);
    QPlainTextEdit* doc = w.textBox();
    doc->setPlainText(QStringLiteral("abc XYZ def"));
    SelectText(doc, 4, 3);
    w.templateSlot(1)->trigger();
    QCOMPARE(doc->toPlainText(), QStringLiteral("abc Dear Sir,\nYours def"));
    QCOMPARE(doc->blockCount(), 2);

    // A template that is merely named "Not Set" holds a value and is inserted, at the caret.
    SelectText(doc, 0, 0);
    w.templateSlot(2)->trigger();
    QVERIFY(doc->toPlainText().startsWith(QStringLiteral("literalabc")));
    // Nor is one whose name shows as "Not Set" and whose value is empty (a hand-made store).
    QCOMPARE(w.templateSlot(3)->text(), NotSet());
    QCOMPARE(SlotCaption(w.templateSlot(3)), QStringLiteral("Not\tSet"));
    w.templateSlot(3)->trigger();
    QCOMPARE(managerAsked.count(), 0);
    // A real empty slot asks for the manager.
    w.templateSlot(4)->trigger();
    QTRY_COMPARE(managerAsked.count(), 1);
  }

  // Exit's answer about unsaved changes decides their recovery copy: Cancel keeps the window
  // and the copy, No lets the copy go with the window.
  void exitAnswerDecidesTheRecoveryCopy() {
    folder_->write(QByteArray());
    QPointer<frmMain> w = &OwnMainWindow(true);
    w->recovery()->setDelays(30, 200);
    QSignalSpy written(w->recovery(), &RecoveryCopy::written);
    w->textBox()->insertPlainText(QStringLiteral("keep me"));
    QVERIFY(written.wait(5000));
    const QString copy = w->recovery()->filePath();
    modal_.buttons << QMessageBox::Cancel << QMessageBox::No;
    w->mnuExit_Click();
    QVERIFY(w && QFileInfo::exists(copy));
    w->mnuExit_Click();
    QTRY_VERIFY(!w);
    QVERIFY(!QFileInfo::exists(copy));
  }

  // The caret panel follows every move of the caret, not only edits, and says the text's
  // size while it is zoomed; screen readers hear what it says. The format panels' menus
  // open from the document's keys.
  void caretPanelFollowsEveryMove() {
    folder_->write(QByteArray());
    frmMain& w = ShownOwnMainWindow();
    w.textBox()->setPlainText(QStringLiteral("one\ntwo lines\nthree"));
    auto* caret = Child<QLabel>(&w, QStringLiteral("status_caret"));
    const struct {
      Qt::Key key;
      Qt::KeyboardModifiers modifiers;
      const char* shown;
    } moves[] = {{Qt::Key_End, Qt::ControlModifier, "Ln 3, Col 6"},
                 {Qt::Key_Home, Qt::ControlModifier, "Ln 1, Col 1"},
                 {Qt::Key_A, Qt::ControlModifier, "Ln 3, Col 6"},
                 {Qt::Key_Up, Qt::NoModifier, "Ln 2, Col 6"},
                 // Zoom: the text's size follows the keys, and the panel says it until 100%.
                 {Qt::Key_Plus, Qt::ControlModifier, "Ln 2, Col 6  110%"},
                 {Qt::Key_Minus, Qt::ControlModifier, "Ln 2, Col 6"},
                 {Qt::Key_Minus, Qt::ControlModifier, "Ln 2, Col 6  90%"},
                 {Qt::Key_0, Qt::ControlModifier, "Ln 2, Col 6"}};
    for (const auto& move : moves) {
      QTest::keyClick(w.textBox(), move.key, move.modifiers);
      QCOMPARE(caret->text(), QString::fromLatin1(move.shown));
      QCOMPARE(caret->accessibleDescription(), caret->text());
    }
    for (auto [key, panel] : {std::pair{Qt::Key_E, w.panels()->encoding()},
                              std::pair{Qt::Key_L, w.panels()->lineEnds()}}) {
      QCOMPARE(panel->accessibleDescription(), panel->text());
      QTest::keyClick(w.textBox(), key, Qt::ControlModifier);
      QTRY_VERIFY(panel->menu()->isVisible());
      QTest::keyClick(panel->menu(), Qt::Key_Escape);
      QTRY_VERIFY(!panel->menu()->isVisible());
    }
    const qreal written = w.textBox()->font().pointSizeF();
    QTest::keyClick(w.textBox(), Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(w.textBox()->font().pointSizeF(), written * 1.1);
    // Ctrl+wheel: a touchpad's thirds of a notch add up to one step back.
    QWidget* view = w.textBox()->viewport();
    for (int third = 0; third < 3; ++third) {
      QWheelEvent turn(QPointF(5, 5), view->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, -40),
                       Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
      QApplication::sendEvent(view, &turn);
    }
    QCOMPARE(w.textBox()->font().pointSizeF(), written);
  }

  // Work that lasts shows in the status bar with how far it got and a Cancel button; Escape
  // in the document, or the button, stops it, and the panel goes. A job that is over leaves
  // Escape to the window again.
  void lastingWorkShowsWithCancel() {
    folder_->write(QByteArray());
    frmMain& w = ShownOwnMainWindow();
    LongJob job(nullptr);
    w.panels()->watch(&job);
    for (bool byKey : {true, false}) {
      RunUntilStopped(job, QStringLiteral("Testing"));
      QTRY_VERIFY_WITH_TIMEOUT(w.panels()->jobProgress()->isVisible(), 5000);
      QCOMPARE(w.panels()->jobProgress()->text(), QStringLiteral("Testing... 25%"));
      QVERIFY(w.panels()->jobCancel()->isVisible());
      if (byKey)
        QTest::keyClick(w.textBox(), Qt::Key_Escape);
      else
        w.panels()->jobCancel()->click();
      QVERIFY(!job.busy());
      QVERIFY(!w.panels()->jobProgress()->isVisible());
      job.waitForIdle();
    }
  }

  // A control over the document that has the keyboard takes the first Escape, closing, with
  // work under way (a file opening); the next Escape stops the work.
  void escapeClosesTheControlWithTheKeyboardFirst_data() {
    QTest::addColumn<QString>("control");
    QTest::newRow("template picker") << "picker";
    QTest::newRow("find bar") << "find";
    QTest::newRow("replace bar") << "replace";
    QTest::newRow("find bar, on one of its options") << "find option";
  }
  void escapeClosesTheControlWithTheKeyboardFirst() {
    QFETCH(QString, control);
    folder_->write(QByteArray());
    frmMain& w = ShownOwnMainWindow();
    LongJob job(nullptr);
    w.panels()->watch(&job);
    RunUntilStopped(job, QStringLiteral("Opening"));
    QTRY_VERIFY_WITH_TIMEOUT(w.panels()->jobCancel()->isVisible(), 5000);
    w.textBox()->setFocus();
    const int key = control == "picker" ? Qt::Key_T : control == "replace" ? Qt::Key_H : Qt::Key_F;
    QTest::keyClick(w.textBox(), Qt::Key(key), Qt::ControlModifier);
    QWidget* opened = control == "picker" ? static_cast<QWidget*>(w.templatePicker()) : w.findBar();
    if (control == "find option") w.findBar()->findChild<QCheckBox*>()->setFocus();
    QVERIFY(opened->isVisible() && opened->isAncestorOf(QApplication::focusWidget()));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!opened->isVisible());
    QCOMPARE(QApplication::focusWidget(), w.textBox());
    QVERIFY(job.busy());
    QTest::keyClick(w.textBox(), Qt::Key_Escape);
    QVERIFY(!job.busy());
    job.waitForIdle();
  }
};

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
