// The main window on the offscreen platform: start-up, the templates popup, layout,
// clipboard commands, Exit, the menus and the tray icon's clicks.
#include <QCheckBox>
#include <QClipboard>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTextCursor>
#include <QTimer>
#include <QWindow>

#include "common/templatefields.h"
#include "common/twips.h"
#include "editor/frmMain.h"
#include "editor/mainlayout.h"
#include "editor/storewatch.h"
#include "manager/frmManage.h"
#include "settings/frmAbout.h"
#include "testsupport/apptest.h"

using namespace guitest;

class MainWindowTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<StoreFolder> folder_;
  ScriptedModal modal_;

  // Selects `count` characters of the document from `from`.
  static void select(QPlainTextEdit* doc, int from, int count) {
    QTextCursor cursor(doc->document());
    cursor.setPosition(from);
    cursor.setPosition(from + count, QTextCursor::KeepAnchor);
    doc->setTextCursor(cursor);
  }

 private Q_SLOTS:
  void initTestCase() {
    QApplication::setQuitOnLastWindowClosed(false);
    SetModal(&modal_);
  }
  void init() {
    folder_ = std::make_unique<StoreFolder>();
    modal_.reset();
    QApplication::clipboard()->clear();
  }
  void cleanup() {
    CloseAll();
    folder_.reset();
  }

  void startupFillsSlotsInStoreOrderUpToThirteen_data() {
    QTest::addColumn<int>("stored");
    QTest::newRow("none") << 0;
    QTest::newRow("three") << 3;
    QTest::newRow("thirteen") << 13;
    QTest::newRow("twenty") << 20;
  }
  void startupFillsSlotsInStoreOrderUpToThirteen() {
    QFETCH(int, stored);
    QByteArray bytes;
    for (int i = 1; i <= stored; ++i)
      bytes += Rec("1|T" + QByteArray::number(i) + "|line " + QByteArray::number(i) +
                   "\x02\x03next\r\n");
    folder_->write(bytes);

    QVERIFY(StartQuorpad());
    frmMain* w = LoadedMainWindow();
    QVERIFY(w && w->isVisible());
    QVERIFY(w->trayIcon());
    for (int n = 1; n <= kTemplateSlots; ++n) {
      QAction* slot = w->templateSlot(n);
      if (n <= stored) {
        QCOMPARE(SlotCaption(slot), QStringLiteral("T%1").arg(n));
        QCOMPARE(SlotTag(slot), QStringLiteral("line %1\r\nnext").arg(n));
      } else {
        QCOMPARE(slot->text(), kNotSet);
        QCOMPARE(SlotTag(slot), QString());
      }
    }
    QVERIFY(modal_.shown.isEmpty());
  }

  void startupWithUnusableStoreShowsOneMessageAndNoWindow_data() {
    QTest::addColumn<bool>("present");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("error");
    QTest::newRow("missing") << false << QByteArray() << QStringLiteral("Error 53: File not found");
    QTest::newRow("empty Index") << true << Rec("1|A|a\r\n|Name|Value\r\n")
                                 << QStringLiteral("Error 13: Type mismatch");
  }
  void startupWithUnusableStoreShowsOneMessageAndNoWindow() {
    QFETCH(bool, present);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, error);
    if (present) folder_->write(bytes);

    QVERIFY(!StartQuorpad());
    Settle();
    QCOMPARE(modal_.shown.size(), 1);
    const QString& shown = modal_.shown.first();
    QVERIFY2(
        shown.startsWith("quorpad: ") && shown.contains(folder_->store()) && shown.contains(error),
        qPrintable(shown));
    QCOMPARE(LoadedMainWindow(), nullptr);
    for (QWidget* top : QApplication::topLevelWidgets()) QVERIFY(!top->isVisible());
  }

  void startupOutOfMemoryIsReportedNotAborted() {
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
    QSKIP(
        "AddressSanitizer ends the program at an allocation that fails, so std::bad_alloc "
        "cannot be had under it");
#endif
#endif
    // Runs in a child: the address space it is given ends where the store's one endless line
    // would need more, so the load runs out of memory for real.
    if (!InChild()) {
      const QString failed = RunInChild();
      QVERIFY2(failed.isEmpty(), qPrintable(failed));
      return;
    }
    QFile store(folder_->store());
    QVERIFY(store.open(QIODevice::WriteOnly) && store.resize(qint64(4) << 30));  // sparse
    store.close();
    QFile status("/proc/self/status");
    QVERIFY(status.open(QIODevice::ReadOnly));
    qint64 used = 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
      if (line.startsWith("VmSize:"))
        used = line.mid(7).trimmed().split(' ').first().toLongLong() << 10;
    }
    QVERIFY(used > 0);
    rlimit limit{};
    QVERIFY(::getrlimit(RLIMIT_AS, &limit) == 0);
    limit.rlim_cur = static_cast<rlim_t>(used + (qint64(256) << 20));
    QVERIFY(::setrlimit(RLIMIT_AS, &limit) == 0);

    QVERIFY(!StartQuorpad());
    QCOMPARE(modal_.shown.size(), 1);
    const QString& shown = modal_.shown.first();
    QVERIFY2(shown.startsWith("quorpad: The template store could not be used.") &&
                 shown.contains(folder_->store()) && shown.endsWith(" [icon]"),
             qPrintable(shown));
    QCOMPARE(LoadedMainWindow(), nullptr);
  }

  void popupFollowsTheStoreWhoeverChangesIt() {
    folder_->write(Numbered(1, 3));
    QVERIFY(StartQuorpad());
    frmMain* w = LoadedMainWindow();
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
    QCOMPARE(w->templateSlot(2)->text(), kNotSet);
    QCOMPARE(SlotTag(w->templateSlot(2)), QString());

    // An add appends to the file in place, which only a watch on the file itself sees.
    folder_->append(Rec("1|Appended|more\r\n"));
    QTRY_COMPARE(SlotCaption(w->templateSlot(2)), QString("Appended"));
    QVERIFY(modal_.shown.isEmpty());
  }

  void storeThatBreaksKeepsTheSlotsAndIsReportedOnce() {
    folder_->write(Numbered(1, 2));
    QVERIFY(StartQuorpad());
    frmMain* w = LoadedMainWindow();
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
    QCOMPARE(w->templateSlot(2)->text(), kNotSet);
    folder_->write(Rec("|Name|Value\r\n"));
    QTRY_COMPARE(modal_.shown.size(), 2);
    QVERIFY2(modal_.shown.last().contains("Error 13"), qPrintable(modal_.shown.last()));
    QCOMPARE(SlotCaption(w->templateSlot(1)), QString("Name 5"));
  }

  void filledSlotReplacesSelectionWithItsLines() {
    folder_->write(Rec("1|Letter|Dear Sir,\x02\x03Yours\r\n1|Not Set|literal\r\n"));
    frmMain& w = MainWindow();
    QPlainTextEdit* doc = w.document();
    doc->setPlainText(QStringLiteral("abc XYZ def"));
    select(doc, 4, 3);
    w.templateSlot(1)->trigger();
    QCOMPARE(doc->toPlainText(), QStringLiteral("abc Dear Sir,\nYours def"));
    QCOMPARE(doc->blockCount(), 2);

    // A template that is merely named "Not Set" holds a value and is inserted, at the caret.
    select(doc, 0, 0);
    w.templateSlot(2)->trigger();
    QVERIFY(doc->toPlainText().startsWith(QStringLiteral("literalabc")));
    QCOMPARE(LoadedManageDialog(), nullptr);
  }

  // Fields are filled only once the manager's switch is on; a store written without them
  // inserts as written until then.
  void fieldsFillOnlyWhenSwitchedOn() {
    folder_->write(
        Rec("1|Letter|Dear {:ask To:},\x02\x03{:caret:}\x02\x03{:date dd.MM.yyyy HH:mm:} "
            "{:ask To:} [{:selection:}] [{:clipboard:}] {::caret:} {:nope:} {:\r\n"));
    const QString asWritten = QStringLiteral(
        "Dear {:ask To:},\n{:caret:}\n{:date dd.MM.yyyy HH:mm:} {:ask To:} [{:selection:}] "
        "[{:clipboard:}] {::caret:} {:nope:} {:");
    SetFieldClock([] { return QDateTime(QDate(2026, 3, 4), QTime(5, 6)); });
    frmMain& w = MainWindow();
    QPlainTextEdit* doc = w.document();
    QApplication::clipboard()->setText(QStringLiteral("CLIP"));
    doc->setPlainText(QStringLiteral("<SEL>"));
    select(doc, 0, 5);
    w.templateSlot(1)->trigger();
    QCOMPARE(doc->toPlainText(), asWritten);
    QCOMPARE(modal_.asked, QStringList());

    // The switch, in the manager, is kept in quorpad.ini.
    w.action(QStringLiteral("mnuManageTemplates"))->trigger();
    auto* fields = Child<QCheckBox>(LoadedManageDialog(), "chkFields");
    QVERIFY(!fields->isChecked());
    QTest::mouseClick(fields, Qt::LeftButton, {}, QPoint(4, fields->height() / 2));
    QVERIFY(ReadAll(folder_->filePath("quorpad.ini")).contains("fields=1"));
    QVERIFY(FieldsSwitchedOn());
    LoadedManageDialog()->close();

    // A fill-in cancelled inserts nothing; answered, one answer fills both of its fields.
    doc->setPlainText(QStringLiteral("<SEL>"));
    select(doc, 0, 5);
    w.templateSlot(1)->trigger();
    QCOMPARE(doc->toPlainText(), QStringLiteral("<SEL>"));
    modal_.fillIns << QStringList{QStringLiteral("Ann")};
    modal_.shown.clear();
    w.templateSlot(1)->trigger();
    QCOMPARE(modal_.shown, QStringList{QStringLiteral("To")});
    QCOMPARE(doc->toPlainText(), QStringLiteral("Dear Ann,\n\n04.03.2026 05:06 Ann [<SEL>] [CLIP] "
                                                "{:caret:} {:nope:} {:"));
    QCOMPARE(doc->textCursor().position(), 10);
    doc->undo();
    QCOMPARE(doc->toPlainText(), QStringLiteral("<SEL>"));

    // For another program's clipboard nothing is asked: what needs asking is left empty.
    const QStringList leftEmpty = w.putTemplateOnClipboard(asWritten);
    QCOMPARE(leftEmpty, (QStringList{"{:ask To:}", "{:selection:}"}));
    QCOMPARE(QApplication::clipboard()->text(),
             QStringLiteral("Dear ,\n\n04.03.2026 05:06  [] [CLIP] {:caret:} {:nope:} {:"));
    SetFieldClock({});
  }

  void onlyRightButtonReleaseOpensPopupAtPointer() {
    folder_->write(Numbered(1, 1));
    frmMain& w = ShownMainWindow();
    w.move(0, 0);  // room below the pointer, so the popup need not shift to fit the screen
    Settle();
    QWidget* viewport = w.document()->viewport();
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
    frmMain& w = ShownMainWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.document()->setFocus();
    QTest::keyClick(w.document(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
    QVERIFY(w.templatesPopup()->isVisible());
  }

  // The document box holds the file commands' keys (the menus carry none) and redo's.
  void documentKeysRunTheMenuCommands() {
    folder_->write(QByteArray());
    frmMain& w = ShownMainWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.document()->setFocus();
    QTest::keyClicks(w.document(), QStringLiteral("ab"));
    QTest::keyClick(w.document(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(w.document(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(w.document()->toPlainText(), QStringLiteral("ab"));
    QTest::keyClick(w.document(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(w.document(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    QCOMPARE(w.document()->toPlainText(), QStringLiteral("ab"));
    // Ctrl+G takes the caret to the start of the line asked for; a cancel leaves it.
    for (const QString& line : {QStringLiteral("line 2"), QStringLiteral("line 3")}) {
      QTest::keyClick(w.document(), Qt::Key_Return);
      QTest::keyClicks(w.document(), line);
    }
    modal_.numbers << 2;
    QTest::keyClick(w.document(), Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(w.document()->textCursor().blockNumber(), 1);
    QCOMPARE(w.document()->textCursor().positionInBlock(), 0);
    QTest::keyClick(w.document(), Qt::Key_G, Qt::ControlModifier);
    QCOMPARE(w.document()->textCursor().blockNumber(), 1);
    QCOMPARE(modal_.asked, (QStringList{"Go to Line", "Go to Line"}));
    modal_.asked.clear();
    w.document()->selectAll();
    QTest::keyClicks(w.document(), QStringLiteral("ab"));
    const QString saved = folder_->filePath(QStringLiteral("keys.txt"));
    modal_.files << saved;
    QTest::keyClick(w.document(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(modal_.asked, QStringList{"Save File"});
    QCOMPARE(ReadAll(saved), QByteArray("ab"));
    QTest::keyClick(w.document(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(w.document(), Qt::Key_O, Qt::ControlModifier);
    QTest::keyClick(w.document(), Qt::Key_N, Qt::ControlModifier);
    // Open and New ask first, as their menu items do, since the document holds text.
    const QString ask = QStringLiteral("Do you wish to save this file:\r\n") + saved;
    QCOMPARE(modal_.asked, (QStringList{"Save File", "Save As", ask, "Open File", ask}));
    QCOMPARE(w.document()->toPlainText(), QString());
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
    frmMain& w = ShownMainWindow();
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
    frmMain& w = ShownMainWindow();
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
    frmMain& w = ShownMainWindow();
    QTest::keyClicks(w.document(), QStringLiteral("mine"));
    select(w.document(), 0, selected);
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
    QCOMPARE(LoadedMainWindow(), nullptr);
    if (left == QLatin1String("picture")) {
      QVERIFY(!clipboard->image().isNull());
    } else {
      QCOMPARE(clipboard->text(), left);
    }
    QCOMPARE(modal_.shown.size(), 1);  // the save prompt, answered No
  }

  void clipboardCommandsWorkOnSelection() {
    folder_->write(Numbered(1, 1));
    frmMain& w = MainWindow();
    QPlainTextEdit* doc = w.document();
    QClipboard* clipboard = QApplication::clipboard();
    doc->setPlainText(QStringLiteral("alpha beta"));

    clipboard->setText(QStringLiteral("before"));
    select(doc, 2, 0);
    w.action(QStringLiteral("mnuCopy"))->trigger();
    QCOMPARE(clipboard->text(), QString());
    w.action(QStringLiteral("mnuCut"))->trigger();
    QCOMPARE(doc->toPlainText(), QStringLiteral("alpha beta"));

    select(doc, 0, 6);
    w.action(QStringLiteral("mnuCut"))->trigger();
    QCOMPARE(clipboard->text(), QStringLiteral("alpha "));
    QCOMPARE(doc->toPlainText(), QStringLiteral("beta"));

    clipboard->setText(QStringLiteral("one\ntwo"));
    select(doc, 0, 4);
    w.action(QStringLiteral("mnuPaste"))->trigger();
    QCOMPARE(doc->toPlainText(), QStringLiteral("one\ntwo"));
    QCOMPARE(doc->blockCount(), 2);
  }

  void menusHaveTheirCaptionsAndOnlyTwoDisabledItems() {
    folder_->write(QByteArray());
    frmMain& w = MainWindow();
    auto captions = [](QMenu* menu) {
      QStringList list;
      for (QAction* a : menu->actions()) list << (a->isSeparator() ? "-" : a->text());
      return list;
    };
    QCOMPARE(captions(w.trayMenu()).join(u','),
             QStringLiteral("New,Open...,Save,Save As...,-,Configuration,About,-,Exit"));
    QCOMPARE(captions(w.templatesPopup()).join(u','),
             QString(kNotSet + ',').repeated(kTemplateSlots) +
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
    frmMain& w = ShownMainWindow();
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
    frmMain& w = ShownMainWindow();
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
    frmMain& w = ShownMainWindow();
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
    frmMain& w = ShownMainWindow();
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

  void aboutTwiceLeavesOneAboutBox() {
    folder_->write(QByteArray());
    frmMain& w = MainWindow();
    w.action(QStringLiteral("mnuAbout"))->trigger();
    w.action(QStringLiteral("mnuAbout"))->trigger();
    Settle();
    int boxes = 0;
    for (QWidget* top : QApplication::topLevelWidgets())
      boxes += qobject_cast<frmAbout*>(top) && top->isVisible();
    QCOMPARE(boxes, 1);
  }

  // A window going away with a popup of its own open: the program's watch over closing
  // windows meets the popup while the window is half torn down, and must not take it for a
  // main window any more (the sanitizer build reports it otherwise).
  void windowGoingAwayWithItsPopupOpen() {
    folder_->write(QByteArray());
    EndWithLastWindow();
    frmMain& w = ShownMainWindow();
    w.templatesPopup()->popup(w.mapToGlobal(QPoint(20, 20)));
    QVERIFY(w.templatesPopup()->isVisible());
    delete &w;
    Settle();
    QCOMPARE(LoadedMainWindow(), nullptr);
  }

  // Last, since it runs the application's own event loop and ends it.
  void programEndsWithItsLastWindow() {
    folder_->write(QByteArray());
    EndWithLastWindow();
    frmMain& w = ShownMainWindow();
    QStringList seen;
    bool bounded = false;
    QTimer::singleShot(0, [&] {
      w.hide();  // as in the tray
      ShowAboutDialog();
    });
    QTimer::singleShot(50, [] { AboutDialog().close(); });
    QTimer::singleShot(250, [&] {
      seen << QStringLiteral("running after a dialog closed");
      ShowAboutDialog();
      w.action(QStringLiteral("mnuExit"))->trigger();
    });
    QTimer::singleShot(450, [&] {
      seen << QStringLiteral("running after Exit with a dialog open");
      AboutDialog().close();
    });
    QTimer::singleShot(10000, [&] {
      bounded = true;
      QCoreApplication::quit();
    });
    QCoreApplication::exec();
    QVERIFY(!bounded);  // the program ended by itself once its last window closed
    QCOMPARE(seen, (QStringList{"running after a dialog closed",
                                "running after Exit with a dialog open"}));
  }
};

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
