// The version lines.
#include "common/versionlines.h"

#include <QCoreApplication>

QString ProgramVersionLine(int major, int minor, int revision) {
  return QStringLiteral("v%1.%2.%3a").arg(major).arg(minor).arg(revision);
}

QString EngineVersionLine(const QString& engineVersion) {
  return QCoreApplication::translate("VersionLines", "Using Quorvin Template Engine ") +
         engineVersion;
}
