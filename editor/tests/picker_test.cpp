// The template picker on real stores: ranking, letter case, choosing and closing, and the
// stores it must cope with.
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTextCursor>

#include "common/programfolder.h"
#include "common/templatefields.h"
#include "editor/frmMain.h"
#include "editor/templatepicker.h"
#include "ownwindow.h"
#include "testsupport/guitest.h"

using namespace guitest;

namespace {

// The names the picker lists, top to bottom.
QStringList ListedNames(const TemplatePicker* picker) {
  const auto* list = picker->findChild<QListView*>(QStringLiteral("lstTemplates"));
  QStringList names;
  for (int row = 0; row < list->model()->rowCount(); ++row)
    names << list->model()->index(row, 0).data().toString();
  return names;
}

QLineEdit* FilterOf(const TemplatePicker* picker) {
  return picker->findChild<QLineEdit*>(QStringLiteral("txtFilter"));
}

}  // namespace

class PickerTest : public Fixture {
  Q_OBJECT

 private:
  // A picker over a bare text box, on the test's store.
  struct Bench {
    QWidget host;
    QPlainTextEdit* doc = new QPlainTextEdit(&host);
    templates::tmpeng engine{ProgramFolder().toStdString()};
    TemplatePicker* picker = new TemplatePicker(doc, engine, &host);
    Bench() {
      host.resize(500, 400);
      doc->setGeometry(0, 0, 500, 400);
      host.show();
    }
  };

 protected:
  void tearDown() override { CloseOwnWindows(); }

 private Q_SLOTS:
  void rankingPutsPrefixThenContainsThenValueThenLettersInOrder() {
    folder_->write(
        Rec("1|Weekly greeting|Hi all\r\n"
            "1|Reply|With greetings, Ann\r\n"
            "1|Greet new staff|Welcome\r\n"
            "1|General report text|nothing\r\n"
            "1|Greetings|\r\n"
            "1|Unrelated|zzz\r\n"
            "1|Old greeting|more\r\n"));
    Bench b;
    b.picker->open();
    QCOMPARE(ListedNames(b.picker),
             QStringList({"Weekly greeting", "Reply", "Greet new staff", "General report text",
                          "Greetings", "Unrelated", "Old greeting"}));
    QTest::keyClicks(FilterOf(b.picker), QStringLiteral("GREET"));
    QCOMPARE(ListedNames(b.picker), QStringList({"Greet new staff", "Greetings", "Weekly greeting",
                                                 "Old greeting", "Reply", "General report text"}));
    // Erasing widens the list again to what the shorter text matches.
    QTest::keyClick(FilterOf(b.picker), Qt::Key_Backspace);
    QTest::keyClick(FilterOf(b.picker), Qt::Key_Backspace);
    QTest::keyClick(FilterOf(b.picker), Qt::Key_Backspace);
    QCOMPARE(ListedNames(b.picker).first(), QStringLiteral("Greet new staff"));
    QVERIFY(ListedNames(b.picker).contains(QStringLiteral("Unrelated")) == false);
    QVERIFY(ListedNames(b.picker).contains(QStringLiteral("Reply")));
    QCOMPARE(b.picker->statusText(), QString());
  }

  void typingNarrowsToWhatAFreshFilterFinds() {
    // The filter reuses the previous result while the text grows; whatever the way, it must
    // come to what filtering the whole list afresh gives.
    TemplateList list;
    const char16_t* names[] = {u"abc", u"xabc", u"a-b-c", u"cab",   u"ABCD",  u"b",
                               u"",    u"bca",  u"acb",   u"zzabz", u"Ä b c", u"äbc"};
    for (const char16_t* name : names) list.Add(u"value " + std::u16string(name), name);
    for (const QString& text : {QStringLiteral("abc"), QStringLiteral("val"), QStringLiteral("äb"),
                                QStringLiteral("a b"), QStringLiteral("zz")}) {
      TemplateFilter typed;
      for (qsizetype n = 0; n <= text.size(); ++n) typed.apply(list, text.left(n));
      TemplateFilter fresh;
      QCOMPARE(typed.rows(), fresh.apply(list, text));
    }
    TemplateFilter filter;
    QCOMPARE(filter.apply(list, QStringLiteral("abc")), std::vector<int>({0, 4, 1, 2}));
  }

  void letterCaseIsIgnoredBeyondAscii_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("found");
    QTest::newRow("accented capitals") << QStringLiteral("ÉTÉ") << QStringLiteral("été à Paris");
    QTest::newRow("cyrillic") << QStringLiteral("ПРИВЕТ") << QStringLiteral("Привет всем");
    QTest::newRow("dotted capital I") << QStringLiteral("İst") << QStringLiteral("İSTANBUL trip");
    QTest::newRow("capitals in the value") << QStringLiteral("grüße") << QStringLiteral("Regards");
  }
  void letterCaseIsIgnoredBeyondAscii() {
    QFETCH(QString, typed);
    QFETCH(QString, found);
    folder_->write(
        Rec("1|été à Paris|x\r\n1|Привет всем|y\r\n1|İSTANBUL trip|z\r\n"
            "1|Regards|MIT FREUNDLICHEN GRÜSSE und GRÜẞE\r\n1|Other|w\r\n"));
    Bench b;
    b.picker->open();
    FilterOf(b.picker)->setText(typed);
    QCOMPARE(ListedNames(b.picker), QStringList({found}));
  }

  void enterInsertsInPlaceOfTheSelectionAndCloses() {
    QByteArray store = Numbered(1, 19);
    store += Rec(
        "1|Twentieth letter|Dear Ann,\x02\x03see you.\r\n1|Wrap|<b>{:selection:}{:caret:}</b>\r\n");
    folder_->write(store);
    frmMain& w = ShownOwnMainWindow();
    QPlainTextEdit* doc = w.textBox();
    doc->setPlainText(QStringLiteral("Hello XX world"));
    QTextCursor cursor(doc->document());
    cursor.setPosition(6);
    cursor.setPosition(8, QTextCursor::KeepAnchor);
    doc->setTextCursor(cursor);
    doc->setFocus();

    QTest::keyClick(doc, Qt::Key_T, Qt::ControlModifier);
    TemplatePicker* picker = w.templatePicker();
    QVERIFY(picker && picker->isVisible());
    QCOMPARE(QApplication::focusWidget(), FilterOf(picker));
    // The thirteen templates of the popup come first, in store order.
    QCOMPARE(ListedNames(picker).mid(0, 3), QStringList({"Name 1", "Name 2", "Name 3"}));
    QCOMPARE(ListedNames(picker).size(), 21);

    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("twen"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(doc->toPlainText(), QStringLiteral("Hello Dear Ann,\nsee you. world"));
    QVERIFY(!picker->isVisible());
    QCOMPARE(QApplication::focusWidget(), doc);

    // With fields on, what the picker inserts is filled as the popup's slots fill it.
    // The window follows the switch as the settings file changes, whoever changes it, from
    // the next insertion on.
    QVERIFY(SwitchFields(true).isEmpty());
    QVERIFY(w.fieldsOn());
    doc->setPlainText(QStringLiteral("x SEL y"));
    cursor = QTextCursor(doc->document());
    cursor.setPosition(2);
    cursor.setPosition(5, QTextCursor::KeepAnchor);
    doc->setTextCursor(cursor);
    QTest::keyClick(doc, Qt::Key_T, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("wrap"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(doc->toPlainText(), QStringLiteral("x <b>SEL</b> y"));
    QCOMPARE(doc->textCursor().position(), 8);
    QVERIFY(SwitchFields(false).isEmpty());
    QVERIFY(!w.fieldsOn());
  }

  void upAndDownChooseTheRowEnterInserts() {
    folder_->write(Numbered(1, 5));
    frmMain& w = ShownOwnMainWindow();
    w.textBox()->setFocus();
    w.showTemplatePicker();
    QWidget* filter = QApplication::focusWidget();
    QTest::keyClick(filter, Qt::Key_Down);
    QTest::keyClick(filter, Qt::Key_Down);
    QTest::keyClick(filter, Qt::Key_Down);
    QTest::keyClick(filter, Qt::Key_Up);
    QTest::keyClick(filter, Qt::Key_Enter);
    QCOMPARE(w.textBox()->toPlainText(), QStringLiteral("Value 3"));
    // Up at the top stays on the first row.
    w.showTemplatePicker();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(w.textBox()->toPlainText(), QStringLiteral("Value 3Value 1"));
  }

  void escapeClosesAndInsertsNothing() {
    folder_->write(Numbered(1, 3));
    frmMain& w = ShownOwnMainWindow();
    w.textBox()->setPlainText(QStringLiteral("keep"));
    w.textBox()->selectAll();
    w.textBox()->setFocus();
    w.showTemplatePicker();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Name"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QVERIFY(!w.templatePicker()->isVisible());
    QCOMPARE(w.textBox()->toPlainText(), QStringLiteral("keep"));
    QCOMPARE(QApplication::focusWidget(), w.textBox());
    // Opened again, the filter starts empty.
    w.showTemplatePicker();
    QCOMPARE(FilterOf(w.templatePicker())->text(), QString());
    QCOMPARE(ListedNames(w.templatePicker()).size(), 3);
  }

  void emptyStoreAndNoMatchAreSaid() {
    folder_->write(QByteArray());
    Bench b;
    b.picker->open();
    QCOMPARE(b.picker->statusText(), QStringLiteral("There are no templates yet."));
    QVERIFY(b.picker->findChild<QLabel*>(QStringLiteral("lblStatus"))->isVisible());
    // Enter on an empty list chooses nothing and leaves the picker open.
    QSignalSpy chosen(b.picker, &TemplatePicker::chosen);
    QTest::keyClick(FilterOf(b.picker), Qt::Key_Return);
    QCOMPARE(chosen.count(), 0);
    QVERIFY(b.picker->isVisible());

    folder_->write(Numbered(1, 2));
    b.picker->dismiss();
    b.picker->open();
    QTest::keyClicks(FilterOf(b.picker), QStringLiteral("qqq"));
    QCOMPARE(b.picker->statusText(), QStringLiteral("No template matches."));
  }

  void unreadableStoreShowsTheEngineMessageAndRecovers() {
    Bench b;  // no store at all
    b.picker->open();
    QVERIFY2(b.picker->statusText().contains(folder_->store()), qPrintable(b.picker->statusText()));
    QVERIFY(ListedNames(b.picker).isEmpty());
    // Still usable: typing filters nothing, Escape closes.
    QTest::keyClicks(FilterOf(b.picker), QStringLiteral("abc"));
    QTest::keyClick(FilterOf(b.picker), Qt::Key_Escape);
    QVERIFY(!b.picker->isVisible());
    // The next opening reads the store again.
    folder_->write(Numbered(1, 2));
    b.picker->open();
    QCOMPARE(b.picker->statusText(), QString());
    QCOMPARE(ListedNames(b.picker), QStringList({"Name 1", "Name 2"}));
  }

  void storeChangedOnDiskIsReadAgainAtOpening() {
    folder_->write(Numbered(1, 2));
    Bench b;
    b.picker->open();
    b.picker->dismiss();
    folder_->append(Numbered(3, 3));
    b.picker->open();
    QCOMPARE(ListedNames(b.picker), QStringList({"Name 1", "Name 2", "Name 3"}));
  }

  void openPickerFollowsTheStoreItsWindowWatches() {
    folder_->write(Numbered(1, 2));
    frmMain& w = ShownOwnMainWindow();
    w.textBox()->setFocus();
    w.showTemplatePicker();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("name"));
    folder_->append(Numbered(3, 3));
    QTRY_COMPARE(ListedNames(w.templatePicker()), QStringList({"Name 1", "Name 2", "Name 3"}));
    QCOMPARE(FilterOf(w.templatePicker())->text(), QStringLiteral("name"));
    // The reading goes to a thread of its own: the window goes on meanwhile, showing the
    // list it had, and typing during the reading is applied to the new list.
    folder_->append(Numbered(4, 4));
    w.templatePicker()->reloadIfOpen();
    QVERIFY(w.templatePicker()->reloading());
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral(" 4"));
    QTRY_VERIFY(!w.templatePicker()->reloading());
    QCOMPARE(ListedNames(w.templatePicker()), QStringList({"Name 4"}));
  }

  void templateOnTheClipboardIsEmptiedAtExit() {
    folder_->write(Numbered(1, 1));
    frmMain& w = ShownOwnMainWindow();
    w.putTemplateOnClipboard(QStringLiteral("Dear Ann,\r\nthanks"));
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("Dear Ann,\nthanks"));
    QSignalSpy destroyed(&w, &QObject::destroyed);
    w.action(QStringLiteral("mnuExit"))->trigger();
    Settle();
    QCOMPARE(destroyed.count(), 1);
    QCOMPARE(QApplication::clipboard()->text(), QString());
  }

  void oddTextsAreShownSafelyOnOneLine() {
    QString big(3 * 1024 * 1024, QLatin1Char('x'));
    folder_->write(Rec("1|Tab\there\x01"
                       "and\x1b|first line\x02\x03second line\r\n"
                       "1|Huge|") +
                   big.toLatin1() + "\r\n");
    Bench b;
    b.picker->open();
    const QAbstractItemModel* model =
        b.picker->findChild<QListView*>(QStringLiteral("lstTemplates"))->model();
    QCOMPARE(model->index(0, 0).data().toString(), QStringLiteral("Tab here\ufffdand\ufffd"));
    QCOMPARE(model->index(0, 0).data(TemplateListModel::kPreviewRole).toString(),
             QStringLiteral("first line"));
    const QString preview = model->index(1, 0).data(TemplateListModel::kPreviewRole).toString();
    QVERIFY(preview.size() < 1000);
    QVERIFY(preview.endsWith(QChar(0x2026)));
    // The whole text is what gets inserted.
    QCOMPARE(model->index(1, 0).data(TemplateListModel::kValueRole).toString().size(), big.size());
    QCOMPARE(ShownOnOneLine(u"a\r\nb\nc\u2028d\x7f", 100), QStringLiteral("a⏎b⏎c⏎d\ufffd"));
    // The controls of writing direction show too, and turn nothing around the name.
    QCOMPARE(ShownOnOneLine(u"\u202eevil\u2066x\u2069", 100),
             QStringLiteral("\ufffdevil\ufffdx\ufffd"));
  }
};

QTEST_MAIN(PickerTest)
#include "picker_test.moc"
