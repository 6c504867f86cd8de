// The template manager wired to the main window, on the offscreen platform against a real
// store: opened from the popup, the popup's slots following what it writes, an empty slot
// presetting it, and the main window coming back for a refill after Exit.
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "editor/frmMain.h"
#include "manager/frmManage.h"
#include "manager/storeversions.h"
#include "managercontrols.h"
#include "testsupport/apptest.h"

using namespace guitest;
using namespace managertest;

class ManagerWiringTest : public Fixture {
  Q_OBJECT

 private:
  // Writes the store and opens the manager from the main window's popup.
  frmManage* open(const QByteArray& store) {
    folder_->write(store);
    MainWindow().action(QStringLiteral("mnuManageTemplates"))->trigger();
    frmManage* m = LoadedManageDialog();
    if (!m || !QTest::qWaitForWindowExposed(m)) qWarning("manager not shown");
    return m;
  }
  static QStringList slotCaptions() {
    QStringList captions;
    for (QAction* slot : MainWindow().templateSlots()) captions << SlotCaption(slot);
    return captions;
  }

 protected:
  void tearDown() override { CloseAll(); }

 private Q_SLOTS:
  void addAppendsRecordThatCancelKeeps() {
    frmManage* m = open(Rec("1|Header|Top\r\n"));
    fill(m, QStringLiteral("Footer"), QStringLiteral("Line one\nLine two"));
    click(pushButton(m, "cmdAdd"));
    QCOMPARE(folder_->read(), Rec("1|Header|Top\r\n1|Footer|Line one\x02\x03Line two\r\n"));
    QCOMPARE(listed(m), QStringList({"Header", "Footer"}));
    QCOMPARE(nameBox(m)->text(), QStringLiteral("Footer"));
    QVERIFY(modal_.shown.isEmpty());

    click(pushButton(m, "cmdCancel"));
    Settle();
    QCOMPARE(LoadedManageDialog(), nullptr);
    QCOMPARE(slotCaptions().at(1), NotSet());  // only Apply, Done and Remove refill the slots
    MainWindow().action(QStringLiteral("mnuManageTemplates"))->trigger();
    QCOMPARE(listed(LoadedManageDialog()), QStringList({"Header", "Footer"}));
  }

  void removeClearsFieldsAndResetsMenuToStore_data() {
    QTest::addColumn<int>("stored");
    QTest::addColumn<int>("removed");
    QTest::newRow("last of three") << 3 << 3;
    QTest::newRow("first of fourteen") << 14 << 1;
  }
  void removeClearsFieldsAndResetsMenuToStore() {
    QFETCH(int, stored);
    QFETCH(int, removed);
    frmManage* m = open(Numbered(1, stored));
    clickNode(m, removed - 1);
    click(pushButton(m, "cmdRemove"));

    QCOMPARE(folder_->read(),
             Numbered(1, removed - 1) + "\r\n" + Numbered(removed + 1, stored) + "\r\n");
    QVERIFY(nameBox(m)->text().isEmpty() && valueBox(m)->toPlainText().isEmpty() &&
            indexBox(m)->text().isEmpty());
    QCOMPARE(editButtons(m), 0);
    QStringList expected;
    for (int i = 1; i <= stored; ++i)
      if (i != removed) expected << QStringLiteral("Name %1").arg(i);
    QCOMPARE(listed(m), expected);
    while (expected.size() < kTemplateSlots) expected << NotSet();
    QCOMPARE(slotCaptions(), expected.mid(0, kTemplateSlots));
    for (QAction* slot : MainWindow().templateSlots()) {
      const QString caption = SlotCaption(slot);
      QCOMPARE(SlotTag(slot),
               caption == NotSet() ? QString() : QString(caption).replace("Name", "Value"));
    }
  }

  // Moving and renaming write the store at once, and the popup's slots follow; the chosen
  // template stays chosen.
  void moveAndRenameReorderThePopup() {
    frmManage* m = open(Numbered(1, 3));
    clickNode(m, 2);
    click(pushButton(m, "cmdMoveUp"));
    click(pushButton(m, "cmdMoveUp"));
    QCOMPARE(listed(m), (QStringList{"Name 3", "Name 1", "Name 2"}));
    QCOMPARE(slotCaptions().mid(0, 3), (QStringList{"Name 3", "Name 1", "Name 2"}));
    QCOMPARE(list(m)->currentItem()->text(0), QStringLiteral("Name 3"));
    QTest::keyClick(list(m), Qt::Key_Down, Qt::AltModifier);
    QCOMPARE(folder_->read(), Rec("1|Name 1|Value 1\r\n1|Name 3|Value 3\r\n1|Name 2|Value 2\r\n"
                                  "\r\n\r\n\r\n"));

    // F2 in the list goes to the name; Rename keeps the place and the value.
    QTest::keyClick(list(m), Qt::Key_F2);
    QCOMPARE(m->focusWidget(), nameBox(m));
    nameBox(m)->setText(QStringLiteral("Third"));
    click(pushButton(m, "cmdRename"));
    QCOMPARE(listed(m), (QStringList{"Name 1", "Third", "Name 2"}));
    QCOMPARE(valueBox(m)->toPlainText(), QStringLiteral("Value 3"));
    QCOMPARE(slotCaptions().at(1), QStringLiteral("Third"));
    // A name another template has, in any case, is refused and said.
    const QByteArray before = folder_->read();
    nameBox(m)->setText(QStringLiteral("NAME 1"));
    click(pushButton(m, "cmdRename"));
    QCOMPARE(modal_.shown, QStringList("quorpad: A template named 'NAME 1' exists already."));
    QCOMPARE(folder_->read(), before);
  }

  // Each change keeps the store as it was; a version restored is the store again, and the
  // restore keeps the store it replaced, so that it can be taken back. The newest 20 stay.
  void versionsKeepEachChangeAndRestoreOne() {
    frmManage* m = open(Numbered(1, 2));
    const QByteArray first = folder_->read();
    fill(m, QStringLiteral("Third"), QStringLiteral("3"));
    click(pushButton(m, "cmdAdd"));
    clickNode(m, 0);
    click(pushButton(m, "cmdRemove"));
    const QByteArray afterRemove = folder_->read();
    QCOMPARE(StoreVersions(folder_->store()).size(), 2);
    QCOMPARE(QFileInfo(StoreVersionFolder(folder_->store())).permissions() & 0x0077, 0);

    modal_.choices << 1;  // the older one: before the Add
    click(pushButton(m, "cmdVersions"));
    QCOMPARE(modal_.shown.mid(1).join('|').count(QStringLiteral("   2 templates")), 1);
    QCOMPARE(modal_.shown.mid(1).join('|').count(QStringLiteral("   3 templates")), 1);
    QCOMPARE(folder_->read(), first);
    QCOMPARE(listed(m), (QStringList{"Name 1", "Name 2"}));
    QCOMPARE(slotCaptions().at(1), QStringLiteral("Name 2"));
    modal_.choices << 0;  // the newest: the store the restore replaced
    click(pushButton(m, "cmdVersions"));
    QCOMPARE(folder_->read(), afterRemove);

    for (int i = 0; i < 25; ++i) {
      clickNode(m, i % 2);
      click(pushButton(m, i % 2 ? "cmdMoveUp" : "cmdMoveDown"));
    }
    QCOMPARE(StoreVersions(folder_->store()).size(), kKeptStoreVersions);
  }

  // A version is kept only when the store changed since the newest; the newest 20 stay by
  // their order, whatever their dates; a version that is not the user's own file, or a
  // versions folder of another user's, is never listed nor written.
  void versionsFollowChangesNotTheClock() {
    frmManage* m = open(Numbered(1, 2));
    clickNode(m, 0);
    click(pushButton(m, "cmdMoveDown"));
    const QString folder = StoreVersionFolder(folder_->store());
    QCOMPARE(StoreVersions(folder_->store()).size(), 1);
    // Made by the manager first, every folder up to quorpad's is the user's alone.
    for (const QString& made : {folder, folder + "/..", folder + "/../.."})
      QCOMPARE(QFileInfo(made).permissions() & 0x0077, 0);
    for (int i = 0; i < 21; ++i) {  // changes that change nothing
      fill(m, QStringLiteral("no such name"), QStringLiteral("v"));
      click(pushButton(m, "cmdModify"));
    }
    QCOMPARE(StoreVersions(folder_->store()).size(), 1);
    // Dated in the future, but older than every change that follows.
    WriteAll(folder + QStringLiteral("/29990101-000000000-0-9.dat"), "future");
    QFile::setPermissions(folder + QStringLiteral("/29990101-000000000-0-9.dat"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QCOMPARE(StoreVersions(folder_->store()).size(), 2);
    for (int i = 0; i < 25; ++i) {
      clickNode(m, i % 2);
      click(pushButton(m, i % 2 ? "cmdMoveUp" : "cmdMoveDown"));
    }
    const QList<StoreVersion> kept = StoreVersions(folder_->store());
    QCOMPARE(kept.size(), kKeptStoreVersions);
    for (const StoreVersion& v : kept) QVERIFY(!v.file.contains(QStringLiteral("2999")));

    if (::geteuid() != 0) return;  // another user's files need root to make
    const QString planted = folder + QStringLiteral("/30000101-000000000-999999-1.dat");
    WriteAll(planted, Rec("1|planted|x\r\n"));
    QCOMPARE(::chown(QFile::encodeName(planted).constData(), 65534, 65534), 0);
    QCOMPARE(StoreVersions(folder_->store()).size(), kKeptStoreVersions);
    QCOMPARE(::chown(QFile::encodeName(folder).constData(), 65534, 65534), 0);
    QVERIFY(StoreVersions(folder_->store()).isEmpty());
    modal_.shown.clear();
    clickNode(m, 0);
    click(pushButton(m, "cmdMoveDown"));
    // Said once the version's write (beside the window) has failed; the move itself is done.
    QTRY_VERIFY2(modal_.shown.join('|').contains(QStringLiteral("another user")),
                 qPrintable(modal_.shown.join('|')));
  }

  void emptySlotPresetsManagerWithoutReloadingIt() {
    folder_->write(Numbered(1, 3));
    frmMain& w = MainWindow();
    w.textBox()->setPlainText(QStringLiteral("untouched"));
    w.templateSlot(4)->trigger();
    // The manager opens once the popup has gone, and has the keyboard in its name field.
    frmManage* m = nullptr;
    QTRY_VERIFY((m = LoadedManageDialog()) && m->isVisible());
    QCOMPARE(m->focusWidget(), nameBox(m));
    QCOMPARE(indexBox(m)->text(), QStringLiteral("4"));
    QCOMPARE(valueBox(m)->toPlainText(), QStringLiteral("No value set for this template!"));
    QCOMPARE(nameBox(m)->text(), NotSet());
    QCOMPARE(editButtons(m), 3);
    QCOMPARE(w.textBox()->toPlainText(), QStringLiteral("untouched"));

    // Picked again while open: the fields are overwritten, the tree stays as it was.
    fill(m, QStringLiteral("Draft"), QStringLiteral("draft value"));
    folder_->append(Numbered(4, 4));
    w.templateSlot(5)->trigger();
    QTRY_COMPARE(indexBox(m)->text(), QStringLiteral("5"));
    QCOMPARE(LoadedManageDialog(), m);
    QCOMPARE(nameBox(m)->text(), NotSet());
    QCOMPARE(valueBox(m)->toPlainText(), QStringLiteral("No value set for this template!"));
    QCOMPARE(listed(m).size(), 3);

    click(pushButton(m, "cmdAdd"));
    QCOMPARE(folder_->read(),
             Numbered(1, 4) + Rec("1|Not Set|No value set for this template!\r\n"));
    QCOMPARE(listed(m).size(), 5);
  }

  void refillAfterExitLoadsMainWindowAgain_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("first");
    QTest::newRow("Apply") << QStringLiteral("cmdApply") << "Name 1";
    QTest::newRow("Done") << QStringLiteral("cmdDone") << "Name 1";
    QTest::newRow("Remove") << QStringLiteral("cmdRemove") << "Name 2";
  }
  void refillAfterExitLoadsMainWindowAgain() {
    QFETCH(QString, button);
    QFETCH(QString, first);
    frmManage* m = open(Numbered(1, 2));
    MainWindow().show();
    MainWindow().action(QStringLiteral("mnuExit"))->trigger();
    Settle();
    QCOMPARE(LoadedMainWindow(), nullptr);
    QVERIFY(m->isVisible());

    clickNode(m, 0);
    click(m->findChild<QPushButton*>(button));
    frmMain* w = LoadedMainWindow();
    QVERIFY(w);
    QVERIFY(w->trayIcon());
    // Hidden where the tray can bring it back; shown where there is no tray (as here).
    QCOMPARE(w->isVisible(), !w->hidesToTray());
    QCOMPARE(SlotCaption(w->templateSlot(1)), first);
    QVERIFY(modal_.shown.isEmpty());
  }

  void engineFailureIsShownAndDialogStaysUsable_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("directory");
    QTest::newRow("Add, store deleted") << "cmdAdd" << false;
    QTest::newRow("Modify, store a folder") << "cmdModify" << true;
    QTest::newRow("Remove, store deleted") << "cmdRemove" << false;
    QTest::newRow("Add, store a folder") << "cmdAdd" << true;
    QTest::newRow("Apply, store deleted") << "cmdApply" << false;
    QTest::newRow("Done, store a folder") << "cmdDone" << true;
  }
  void engineFailureIsShownAndDialogStaysUsable() {
    QFETCH(QString, button);
    QFETCH(bool, directory);
    frmManage* m = open(Numbered(1, 1));
    fill(m, QStringLiteral("Fresh"), QStringLiteral("fresh value"));
    QVERIFY(QFile::remove(folder_->store()));
    if (directory) QVERIFY(QDir().mkdir(folder_->store()));

    click(m->findChild<QPushButton*>(button));
    Settle();
    QCOMPARE(modal_.shown.size(), 1);
    QVERIFY(modal_.shown[0].startsWith("quorpad: ") && modal_.shown[0].contains(folder_->store()));
    QCOMPARE(LoadedManageDialog(), m);
    QVERIFY(m->isVisible());
    QCOMPARE(nameBox(m)->text(), QStringLiteral("Fresh"));
    QCOMPARE(valueBox(m)->toPlainText(), QStringLiteral("fresh value"));
    QCOMPARE(slotCaptions().first(), QStringLiteral("Name 1"));  // the popup keeps its slots

    if (directory) QVERIFY(QDir().rmdir(folder_->store()));
    folder_->write(Numbered(1, 1));
    click(pushButton(m, "cmdAdd"));
    QCOMPARE(folder_->read(), Numbered(1, 1) + Rec("1|Fresh|fresh value\r\n"));
    QCOMPARE(listed(m), QStringList({"Name 1", "Fresh"}));
  }
};

QTEST_MAIN(ManagerWiringTest)
#include "managerwiring_test.moc"
