// Recovery copies without a window: where they are kept, the shadow of the text that a copy
// is written from, and the copy's encoding, read back whole or refused when damaged.
#include <QDir>
#include <QPlainTextEdit>
#include <QRandomGenerator>
#include <QTextDocument>
#include <QtTest>

#include <sys/stat.h>
#include <unistd.h>

#include "documents/leftcopies.h"
#include "documents/recovery.h"
#include "documents/shadowtext.h"
#include "testsupport/guitest.h"

class RecoveryCopyTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void folderFollowsXdgStateHome() {
    qputenv("XDG_STATE_HOME", "/somewhere/state");
    QCOMPARE(RecoveryFolder(), QStringLiteral("/somewhere/state/quorpad"));
    // A relative or empty value is ignored, as the XDG rules say.
    for (const QByteArray& ignored : {QByteArray("relative/state"), QByteArray()}) {
      qputenv("XDG_STATE_HOME", ignored);
      QCOMPARE(RecoveryFolder(), QDir::homePath() + QStringLiteral("/.local/state/quorpad"));
    }
  }

  void shadowFollowsEveryKindOfEdit_data() {
    QTest::addColumn<bool>("laidOut");
    QTest::newRow("in a text box") << true;
    QTest::newRow("a document alone") << false;
  }
  void shadowFollowsEveryKindOfEdit() {
    QFETCH(bool, laidOut);
    QPlainTextEdit box;
    QTextDocument alone;
    QTextDocument* document = laidOut ? box.document() : &alone;
    ShadowText& shadow = *ShadowText::of(document);
    QRandomGenerator random(20261207);
    // Every character the document makes a paragraph end of, a CR LF pair among them; pieces
    // of Latin-1 take in the others and widen.
    const QString alphabet = QStringLiteral("abc \n\u00e9\u2028\U0001F600xyz\n\r\n\uFDD0\uFDD1");
    const auto someText = [&](int most) {
      QString text;
      for (int n = random.bounded(most + 1); n > 0; --n)
        text += alphabet.at(random.bounded(alphabet.size()));
      return text;
    };
    const auto at = [&] { return random.bounded(document->characterCount()); };
    for (int step = 0; step < 3000; ++step) {
      QTextCursor cursor(document);
      const int kind = random.bounded(10);
      if (kind <= 3) {  // typing or pasting somewhere, over a selection at times
        cursor.setPosition(at());
        if (kind == 3) cursor.setPosition(at(), QTextCursor::KeepAnchor);
        if (laidOut) {
          box.setTextCursor(cursor);
          box.insertPlainText(someText(kind == 2 ? 300 : 3));
        } else {
          cursor.insertText(someText(kind == 2 ? 300 : 3));
        }
      } else if (kind == 4) {  // deleting a range, across lines at times
        cursor.setPosition(at());
        cursor.setPosition(at(), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
      } else if (kind == 5) {
        document->undo();
      } else if (kind == 6) {
        document->redo();
      } else if (kind == 7) {  // at the very end, and Backspace there
        cursor.movePosition(QTextCursor::End);
        if (random.bounded(2)) {
          // As a file coming in adds its pieces, the shadow handed the text.
          const QString text = someText(5);
          if (random.bounded(2)) {
            ShadowText::append(document, text);
          } else {
            cursor.insertText(text);
          }
        } else {
          cursor.deletePreviousChar();
        }
      } else if (kind == 8 && random.bounded(20) == 0) {  // a whole new text, large at times
        document->setPlainText(someText(random.bounded(2) ? 10 : 200000));
      } else if (kind == 9 && random.bounded(30) == 0) {
        if (random.bounded(2)) {
          document->clear();
        } else {
          cursor.select(QTextCursor::Document);
          cursor.removeSelectedText();
        }
      }
      const QString expected = document->toRawText();
      const QString got = ShadowText::join(shadow.pieces());
      QVERIFY2(got == expected, qPrintable(QStringLiteral("step %1 (kind %2): %3 characters "
                                                          "where %4 are")
                                               .arg(step)
                                               .arg(kind)
                                               .arg(got.size())
                                               .arg(expected.size())));
    }
    // Every change was followed; the text was never taken whole.
    QCOMPARE(shadow.rebuilds(), 0);
  }

  // A text of Latin-1 and its line ends, coming in a piece at a time as a file does, is held a
  // byte a character but for the one piece a wider character is in, wherever that comes; a
  // wider character typed later widens one piece more.
  void shadowHoldsLatin1Narrow_data() {
    QTest::addColumn<int>("wideIn");  // the part of 40 with a wider character, -1 for none
    QTest::newRow("none") << -1;
    QTest::newRow("in the first part") << 0;
    QTest::newRow("in the middle") << 20;
    QTest::newRow("in the last part") << 39;
  }
  void shadowHoldsLatin1Narrow() {
    QFETCH(int, wideIn);
    QPlainTextEdit box;
    QTextDocument* document = box.document();
    ShadowText& shadow = *ShadowText::of(document);
    const auto wide = [&shadow] {
      const ShadowText::Pieces pieces = shadow.pieces();
      return std::count_if(pieces.cbegin(), pieces.cend(),
                           [](const ShadowText::Piece& piece) { return piece.isWide(); });
    };
    for (int i = 0; i < 40; ++i) {
      QString part = QStringLiteral("caf\u00e9 \u00a0\u00ff x\n").repeated(6000);
      if (i == wideIn) part.insert(part.size() / 2, QChar(0x2019));
      ShadowText::append(document, part);
    }
    QCOMPARE(wide(), wideIn < 0 ? 0 : 1);
    QTextCursor(document).insertText(QStringLiteral("\u20ac"));
    QVERIFY(wide() >= 1 && wide() <= (wideIn < 0 ? 1 : 2));
    QCOMPARE(ShadowText::join(shadow.pieces()), document->toRawText());
    QCOMPARE(shadow.rebuilds(), 0);
  }

  void copyEncodingRoundTrips() {
    RecoveryInfo info;
    info.path = QStringLiteral("/home/me/\u00fcber \u65e5\u672c.txt");
    info.format.utf8 = false;
    info.format.lineEnd = QStringLiteral("\r\n");
    info.caret = 4;
    const QString text = QStringLiteral("\u00e9t\u00e9\n\n\U0001F600 \u2028end");
    const QDateTime when(QDate(2026, 12, 7), QTime(13, 5, 7, 250), Qt::UTC);
    RecoveredDocument back;
    QString error;
    QVERIFY2(DecodeRecoveryCopy(EncodeRecoveryCopy(text, info, when), back, error),
             qPrintable(error));
    QCOMPARE(back.text, text);
    QCOMPARE(back.info.path, info.path);
    QCOMPARE(back.info.format.utf8, false);
    QCOMPARE(back.info.format.lineEnd, info.format.lineEnd);
    QCOMPARE(back.info.caret, 4);
    QCOMPARE(back.changed, when);
    // A caret beyond the text is brought back to its end.
    info.caret = 1000;
    QVERIFY(DecodeRecoveryCopy(EncodeRecoveryCopy(text, info, when), back, error));
    QCOMPARE(back.info.caret, text.size());
  }

  // Only the user's own copies are offered: one of another user's, one others may write to,
  // or a link, though inside the user's own folder, is set aside and never offered.
  void copiesSomeoneElseWroteAreNeverOffered() {
    QTemporaryDir state;
    const QString folder = state.filePath(QStringLiteral("quorpad"));
    QVERIFY(QDir().mkpath(folder) && ::chmod(QFile::encodeName(folder).constData(), 0700) == 0);
    const QByteArray copy = EncodeRecoveryCopy(QStringLiteral("planted"), RecoveryInfo{}, {});
    for (const char* id : {"own", "wide", "other"}) {
      const QByteArray file = QFile::encodeName(folder + "/" + id + ".copy");
      guitest::WriteAll(QFile::decodeName(file), copy);
      ::chmod(file.constData(), id == QByteArray("wide") ? 0666 : 0600);
      if (id == QByteArray("other") && ::geteuid() == 0) QVERIFY(::chown(file, 65534, 65534) == 0);
      if (id == QByteArray("other") && ::geteuid() != 0) QFile::remove(QFile::decodeName(file));
    }
    QVERIFY(QFile::link(folder + "/own.copy", folder + "/link.copy"));
    const auto found = FindLeftCopies(folder);
    QCOMPARE(int(found.size()), 1);
    QVERIFY(found.front()->filePath().endsWith(QStringLiteral("/own.copy")));
    QVERIFY(QFileInfo::exists(folder + QStringLiteral("/wide.copy.foreign")));
  }

  void damagedCopiesAreRefused_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    const QByteArray good = EncodeRecoveryCopy(QStringLiteral("some text"), RecoveryInfo{}, {});
    QTest::newRow("empty") << QByteArray() << "does not begin";
    QTest::newRow("another file") << QByteArray("hello\n") << "does not begin";
    QTest::newRow("header cut") << good.left(40) << "cut short";
    QTest::newRow("text cut") << good.chopped(3) << "6 bytes of text where 9";
    QTest::newRow("text longer") << good + "!"
                                 << "10 bytes of text where 9";
    QByteArray flipped = good;
    flipped[flipped.size() - 1] = 'X';
    QTest::newRow("text changed") << flipped << "changed or damaged";
    QByteArray header = good;
    header.replace("\"path\"", "\"pa\"th\"");
    QTest::newRow("header broken") << header << "cannot be read";
    for (const char* length : {"1e300", "-1", "2.5", "9007199254740993"}) {
      QByteArray huge = good;
      huge.replace("\"length\":9", QByteArray("\"length\":") + length);
      QTest::newRow(length) << huge << "length that does not fit";
    }
  }
  void damagedCopiesAreRefused() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    RecoveredDocument document;
    QString error;
    QVERIFY(!DecodeRecoveryCopy(bytes, document, error));
    QVERIFY2(error.contains(reason), qPrintable(error));
  }
};

QTEST_MAIN(RecoveryCopyTest)
#include "recoverycopy_test.moc"
