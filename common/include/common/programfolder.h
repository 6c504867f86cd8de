// The program folder, and where the template store and the settings file live.
#pragma once

#include <QString>
#include <memory>

#include "template/tmpeng.h"

// Whether a package installed `folder`: it is listed in the package database (dpkg's
// lists, or the folders that SetPackageFolders names for tests).
bool InstalledByPackage(const QString& folder);
// Lets tests name the folders taken to be a package's, separated by ':'.
void SetPackageFolders(const QString& folders);

// The folder that holds the program.
QString ProgramFolder();
// Where the Open and Save dialogs start: the program folder, as always, where the user may
// write to it; otherwise (a package, a read-only folder) the user's documents folder, or
// home, where a file can be saved.
QString DialogFolder();
// Lets tests put the program folder elsewhere; the store's place is chosen afresh.
void SetProgramFolder(const QString& folder);

// Where the template store and the settings file live. Beside the program where its folder
// can be written (a portable copy, an install into the user's own folders); otherwise (a
// package, a read-only folder) in the user's own data and settings folders,
// $XDG_DATA_HOME/quorpad and $XDG_CONFIG_HOME/quorpad, which start as copies of the program
// folder's store and settings where it has them.
struct StorePlace {
  QString storeFolder;           // the folder of templates.dat
  QString settingsFile;          // the full path of quorpad.ini
  bool perUser = false;          // in the user's own folders rather than beside the program
  bool settingsPerUser = false;  // the settings file in the user's own folder
  QString problem;               // why the user's own folders could not be used; empty when fine
  // Why the user's own store is not used at all (its folder or file is not the user's
  // alone); empty when fine. NewEngine() then fails with this reason.
  QString refused;
};
// The place chosen for this process; the first call makes the user's folders and copies
// the program folder's files into them where needed.
const StorePlace& ChosenStorePlace();
// Where the store would be, without making or copying anything (for --version).
StorePlace PlannedStorePlace();
// "Templates: <store file>", and " (yours)" where the store is in the user's own folder.
QString StoreLine(const StorePlace& place);
// The folder of the template store.
QString TemplateStoreFolder();
// A new template engine on the store.
std::unique_ptr<templates::tmpeng> NewEngine();
