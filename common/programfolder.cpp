// The program folder, the store's place and the engines on the store.
#include "common/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <optional>

#include "common/privatefolder.h"

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace {

QString g_programFolder;
QString g_packageFolders;
std::optional<StorePlace> g_place;

const QString kStoreName = QString::fromLatin1(templates::kStoreFileName);
const QString kSettingsName = QStringLiteral("quorpad.ini");

// The program folder holds the store only where it is the user's to write: a folder the
// user owns, or a portable copy the user may write that no package installed. A package's
// folder is never the store's place, not even for root, who may write anywhere.
bool Writable(const QString& folder) {
  const QByteArray name = QFile::encodeName(folder);
  struct stat st {};
  if (::access(name.constData(), W_OK | X_OK) != 0 || ::stat(name.constData(), &st) != 0)
    return false;
  if (st.st_uid == ::geteuid() && ::geteuid() != 0) return true;
  return !InstalledByPackage(folder);
}

QString UserFolder(QStandardPaths::StandardLocation location) {
  return QStandardPaths::writableLocation(location) + QStringLiteral("/quorpad");
}

StorePlace Plan() {
  const QString program = ProgramFolder();
  StorePlace place;
  if (Writable(program)) {
    place.storeFolder = program;
    place.settingsFile = QDir(program).filePath(kSettingsName);
    return place;
  }
  place.perUser = true;
  place.storeFolder = UserFolder(QStandardPaths::GenericDataLocation);
  place.settingsFile =
      QDir(UserFolder(QStandardPaths::GenericConfigLocation)).filePath(kSettingsName);
  return place;
}

// Makes or opens `folder` as a folder of the user's own (PrivateFolder). Empty on success,
// else the reason; `unsafe` when the folder is there but not the user's alone.
QString MakeFolder(const QString& folder, bool& unsafe) {
  QString why;
  return PrivateFolder::open(folder, true, why, unsafe) ? QString() : why;
}

// Copies the program folder's `name` to `target` unless `target` exists already. Another
// quorpad doing the same at the same moment is harmless: the copy is made under a
// temporary name and never replaces a file. Empty on success, else the reason.
QString Seed(const QString& name, const QString& target, bool makeEmpty) {
  if (QFileInfo::exists(target) || QFileInfo(target).isSymLink()) return QString();
  const QString source = QDir(ProgramFolder()).filePath(name);
  QTemporaryFile copy(target + QStringLiteral(".XXXXXX"));
  if (!copy.open()) return copy.errorString();
  if (QFileInfo::exists(source)) {
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly)) return in.errorString();
    const QByteArray bytes = in.readAll();
    if (in.error() != QFileDevice::NoError) return in.errorString();
    if (copy.write(bytes) != bytes.size() || !copy.flush()) return copy.errorString();
  } else if (!makeEmpty) {
    return QString();
  }
  if (::fsync(copy.handle()) != 0) return QString::fromLocal8Bit(std::strerror(errno));
  copy.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
  // A hard link never replaces what is there: whoever came first keeps their copy.
  if (::link(QFile::encodeName(copy.fileName()).constData(),
             QFile::encodeName(target).constData()) != 0 &&
      errno != EEXIST)
    return QString::fromLocal8Bit(std::strerror(errno));
  return QString();
}

StorePlace Prepare() {
  StorePlace place = Plan();
  if (!place.perUser) return place;
  place.settingsPerUser = true;
  const QString store = QDir(place.storeFolder).filePath(kStoreName);
  bool unsafe = false;
  QString reason = MakeFolder(place.storeFolder, unsafe);
  if (reason.isEmpty()) reason = Seed(kStoreName, store, true);
  if (reason.isEmpty()) {
    // The store in it must be the user's own file as well: anything else someone else put
    // there, and writing to it could change a file of theirs or of the user's elsewhere.
    QString why;
    if (const auto folder = PrivateFolder::open(place.storeFolder, false, why, unsafe)) {
      reason = folder->ownFile(kStoreName);
      unsafe = !reason.isEmpty();
    }
  }
  if (unsafe) {
    // Never another user's store, nor the program folder's in its place: quorpad does not
    // start on it, and says why.
    place.refused = QCoreApplication::translate(
                        "ProgramFolder",
                        "Your templates are not used: %1 or the store in it is not yours alone: "
                        "%2. Remove it, or make it yours alone, and start quorpad again.")
                        .arg(QDir::toNativeSeparators(place.storeFolder), reason);
    reason.clear();
  }
  if (!reason.isEmpty()) {
    // The program folder's store can still be read; saving a change then fails and says why.
    place.problem = QCoreApplication::translate(
                        "ProgramFolder",
                        "Your templates cannot be kept in %1: %2.\n\nThe templates beside the "
                        "program are used; they can be read but not changed.")
                        .arg(QDir::toNativeSeparators(place.storeFolder), reason);
    place.storeFolder = ProgramFolder();
    place.perUser = false;
  }
  const QString settingsFolder = QFileInfo(place.settingsFile).path();
  QString settingsReason = MakeFolder(settingsFolder, unsafe);
  if (settingsReason.isEmpty()) settingsReason = Seed(kSettingsName, place.settingsFile, false);
  if (!settingsReason.isEmpty()) {
    place.problem +=
        (place.problem.isEmpty() ? QString() : QStringLiteral("\n\n")) +
        QCoreApplication::translate("ProgramFolder", "Your settings cannot be kept in %1: %2.")
            .arg(QDir::toNativeSeparators(settingsFolder), settingsReason);
    place.settingsFile = QDir(ProgramFolder()).filePath(kSettingsName);
    place.settingsPerUser = false;
  }
  return place;
}

}  // namespace

bool InstalledByPackage(const QString& folder) {
  const QString canonical = QFileInfo(folder).canonicalFilePath();
  if (canonical.isEmpty()) return false;
  QStringList listed = g_packageFolders.split(QLatin1Char(':'), Qt::SkipEmptyParts);
  if (g_packageFolders.isEmpty()) {
    // The system's own tree is the packages'; so is whatever dpkg says quorpad's package put.
    if (canonical.startsWith(QLatin1String("/usr/")) &&
        !canonical.startsWith(QLatin1String("/usr/local/")))
      return true;
    QFile list(QStringLiteral("/var/lib/dpkg/info/quorpad.list"));
    if (list.open(QIODevice::ReadOnly))
      listed = QString::fromUtf8(list.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  }
  for (const QString& entry : listed) {
    const QString path = QFileInfo(entry).canonicalFilePath();
    if (!path.isEmpty() && path == canonical) return true;
  }
  return false;
}

void SetPackageFolders(const QString& folders) {
  g_packageFolders = folders;
  g_place.reset();
}

QString ProgramFolder() {
  if (!g_programFolder.isEmpty()) return g_programFolder;
  if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
  // Before the application object exists (the options answered first): the running
  // program's own file, as the kernel names it.
  return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).path();
}

QString DialogFolder() {
  const QString program = ProgramFolder();
  if (::access(QFile::encodeName(program).constData(), W_OK | X_OK) == 0 &&
      !InstalledByPackage(program))
    return program;
  const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
  return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

void SetProgramFolder(const QString& folder) {
  g_programFolder = folder;
  g_place.reset();
}

const StorePlace& ChosenStorePlace() {
  if (!g_place) g_place = Prepare();
  return *g_place;
}

StorePlace PlannedStorePlace() {
  return g_place ? *g_place : Plan();
}

QString StoreLine(const StorePlace& place) {
  const QString store = QDir::toNativeSeparators(QDir(place.storeFolder).filePath(kStoreName));
  return place.perUser
             ? QCoreApplication::translate("ProgramFolder", "Templates: %1 (yours)").arg(store)
             : QCoreApplication::translate("ProgramFolder", "Templates: %1").arg(store);
}

QString TemplateStoreFolder() {
  return ChosenStorePlace().storeFolder;
}

std::unique_ptr<templates::tmpeng> NewEngine() {
  // Every engine is made here, so a store place that was refused is refused to every caller
  // alike: the start-up, the windows, --list and --copy.
  if (const StorePlace& place = ChosenStorePlace(); !place.refused.isEmpty())
    throw templates::EngineError(
        templates::kErrPermissionDenied,
        std::filesystem::path(
            QFile::encodeName(QDir(place.storeFolder).filePath(kStoreName)).toStdString()),
        place.refused.toStdString());
  // The folder's name in the file system's own bytes, whatever characters it holds.
  return std::make_unique<templates::tmpeng>(
      std::filesystem::path(QFile::encodeName(TemplateStoreFolder()).toStdString()));
}
