// A reader and writer of INI files that leaves every line it does not change as it was.
#include "common/inifile.h"

#include "common/programfolder.h"

#include <QFile>
#include <QStringList>

#include "common/textconv.h"
#include "common/wholefile.h"
#include "template/textcodec.h"

namespace {

bool IsBlank(QChar c) {
  return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

QStringView TrimBlanks(QStringView s) {
  qsizetype b = 0;
  qsizetype e = s.size();
  while (b < e && IsBlank(s.at(b))) ++b;
  while (e > b && IsBlank(s.at(e - 1))) --e;
  return s.mid(b, e - b);
}

bool SameName(QStringView a, const QString& b) {
  return TrimBlanks(a).compare(TrimBlanks(b), Qt::CaseInsensitive) == 0;
}

// The file as lines without their ends; `lineEnd` is the kind the file uses.
struct IniText {
  QStringList lines;
  QString lineEnd = QStringLiteral("\n");
  bool endsWithLineEnd = true;
};

bool Load(const QString& path, IniText& out, QString* error) {
  if (!QFile::exists(path)) return true;
  // Far more than any settings file holds; a pipe or a device in its place is refused.
  constexpr qint64 kLargest = qint64(16) << 20;
  QByteArray bytes;
  const QString reason = ReadWholeFile(path, kLargest, bytes);
  if (!reason.isEmpty()) {
    if (error) *error = reason;
    return false;
  }
  const QString text = FromU16(templates::text::Decode(
      std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size()))));
  if (text.contains(QLatin1String("\r\n"))) out.lineEnd = QStringLiteral("\r\n");
  out.lines = text.split(out.lineEnd);
  out.endsWithLineEnd = text.isEmpty() || text.endsWith(out.lineEnd);
  if (out.endsWithLineEnd) out.lines.removeLast();  // the empty piece after the last end
  return true;
}

// If `line` is a section header, its name.
bool SectionName(const QString& line, QStringView& name) {
  const QStringView t = TrimBlanks(line);
  if (!t.startsWith(QLatin1Char('[')) || !t.contains(QLatin1Char(']'))) return false;
  name = t.mid(1, t.indexOf(QLatin1Char(']')) - 1);
  return true;
}

bool IsComment(const QString& line) {
  const QStringView t = TrimBlanks(line);
  return t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#'));
}

// The line of `key` in `section`, or -1; `sectionEnd` is the index after the section's
// last line that is not blank (-1 when the section is missing).
qsizetype FindKey(const QStringList& lines, const QString& section, const QString& key,
                  qsizetype& sectionEnd) {
  sectionEnd = -1;
  bool inSection = false;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const QString& line = lines.at(i);
    QStringView name;
    if (SectionName(line, name)) {
      if (inSection) return -1;  // the first section of that name is the one used
      inSection = SameName(name, section);
      if (inSection) sectionEnd = i + 1;
      continue;
    }
    if (!inSection) continue;
    if (!TrimBlanks(line).isEmpty()) sectionEnd = i + 1;
    if (IsComment(line)) continue;
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    if (eq > 0 && SameName(QStringView(line).left(eq), key)) return i;
  }
  return -1;
}

}  // namespace

QString ReadIniValue(const QString& file, const QString& section, const QString& key) {
  IniText ini;
  if (!Load(file, ini, nullptr)) return QString();
  qsizetype sectionEnd = -1;
  const qsizetype at = FindKey(ini.lines, section, key, sectionEnd);
  if (at < 0) return QString();
  const QString& line = ini.lines.at(at);
  QStringView value = TrimBlanks(QStringView(line).mid(line.indexOf(QLatin1Char('=')) + 1));
  if (value.size() >= 2 &&
      (value.front() == QLatin1Char('"') || value.front() == QLatin1Char('\'')) &&
      value.back() == value.front()) {
    value = value.mid(1, value.size() - 2);
  }
  return value.toString();
}

QString WriteIniValue(const QString& file, const QString& section, const QString& key,
                      const QString& value) {
  IniText ini;
  QString error;
  if (!Load(file, ini, &error)) return error;
  qsizetype sectionEnd = -1;
  const qsizetype at = FindKey(ini.lines, section, key, sectionEnd);
  if (at >= 0) {
    // Keep the key as it was spelled and everything before the value.
    QString& line = ini.lines[at];
    line = line.left(line.indexOf(QLatin1Char('=')) + 1) + value;
  } else if (sectionEnd >= 0) {
    ini.lines.insert(sectionEnd, key + QLatin1Char('=') + value);
  } else {
    ini.lines << QLatin1Char('[') + section + QLatin1Char(']') << key + QLatin1Char('=') + value;
  }
  QString text = ini.lines.join(ini.lineEnd);
  if (ini.endsWithLineEnd || at < 0) text += ini.lineEnd;

  // Written as UTF-8; an older file in Windows-1252 keeps its text, in UTF-8 bytes. The
  // settings in the user's own folder are the user's alone.
  AtomicWriteOptions how;
  const StorePlace& place = ChosenStorePlace();
  how.userOnly = place.settingsPerUser && file == place.settingsFile;
  return WriteFileAtomically(file, templates::text::Encode(ToU16(text)), how);
}

QString CutAtNul(const QString& text) {
  const qsizetype nul = text.indexOf(QChar(u'\0'));
  return nul < 0 ? text : text.left(nul);
}

QString ReadIniString(const QString& file, const QString& section, const QString& key) {
  QString value = CutAtNul(ReadIniValue(file, section, key));
  while (value.endsWith(QLatin1Char(' '))) value.chop(1);
  return value;
}
