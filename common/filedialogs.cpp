// The Open and Save dialogs through the modal seam.
#include "common/filedialogs.h"

#include "common/modal.h"

namespace {

QString QtPatterns(const QString& patterns) {
  QStringList out;
  for (QString p : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
    p = p.trimmed();
    out << (p == QLatin1String("*.*") ? QStringLiteral("*") : p);
  }
  return out.join(QLatin1Char(' '));
}

}  // namespace

QStringList BuildFilterList(const QString& filter) {
  QStringList parts = filter.split(QLatin1Char('|'));
  if (filter.endsWith(QLatin1Char('|'))) parts.removeLast();
  QStringList filters;
  for (int i = 0; i < parts.size(); i += 2) {
    const QString label = parts.at(i);
    const QString pattern = i + 1 < parts.size() ? parts.at(i + 1) : label;
    if (label.isEmpty() && pattern.isEmpty()) continue;
    filters << QStringLiteral("%1 (%2)").arg(label, QtPatterns(pattern));
  }
  return filters;
}

QString ShowOpenDialog(QWidget* owner, const QString& filter, const QString& title,
                       const QString& initialFolder) {
  return Modal().fileName(owner, false, title, initialFolder, BuildFilterList(filter));
}

QString ShowSaveDialog(QWidget* owner, const QString& filter, const QString& title,
                       const QString& initialFolder) {
  return Modal().fileName(owner, true, title, initialFolder, BuildFilterList(filter));
}
