// Writing and reading the template files of Export and Import.
#include "manager/templatefiles.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSet>
#include <algorithm>

#include "common/longjob.h"
#include "common/modal.h"
#include "common/textconv.h"
#include "template/textcodec.h"

namespace {

const QChar kSeparator(0x04);
const QChar kStoredCr(0x02);
const QChar kStoredLf(0x03);

// Line breaks as CR LF, whichever the file had.
QString WithCrLf(QString text) {
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
  return text;
}

QString Stored(QString field) {
  field.replace(QStringLiteral("\r\n"), QString(kStoredCr) + kStoredLf);
  return field;
}

QString CsvField(const QString& field) {
  if (!field.contains(QLatin1Char(',')) && !field.contains(QLatin1Char('"')) &&
      !field.contains(QLatin1Char('\r')) && !field.contains(QLatin1Char('\n')))
    return field;
  QString quoted = field;
  quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// Decoded as the engine reads the store: line by line, each line UTF-8 where it is valid
// UTF-8 and Windows-1252 otherwise, so that one old line beside new ones spoils neither.
// The line ends stay as they were.
QString Decoded(const QByteArray& bytes) {
  QString text;
  text.reserve(bytes.size());
  qsizetype start = 0;
  while (start < bytes.size()) {
    qsizetype end = start;
    while (end < bytes.size() && bytes.at(end) != '\r' && bytes.at(end) != '\n') ++end;
    text += FromU16(templates::text::Decode(
        std::string_view(bytes.constData() + start, static_cast<std::size_t>(end - start))));
    qsizetype next = end;
    if (next < bytes.size()) {
      ++next;
      if (bytes.at(end) == '\r' && next < bytes.size() && bytes.at(next) == '\n') ++next;
      text += QString::fromLatin1(bytes.mid(end, next - end));
    }
    start = next;
  }
  // A byte order mark, as some spreadsheets write before UTF-8, is no part of the text.
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  return text;
}

// Every line the engine reads as a template, as the engine reads it: lines split at CR LF,
// a lone CR or a lone LF; the index before the first separator, the name up to the second,
// and the value all the rest (separators in it included). Lines that hold no template are
// passed over, as the engine passes over them; a file with text but no template at all is
// no store. One pass over the text, each field copied once.
bool ReadStoreFormat(const QString& text, QList<TemplateEntry>& entries, QString& error,
                     JobProgress* job) {
  const QChar* const chars = text.constData();
  const qsizetype size = text.size();
  int firstText = 0;
  int number = 0;
  auto breaks = [](QStringView view) {
    QString field = view.toString();
    field.replace(kStoredCr, QLatin1Char('\r'));
    field.replace(kStoredLf, QLatin1Char('\n'));
    return field;
  };
  for (qsizetype start = 0; start <= size;) {
    ++number;
    if (job && number % 4096 == 0) {
      if (job->cancelled()) return false;
      job->report(start, size);
    }
    qsizetype end = start;
    while (end < size && chars[end] != QLatin1Char('\r') && chars[end] != QLatin1Char('\n')) ++end;
    const QStringView line(chars + start, end - start);
    if (!line.isEmpty()) {
      if (firstText == 0) firstText = number;
      const qsizetype first = line.indexOf(kSeparator);
      const qsizetype second = first < 0 ? -1 : line.indexOf(kSeparator, first + 1);
      if (second > first)
        entries << TemplateEntry{breaks(line.mid(first + 1, second - first - 1)),
                                 breaks(line.mid(second + 1)), number};
    }
    if (end == size) break;
    start = end + (chars[end] == QLatin1Char('\r') && end + 1 < size &&
                           chars[end + 1] == QLatin1Char('\n')
                       ? 2
                       : 1);
  }
  if (entries.isEmpty() && firstText != 0) {
    error = QCoreApplication::translate("TemplateFiles",
                                        "line %1: no template is in this file: a template is "
                                        "an index, a name and a value, separated by byte 4")
                .arg(firstText);
    return false;
  }
  return true;
}

bool ReadCsv(const QString& text, QList<TemplateEntry>& entries, QString& error, JobProgress* job) {
  QList<QStringList> rows;
  QList<int> rowLines;  // the line each row starts on
  QStringList row;
  QString field;
  bool quoted = false, wasQuoted = false;
  int line = 1, rowLine = 1;
  const auto endField = [&] {
    row << field;
    field.clear();
    wasQuoted = false;
  };
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (job && (i & 0xffff) == 0) {
      if (job->cancelled()) return false;
      job->report(i, text.size());
    }
    const QChar c = text.at(i);
    if (quoted) {
      if (c == QLatin1Char('"')) {
        if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('"')) {
          field += QLatin1Char('"');
          ++i;
        } else {
          quoted = false;
        }
      } else {
        // A line ends at CR LF, a lone CR or a lone LF, inside a field as outside one.
        if (c == QLatin1Char('\n') ||
            (c == QLatin1Char('\r') &&
             (i + 1 == text.size() || text.at(i + 1) != QLatin1Char('\n'))))
          ++line;
        field += c;
      }
      continue;
    }
    if (c == QLatin1Char('"')) {
      if (!field.isEmpty() || wasQuoted) {
        error = QCoreApplication::translate(
                    "TemplateFiles", "line %1: a quote inside a field that does not begin with one")
                    .arg(line);
        return false;
      }
      quoted = wasQuoted = true;
    } else if (c == QLatin1Char(',')) {
      endField();
    } else if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
      if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) ++i;
      endField();
      rows << row;
      rowLines << rowLine;
      row.clear();
      rowLine = ++line;
    } else {
      if (wasQuoted) {
        error = QCoreApplication::translate("TemplateFiles",
                                            "line %1: text after a quoted field's closing quote")
                    .arg(line);
        return false;
      }
      field += c;
    }
  }
  if (quoted) {
    error = QCoreApplication::translate("TemplateFiles", "line %1: a quoted field is not closed")
                .arg(rowLine);
    return false;
  }
  if (!field.isEmpty() || !row.isEmpty() || wasQuoted) {
    endField();
    rows << row;
    rowLines << rowLine;
  }
  if (rows.isEmpty() || rows.first().size() != 2 ||
      rows.first().at(0).trimmed().compare(QStringLiteral("name"), Qt::CaseInsensitive) != 0 ||
      rows.first().at(1).trimmed().compare(QStringLiteral("value"), Qt::CaseInsensitive) != 0) {
    error = QCoreApplication::translate("TemplateFiles",
                                        "line 1: the first line must be the header \"name,value\"");
    return false;
  }
  for (int r = 1; r < rows.size(); ++r) {
    const QStringList& fields = rows.at(r);
    if (fields.size() == 1 && fields.first().isEmpty()) continue;  // an empty line
    if (fields.size() != 2) {
      error =
          QCoreApplication::translate(
              "TemplateFiles", "line %1: a row has a name and a value; this one has %n field(s)",
              nullptr, int(fields.size()))
              .arg(rowLines.at(r));
      return false;
    }
    entries << TemplateEntry{WithCrLf(fields.at(0)), WithCrLf(fields.at(1)), rowLines.at(r)};
  }
  return true;
}

}  // namespace

QByteArray TemplatesAsStore(const QList<TemplateEntry>& entries) {
  QString text;
  for (const TemplateEntry& e : entries)
    text += QStringLiteral("1") + kSeparator + Stored(WithCrLf(e.name)) + kSeparator +
            Stored(WithCrLf(e.value)) + QStringLiteral("\r\n");
  return text.toUtf8();
}

QByteArray TemplatesAsCsv(const QList<TemplateEntry>& entries) {
  QString text = QStringLiteral("name,value\r\n");
  for (const TemplateEntry& e : entries)
    text += CsvField(WithCrLf(e.name)) + QLatin1Char(',') + CsvField(WithCrLf(e.value)) +
            QStringLiteral("\r\n");
  return text.toUtf8();
}

bool ReadTemplateFile(const QByteArray& bytes, bool csv, QList<TemplateEntry>& entries,
                      QString& error, JobProgress* job) {
  entries.clear();
  const QString text = Decoded(bytes);
  // A CSV file is known by its header as well as by its name.
  QString head = text;
  const qsizetype end = head.indexOf(QRegularExpression(QStringLiteral("[\r\n]")));
  if (end >= 0) head.truncate(end);
  head = head.trimmed();
  csv = csv || head.compare(QLatin1String("name,value"), Qt::CaseInsensitive) == 0;
  const bool ok =
      csv ? ReadCsv(text, entries, error, job) : ReadStoreFormat(text, entries, error, job);
  if (!ok) entries.clear();
  return ok;
}

ImportPlan PlanImport(const QList<TemplateEntry>& read, const QStringList& storeNames) {
  ImportPlan plan;
  QSet<QString> seen;
  for (const QString& name : storeNames) seen.insert(name.toLower());
  for (const TemplateEntry& e : read) {
    if (seen.contains(e.name.toLower())) ++plan.clashes;
    seen.insert(e.name.toLower());
    if (e.name.isEmpty()) {
      plan.refused.append(
          {e.line, QCoreApplication::translate("TemplateFiles", "The name is empty.")});
      continue;
    }
    plan.entries.push_back({ToU16(e.name), ToU16(e.value)});
    plan.lines.push_back(e.line);
  }
  return plan;
}

QString ImportReport(const QString& path, const ImportPlan& plan,
                     const templates::MergeResult& result) {
  // In the file's order, whichever step refused them.
  QList<std::pair<int, QString>> lines = plan.refused;
  for (const auto& [at, why] : result.refused)
    lines.append({plan.lines.at(at), EngineRefusalText(why)});
  std::stable_sort(lines.begin(), lines.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  QStringList refused;
  for (const auto& [line, why] : lines)
    refused << QCoreApplication::translate("TemplateFiles", "line %1: %2")
                   .arg(QString::number(line), why);
  // One pass over the path, so that nothing in it is taken for a place of the counts.
  QString report = QCoreApplication::translate(
                       "TemplateFiles", "Imported from %1: %2 added, %3 replaced, %4 skipped.")
                       .arg(path, QString::number(result.added), QString::number(result.replaced),
                            QString::number(result.skipped + refused.size()));
  if (!refused.isEmpty())
    report += QCoreApplication::translate("TemplateFiles", "\n\nNot imported:\n%1")
                  .arg(refused.join(QLatin1Char('\n')));
  return report;
}
