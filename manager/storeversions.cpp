// Versions of the store: copies in a private folder of the user's state, named by time.
#include "manager/storeversions.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sys/stat.h>
#include <cerrno>
#include <cstring>

#include "common/wholefile.h"

namespace {

// A version's file name: the UTC time to the millisecond, a serial number for versions
// kept within one millisecond, and its number of templates.
const QString kTimeFormat = QStringLiteral("yyyyMMdd-HHmmsszzz");

// Far beyond any store a person keeps, as the engine's own limit.
constexpr qint64 kLargest = qint64(1) << 30;

// Lines that hold a template: an index, a name and a value, split by byte 4.
int CountTemplates(const QByteArray& bytes) {
  int count = 0;
  int separators = 0;
  for (const char c : bytes) {
    if (c == '\x04') {
      ++separators;
    } else if (c == '\n') {
      count += separators >= 2;
      separators = 0;
    }
  }
  return count + (separators >= 2);
}

QString MakePrivateFolder(const QString& folder) {
  if (!QDir().mkpath(QFileInfo(folder).path())) return QStringLiteral("its parent cannot be made");
  if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST)
    return QString::fromLocal8Bit(std::strerror(errno));
  return QFileInfo(folder).isDir() ? QString() : QStringLiteral("it is not a folder");
}

}  // namespace

QString StoreVersionFolder(const QString& store) {
  QString base = qEnvironmentVariable("XDG_STATE_HOME");
  if (base.isEmpty() || QDir::isRelativePath(base)) base = QDir::homePath() + "/.local/state";
  // One folder per store, keyed by where the store is.
  const QByteArray key =
      QCryptographicHash::hash(QFile::encodeName(QFileInfo(store).absoluteFilePath()),
                               QCryptographicHash::Sha256)
          .toHex()
          .left(16);
  return QDir(base).filePath(QStringLiteral("quorpad/versions/") + QString::fromLatin1(key));
}

QString KeepStoreVersion(const QString& store) {
  // A store that is missing or not a file has nothing to keep; the change itself says why.
  if (!QFileInfo(store).isFile()) return QString();
  QByteArray bytes;
  if (QString reason = ReadWholeFile(store, kLargest, bytes); !reason.isEmpty()) return reason;
  const QString folder = StoreVersionFolder(store);
  if (QString reason = MakePrivateFolder(folder); !reason.isEmpty())
    return QStringLiteral("the versions' folder %1 cannot be made: %2").arg(folder, reason);
  const QString stamp = QDateTime::currentDateTimeUtc().toString(kTimeFormat);
  QString name;
  for (int serial = 0;; ++serial) {
    name = QDir(folder).filePath(QStringLiteral("%1-%2-%3.dat")
                                     .arg(stamp)
                                     .arg(serial, 3, 10, QLatin1Char('0'))
                                     .arg(CountTemplates(bytes)));
    if (!QFileInfo::exists(name)) break;
  }
  if (QString reason = WriteFileAtomically(name, bytes.toStdString()); !reason.isEmpty())
    return reason;
  // The oldest go once there are more than are kept.
  const QList<StoreVersion> kept = StoreVersions(store);
  for (int i = kKeptStoreVersions; i < kept.size(); ++i) QFile::remove(kept.at(i).file);
  return QString();
}

QList<StoreVersion> StoreVersions(const QString& store) {
  QList<StoreVersion> versions;
  const QDir folder(StoreVersionFolder(store));
  // Names sort by time; newest first.
  const QStringList names =
      folder.entryList({QStringLiteral("*.dat")}, QDir::Files, QDir::Name | QDir::Reversed);
  for (const QString& name : names) {
    const QStringList parts = name.chopped(4).split(QLatin1Char('-'));
    if (parts.size() != 4) continue;
    StoreVersion version;
    version.file = folder.filePath(name);
    version.when = QDateTime::fromString(parts.at(0) + QLatin1Char('-') + parts.at(1), kTimeFormat);
    version.when.setTimeSpec(Qt::UTC);
    bool ok = false;
    version.templates = parts.at(3).toInt(&ok);
    if (!version.when.isValid() || !ok) continue;
    versions << version;
  }
  return versions;
}

QString RestoreStoreVersion(const QString& store, const StoreVersion& version) {
  QByteArray bytes;
  if (QString reason = ReadWholeFile(version.file, kLargest, bytes); !reason.isEmpty())
    return reason;
  if (QString reason = KeepStoreVersion(store); !reason.isEmpty()) return reason;
  return WriteFileAtomically(store, bytes.toStdString());
}
