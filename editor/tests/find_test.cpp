// Find and Replace: the queries, the bar driven from the keyboard, and Replace All as one
// step for Undo.
#include <QCheckBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

#include "common/longjob.h"
#include "editor/findbar.h"
#include "editor/frmMain.h"
#include "ownwindow.h"
#include "testsupport/guitest.h"

using namespace guitest;

class FindTest : public Fixture {
  Q_OBJECT

 private:
  static QString Selected(frmMain& w) { return w.textBox()->textCursor().selectedText(); }
  static int At(frmMain& w) { return w.textBox()->textCursor().selectionStart(); }
  static void Check(frmMain& w, const char* option, bool on) {
    w.findBar()->findChild<QCheckBox*>(QString::fromLatin1(option))->setChecked(on);
  }

 protected:
  void setUp() override { folder_->write(QByteArray()); }
  void tearDown() override { CloseOwnWindows(); }

 private Q_SLOTS:
  void queriesFindWhatTheirOptionsSay_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<bool>("wholeWords");
    QTest::addColumn<bool>("regex");
    QTest::addColumn<int>("count");
    const QString doc = QStringLiteral("Cat cat concat CAT. a.c abc");
    QTest::newRow("any case") << "cat" << false << false << false << 4;
    QTest::newRow("match case") << "cat" << true << false << false << 2;
    QTest::newRow("whole words") << "cat" << false << true << false << 3;
    QTest::newRow("dot as text") << "a.c" << false << false << false << 1;
    QTest::newRow("dot as pattern") << "a.c" << false << false << true << 2;
    QTest::newRow("invalid pattern") << "a(" << false << false << true << 0;
  }
  void queriesFindWhatTheirOptionsSay() {
    QFETCH(QString, text);
    QFETCH(bool, matchCase);
    QFETCH(bool, wholeWords);
    QFETCH(bool, regex);
    QFETCH(int, count);
    const FindQuery query{text, matchCase, wholeWords, regex};
    QCOMPARE(CountMatches(QStringLiteral("Cat cat concat CAT. a.c abc"), query), qsizetype(count));
    qsizetype replaced = 0;
    const QString result = ReplaceAll(QStringLiteral("Cat cat concat CAT. a.c abc"), query,
                                      QStringLiteral("\\1"), replaced);
    QCOMPARE(replaced, qsizetype(count));
    if (!regex && count > 0) QVERIFY(result.contains(QStringLiteral("\\1")));  // taken as text
  }

  // What replaces a match: groups by number where the query is an expression, as many
  // digits as there are groups; plain text as it stands, backslashes and all.
  void replacementsReadGroupsOnlyInExpressions_data() {
    QTest::addColumn<QString>("find");
    QTest::addColumn<bool>("regex");
    QTest::addColumn<QString>("with");
    QTest::addColumn<QString>("result");
    QTest::newRow("plain backslashes") << "x" << false << "C:\\dir\\1"
                                       << "a C:\\dir\\1 b";
    QTest::newRow("group") << "(x)" << true << "[\\1]"
                           << "a [x] b";
    QTest::newRow("one group, two digits") << "(x)" << true << "\\12"
                                           << "a x2 b";
    QTest::newRow("no such group") << "(x)" << true << "\\2\\"
                                   << "a \\2\\ b";
  }
  void replacementsReadGroupsOnlyInExpressions() {
    QFETCH(QString, find);
    QFETCH(bool, regex);
    QFETCH(QString, with);
    QFETCH(QString, result);
    qsizetype count = 0;
    QCOMPARE(ReplaceAll(QStringLiteral("a x b"), FindQuery{find, false, false, regex}, with, count),
             result);
    QCOMPARE(count, qsizetype(1));
  }

  // An expression that backtracks beyond the search's limits is said to be so, where the
  // search alone would say "Not found." though a match exists; Replace All changes nothing.
  void tooComplexExpressionIsSaidAndReplacesNothing() {
    frmMain& w = ShownOwnMainWindow();
    const QString text = QString(28, QLatin1Char('a')).append(QLatin1Char('\n')).repeated(3) +
                         QStringLiteral("aaaa");
    w.textBox()->setPlainText(text);
    FindBar* bar = w.findBar();
    bar->open(true);
    Check(w, "chkRegex", true);
    bar->findChild<QLineEdit*>(QStringLiteral("txtFind"))->setText(QStringLiteral("(a+)+$"));
    bar->findChild<QLineEdit*>(QStringLiteral("txtReplace"))->setText(QStringLiteral("b"));
    QVERIFY(!bar->findNext());
    QCOMPARE(bar->statusText(), TooComplex());
    bar->replaceEvery();
    bar->waitForWork();
    QCOMPARE(bar->lastReplaced(), qsizetype(0));
    QVERIFY(bar->statusText().startsWith(QStringLiteral("Nothing was replaced: ")));
    QCOMPARE(w.textBox()->toPlainText(), text);
    QTRY_VERIFY(bar->statusText().endsWith(TooComplex()) && !bar->counting());
  }

  void keyboardFindsReplacesAndGivesTheDocumentBack() {
    frmMain& w = ShownOwnMainWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
    w.textBox()->setPlainText(QStringLiteral("one two one\nthree one"));
    w.textBox()->setFocus();
    QTest::keyClick(w.textBox(), Qt::Key_F, Qt::ControlModifier);
    FindBar* bar = w.findBar();
    QVERIFY(bar->isVisible());
    auto* find = bar->findChild<QLineEdit*>(QStringLiteral("txtFind"));
    QCOMPARE(QApplication::focusWidget(), find);
    // As it is typed, and on with Enter, wrapping round the end.
    QTest::keyClicks(find, QStringLiteral("one"));
    QCOMPARE(At(w), 0);
    QTRY_VERIFY(bar->statusText().contains(QStringLiteral("3 matches")));
    QTest::keyClick(find, Qt::Key_Return);
    QCOMPARE(At(w), 8);
    QTest::keyClick(find, Qt::Key_F3);
    QCOMPARE(At(w), 18);
    QTest::keyClick(find, Qt::Key_Return);
    QCOMPARE(At(w), 0);
    QVERIFY2(bar->statusText().contains(QStringLiteral("wrapped around the end")),
             qPrintable(bar->statusText()));
    QTest::keyClick(find, Qt::Key_Return, Qt::ShiftModifier);
    QCOMPARE(At(w), 18);
    QVERIFY(bar->statusText().contains(QStringLiteral("wrapped around the start")));
    // An invalid pattern is said, and nothing moves.
    Check(w, "chkRegex", true);
    find->setText(QStringLiteral("o(n"));
    QVERIFY(!bar->findNext());
    QVERIFY2(bar->statusText().startsWith(QStringLiteral("Not a regular expression")),
             qPrintable(bar->statusText()));
    Check(w, "chkRegex", false);
    // Escape closes the bar; the document has the keyboard again, and F3 goes on there.
    QTest::keyClick(find, Qt::Key_Escape);
    QVERIFY(!bar->isVisible());
    QCOMPARE(QApplication::focusWidget(), w.textBox());
    find->setText(QStringLiteral("three"));
    QTest::keyClick(w.textBox(), Qt::Key_F3);
    QCOMPARE(Selected(w), QStringLiteral("three"));

    // Ctrl+H: the selection is what is found; Replace, then Replace All as one Undo step.
    QTextCursor cursor(w.textBox()->document());
    cursor.setPosition(4);
    cursor.setPosition(7, QTextCursor::KeepAnchor);
    w.textBox()->setTextCursor(cursor);
    QTest::keyClick(w.textBox(), Qt::Key_H, Qt::ControlModifier);
    QCOMPARE(find->text(), QStringLiteral("two"));
    auto* with = bar->findChild<QLineEdit*>(QStringLiteral("txtReplace"));
    QVERIFY(with->isVisible());
    find->setText(QStringLiteral("one"));
    with->setText(QStringLiteral("1"));
    bar->findNext();
    bar->findChild<QPushButton*>(QStringLiteral("cmdReplace"))->click();
    QCOMPARE(w.textBox()->toPlainText(), QStringLiteral("one two 1\nthree one"));
    // Replace All on a short text is done before the next key, as one Undo step.
    bar->replaceEvery();
    QCOMPARE(bar->lastReplaced(), qsizetype(2));
    QVERIFY(!w.textBox()->isReadOnly());
    QCOMPARE(w.textBox()->toPlainText(), QStringLiteral("1 two 1\nthree 1"));
    w.textBox()->undo();
    QCOMPARE(w.textBox()->toPlainText(), QStringLiteral("one two 1\nthree one"));

    // Replace All over a long text runs beside the window, the document held still, and is
    // put in piece by piece, still one Undo step; cancelled half-way (Save meanwhile does
    // nothing) it leaves the text as it was.
    const QString far = QStringLiteral("one\n") +
                        (QString(1000, QLatin1Char('x')) + QLatin1Char('\n')).repeated(70);
    const QString longText = far.repeated(20);
    // Stopped three ways: Cancel; the close check (another file asked for), whose question
    // is about the text as the person left it and whose Yes saves that; not at all.
    enum { kCancel, kCloseCheck, kFinish };
    for (int stop : {kCancel, kCloseCheck, kFinish}) {
      w.textBox()->setPlainText(longText);
      w.textBox()->document()->setModified(stop == kCloseCheck);  // unsaved
      const int before = w.textBox()->document()->revision();
      bar->replaceEvery();
      QVERIFY(w.textBox()->isReadOnly());
      while (w.textBox()->document()->revision() == before) QCoreApplication::processEvents();
      w.mnuSave_Click();  // does nothing while the text is held
      QCOMPARE(modal_.asked, QStringList());
      const QString saved = folder_->filePath(QStringLiteral("saved.txt"));
      if (stop == kCancel) bar->replaceJob()->cancel();
      if (stop == kCloseCheck) {
        modal_.buttons << QMessageBox::Yes;
        modal_.files << saved;
        w.openFromOutside(folder_->filePath(QStringLiteral("new.txt")));
        QCOMPARE(ReadAll(saved).replace("\r\n", "\n"), longText.toUtf8());
        modal_.reset();
        continue;
      }
      bar->waitForWork();
      QCOMPARE(w.textBox()->toPlainText() == longText, stop == kCancel);
      QVERIFY(!w.textBox()->isReadOnly());
      // What Cancel undid no Redo brings back.
      QTest::keyClick(w.textBox(), Qt::Key_Y, Qt::ControlModifier);
      QCOMPARE(w.textBox()->toPlainText() == longText, stop == kCancel);
    }
    QCOMPARE(bar->lastReplaced(), qsizetype(20));
    w.textBox()->undo();
    QCOMPARE(w.textBox()->toPlainText(), longText);

    // Find Previous reaches a match far behind the caret, over lines and lines of text.
    const QString filler = QStringLiteral("no match on this line\n").repeated(20000);
    w.textBox()->setPlainText(QStringLiteral("one\n") + filler + QStringLiteral("one") + filler);
    w.textBox()->moveCursor(QTextCursor::End);
    QVERIFY(bar->findPrevious());
    QCOMPARE(At(w), 4 + filler.size());
    QVERIFY(bar->findPrevious());
    QCOMPARE(At(w), 0);
  }
};

QTEST_MAIN(FindTest)
#include "find_test.moc"
