// Fields in a template's text: the parser, the filling and the store-wide switch.
#include "common/templatefields.h"

#include <QLocale>
#include <vector>

#include "common/inifile.h"
#include "common/programfolder.h"

namespace {

const QLatin1String kOpen("{:");
const QLatin1String kClose(":}");
const QString kSection = QStringLiteral("templates");
const QString kKey = QStringLiteral("fields");

enum class Kind { kText, kCaret, kDate, kTime, kClipboard, kSelection, kAsk };

struct Piece {
  Kind kind = Kind::kText;
  QString text;     // the literal text, the date format or the fill-in's name
  QString written;  // the field as written, for leftEmpty
};

// The field between the markers, or nothing when `body` is no field: then it stays text.
std::optional<Piece> ReadField(const QString& body) {
  if (body.contains(QLatin1Char('\n')) || body.contains(kOpen)) return std::nullopt;
  const qsizetype space = body.indexOf(QLatin1Char(' '));
  const QString keyword = body.left(space).toLower();
  const QString argument = space < 0 ? QString() : body.mid(space + 1).trimmed();
  const QString written = kOpen + body + kClose;
  static const QHash<QString, Kind> kPlain = {{QStringLiteral("caret"), Kind::kCaret},
                                              {QStringLiteral("clipboard"), Kind::kClipboard},
                                              {QStringLiteral("selection"), Kind::kSelection}};
  if (const auto plain = kPlain.constFind(keyword); plain != kPlain.cend())
    return argument.isEmpty() ? std::optional<Piece>({*plain, QString(), written}) : std::nullopt;
  if (keyword == QLatin1String("date"))
    return Piece{Kind::kDate, argument.isEmpty() ? QStringLiteral("yyyy-MM-dd") : argument,
                 written};
  if (keyword == QLatin1String("time"))
    return Piece{Kind::kTime, argument.isEmpty() ? QStringLiteral("HH:mm") : argument, written};
  if (keyword == QLatin1String("ask") && !argument.isEmpty())
    return Piece{Kind::kAsk, argument, written};
  return std::nullopt;
}

// Where the field opened at `open` closes: the first ":}" after the marker, unless a line
// break or a whole "{:" comes first (a field holds neither); -1 when it does not close. The
// search stops there, so that a text with many markers is read in one pass, not once per
// marker to its end.
qsizetype FieldEnd(const QString& text, qsizetype open) {
  for (qsizetype i = open + 2; i + 1 < text.size(); ++i) {
    const QChar c = text.at(i);
    const QChar next = text.at(i + 1);
    if (c == QLatin1Char(':') && next == QLatin1Char('}')) return i;
    if (c == QLatin1Char('\n')) return -1;
    if (c == QLatin1Char('{') && next == QLatin1Char(':'))
      return i + 2 < text.size() && text.at(i + 2) == QLatin1Char('}') ? i + 1 : -1;
  }
  return -1;
}

std::vector<Piece> Parse(const QString& text) {
  std::vector<Piece> pieces;
  QString literal;
  const auto flush = [&] {
    if (!literal.isEmpty()) pieces.push_back({Kind::kText, literal, QString()});
    literal.clear();
  };
  qsizetype at = 0;
  while (at < text.size()) {
    const qsizetype open = text.indexOf(kOpen, at);
    if (open < 0) {
      literal += QStringView(text).mid(at);
      break;
    }
    literal += QStringView(text).mid(at, open - at);
    if (open + 2 < text.size() && text.at(open + 2) == QLatin1Char(':')) {
      literal += kOpen;  // the escape
      at = open + 3;
      continue;
    }
    const qsizetype close = FieldEnd(text, open);
    const std::optional<Piece> field =
        close < 0 ? std::nullopt : ReadField(text.mid(open + 2, close - open - 2));
    if (!field) {
      // Not a field: its opening marker is text, and a field may still start after it.
      literal += kOpen;
      at = open + 2;
      continue;
    }
    flush();
    pieces.push_back(*field);
    at = close + 2;
  }
  flush();
  return pieces;
}

std::function<QDateTime()>& Clock() {
  static std::function<QDateTime()> clock;
  return clock;
}

}  // namespace

QStringList FillInNames(const QString& text) {
  QStringList names;
  for (const Piece& piece : Parse(text))
    if (piece.kind == Kind::kAsk && !names.contains(piece.text)) names << piece.text;
  return names;
}

bool HoldsFields(const QString& text) {
  if (!text.contains(kOpen)) return false;
  qsizetype literal = 0;
  for (const Piece& piece : Parse(text)) {
    if (piece.kind != Kind::kText) return true;
    literal += piece.text.size();
  }
  return literal != text.size();  // an escape writes one character less than it takes
}

FilledTemplate FillFields(const QString& text, const FieldValues& values) {
  FilledTemplate filled;
  const auto leftEmpty = [&filled](const Piece& piece) {
    if (!filled.leftEmpty.contains(piece.written)) filled.leftEmpty << piece.written;
  };
  const QLocale locale;
  for (const Piece& piece : Parse(text)) {
    switch (piece.kind) {
      case Kind::kText:
        filled.text += piece.text;
        break;
      case Kind::kCaret:
        if (filled.caret < 0) filled.caret = int(filled.text.size());
        break;
      case Kind::kDate:
      case Kind::kTime:
        filled.text += locale.toString(values.now, piece.text);
        break;
      case Kind::kClipboard:
        if (values.clipboard)
          filled.text += values.clipboard();
        else
          leftEmpty(piece);
        break;
      case Kind::kSelection:
        if (values.selection)
          filled.text += *values.selection;
        else
          leftEmpty(piece);
        break;
      case Kind::kAsk:
        if (const auto answer = values.answers.constFind(piece.text);
            answer != values.answers.cend())
          filled.text += *answer;
        else
          leftEmpty(piece);
        break;
    }
  }
  return filled;
}

QString FieldsSwitchFile() {
  return ChosenStorePlace().settingsFile;
}

bool FieldsSwitchedOn() {
  return ReadIniString(FieldsSwitchFile(), kSection, kKey) == QLatin1String("1");
}

QString SwitchFields(bool on) {
  return WriteIniValue(FieldsSwitchFile(), kSection, kKey,
                       on ? QStringLiteral("1") : QStringLiteral("0"));
}

QDateTime FieldClock() {
  return Clock() ? Clock()() : QDateTime::currentDateTime();
}

void SetFieldClock(std::function<QDateTime()> clock) {
  Clock() = std::move(clock);
}
