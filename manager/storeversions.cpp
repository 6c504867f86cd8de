// Versions of the store: copies in a private folder of the user's state, in serial order.
#include "manager/storeversions.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QPointer>
#include <QSet>
#include <QThreadPool>
#include <algorithm>

#include <sys/stat.h>

#include "common/errortext.h"
#include "common/longjob.h"
#include "common/privatefolder.h"
#include "common/templatelist.h"
#include "common/wholefile.h"
#include "manager/templatefiles.h"
#include "treeview.h"

namespace {

// A version's file name: the UTC time to the millisecond, a serial number one above the
// highest of the folder, and its number of templates. Versions are ordered by the serial,
// so that a clock set back, or a version dated in the future, never makes newer versions
// go first; older quorpads wrote a serial within the millisecond, which orders as before.
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

// One folder per store, keyed by where the store is.
QString StoreKey(const QString& store) {
  return QString::fromLatin1(
      QCryptographicHash::hash(QFile::encodeName(QFileInfo(store).absoluteFilePath()),
                               QCryptographicHash::Sha256)
          .toHex()
          .left(16));
}

// The versions' folder of `store`, each step of the way checked as the user's own; nullptr
// with the reason when it cannot be used (or, without `create`, does not exist).
std::shared_ptr<PrivateFolder> OpenVersions(const QString& store, bool create, QString& why) {
  bool unsafe = false;
  std::shared_ptr<PrivateFolder> folder = PrivateFolder::open(StateFolder(), create, why, unsafe);
  for (const QString& name : {QStringLiteral("versions"), StoreKey(store)}) {
    if (!folder) break;
    folder = folder->child(name, create, why, unsafe);
  }
  if (!folder && unsafe)
    why = QCoreApplication::translate("StoreVersions", "it is not yours alone: %1").arg(why);
  return folder;
}

struct Listed {
  StoreVersion version;
  QString name;
  qint64 serial = 0;
};

// The file beside version `name` that says what change followed it.
QString ChangeFile(const QString& name) {
  return name.chopped(4) + QStringLiteral(".txt");
}

// Far more than a change's one line takes.
constexpr qint64 kLongestChange = 4096;

// Says beside version `name` that `change` followed it; a failure only leaves it unsaid.
void WriteChange(const PrivateFolder& folder, const QString& name, const QString& change) {
  if (change.isEmpty()) return;
  const QString file = ChangeFile(name);
  folder.write(file, PrivateFolder::temporaryName(QStringLiteral("change")),
               change.left(kLongestChange / 4).toUtf8());
}

// The versions in `folder` that are the user's own files, newest first.
QList<Listed> List(const PrivateFolder& folder) {
  QList<Listed> found;
  for (const QString& name : folder.names()) {
    if (!name.endsWith(QLatin1String(".dat")) || name.startsWith(QLatin1Char('.'))) continue;
    const QStringList parts = name.chopped(4).split(QLatin1Char('-'));
    if (parts.size() != 4 || !folder.ownFile(name).isEmpty()) continue;
    Listed entry;
    entry.name = name;
    entry.version.file = folder.filePath(name);
    entry.version.when =
        QDateTime::fromString(parts.at(0) + QLatin1Char('-') + parts.at(1), kTimeFormat);
    entry.version.when.setTimeSpec(Qt::UTC);
    bool ok = false, serialOk = false;
    entry.version.templates = parts.at(3).toInt(&ok);
    entry.serial = parts.at(2).toLongLong(&serialOk);
    if (!entry.version.when.isValid() || !ok || !serialOk) continue;
    QByteArray change;
    if (folder.read(ChangeFile(name), kLongestChange, false, change).isEmpty())
      entry.version.change = QString::fromUtf8(change).simplified();
    found << entry;
  }
  std::sort(found.begin(), found.end(), [](const Listed& a, const Listed& b) {
    return a.serial != b.serial ? a.serial > b.serial : a.name > b.name;
  });
  return found;
}

// Copies `bytes`, the store as it was at `when`, into its versions and keeps the newest;
// the version's file name goes to `name`.
QString WriteVersion(const QString& store, const QByteArray& bytes, const QDateTime& when,
                     QString& name);

// Says beside `store`'s version `name` that `change` followed it.
void SayChange(const QString& store, const QString& name, const QString& change) {
  QString why;
  if (name.isEmpty()) return;
  if (const std::shared_ptr<PrivateFolder> folder = OpenVersions(store, false, why))
    WriteChange(*folder, name, change);
}

// Writes versions beside the window, one at a time in the order they were asked for; it
// lives as long as the application, whose end waits for the writes under way.
QThreadPool* g_writer = nullptr;

QThreadPool& Writer() {
  if (!g_writer) {
    g_writer = new QThreadPool(QCoreApplication::instance());
    g_writer->setMaxThreadCount(1);
    QObject::connect(g_writer, &QObject::destroyed, [] { g_writer = nullptr; });
  }
  return *g_writer;
}

// Every version asked for is written before the versions are listed, restored or kept at
// once, so that the serial numbers follow the order of the changes.
void WaitForWrites() {
  if (g_writer) g_writer->waitForDone();
}

}  // namespace

QString StoreVersionFolder(const QString& store) {
  return QDir(StateFolder()).filePath(QStringLiteral("versions/") + StoreKey(store));
}

struct KeptVersion::State {
  QString store;
  QString name;  // set by the writer once the version is written
};

void KeptVersion::changeMade(const QString& change) {
  if (!state_ || change.isEmpty()) return;
  Writer().start([state = std::exchange(state_, nullptr), change] {
    SayChange(state->store, state->name, change);
  });
}

QString KeepStoreVersion(const QString& store, QByteArray* kept, QString* name) {
  // A store that is missing or not a file has nothing to keep; the change itself says why.
  if (!QFileInfo(store).isFile()) return QString();
  QByteArray bytes;
  if (QString reason = ReadWholeFile(store, kLargest, bytes); !reason.isEmpty()) return reason;
  WaitForWrites();
  QString written;
  QString reason = WriteVersion(store, bytes, QDateTime::currentDateTimeUtc(), written);
  if (reason.isEmpty()) {
    if (kept) *kept = std::move(bytes);
    if (name) *name = written;
  }
  return reason;
}

KeptVersion KeepStoreVersionBeside(const QString& store, QObject* context,
                                   std::function<void(const QString& reason)> kept) {
  KeptVersion version;
  if (!QFileInfo(store).isFile()) return version;
  QByteArray bytes;
  if (QString reason = ReadWholeFile(store, kLargest, bytes); !reason.isEmpty()) {
    kept(reason);
    return version;
  }
  version.state_ = std::make_shared<KeptVersion::State>();
  version.state_->store = store;
  Writer().start([state = version.state_, bytes = std::move(bytes),
                  when = QDateTime::currentDateTimeUtc(), to = QPointer<QObject>(context),
                  kept = std::move(kept)]() mutable {
    const QString reason = WriteVersion(state->store, bytes, when, state->name);
    bytes.clear();
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [to, kept, reason] {
          if (to) kept(reason);
        },
        Qt::QueuedConnection);
  });
  return version;
}

namespace {

QString WriteVersion(const QString& store, const QByteArray& bytes, const QDateTime& when,
                     QString& name) {
  QString why;
  const std::shared_ptr<PrivateFolder> folder = OpenVersions(store, true, why);
  if (!folder)
    return QCoreApplication::translate("StoreVersions",
                                       "the versions' folder %1 cannot be used: %2")
        .arg(StoreVersionFolder(store), why);
  const QList<Listed> kept = List(*folder);
  // Nothing changed since the newest version: it is kept already, and the change to come is
  // the one that follows it.
  struct stat newestStat {};
  if (!kept.isEmpty() && folder->regularFile(kept.first().name, newestStat) &&
      newestStat.st_size == bytes.size()) {
    QByteArray newest;
    if (folder->read(kept.first().name, kLargest, true, newest).isEmpty() && newest == bytes) {
      name = kept.first().name;
      return QString();
    }
  }
  const qint64 serial = kept.isEmpty() ? 1 : std::max<qint64>(kept.first().serial, 0) + 1;
  name = when.toString(kTimeFormat) + QLatin1Char('-') + QString::number(serial) +
         QLatin1Char('-') + QString::number(CountTemplates(bytes)) + QStringLiteral(".dat");
  // What a write cut short by a kill left (a store's size each) goes first.
  folder->removeLeftTemporaries(QStringLiteral("version"));
  folder->removeLeftTemporaries(QStringLiteral("change"));
  if (QString reason =
          folder->write(name, PrivateFolder::temporaryName(QStringLiteral("version")), bytes);
      !reason.isEmpty()) {
    name.clear();
    return reason;
  }
  // The oldest go once there are more than are kept, with what they say of their changes.
  const QList<Listed> now = List(*folder);
  for (int i = kKeptStoreVersions; i < now.size(); ++i) {
    folder->remove(now.at(i).name);
    folder->remove(ChangeFile(now.at(i).name));
  }
  return QString();
}

}  // namespace

QList<StoreVersion> StoreVersions(const QString& store) {
  WaitForWrites();
  QList<StoreVersion> versions;
  QString why;
  const std::shared_ptr<PrivateFolder> folder = OpenVersions(store, false, why);
  if (!folder) return versions;
  for (const Listed& entry : List(*folder)) versions << entry.version;
  return versions;
}

QString RestoreStoreVersion(templates::tmpeng& engine, const StoreVersion& version) {
  WaitForWrites();
  const QString store = QFile::decodeName(QByteArray::fromStdString(engine.StorePath().native()));
  QString why;
  const std::shared_ptr<PrivateFolder> folder = OpenVersions(store, false, why);
  if (!folder) return why;
  QByteArray bytes;
  if (QString reason = folder->read(QFileInfo(version.file).fileName(), kLargest, true, bytes);
      !reason.isEmpty())
    return reason;
  const QString change = QCoreApplication::translate("StoreVersions", "Restored the version of %1")
                             .arg(VersionTime(version));
  // The templates as they are now are kept before they are replaced (a store missing then
  // makes the replace fail below, with nothing replaced).
  QByteArray now;
  QString kept;
  if (QString reason = KeepStoreVersion(store, &now, &kept); !reason.isEmpty()) return reason;
  std::string replaced;
  try {
    replaced = engine.Template_Replace(std::string_view(bytes.constData(), bytes.size()));
  } catch (const std::exception&) {
    return ErrorText(std::current_exception());
  }
  // What the restore replaced is kept too where it is not what was kept above: a change that
  // came in meanwhile is thereby never lost. The version the restore followed says so.
  if (replaced != std::string_view(now.constData(), size_t(now.size()))) {
    if (QString reason = WriteVersion(store, QByteArray::fromStdString(replaced),
                                      QDateTime::currentDateTimeUtc(), kept);
        !reason.isEmpty())
      return reason;
  }
  SayChange(store, kept, change);
  return QString();
}

QString TemplateCount(qsizetype count) {
  return QCoreApplication::translate("StoreVersions", "%n template(s)", nullptr, int(count));
}

QString QuotedName(const QString& name) {
  return QLatin1Char('\'') + ShownName(name) + QLatin1Char('\'');
}

QString VersionTime(const StoreVersion& version) {
  return version.when.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

namespace {

// "'A', 'B' and 3 more": at most `shown` names.
QString Names(const QStringList& names, int shown = 12) {
  QStringList quoted;
  for (const QString& name : names.mid(0, shown)) quoted << QuotedName(name);
  QString text = quoted.join(QStringLiteral(", "));
  if (const int more = int(names.size()) - shown; more > 0)
    text += QCoreApplication::translate("StoreVersions", " and %n more", nullptr, more);
  return text;
}

}  // namespace

QString RestoreDifference(const QList<TemplateEntry>& version, const QList<TemplateEntry>& now,
                          JobProgress* job) {
  // Stops, with nothing to say, once the job is cancelled; checked every few thousand rows.
  const auto stopped = [job](qsizetype row) { return job && row % 4096 == 0 && job->cancelled(); };
  constexpr int kShown = 12;
  QHash<QString, qsizetype> nowByName;
  nowByName.reserve(now.size());
  for (qsizetype row = 0; row < now.size(); ++row) nowByName.insert(now.at(row).name, row);
  QList<bool> inVersion(now.size(), false);
  QList<const TemplateEntry*> coming;  // in the version, under a name the store lacks
  QStringList changes, commonInVersion;
  qsizetype changed = 0;
  for (qsizetype row = 0; row < version.size(); ++row) {
    if (stopped(row)) return QString();
    const TemplateEntry& entry = version.at(row);
    const auto found = nowByName.constFind(entry.name);
    if (found == nowByName.cend()) {
      coming << &entry;
      continue;
    }
    inVersion[*found] = true;
    commonInVersion << entry.name;
    const QString& value = now.at(*found).value;
    if (value != entry.value && changed++ < kShown)
      changes << QCoreApplication::translate("StoreVersions", "change %1: \"%2\" becomes \"%3\"")
                     .arg(QuotedName(entry.name), FirstLine(value, 60), FirstLine(entry.value, 60));
  }
  QStringList commonNow;
  QList<const TemplateEntry*> going;  // in the store, under a name the version lacks
  // A name the store holds twice (a store written by hand) is the version's in both rows.
  const bool twice = nowByName.size() != now.size();
  for (qsizetype row = 0; row < now.size(); ++row) {
    if (inVersion.at(twice ? nowByName.value(now.at(row).name) : row))
      commonNow << now.at(row).name;
    else
      going << &now.at(row);
  }
  // A template that goes and one that comes with the same text are one renamed: each that
  // goes with the first that comes with its text, in the version's order. Those that come
  // are found by their text, so that many renames cost no more than a few.
  QHash<QString, QList<qsizetype>> comingByValue;
  for (qsizetype at = coming.size() - 1; at >= 0; --at) comingByValue[coming.at(at)->value] << at;
  QList<bool> paired(coming.size(), false);
  QStringList renames, added, removed;
  qsizetype renamed = 0;
  for (const TemplateEntry* gone : going) {
    const auto same = comingByValue.find(gone->value);
    if (same == comingByValue.end() || same->isEmpty()) {
      removed << gone->name;
      continue;
    }
    const qsizetype at = same->takeLast();
    paired[at] = true;
    if (renamed++ < kShown)
      renames << QCoreApplication::translate("StoreVersions", "rename %1 to %2")
                     .arg(QuotedName(gone->name), QuotedName(coming.at(at)->name));
  }
  for (qsizetype at = 0; at < coming.size(); ++at)
    if (!paired.at(at)) added << coming.at(at)->name;

  QStringList lines;
  if (!added.isEmpty())
    lines << QCoreApplication::translate("StoreVersions", "add %1: %2")
                 .arg(TemplateCount(added.size()), Names(added));
  if (!removed.isEmpty())
    lines << QCoreApplication::translate("StoreVersions", "remove %1: %2")
                 .arg(TemplateCount(removed.size()), Names(removed));
  lines << renames;
  if (const int more = int(renamed) - kShown; more > 0)
    lines << QCoreApplication::translate("StoreVersions", "rename %n more", nullptr, more);
  lines << changes;
  if (const int more = int(changed) - kShown; more > 0)
    lines << QCoreApplication::translate("StoreVersions", "change %n more", nullptr, more);
  if (commonInVersion != commonNow)
    lines << QCoreApplication::translate("StoreVersions", "put the templates in another order");
  if (lines.isEmpty())
    return QCoreApplication::translate("StoreVersions",
                                       "Restoring this version changes nothing: it holds the "
                                       "templates as they are now.");
  return QCoreApplication::translate("StoreVersions", "Restoring this version would:\n- %1")
      .arg(lines.join(QStringLiteral("\n- ")));
}

QString WhatRestoreChanges(const StoreVersion& version, const QString& store, JobProgress* job) {
  QString why;
  const std::shared_ptr<PrivateFolder> folder = OpenVersions(store, false, why);
  QByteArray bytes;
  if (folder) why = folder->read(QFileInfo(version.file).fileName(), kLargest, true, bytes);
  const auto stopped = [job] { return job && job->cancelled(); };
  if (stopped()) return QString();
  QList<TemplateEntry> entries;
  if (why.isEmpty() && !ReadTemplateFile(bytes, false, entries, why, job) && !why.isEmpty())
    why = QCoreApplication::translate("StoreVersions", "at %1").arg(why);
  if (stopped()) return QString();
  if (!why.isEmpty())
    return QCoreApplication::translate("StoreVersions", "This version cannot be read: %1").arg(why);
  // The store as it is now, read by an engine of the thread's own (the window's is not
  // shared); a store not yet written holds no templates.
  QList<TemplateEntry> now;
  if (stopped()) return QString();
  if (QFileInfo::exists(store)) {
    TreeRows rows;
    try {
      const QByteArray path = QFile::encodeName(QFileInfo(store).absolutePath());
      templates::tmpeng(std::filesystem::path(path.toStdString())).Template_LoadA(rows);
    } catch (const std::exception&) {
      return ErrorText(std::current_exception(),
                       QCoreApplication::translate("StoreVersions",
                                                   "The templates as they are now cannot be "
                                                   "read from %1: ")
                           .arg(store));
    }
    now.reserve(rows.rows.size());
    for (const TreeRow& row : std::as_const(rows.rows)) now.append({row.text, row.key});
  }
  return RestoreDifference(entries, now, job);
}
