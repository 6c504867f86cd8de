// The main window as app starts, wires and ends it, on the offscreen platform: start-up and
// its failures, the popup following the store, slots and fields with the manager, the About
// box, and the program's end with its last window.
#include <QCheckBox>
#include <QClipboard>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTimer>

#include "common/templatefields.h"
#include "editor/frmMain.h"
#include "manager/frmManage.h"
#include "settings/frmAbout.h"
#include "testsupport/apptest.h"

using namespace guitest;

class ProgramTest : public Fixture {
  Q_OBJECT

 protected:
  void setUp() override { QApplication::clipboard()->clear(); }
  void tearDown() override { CloseAll(); }

 private Q_SLOTS:
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
        QCOMPARE(slot->text(), NotSet());
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
    QPlainTextEdit* doc = w.textBox();
    QApplication::clipboard()->setText(QStringLiteral("CLIP"));
    doc->setPlainText(QStringLiteral("<SEL>"));
    SelectText(doc, 0, 5);
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
    QVERIFY(w.fieldsOn());  // told at once, before the file's watch could
    LoadedManageDialog()->close();

    // A fill-in cancelled inserts nothing; answered, one answer fills both of its fields.
    doc->setPlainText(QStringLiteral("<SEL>"));
    SelectText(doc, 0, 5);
    w.templateSlot(1)->trigger();
    QCOMPARE(doc->toPlainText(), QStringLiteral("<SEL>"));
    modal_.fillIns << QStringList{QStringLiteral("Ann")};
    modal_.shown.clear();
    w.templateSlot(1)->trigger();
    QCOMPARE(modal_.shown, QStringList{QStringLiteral("To")});
    QVERIFY(modal_.asked.last().endsWith(QStringLiteral("\u201CLetter\u201D asks for:")));
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

QTEST_MAIN(ProgramTest)
#include "program_test.moc"
