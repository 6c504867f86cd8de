// The program folder, the store's place and the engines on the store.
#include "common/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>

namespace {

QString g_programFolder;
std::optional<StorePlace> g_place;

const QString kStoreName = QString::fromLatin1(templates::kStoreFileName);
const QString kSettingsName = QStringLiteral("quorpad.ini");

bool Writable(const QString& folder) {
  return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
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

// Makes `folder` and its missing parents; the last is the user's alone. Empty on success,
// else the reason.
QString MakeFolder(const QString& folder) {
  const QFileInfo info(folder);
  if (info.isDir()) return QString();
  if (info.exists() || info.isSymLink()) return QStringLiteral("it exists and is not a folder");
  if (!QDir().mkpath(QFileInfo(folder).path()))
    return QStringLiteral("its parent folder cannot be made");
  if (::mkdir(QFile::encodeName(folder).constData(), 0700) != 0 && errno != EEXIST)
    return QString::fromLocal8Bit(std::strerror(errno));
  return QFileInfo(folder).isDir() ? QString() : QStringLiteral("it is not a folder");
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
  const QString store = QDir(place.storeFolder).filePath(kStoreName);
  QString reason = MakeFolder(place.storeFolder);
  if (reason.isEmpty()) reason = Seed(kStoreName, store, true);
  if (!reason.isEmpty()) {
    // The program folder's store can still be read; saving a change then fails and says why.
    place.problem = QStringLiteral(
                        "Your templates cannot be kept in %1: %2.\n\nThe templates beside the "
                        "program are used; they can be read but not changed.")
                        .arg(QDir::toNativeSeparators(place.storeFolder), reason);
    place.storeFolder = ProgramFolder();
    place.perUser = false;
  }
  const QString settingsFolder = QFileInfo(place.settingsFile).path();
  QString settingsReason = MakeFolder(settingsFolder);
  if (settingsReason.isEmpty()) settingsReason = Seed(kSettingsName, place.settingsFile, false);
  if (!settingsReason.isEmpty()) {
    place.problem += (place.problem.isEmpty() ? QString() : QStringLiteral("\n\n")) +
                     QStringLiteral("Your settings cannot be kept in %1: %2.")
                         .arg(QDir::toNativeSeparators(settingsFolder), settingsReason);
    place.settingsFile = QDir(ProgramFolder()).filePath(kSettingsName);
  }
  return place;
}

}  // namespace

QString ProgramFolder() {
  if (!g_programFolder.isEmpty()) return g_programFolder;
  if (QCoreApplication::instance()) return QCoreApplication::applicationDirPath();
  // Before the application object exists (the options answered first): the running
  // program's own file, as the kernel names it.
  return QFileInfo(QFileInfo(QStringLiteral("/proc/self/exe")).symLinkTarget()).path();
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
  return QStringLiteral("Templates: ") +
         QDir::toNativeSeparators(QDir(place.storeFolder).filePath(kStoreName)) +
         (place.perUser ? QStringLiteral(" (yours)") : QString());
}

QString TemplateStoreFolder() {
  return ChosenStorePlace().storeFolder;
}

std::unique_ptr<templates::tmpeng> NewEngine() {
  // The folder's name in the file system's own bytes, whatever characters it holds.
  return std::make_unique<templates::tmpeng>(
      std::filesystem::path(QFile::encodeName(TemplateStoreFolder()).toStdString()));
}
