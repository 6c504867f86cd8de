// The template manager on the offscreen platform, driven through its buttons, against a
// real store; the dialog alone, as its own instance.
#include <QAbstractButton>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "../treeview.h"
#include "common/dialogwindow.h"
#include "common/longjob.h"
#include "common/textconv.h"
#include "manager/frmManage.h"
#include "manager/storeversions.h"
#include "manager/templatefiles.h"
#include "managercontrols.h"
#include "testsupport/guitest.h"

using namespace guitest;
using namespace managertest;

class ManagerTest : public Fixture {
  Q_OBJECT

 private:
  // The dialog's one instance, kept as the program keeps it but refilling no popup.
  ProgramWideDialog<frmManage> manager_;

  // Writes the store and opens the manager.
  // Clicks Import, and waits until the import has said how it ended: the file is read and
  // the store written beside the window.
  void importWith(frmManage* m) {
    const qsizetype told = modal_.shown.size();
    click(pushButton(m, "cmdImport"));
    QTRY_VERIFY(modal_.shown.size() > told &&
                modal_.shown.last().contains(QRegularExpression("Imported from|Could not import")));
  }

  frmManage* open(const QByteArray& store) {
    folder_->write(store);
    frmManage* m = &manager_.get();
    BringForward(*m);
    if (!QTest::qWaitForWindowExposed(m)) qWarning("manager not shown");
    return m;
  }

 protected:
  void tearDown() override {
    delete manager_.loaded();
    CloseWindows();
  }

 private Q_SLOTS:
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
    // The manager's own change is read back once, by the step: the store watch, which
    // follows other processes, does not read the whole list again after it.
    list(m)->topLevelItem(0)->setData(0, Qt::UserRole + 1, true);
    QTest::qWait(600);
    QVERIFY(list(m)->topLevelItem(0)->data(0, Qt::UserRole + 1).toBool());
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

  void fieldsHintFollowsTheValueAndTheSwitch() {
    frmManage* m = open(Rec("1|Sig|Dear {:ask To:}\r\n1|Plain|{:.2f}\r\n"));
    auto* hint = m->findChild<QWidget*>(QStringLiteral("lblFieldsHint"));
    auto* fields = m->findChild<QAbstractButton*>(QStringLiteral("chkFields"));
    clickNode(m, 0);
    QVERIFY(hint->isVisible());
    fields->click();
    QVERIFY(!hint->isVisible());
    fields->click();
    QVERIFY(hint->isVisible());
    clickNode(m, 1);  // a format string of another language is no field
    QVERIFY(!hint->isVisible());
    QTest::keyClicks(valueBox(m), QStringLiteral("{::"));
    QVERIFY(hint->isVisible());
  }

  void findNarrowsTheListByThePickersRules_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("name holds it, in store order")
        << "sig" << QStringList{"Signature", "Sig short"};
    QTest::newRow("text holds it") << "STREET" << QStringList{"Address"};
    QTest::newRow("letters in order") << "gtg" << QStringList{"Greeting"};
    QTest::newRow("nothing") << "zzz" << QStringList();
  }
  void findNarrowsTheListByThePickersRules() {
    QFETCH(QString, typed);
    QFETCH(QStringList, shown);
    frmManage* m =
        open(Rec("1|Greeting|Hello there\r\n1|Signature|Best regards\r\n"
                 "1|Address|12 High Street\r\n1|Sig short|x\r\n"));
    const auto visible = [m] {
      QStringList names;
      for (int i = 0; i < list(m)->topLevelItemCount(); ++i)
        if (!list(m)->topLevelItem(i)->isHidden()) names << list(m)->topLevelItem(i)->text(0);
      return names;
    };
    auto* line = m->findChild<QLineEdit*>(QStringLiteral("txtFilter"));
    QTest::keyClick(list(m), Qt::Key_F, Qt::ControlModifier);
    QVERIFY(line->hasFocus());
    QTest::keyClicks(line, typed);
    QCOMPARE(visible(), shown);
    QCOMPARE(pushButton(m, "cmdMoveUp")->isEnabled(), false);
    // A template added while the list is narrowed is matched as it comes.
    fill(m, typed + QStringLiteral(" new"), QStringLiteral("v"));
    click(pushButton(m, "cmdAdd"));
    QTRY_COMPARE(visible(), shown + QStringList{typed + " new"});
    // Down goes to the first template shown and fills the boxes from it.
    QTest::keyClick(line, Qt::Key_Down);
    QCOMPARE(nameBox(m)->text(), visible().first());
    QVERIFY(list(m)->hasFocus());
    // Escape, in the list where Down led or in the line, shows every template again and
    // leaves the dialog open.
    for (QWidget* at : {static_cast<QWidget*>(list(m)), static_cast<QWidget*>(line)}) {
      if (!line->isVisible()) {
        QTest::keyClick(list(m), Qt::Key_F, Qt::ControlModifier);
        QTest::keyClicks(line, typed);
      }
      QTest::keyClick(at, Qt::Key_Escape);
      QCOMPARE(visible(), listed(m));
      QVERIFY(!line->isVisible() && m->isVisible() && pushButton(m, "cmdMoveUp")->isEnabled());
    }
  }

  // Each version says the change that followed it, and shows what restoring it would change.
  void versionsSayTheirChangeAndWhatARestoreChanges_data() {
    QTest::addColumn<QString>("change");
    QTest::addColumn<QString>("said");
    QTest::addColumn<QString>("restoring");
    const QString would = QStringLiteral("Restoring this version would:\n- ");
    QTest::newRow("add") << "add"
                         << "Added 'Sig'" << would + "remove 1 template: 'Sig'";
    QTest::newRow("modify") << "modify"
                            << "Changed 'B'" << would + "change 'B': \"new\" becomes \"b\"";
    QTest::newRow("remove") << "remove"
                            << "Removed 'A'" << would + "add 1 template: 'A'";
    QTest::newRow("rename") << "rename"
                            << "Renamed 'A' to 'Z'" << would + "rename 'Z' to 'A'";
    QTest::newRow("move") << "move"
                          << "Moved 'B' up" << would + "put the templates in another order";
    QTest::newRow("import") << "import"
                            << "Imported 2 templates from %1"
                            << would +
                                   "remove 1 template: 'C'\n- change 'A': \"new a\" becomes \"a\"";
  }
  void versionsSayTheirChangeAndWhatARestoreChanges() {
    QFETCH(QString, change);
    QFETCH(QString, said);
    QFETCH(QString, restoring);
    frmManage* m = open(Rec("1|A|a\r\n1|B|b\r\n"));
    const QString file = folder_->filePath(QStringLiteral("in.csv"));
    if (change == "add") {
      fill(m, QStringLiteral("Sig"), QStringLiteral("Best"));
      click(pushButton(m, "cmdAdd"));
    } else if (change == "modify") {
      clickNode(m, 1);
      valueBox(m)->setPlainText(QStringLiteral("new\nline"));
      click(pushButton(m, "cmdModify"));
    } else if (change == "remove") {
      clickNode(m, 0);
      click(pushButton(m, "cmdRemove"));
    } else if (change == "rename") {
      clickNode(m, 0);
      nameBox(m)->setText(QStringLiteral("Z"));
      click(pushButton(m, "cmdRename"));
    } else if (change == "move") {
      clickNode(m, 1);
      click(pushButton(m, "cmdMoveUp"));
    } else {
      WriteAll(file, "name,value\r\nA,new a\r\nC,c\r\n");
      modal_.files << file;
      modal_.buttons << QMessageBox::No;  // replace
      importWith(m);
    }
    modal_.shown.clear();
    click(pushButton(m, "cmdVersions"));  // and cancel
    QCOMPARE(modal_.shown.size(), 3);
    QVERIFY2(modal_.shown.at(1).endsWith("   then: " + said.arg(file)),
             qPrintable(modal_.shown.at(1)));
    QCOMPARE(modal_.shown.at(2), restoring);
  }

  // A change refused, or made void by another process meanwhile, is never listed as one that
  // followed a version: the version kept before it says nothing, and the next change it is.
  void versionsNeverSayAChangeNotMade_data() {
    QTest::addColumn<QString>("change");
    QTest::newRow("rename onto a name that exists") << "rename";
    QTest::newRow("add a text stored meanwhile") << "add";
    QTest::newRow("move a template removed meanwhile") << "move";
  }
  void versionsNeverSayAChangeNotMade() {
    QFETCH(QString, change);
    frmManage* m = open(Rec("1|A|a\r\n1|B|b\r\n"));
    if (change == "rename") {
      clickNode(m, 0);
      nameBox(m)->setText(QStringLiteral("B"));
      click(pushButton(m, "cmdRename"));
    } else if (change == "add") {
      folder_->write(Rec("1|A|a\r\n1|B|b\r\n1|C|c\r\n"));
      fill(m, QStringLiteral("D"), QStringLiteral("c"));
      click(pushButton(m, "cmdAdd"));
    } else {
      clickNode(m, 1);
      folder_->write(Rec("1|A|a\r\n"));
      click(pushButton(m, "cmdMoveUp"));
    }
    const QStringList refused = modal_.shown;
    modal_.shown.clear();
    click(pushButton(m, "cmdVersions"));  // and cancel
    QVERIFY2(!modal_.shown.join('\n').contains("then:"), qPrintable(modal_.shown.join('\n')));
    // The next change made is the one the version says.
    fill(m, QStringLiteral("Sig"), QStringLiteral("Best"));
    click(pushButton(m, "cmdAdd"));
    modal_.shown.clear();
    click(pushButton(m, "cmdVersions"));
    QVERIFY2(modal_.shown.size() > 1 && modal_.shown.at(1).endsWith("   then: Added 'Sig'"),
             qPrintable(refused.join('\n') + "\n--\n" + modal_.shown.join('\n')));
  }

  // A difference of many: each template gone is paired with the first come with its text,
  // in the version's order, however many there are; only a dozen of a kind are spelled out.
  void restoreDifferenceOfMany_data() {
    QTest::addColumn<QList<TemplateEntry>>("version");
    QTest::addColumn<QList<TemplateEntry>>("now");
    QTest::addColumn<QString>("said");
    const auto entries = [](const QString& prefix, int n, const QString& value) {
      QList<TemplateEntry> list;
      for (int i = 1; i <= n; ++i) list.append({prefix + QString::number(i), value.arg(i)});
      return list;
    };
    const QString would = QStringLiteral("Restoring this version would:\n- ");
    QTest::newRow("one text, two renamed and one added")
        << QList<TemplateEntry>{{"X", "a"}, {"Y", "a"}, {"Z", "a"}}
        << QList<TemplateEntry>{{"B", "a"}, {"A", "a"}}
        << would + "add 1 template: 'Z'\n- rename 'B' to 'X'\n- rename 'A' to 'Y'";
    // The first dozen of 14 lines of `line` (%1 the number), then the count of the rest.
    const auto dozen = [](const QString& line, const QString& rest) {
      QStringList lines;
      for (int i = 1; i <= 12; ++i) lines << line.arg(i);
      return lines.join("\n- ") + "\n- " + rest;
    };
    QTest::newRow("14 renamed") << entries("New ", 14, "v%1") << entries("Old ", 14, "v%1")
                                << would + dozen("rename 'Old %1' to 'New %1'", "rename 2 more");
    QTest::newRow("14 changed") << entries("T", 14, "was %1") << entries("T", 14, "is %1")
                                << would + dozen("change 'T%1': \"is %1\" becomes \"was %1\"",
                                                 "change 2 more");
  }
  void restoreDifferenceOfMany() {
    QFETCH(QList<TemplateEntry>, version);
    QFETCH(QList<TemplateEntry>, now);
    QFETCH(QString, said);
    QCOMPARE(RestoreDifference(version, now), said);
  }

  // Return or Enter presses the button that has the keyboard, as Space does; in a box, none.
  void returnPressesOnlyTheFocusedButton() {
    frmManage* m = open(Rec("1|A|a\r\n"));
    fill(m, QStringLiteral("Sig"), QStringLiteral("Best"));
    QTest::keyClick(nameBox(m), Qt::Key_Return);
    QVERIFY(!listed(m).contains(QStringLiteral("Sig")));
    QTest::keyClick(pushButton(m, "cmdAdd"), Qt::Key_Enter);
    QVERIFY(listed(m).contains(QStringLiteral("Sig")));
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
    modal_.filters << QStringLiteral("Template store (*.dat)");
    click(pushButton(m, "cmdExport"));
    QCOMPARE(ReadAll(dat), Rec("1|Sig|Regards\r\n"));
    // The filter chosen decides the kind, whatever the name ends with; a bare name gets the
    // kind's ending.
    const struct {
      const char *name, *filter, *written;
      QByteArray bytes;
    } kinds[] = {{"bare", "CSV (*.csv)", "bare.csv", "name,value\r\nSig,Regards\r\n"},
                 {"store.csv", "Template store (*.dat)", "store.csv", Rec("1|Sig|Regards\r\n")},
                 {"bare2", "Template store (*.dat)", "bare2.dat", Rec("1|Sig|Regards\r\n")}};
    for (const auto& kind : kinds) {
      modal_.buttons << QMessageBox::Yes;
      modal_.files << folder_->filePath(kind.name);
      modal_.filters << kind.filter;
      click(pushButton(m, "cmdExport"));
      QCOMPARE(ReadAll(folder_->filePath(kind.written)), kind.bytes);
    }
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
      importWith(m);
      return modal_.shown.join('|');
    };
    QVERIFY(import("name,value\r\nGREETING,Hi\r\nNew,N\r\n", QMessageBox::No)  // replace
                .contains("1 added, 1 replaced, 0 skipped"));
    QVERIFY(import("name,value\nGreeting,Hey\nNew,Fresh\n", QMessageBox::YesToAll)  // keep both
                .contains("2 added, 0 replaced, 0 skipped"));
    QVERIFY(import("name,value\r\nSig,Other\r\n", QMessageBox::Yes)  // skip
                .contains("0 added, 0 replaced, 1 skipped"));
    QCOMPARE(listed(m), (QStringList{"Greeting", "Sig", "New", "Greeting (2)", "New (2)"}));
    QCOMPARE(folder_->read(), Rec("1|Greeting|Hi\r\n1|Sig|Regards\r\n1|New|N\r\n\r\n"
                                  "1|Greeting (2)|Hey\r\n1|New (2)|Fresh\r\n"));

    const QByteArray before = folder_->read();
    QVERIFY(import("name,value\r\nA,1\r\n\"B,2\r\n", QMessageBox::NoButton)
                .contains("line 3: a quoted field is not closed. Nothing was imported."));
    QVERIFY(
        import("name,value,extra\r\n", QMessageBox::NoButton).contains("line 1: the first line"));
    QCOMPARE(folder_->read(), before);
    // An import cancelled while its file is read writes nothing and says nothing.
    modal_.files << folder_->filePath(QStringLiteral("in.csv"));
    WriteAll(modal_.files.last(), "name,value\r\nCancelled,1\r\n");
    modal_.shown.clear();
    click(pushButton(m, "cmdImport"));
    m->importReader()->cancel();
    QTest::qWait(100);
    QCOMPARE(folder_->read(), before);
    QCOMPARE(modal_.shown, QStringList());
  }

  // Import reads as the engine reads: line by line, each line UTF-8 where it is valid and
  // Windows-1252 otherwise; every store the engine reads (the fuzzer's seeds among them) is
  // taken; a name the engine's rule refuses is reported with its line, and a path or name
  // holding "%2" is said as it is.
  void importReadsWhatTheEngineReads() {
    frmManage* m = open(QByteArray());
    const QString file = folder_->filePath(QStringLiteral("in %2 %1.dat"));
    WriteAll(file, Rec("1|Gr\xc3\xbc\xc3\x9f"
                       "e|UTF-8 line\r\n1|Gr\xfc\xdf"
                       "e alt|old line\r\n"
                       "1|Sep|a|b\r\n"));
    modal_.files << file;
    importWith(m);
    QCOMPARE(listed(m),
             (QStringList{QString::fromUtf8("Grüße"), QString::fromUtf8("Grüße alt"), "Sep"}));
    QVERIFY2(modal_.shown.last().contains(file + QStringLiteral(": 3 added")),
             qPrintable(modal_.shown.last()));
    const QString csv = folder_->filePath(QStringLiteral("names.csv"));
    // Every row refused is named with its line and reason, in the file's order, whichever
    // step refused it: a text stored already (as Add refuses it) is never dropped unsaid.
    WriteAll(csv, "name,value\r\n" + QByteArray(32768, 'L') +
                      ",0\r\nok,1\r\n\"Sig\x04"
                      "EVIL\",2\r\n,3\r\nsame,1\r\n");
    modal_.files << csv;
    importWith(m);
    QVERIFY2(modal_.shown.last().endsWith(
                 "1 added, 0 replaced, 4 skipped.\n\nNot imported:\n"
                 "line 2: A template name cannot be longer than 32767 characters.\n"
                 "line 4: A template name cannot contain the control character 0x04: it "
                 "separates a template's name from its value in the store.\n"
                 "line 5: The name is empty.\n"
                 "line 6: A template with the same text is stored already."),
             qPrintable(modal_.shown.last()));

    const QDir seeds(QFINDTESTDATA("../../template/tests/fuzz_seeds"));
    QVERIFY(seeds.exists());
    for (const QString& seed : seeds.entryList(QDir::Files)) {
      folder_->write(QByteArray());
      modal_.reset();
      modal_.files << seeds.filePath(seed);
      importWith(m);
      QVERIFY2(modal_.shown.last().contains("Imported from"),
               qPrintable(seed + ": " + modal_.shown.join('|')));
    }
  }

  // Typing replaces the preset value, however the box took the keyboard, even when the
  // keys come before any event loop turn (a fast typist, a busy machine).
  void typingReplacesThePresetValue_data() {
    QTest::addColumn<bool>("byClick");
    QTest::newRow("by Tab") << false;
    QTest::newRow("by a click") << true;
  }
  void typingReplacesThePresetValue() {
    QFETCH(bool, byClick);
    frmManage* m = open(QByteArray());
    m->presetForSlot(1, QStringLiteral("Not Set"));
    if (byClick)
      QTest::mouseClick(valueBox(m)->viewport(), Qt::LeftButton, {}, QPoint(40, 8));
    else
      QTest::keyClick(nameBox(m), Qt::Key_Tab);
    QTest::keyClicks(valueBox(m), QStringLiteral("Ann"));
    QCOMPARE(valueBox(m)->toPlainText(), QStringLiteral("Ann"));
  }

  // The row the arrow keys reach is the one the boxes show, and the one Remove removes.
  void listKeysDriveTheBoxes() {
    frmManage* m = open(Numbered(1, 3));
    clickNode(m, 0);
    QTest::keyClick(m->findChild<QTreeWidget*>(), Qt::Key_Down);
    QCOMPARE(nameBox(m)->text(), QStringLiteral("Name 2"));
    QCOMPARE(valueBox(m)->toPlainText(), QStringLiteral("Value 2"));
    click(pushButton(m, "cmdRemove"));
    QCOMPARE(listed(m), (QStringList{"Name 1", "Name 3"}));
    // The list read back has no row current: no other template is acted on in its place.
    QCOMPARE(m->findChild<QTreeWidget*>()->currentItem(), nullptr);
    // The first arrow key after it highlights a row and fills the boxes, for Remove and
    // Rename alike; the row the list marks current as it takes the keyboard fills nothing.
    fill(m, QStringLiteral("Typed"), QStringLiteral("typed"));
    m->findChild<QTreeWidget*>()->setFocus();
    QCOMPARE(nameBox(m)->text(), QStringLiteral("Typed"));
    QTreeWidgetItem* highlighted = nullptr;
    for (int down = 0; down < 2; ++down) {  // Name 3, or Name 1 where the keyboard marked none
      QTest::keyClick(m->findChild<QTreeWidget*>(), Qt::Key_Down);
      highlighted = m->findChild<QTreeWidget*>()->currentItem();
      QVERIFY(highlighted && highlighted->isSelected());
      QCOMPARE(nameBox(m)->text(), highlighted->text(0));
    }
    const QString was = highlighted->text(0);
    nameBox(m)->setText(QStringLiteral("Renamed"));
    click(pushButton(m, "cmdRename"));
    QVERIFY(!listed(m).contains(was));
    QCOMPARE(listed(m).size(), 2);
    QVERIFY(listed(m).contains("Renamed"));
  }

  // Rename refuses exactly what Add refuses, with the rule's own message.
  void renameAndAddRefuseANameTheRuleRefuses() {
    frmManage* m = open(Numbered(1, 2));
    const QByteArray before = folder_->read();
    for (const char* button : {"cmdRename", "cmdAdd"}) {
      modal_.shown.clear();
      clickNode(m, 0);
      fill(m,
           QStringLiteral("Sig\x04"
                          "EVIL"),
           QStringLiteral("new value"));
      click(pushButton(m, button));
      QVERIFY2(modal_.shown.value(0).contains("A template name cannot contain"),
               qPrintable(modal_.shown.join('|')));
      QCOMPARE(folder_->read(), before);
    }
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

  // Another process renames the template being edited: the list follows the store at once,
  // the boxes keep what was typed, and each step on the gone template says why it cannot be
  // taken instead of doing nothing.
  void templateGoneElsewhereIsSaidAndTheTypingKept_data() {
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("typedName");
    QTest::newRow("Modify") << "cmdModify"
                            << "Address";
    QTest::newRow("Remove") << "cmdRemove"
                            << "Address";
    QTest::newRow("Rename") << "cmdRename"
                            << "Postal address";
  }
  void templateGoneElsewhereIsSaidAndTheTypingKept() {
    QFETCH(QString, button);
    QFETCH(QString, typedName);
    frmManage* m = open(Rec("1|Address|1 Main St\r\n1|Other|x\r\n"));
    clickNode(m, 0);
    fill(m, typedName, QStringLiteral("2 High St"));
    const QByteArray elsewhere = Rec("1|Other|x\r\n1|Home address|1 Main St\r\n");
    folder_->write(elsewhere);
    QTRY_COMPARE(listed(m), QStringList({"Other", "Home address"}));
    QCOMPARE(nameBox(m)->text(), typedName);

    click(pushButton(m, button));
    QCOMPARE(modal_.shown, QStringList("quorpad: 'Address' is no longer in the templates: it "
                                       "was renamed or removed elsewhere."));
    QCOMPARE(folder_->read(), elsewhere);
    QCOMPARE(nameBox(m)->text(), typedName);
    QCOMPARE(valueBox(m)->toPlainText(), QStringLiteral("2 High St"));
  }

  // A list read again changes only the rows that changed: the rows both lists start and end
  // with stay the same items; however many rows come in, they come in order; taking out more
  // than 1,000 empties the tree first.
  void listReadAgainKeepsTheRowsItShares_data() {
    const auto numbers = [](int from, int to) {
      QStringList names;
      for (int i = from; i <= to; ++i) names << QString::number(i);
      return names;
    };
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<int>("kept");
    QTest::newRow("added at the end") << numbers(1, 5) << numbers(1, 6) << 5;
    QTest::newRow("removed") << numbers(1, 5) << QStringList{"1", "2", "4", "5"} << 4;
    QTest::newRow("renamed") << numbers(1, 3) << QStringList{"1", "x", "3"} << 2;
    QTest::newRow("moved") << numbers(1, 4) << QStringList{"1", "3", "2", "4"} << 2;
    QTest::newRow("20,000 imported") << numbers(1, 100) << numbers(1, 20100) << 100;
    QTest::newRow("1,000 taken out") << numbers(1, 1100) << numbers(1, 100) << 100;
    QTest::newRow("1,001 taken out") << numbers(1, 1101) << numbers(1, 100) << 0;
  }
  void listReadAgainKeepsTheRowsItShares() {
    QFETCH(QStringList, before);
    QFETCH(QStringList, after);
    QFETCH(int, kept);
    QTreeWidget tree;
    const auto read = [&tree](const QStringList& names) {
      TreeViewAdapter list(&tree);
      list.Clear();
      for (const QString& name : names) list.Add(ToU16("value " + name), ToU16(name));
    };
    read(before);
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
      tree.topLevelItem(i)->setData(0, Qt::UserRole + 1, true);  // marks the items as they were
    read(after);
    QStringList shown;
    int same = 0;
    for (int i = 0; i < tree.topLevelItemCount(); ++i) {
      const QTreeWidgetItem* item = tree.topLevelItem(i);
      shown << item->text(0);
      QCOMPARE(item->data(0, Qt::UserRole).toString(), "value " + item->text(0));
      same += item->data(0, Qt::UserRole + 1).toBool();
    }
    QCOMPARE(shown, after);
    QCOMPARE(same, kept);
  }

  // Versions kept beside the window come in the order the changes were made, each holding
  // the store as it was, and listing them waits for the writes.
  void versionsKeptBesideKeepTheirOrder() {
    QStringList outcomes;
    QObject context;
    for (int i = 1; i <= 3; ++i) {
      folder_->write(Numbered(1, i));
      KeepStoreVersionBeside(folder_->store(), &context, [&outcomes](const QString& reason) {
        outcomes << reason;
      }).changeMade(QStringLiteral("Change %1").arg(i));
    }
    const QList<StoreVersion> kept = StoreVersions(folder_->store());
    QCOMPARE(kept.size(), 3);
    for (int i = 0; i < 3; ++i) {
      QCOMPARE(kept.at(i).templates, 3 - i);
      QCOMPARE(ReadAll(kept.at(i).file), Numbered(1, 3 - i));
      QCOMPARE(kept.at(i).change, QStringLiteral("Change %1").arg(3 - i));
    }
    QTRY_COMPARE(outcomes, QStringList(3, QString()));
    // A write cut short by a kill leaves its temporary file, a store's size: the next
    // version removes it, and leaves that of a process still running.
    const QDir versions(StoreVersionFolder(folder_->store()));
    const QString dead = versions.filePath(".version.2147483646.0.tmp");
    const QString running = versions.filePath(QStringLiteral(".version.%1.0.tmp").arg(1));
    WriteAll(dead, "half a store");
    WriteAll(running, "being written");
    folder_->write(Numbered(1, 4));
    KeepStoreVersionBeside(folder_->store(), &context, [](const QString&) {});
    QCOMPARE(StoreVersions(folder_->store()).size(), 4);
    QVERIFY(!QFile::exists(dead) && QFile::exists(running));
  }

  void escapeLeavesDialogOpen() {
    QPointer<frmManage> m = open(Numbered(1, 1));
    QTest::keyClick(m, Qt::Key_Escape);
    QVERIFY(m && m->isVisible());
    QTest::keyClick(nameBox(m), Qt::Key_Escape);
    Settle();
    QVERIFY(m && m->isVisible());
  }
};

QTEST_MAIN(ManagerTest)
#include "manager_test.moc"
