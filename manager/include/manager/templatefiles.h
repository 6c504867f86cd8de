// Templates moved in and out as files: the store's own format and CSV.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

#include "template/tmpeng.h"

class JobProgress;

struct TemplateEntry {
  QString name;
  QString value;  // line breaks as CR LF
  int line = 0;   // where it starts in the file read, from 1
};

// The store's own format: a line "1" byte 4 name byte 4 value, ended by CR LF, with line
// breaks inside the fields stored as bytes 2 and 3; UTF-8.
QByteArray TemplatesAsStore(const QList<TemplateEntry>& entries);
// CSV (RFC 4180): UTF-8, CR LF line ends, a header row "name,value", fields quoted where
// they hold a comma, a quote or a line break, quotes doubled.
QByteArray TemplatesAsCsv(const QList<TemplateEntry>& entries);

// Reads a file of either format (`csv` says which, or a first line "name,value"), decoded
// line by line as the engine decodes the store. On failure returns false and sets `error`
// to "line N: reason", N counted from 1 in the file. Entries with an empty name are read
// as they are: the import refuses them one by one. Read as a job, it tells `job` how far it
// got and stops (false, with no error) once cancelled.
bool ReadTemplateFile(const QByteArray& bytes, bool csv, QList<TemplateEntry>& entries,
                      QString& error, JobProgress* job = nullptr);

// What an import hands the engine, read from a file's entries against the names the store
// has: the entries the engine may add (an empty name is refused here, anything else the
// engine's name rule refuses is refused there), each with its line in the file, the rows
// refused already with their lines and reasons, and how many names are the store's already
// or repeat an earlier entry's, ignoring case.
struct ImportPlan {
  std::vector<templates::ImportEntry> entries;
  std::vector<int> lines;
  QList<std::pair<int, QString>> refused;
  int clashes = 0;
};
ImportPlan PlanImport(const QList<TemplateEntry>& read, const QStringList& storeNames);
// What the user is told of an import from `path` that `plan` planned and `result` did: the
// counts, and each row not imported with its line and reason.
QString ImportReport(const QString& path, const ImportPlan& plan,
                     const templates::MergeResult& result);
