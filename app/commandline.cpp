// Reading the command line with QCommandLineParser, and the texts it prints.
#include "app/commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QUrl>
#include <filesystem>

#include "common/programfolder.h"
#include "common/textconv.h"
#include "common/version.h"
#include "common/versionlines.h"
#include "editor/pasteinto.h"
#include "template/tmpeng.h"

namespace {

constexpr const char* kQtOptionsWithValue[] = {"platform",        "platformpluginpath",
                                               "platformtheme",   "plugin",
                                               "qwindowgeometry", "geometry",
                                               "qwindowtitle",    "title",
                                               "qwindowicon",     "icon",
                                               "display",         "name",
                                               "session",         "style",
                                               "stylesheet",      "qmljsdebugger"};
constexpr const char* kQtFlags[] = {"reverse", "nograb",      "dograb",
                                    "sync",    "widgetcount", "testability"};

QString AbsoluteFile(const QString& name, const QString& workingFolder) {
  QString path = name;
  // File managers and browsers may pass a location rather than a path.
  if (name.startsWith(QLatin1String("file:"), Qt::CaseInsensitive)) {
    const QUrl url(name);
    if (url.isLocalFile()) path = url.toLocalFile();
  }
  return QDir::cleanPath(QDir(workingFolder).absoluteFilePath(path));
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments, const QString& workingFolder) {
  QCommandLineParser parser;
  parser.setApplicationDescription(QCoreApplication::translate(
      "CommandLine",
      "Edit plain-text and HTML files with reusable templates, from the notification area.\n"
      "A quorpad that is already running opens FILE itself and comes to the front."));
  const QCommandLineOption help(
      {QStringLiteral("h"), QStringLiteral("help")},
      QCoreApplication::translate("CommandLine", "Print this help and end."));
  const QCommandLineOption version(
      {QStringLiteral("v"), QStringLiteral("version")},
      QCoreApplication::translate(
          "CommandLine", "Print the program's and the template engine's versions and end."));
  const QCommandLineOption newInstance(
      QStringLiteral("new-instance"),
      QCoreApplication::translate("CommandLine",
                                  "Start a quorpad of its own even when one is running already."));
  const QCommandLineOption list(
      QStringLiteral("list"),
      QCoreApplication::translate(
          "CommandLine", "Print the names of the templates, one a line, in the store's order."));
  const QCommandLineOption copy(
      QStringLiteral("copy"),
      QCoreApplication::translate(
          "CommandLine",
          "Put the text of the template NAME on the clipboard, where the running "
          "quorpad keeps it for other programs."),
      QStringLiteral("NAME"));
  const QCommandLineOption pick(
      QStringLiteral("pick"),
      QCoreApplication::translate(
          "CommandLine",
          "Show the template picker as a small window of its own (for a desktop "
          "shortcut); the template chosen goes on the clipboard and is pasted into "
          "the window that had the keyboard."));
  const QCommandLineOption pasteKey(
      QStringLiteral("paste-key"),
      QCoreApplication::translate(
          "CommandLine",
          "With --pick: the key that pastes, such as ctrl+shift+v or shift+Insert "
          "for a terminal (ctrl+v unless given)."),
      QStringLiteral("KEYS"));
  const QCommandLineOption noPaste(
      QStringLiteral("no-paste"),
      QCoreApplication::translate("CommandLine",
                                  "With --pick: only put the template on the clipboard."));
  parser.addOption(help);
  parser.addOption(version);
  parser.addOption(newInstance);
  parser.addOption(list);
  parser.addOption(copy);
  parser.addOption(pick);
  parser.addOption(pasteKey);
  parser.addOption(noPaste);
  // Qt's own options (a session manager restarts programs with -session, for one) are taken
  // by the application object; here they are let through and not shown.
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
  for (const char* name : kQtOptionsWithValue) {
    QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }
  for (const char* name : kQtFlags) {
    QCommandLineOption option(QString::fromLatin1(name));
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(option);
  }
  parser.addPositionalArgument(
      QStringLiteral("FILE"),
      QCoreApplication::translate("CommandLine", "The file to open (a text or HTML file)."),
      QStringLiteral("[FILE]"));

  CommandLine command;
  // The usage names the program as it was called, with its folder left off.
  const QString program =
      arguments.isEmpty() ? QStringLiteral("quorpad") : QDir(arguments.first()).dirName();
  QString usage = parser.helpText();
  // Qt names the program as the application object was started, in the user's language's
  // "Usage: %1"; without one it leaves the name out.
  const QString started =
      QCoreApplication::instance() ? QCoreApplication::arguments().value(0) : QString();
  // The name stands after the words for "Usage:" and before the options.
  const QString named = QLatin1Char(' ') + started + QLatin1String(" [");
  const qsizetype at =
      started.isEmpty() ? -1 : usage.left(usage.indexOf(QLatin1Char('\n'))).indexOf(named);
  if (at >= 0)
    usage.replace(at + 1, started.size(), program);
  else
    usage.replace(QRegularExpression(QStringLiteral("^Usage: \\S*")),
                  QStringLiteral("Usage: ") + program);
  if (!parser.parse(arguments)) {
    command.action = CommandLine::Action::kError;
    command.text = program + QStringLiteral(": ") + parser.errorText() + QLatin1Char('\n') + usage;
    return command;
  }
  if (parser.isSet(help)) {
    command.action = CommandLine::Action::kHelp;
    command.text = usage;
    return command;
  }
  if (parser.isSet(version)) {
    command.action = CommandLine::Action::kVersion;
    return command;
  }
  command.newInstance = parser.isSet(newInstance);
  const auto wrongUse = [&](const QString& wrong) {
    command.action = CommandLine::Action::kError;
    command.text = program + QStringLiteral(": ") + wrong + QLatin1Char('\n') + usage;
    return command;
  };
  if (parser.isSet(pick)) {
    if (parser.isSet(list) || parser.isSet(copy))
      return wrongUse(QCoreApplication::translate("CommandLine", "--pick cannot be given with --%1")
                          .arg(parser.isSet(list) ? "list" : "copy"));
    if (!parser.positionalArguments().isEmpty())
      return wrongUse(QCoreApplication::translate("CommandLine", "--pick takes no file"));
    if (parser.isSet(pasteKey)) {
      QString why;
      if (parser.values(pasteKey).size() > 1 || parser.isSet(noPaste))
        return wrongUse(QCoreApplication::translate(
            "CommandLine", "--paste-key is given once, and not with --no-paste"));
      if (!ReadPasteKeys(parser.value(pasteKey), why))
        return wrongUse(QCoreApplication::translate("CommandLine", "--paste-key %1: %2")
                            .arg(parser.value(pasteKey), why));
      command.pasteKey = parser.value(pasteKey);
    }
    command.action = CommandLine::Action::kPick;
    command.paste = !parser.isSet(noPaste);
    return command;
  }
  if (parser.isSet(pasteKey) || parser.isSet(noPaste))
    return wrongUse(QCoreApplication::translate("CommandLine", "--%1 goes with --pick")
                        .arg(parser.isSet(pasteKey) ? "paste-key" : "no-paste"));
  if (parser.isSet(list) || parser.isSet(copy)) {
    QString wrong;
    if (parser.isSet(list) && parser.isSet(copy))
      wrong =
          QCoreApplication::translate("CommandLine", "--list and --copy cannot be given together");
    else if (parser.values(copy).size() > 1)
      wrong = QCoreApplication::translate("CommandLine", "--copy takes one template");
    else if (!parser.positionalArguments().isEmpty())
      wrong = QCoreApplication::translate("CommandLine", "--%1 takes no file")
                  .arg(parser.isSet(list) ? "list" : "copy");
    if (!wrong.isEmpty()) {
      command.action = CommandLine::Action::kError;
      command.text = program + QStringLiteral(": ") + wrong + QLatin1Char('\n') + usage;
      return command;
    }
    command.action = parser.isSet(list) ? CommandLine::Action::kList : CommandLine::Action::kCopy;
    command.templateName = parser.value(copy);
    return command;
  }
  for (const QString& name : parser.positionalArguments()) {
    if (name.isEmpty()) continue;
    command.files << AbsoluteFile(name, workingFolder);
  }
  return command;
}

int ExitStatus(const CommandLine& command) {
  return command.action == CommandLine::Action::kError ? 2 : 0;
}

QString VersionText() {
  // Asking the engine for its version reads no store.
  templates::tmpeng engine{std::filesystem::path()};
  // Nor does saying where the store is make or copy anything.
  return QStringLiteral("quorpad ") +
         ProgramVersionLine(QUORPAD_VERSION_MAJOR, QUORPAD_VERSION_MINOR, QUORPAD_VERSION_PATCH) +
         QLatin1Char('\n') + EngineVersionLine(FromU16(engine.Version())) + QLatin1Char('\n') +
         StoreLine(PlannedStorePlace()) + QLatin1Char('\n');
}
