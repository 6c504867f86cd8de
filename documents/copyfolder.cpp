// The copies' folder and the names of a copy's files in it.
#include "copyfolder.h"

#include <QDir>

namespace {

const QString kAsideSuffix = QStringLiteral(".damaged");

}  // namespace

QString CopyFiles::idOf(const QString& name) {
  for (const QLatin1String suffix :
       {QLatin1String(".copy"), QLatin1String(".lock"), QLatin1String(".tmp")}) {
    if (!name.endsWith(suffix)) continue;
    const QString id = name.chopped(suffix.size());
    return id.startsWith(QLatin1Char('.')) ? QString() : id;
  }
  return QString();
}

QString CopyFiles::aside(int n) const {
  return n < 2 ? id_ + kAsideSuffix : id_ + QLatin1Char('-') + QString::number(n) + kAsideSuffix;
}

QString CopyFiles::path(const QString& name) const {
  return QDir(folder_).filePath(name);
}

std::shared_ptr<CopyFolder> CopyFolder::open(const QString& path, bool create, QString& why,
                                             bool& unsafe) {
  const int fd = openChecked(path, create, why, unsafe);
  if (fd < 0) return nullptr;
  return std::shared_ptr<CopyFolder>(new CopyFolder(path, fd));
}
