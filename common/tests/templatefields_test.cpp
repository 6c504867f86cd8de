// The field language of templates, as a table: what each field becomes, what stays as
// written, where the caret goes and what is left empty.
#include <QtTest>

#include "common/templatefields.h"

class TemplateFieldsTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void fieldsFillAsWritten_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("filled");
    QTest::addColumn<int>("caret");
    QTest::addColumn<QStringList>("leftEmpty");
    const QStringList none;
    QTest::newRow("no field") << "plain {text} :} {"
                              << "plain {text} :} {" << -1 << none;
    QTest::newRow("caret, the first counts") << "a{:caret:}b{:caret:}c"
                                             << "abc" << 1 << none;
    QTest::newRow("date and time") << "{:date:} {:time:} {:date dd.MM.yy:} {:time HH:mm:ss:}"
                                   << "2026-03-04 05:06 04.03.26 05:06:07" << -1 << none;
    QTest::newRow("clipboard and selection") << "[{:clipboard:}|{:selection:}]"
                                             << "[CLIP|SEL]" << -1 << none;
    QTest::newRow("one answer fills a name twice") << "{:ask To:} and {:ask To:}"
                                                   << "Ann and Ann" << -1 << none;
    QTest::newRow("an unanswered fill-in is left empty")
        << "Dear {:ask Who:}!"
        << "Dear !" << -1 << QStringList{"{:ask Who:}"};
    QTest::newRow("escape") << "{::caret:} {::"
                            << "{:caret:} {:" << -1 << none;
    QTest::newRow("unknown, broken or unclosed stay")
        << "{:nope:} {:date\n:} {:caret"
        << "{:nope:} {:date\n:} {:caret" << -1 << none;
    QTest::newRow("format strings of other languages")
        << "\"{:.2f}\".format(x) {:>10}"
        << "\"{:.2f}\".format(x) {:>10}" << -1 << none;
    QTest::newRow("a marker inside a field's place opens the field")
        << "{:a {:caret:} {:ask To{:}{:x\n{:caret:}"
        << "{:a  {:x\n" << 4 << QStringList{"{:ask To{:}"};
  }
  void fieldsFillAsWritten() {
    QFETCH(QString, text);
    QFETCH(QString, filled);
    QFETCH(int, caret);
    QFETCH(QStringList, leftEmpty);
    FieldValues values;
    values.now = QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7));
    values.clipboard = [] { return QStringLiteral("CLIP"); };
    values.selection = QStringLiteral("SEL");
    values.answers.insert(QStringLiteral("To"), QStringLiteral("Ann"));
    const FilledTemplate result = FillFields(text, values);
    QCOMPARE(result.text, filled);
    QCOMPARE(result.caret, caret);
    QCOMPARE(result.leftEmpty, leftEmpty);
    // A text holds fields exactly where filling changes it.
    QCOMPARE(HoldsFields(text), filled != text);
    QCOMPARE(FillInNames(QStringLiteral("{:ask B:}{:ask A:}{:ask B:}")), (QStringList{"B", "A"}));
  }
};

QTEST_MAIN(TemplateFieldsTest)
#include "templatefields_test.moc"
