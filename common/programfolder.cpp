// The program folder and the engines on its store.
#include "common/programfolder.h"

#include <QCoreApplication>
#include <QFile>

namespace {

QString g_programFolder;

}  // namespace

QString ProgramFolder() {
  return g_programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : g_programFolder;
}

void SetProgramFolder(const QString& folder) {
  g_programFolder = folder;
}

std::unique_ptr<templates::tmpeng> NewEngine() {
  // The folder's name in the file system's own bytes, whatever characters it holds.
  return std::make_unique<templates::tmpeng>(
      std::filesystem::path(QFile::encodeName(ProgramFolder()).toStdString()));
}
