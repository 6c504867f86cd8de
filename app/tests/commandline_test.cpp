// The command line as quorpad reads it: each option, wrong ones, and the names of files.
#include <QRegularExpression>
#include <QTest>

#include "app/commandline.h"

namespace {

CommandLine Parse(QStringList arguments, const QString& folder = QStringLiteral("/home/u/docs")) {
  arguments.prepend(QStringLiteral("/usr/lib/quorpad/quorpad"));
  return ParseCommandLine(arguments, folder);
}

}  // namespace

class CommandLineTest : public QObject {
  Q_OBJECT

 private Q_SLOTS:
  void noArgumentsStartsUntitled() {
    const CommandLine command = Parse({});
    QCOMPARE(command.action, CommandLine::Action::kRun);
    QVERIFY(command.files.isEmpty());
    QVERIFY(!command.newInstance);
    QCOMPARE(ExitStatus(command), 0);
  }

  void fileNamesBecomeAbsoluteCleanPaths_data() {
    QTest::addColumn<QString>("given");
    QTest::addColumn<QString>("path");
    QTest::newRow("relative") << "notes.txt"
                              << "/home/u/docs/notes.txt";
    QTest::newRow("up and dot") << "../x/./y.html"
                                << "/home/u/x/y.html";
    QTest::newRow("absolute") << "/tmp/a.txt"
                              << "/tmp/a.txt";
    QTest::newRow("spaces") << "my notes 2.txt"
                            << "/home/u/docs/my notes 2.txt";
    QTest::newRow("non-ASCII") << QStringLiteral("Ωmega 文書 ñandú.txt")
                               << QStringLiteral("/home/u/docs/Ωmega 文書 ñandú.txt");
    QTest::newRow("file URL") << "file:///tmp/a%20b%C3%A9.txt" << QStringLiteral("/tmp/a bé.txt");
    // A file that does not exist is still passed on: the window decides what it becomes.
    QTest::newRow("missing file") << "no/such/file.txt"
                                  << "/home/u/docs/no/such/file.txt";
  }
  void fileNamesBecomeAbsoluteCleanPaths() {
    QFETCH(QString, given);
    QFETCH(QString, path);
    const CommandLine command = Parse({given});
    QCOMPARE(command.action, CommandLine::Action::kRun);
    QCOMPARE(command.files, QStringList{path});
  }

  void nameThatLooksLikeAnOptionAfterDoubleDash() {
    const CommandLine command = Parse({QStringLiteral("--"), QStringLiteral("--help.txt")});
    QCOMPARE(command.action, CommandLine::Action::kRun);
    QCOMPARE(command.files, QStringList{QStringLiteral("/home/u/docs/--help.txt")});
  }

  void helpPrintsUsageAndEndsWithZero_data() {
    QTest::addColumn<QString>("option");
    QTest::newRow("long") << "--help";
    QTest::newRow("short") << "-h";
  }
  void helpPrintsUsageAndEndsWithZero() {
    QFETCH(QString, option);
    const CommandLine command = Parse({option, QStringLiteral("a.txt")});
    QCOMPARE(command.action, CommandLine::Action::kHelp);
    QCOMPARE(ExitStatus(command), 0);
    QVERIFY2(command.text.startsWith(QStringLiteral("Usage: quorpad [options] [FILE]")),
             qPrintable(command.text));
    for (const char* shown : {"--help", "--version", "--new-instance"})
      QVERIFY2(command.text.contains(QLatin1String(shown)), shown);
    // Qt's own options are let through but not offered.
    QVERIFY(!command.text.contains(QStringLiteral("session")));
  }

  void versionNamesProgramAndEngine_data() {
    QTest::addColumn<QString>("option");
    QTest::newRow("long") << "--version";
    QTest::newRow("short") << "-v";
  }
  void versionNamesProgramAndEngine() {
    QFETCH(QString, option);
    const CommandLine command = Parse({option});
    QCOMPARE(command.action, CommandLine::Action::kVersion);
    QCOMPARE(ExitStatus(command), 0);
    const QStringList lines = VersionText().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 4);  // three lines, each ended
    QVERIFY2(QRegularExpression(QStringLiteral("^quorpad v\\d+\\.\\d+\\.\\d+a$"))
                 .match(lines.at(0))
                 .hasMatch(),
             qPrintable(lines.at(0)));
    QVERIFY2(
        QRegularExpression(QStringLiteral("^Using Quorvin Template Engine v\\d+\\.\\d+\\.\\d+$"))
            .match(lines.at(1))
            .hasMatch(),
        qPrintable(lines.at(1)));
    QVERIFY2(lines.at(2).startsWith(QStringLiteral("Templates: /")) &&
                 lines.at(2).contains(QStringLiteral("/templates.dat")),
             qPrintable(lines.at(2)));
  }

  void newInstanceKeepsItsFile() {
    const CommandLine command = Parse({QStringLiteral("--new-instance"), QStringLiteral("a.txt")});
    QCOMPARE(command.action, CommandLine::Action::kRun);
    QVERIFY(command.newInstance);
    QCOMPARE(command.files, QStringList{QStringLiteral("/home/u/docs/a.txt")});
  }

  void unknownOptionGivesUsageAndStatusTwo_data() {
    QTest::addColumn<QString>("option");
    QTest::addColumn<QString>("named");
    QTest::newRow("long") << "--bogus"
                          << "bogus";
    QTest::newRow("short") << "-x"
                           << "x";
    QTest::newRow("value to a flag") << "--new-instance=yes"
                                     << "new-instance";
  }
  void unknownOptionGivesUsageAndStatusTwo() {
    QFETCH(QString, option);
    QFETCH(QString, named);
    const CommandLine command = Parse({option, QStringLiteral("a.txt")});
    QCOMPARE(command.action, CommandLine::Action::kError);
    QCOMPARE(ExitStatus(command), 2);
    QVERIFY2(command.text.startsWith(QStringLiteral("quorpad: ")), qPrintable(command.text));
    QVERIFY2(command.text.contains(named), qPrintable(command.text));
    QVERIFY2(command.text.contains(QStringLiteral("Usage: quorpad")), qPrintable(command.text));
    QVERIFY(command.files.isEmpty());
  }

  void listAndCopyAskForTemplates() {
    CommandLine command = Parse({QStringLiteral("--list")});
    QCOMPARE(command.action, CommandLine::Action::kList);
    command = Parse({QStringLiteral("--copy"), QStringLiteral("Sig nature")});
    QCOMPARE(command.action, CommandLine::Action::kCopy);
    QCOMPARE(command.templateName, QStringLiteral("Sig nature"));
    command = Parse({QStringLiteral("--copy=Grüße")});
    QCOMPARE(command.templateName, QStringLiteral("Grüße"));
  }

  void templateOptionsRefuseWhatTheyCannotDo_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("reason");
    QTest::newRow("both") << QStringList{"--list", "--copy", "a"} << "together";
    QTest::newRow("two copies") << QStringList{"--copy", "a", "--copy", "b"} << "one template";
    QTest::newRow("a file too") << QStringList{"--list", "a.txt"} << "--list takes no file";
    QTest::newRow("no name") << QStringList{"--copy"} << "copy";
    QTest::newRow("pick and copy") << QStringList{"--pick", "--copy", "a"} << "--pick cannot";
    QTest::newRow("pick a file") << QStringList{"--pick", "a.txt"} << "--pick takes no file";
    QTest::newRow("no modifier") << QStringList{"--pick", "--paste-key", "hyper+v"}
                                 << "'hyper' is no modifier";
    QTest::newRow("no key") << QStringList{"--pick", "--paste-key", "ctrl+"} << "names no key";
    QTest::newRow("unknown key") << QStringList{"--pick", "--paste-key", "ctrl+nokey"}
                                 << "'nokey' names no key";
    QTest::newRow("key and no paste")
        << QStringList{"--pick", "--paste-key", "ctrl+v", "--no-paste"} << "not with --no-paste";
    QTest::newRow("key without pick") << QStringList{"--paste-key", "ctrl+v"} << "goes with --pick";
  }

  void pickReadsItsPasteKey_data() {
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("paste");
    QTest::addColumn<QString>("key");
    QTest::newRow("the default") << QStringList{"--pick"} << true << "ctrl+v";
    QTest::newRow("a terminal's") << QStringList{"--pick", "--paste-key", "Ctrl+Shift+V"} << true
                                  << "Ctrl+Shift+V";
    QTest::newRow("a named key") << QStringList{"--pick", "--paste-key=shift+insert"} << true
                                 << "shift+insert";
    QTest::newRow("no paste") << QStringList{"--pick", "--no-paste"} << false << "ctrl+v";
  }
  void pickReadsItsPasteKey() {
    QFETCH(QStringList, arguments);
    QFETCH(bool, paste);
    QFETCH(QString, key);
    const CommandLine command = Parse(arguments);
    QCOMPARE(command.action, CommandLine::Action::kPick);
    QCOMPARE(command.paste, paste);
    QCOMPARE(command.pasteKey, key);
  }
  void templateOptionsRefuseWhatTheyCannotDo() {
    QFETCH(QStringList, arguments);
    QFETCH(QString, reason);
    const CommandLine command = Parse(arguments);
    QCOMPARE(command.action, CommandLine::Action::kError);
    QCOMPARE(ExitStatus(command), 2);
    QVERIFY2(command.text.contains(reason), qPrintable(command.text));
  }

  void qtOwnOptionsAreLetThrough() {
    // A session manager restarts quorpad with Qt's -session option.
    const CommandLine command =
        Parse({QStringLiteral("-session"), QStringLiteral("10a4c2"), QStringLiteral("-reverse"),
               QStringLiteral("-platform"), QStringLiteral("xcb"), QStringLiteral("a.txt")});
    QCOMPARE(command.action, CommandLine::Action::kRun);
    QCOMPARE(command.files, QStringList{QStringLiteral("/home/u/docs/a.txt")});
  }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "commandline_test.moc"
