// The template manager on the offscreen platform, driven through its buttons, against a
// real store.
#include <QDir>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "editor/frmMain.h"
#include "manager/frmManage.h"
#include "manager/storeversions.h"
#include "manager/templatefiles.h"
#include "testsupport/apptest.h"

using namespace guitest;

class ManagerTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<StoreFolder> folder_;
  ScriptedModal modal_;

  // The manager's controls, by their object names.
  static QTreeWidget* list(frmManage* m) { return Child<QTreeWidget>(m, "TemplatesList"); }
  static QLineEdit* nameBox(frmManage* m) { return Child<QLineEdit>(m, "txtName"); }
  static QLineEdit* indexBox(frmManage* m) { return Child<QLineEdit>(m, "txtIndex"); }
  static QPlainTextEdit* valueBox(frmManage* m) { return Child<QPlainTextEdit>(m, "txtValue"); }
  static QPushButton* pushButton(frmManage* m, const QString& name) {
    return Child<QPushButton>(m, name);
  }

  // Writes the store and opens the manager from the main window's popup.
  frmManage* open(const QByteArray& store) {
    folder_->write(store);
    MainWindow().action(QStringLiteral("mnuManageTemplates"))->trigger();
    frmManage* m = LoadedManageDialog();
    if (!m || !QTest::qWaitForWindowExposed(m)) qWarning("manager not shown");
    return m;
  }
  static void clickNode(frmManage* m, int row) {
    QTreeWidget* tree = list(m);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                      tree->visualItemRect(tree->topLevelItem(row)).center());
  }
  static void click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
  static void fill(frmManage* m, const QString& name, const QString& value) {
    nameBox(m)->setText(name);
    valueBox(m)->setPlainText(value);
  }
  static QStringList listed(frmManage* m) {
    QStringList names;
    for (int i = 0; i < list(m)->topLevelItemCount(); ++i)
      names << list(m)->topLevelItem(i)->text(0);
    return names;
  }
  static QStringList slotCaptions() {
    QStringList captions;
    for (QAction* slot : MainWindow().templateSlots()) captions << SlotCaption(slot);
    return captions;
  }
  // How many of Add, Modify and Remove are enabled.
  static int editButtons(frmManage* m) {
    return pushButton(m, "cmdAdd")->isEnabled() + pushButton(m, "cmdModify")->isEnabled() +
           pushButton(m, "cmdRemove")->isEnabled();
  }

 private Q_SLOTS:
  void initTestCase() {
    QApplication::setQuitOnLastWindowClosed(false);
    SetModal(&modal_);
  }
  void init() {
    folder_ = std::make_unique<StoreFolder>();
    modal_.reset();
  }
  void cleanup() {
    CloseAll();
    folder_.reset();
  }

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
    QCOMPARE(slotCaptions().at(1), kNotSet);  // only Apply, Done and Remove refill the slots
    MainWindow().action(QStringLiteral("mnuManageTemplates"))->trigger();
    QCOMPARE(listed(LoadedManageDialog()), QStringList({"Header", "Footer"}));
  }

  void modifyChangesTemplateNamedInNameBox() {
    frmManage* m = open(Numbered(1, 3));
    clickNode(m, 1);
    QCOMPARE(nameBox(m)->text(), QStringLiteral("Name 2"));
    QCOMPARE(indexBox(m)->text(), QStringLiteral("2"));
    QCOMPARE(valueBox(m)->toPlainText(), QStringLiteral("Value 2"));

    // The typed name decides which template changes, not the node clicked.
    fill(m, QStringLiteral("Name 3"), QStringLiteral("New\nthird"));
    click(pushButton(m, "cmdModify"));
    QCOMPARE(folder_->read(), Numbered(1, 2) + Rec("1|Name 3|New\x02\x03third\r\n") + "\r\n");
    QCOMPARE(list(m)->topLevelItem(2)->data(0, Qt::UserRole).toString(),
             QStringLiteral("New\r\nthird"));
  }

  void multiLineValueKeepsItsStoredLineBreaks() {
    const QByteArray stored = Rec("1|Multi|a\x02\x03z\r\n");
    frmManage* m = open(stored);
    clickNode(m, 0);
    QCOMPARE(valueBox(m)->document()->blockCount(), 2);
    click(pushButton(m, "cmdModify"));
    QCOMPARE(folder_->read(), stored + "\r\n");
    // The same value typed again is the listed one.
    fill(m, QStringLiteral("Other"), QStringLiteral("A\nZ"));
    click(pushButton(m, "cmdAdd"));
    QCOMPARE(modal_.shown, QStringList("quorpad: Template Exists!"));
  }

  void repeatedValueIsListedTwice() {
    frmManage* m = open(Rec("1|A|same\r\n1|B|other\r\n"));
    clickNode(m, 1);
    valueBox(m)->setPlainText(QStringLiteral("same"));
    click(pushButton(m, "cmdModify"));
    QCOMPARE(listed(m), QStringList({"A", "B"}));
    QCOMPARE(list(m)->topLevelItem(1)->data(0, Qt::UserRole).toString(), QStringLiteral("same"));
    QVERIFY(modal_.shown.isEmpty());
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
    while (expected.size() < kTemplateSlots) expected << kNotSet;
    QCOMPARE(slotCaptions(), expected.mid(0, kTemplateSlots));
    for (QAction* slot : MainWindow().templateSlots()) {
      const QString caption = SlotCaption(slot);
      QCOMPARE(SlotTag(slot),
               caption == kNotSet ? QString() : QString(caption).replace("Name", "Value"));
    }
  }

  void boxChangedLastDecidesEditButtons() {
    frmManage* m = open(Rec("1|Header|Top\r\n"));
    QCOMPARE(editButtons(m), 0);
    QTest::keyClicks(nameBox(m), QStringLiteral("Typed"));
    QCOMPARE(editButtons(m), 3);
    click(pushButton(m, "cmdAdd"));  // no value: nothing happens
    QCOMPARE(folder_->read(), Rec("1|Header|Top\r\n"));
    QVERIFY(modal_.shown.isEmpty());

    clickNode(m, 0);
    valueBox(m)->selectAll();
    QTest::keyClick(valueBox(m), Qt::Key_Delete);
    QVERIFY(!nameBox(m)->text().isEmpty());
    QCOMPARE(editButtons(m), 0);
  }

  void addOfListedNameOrValueSaysTemplateExists_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");
    QTest::newRow("name in other case") << QStringLiteral("header") << "new value";
    QTest::newRow("value in other case") << QStringLiteral("New") << "TOP";
  }
  void addOfListedNameOrValueSaysTemplateExists() {
    QFETCH(QString, name);
    QFETCH(QString, value);
    frmManage* m = open(Rec("1|Header|Top\r\n"));
    fill(m, name, value);
    click(pushButton(m, "cmdAdd"));
    QCOMPARE(modal_.shown, QStringList("quorpad: Template Exists!"));
    QCOMPARE(folder_->read(), Rec("1|Header|Top\r\n"));
  }

  void addRefusedByEngineSaysCouldNotAdd() {
    frmManage* m = open(Rec("1|Header|Top\r\n"));
    folder_->append(Rec("1|Late|late value\r\n"));  // behind the dialog's back
    fill(m, QStringLiteral("Late"), QStringLiteral("late value"));
    click(pushButton(m, "cmdAdd"));
    QCOMPARE(modal_.shown, QStringList("quorpad: Could Not Add the template 'Late'!"));
    QCOMPARE(listed(m), QStringList({"Header"}));
    QCOMPARE(folder_->read(), Rec("1|Header|Top\r\n1|Late|late value\r\n"));
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

  // Export writes CSV or the store's format, of all templates or those chosen; Import merges
  // by name as the user chooses once, says what it did, and refuses a malformed file naming
  // the line and the reason, leaving the store as it was.
  void exportAndImportMergeByName() {
    frmManage* m =
        open(Rec("1|Greeting|Hello, \"you\"\x02\x03"
                 "Bye\r\n1|Sig|Regards\r\n"));
    const QString csv = folder_->filePath(QStringLiteral("out.csv"));
    modal_.files << csv;
    click(pushButton(m, "cmdExport"));
    QCOMPARE(ReadAll(csv), QByteArray("name,value\r\nGreeting,\"Hello, \"\"you\"\"\r\nBye\"\r\n"
                                      "Sig,Regards\r\n"));
    clickNode(m, 1);
    modal_.buttons << QMessageBox::Yes;  // the chosen one only
    const QString dat = folder_->filePath(QStringLiteral("out.dat"));
    modal_.files << dat;
    click(pushButton(m, "cmdExport"));
    QCOMPARE(ReadAll(dat), Rec("1|Sig|Regards\r\n"));
    QList<TemplateEntry> back;
    QString error;
    QVERIFY(ReadTemplateFile(ReadAll(csv), true, back, error));
    QCOMPARE(back.size(), 2);
    QCOMPARE(back.at(0).value, QStringLiteral("Hello, \"you\"\r\nBye"));

    const auto import = [&](const QByteArray& bytes, QMessageBox::StandardButton answer) {
      const QString file = folder_->filePath(QStringLiteral("in.csv"));
      WriteAll(file, bytes);
      modal_.files << file;
      if (answer != QMessageBox::NoButton) modal_.buttons << answer;
      modal_.shown.clear();
      click(pushButton(m, "cmdImport"));
      return modal_.shown.join('|');
    };
    QVERIFY(import("name,value\r\nGREETING,Hi\r\nNew,N\r\n", QMessageBox::No)  // replace
                .contains("1 added, 1 replaced, 0 skipped"));
    QVERIFY(import("name,value\nGreeting,Hey\nNew,Fresh\n", QMessageBox::YesToAll)  // keep both
                .contains("2 added, 0 replaced, 0 skipped"));
    QVERIFY(import("name,value\r\nSig,Other\r\n", QMessageBox::Yes)  // skip
                .contains("0 added, 0 replaced, 1 skipped"));
    QCOMPARE(listed(m), (QStringList{"Greeting", "Sig", "New", "Greeting (2)", "New (2)"}));
    QCOMPARE(folder_->read(), Rec("1|Greeting|Hi\r\n1|Sig|Regards\r\n\r\n1|New|N\r\n"
                                  "1|Greeting (2)|Hey\r\n1|New (2)|Fresh\r\n"));

    const QByteArray before = folder_->read();
    QVERIFY(import("name,value\r\nA,1\r\n\"B,2\r\n", QMessageBox::NoButton)
                .contains("line 3: a quoted field is not closed. Nothing was imported."));
    QVERIFY(
        import("name,value,extra\r\n", QMessageBox::NoButton).contains("line 1: the first line"));
    QCOMPARE(folder_->read(), before);
  }

  void emptySlotPresetsManagerWithoutReloadingIt() {
    folder_->write(Numbered(1, 3));
    frmMain& w = MainWindow();
    w.document()->setPlainText(QStringLiteral("untouched"));
    w.templateSlot(4)->trigger();
    // The manager opens once the popup has gone, and has the keyboard in its name field.
    frmManage* m = nullptr;
    QTRY_VERIFY((m = LoadedManageDialog()) && m->isVisible());
    QCOMPARE(m->focusWidget(), nameBox(m));
    QCOMPARE(indexBox(m)->text(), QStringLiteral("4"));
    QCOMPARE(valueBox(m)->toPlainText(), QStringLiteral("No value set for this template!"));
    QCOMPARE(nameBox(m)->text(), kNotSet);
    QCOMPARE(editButtons(m), 3);
    QCOMPARE(w.document()->toPlainText(), QStringLiteral("untouched"));

    // Picked again while open: the fields are overwritten, the tree stays as it was.
    fill(m, QStringLiteral("Draft"), QStringLiteral("draft value"));
    folder_->append(Numbered(4, 4));
    w.templateSlot(5)->trigger();
    QTRY_COMPARE(indexBox(m)->text(), QStringLiteral("5"));
    QCOMPARE(LoadedManageDialog(), m);
    QCOMPARE(nameBox(m)->text(), kNotSet);
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

  void tabInValueBoxMovesOnAndCtrlTabTypesATab() {
    frmManage* m = open(Numbered(1, 1));
    fill(m, QStringLiteral("Name"), QStringLiteral("value"));  // Add, next in order, enabled
    QPlainTextEdit* value = valueBox(m);
    value->setFocus();
    value->moveCursor(QTextCursor::End);
    QTest::keyClick(value, Qt::Key_Tab);
    QCOMPARE(value->toPlainText(), QStringLiteral("value"));
    QCOMPARE(m->focusWidget(), pushButton(m, "cmdAdd"));
    QTest::keyClick(pushButton(m, "cmdAdd"), Qt::Key_Backtab, Qt::ShiftModifier);
    QCOMPARE(m->focusWidget(), value);

    QTest::keyClick(value, Qt::Key_Tab, Qt::ControlModifier);
    QCOMPARE(value->toPlainText(), QStringLiteral("value\t"));
    QCOMPARE(m->focusWidget(), value);
  }

  void escapeLeavesDialogOpen() {
    QPointer<frmManage> m = open(Numbered(1, 1));
    QTest::keyClick(m, Qt::Key_Escape);
    QVERIFY(m && m->isVisible());
    QTest::keyClick(nameBox(m), Qt::Key_Escape);
    Settle();
    QVERIFY(m && m->isVisible());
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

QTEST_MAIN(ManagerTest)
#include "manager_test.moc"
