// Earlier versions of the template store, kept by the manager before each change it writes,
// so that a change (a removal, a move, an import) can be taken back.
#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "manager/templatefiles.h"
#include "template/tmpeng.h"

// A kept version of the store.
struct StoreVersion {
  QString file;       // the copy
  QDateTime when;     // when it was the store, just before the change that followed
  int templates = 0;  // how many templates it holds
  QString change;     // the change that followed it ("Added 'Sig'"); empty where unsaid
};

// How many versions of a store are kept; the oldest go first.
inline constexpr int kKeptStoreVersions = 20;

// The folder of `store`'s versions: $XDG_STATE_HOME/quorpad/versions/<the store's key>,
// by default under ~/.local/state; it and the folders above it up to quorpad are the user's
// own (PrivateFolder), made 0700, and the versions in it 0600. A version that is not the
// user's own file is never listed nor restored.
QString StoreVersionFolder(const QString& store);

// A version kept before a change, which says what the change was only once it is made: a
// change refused or failed is never listed as one that followed. Until then (or for good)
// the version says nothing, and being the store's bytes it is the one the next change keeps.
class KeptVersion {
 public:
  // Says `change` ("Added 'Sig'") beside the version, after it is written; nothing where it
  // could not be kept. Once only: a second call says nothing.
  void changeMade(const QString& change);

  struct State;

 private:
  friend KeptVersion KeepStoreVersionBeside(const QString&, QObject*,
                                            std::function<void(const QString&)>);
  std::shared_ptr<State> state_;
};

// Copies the store as it is now into its versions, then keeps only the newest
// kKeptStoreVersions. An empty string on success, else the reason; a store that does not
// exist, or is not a file, has nothing to keep and succeeds, and so does a store whose bytes
// are those of the newest version (which is then the one kept). Once kept, the store's bytes
// go to `kept` and the version's file name to `name`, where given.
QString KeepStoreVersion(const QString& store, QByteArray* kept = nullptr, QString* name = nullptr);
// The same beside the window: the store is read now, before the change, and written as a
// version on a thread of its own, one after another in the order asked; `kept` gets the
// outcome (the reason, or an empty string) on `context`'s thread, unless `context` is gone.
// Listing, restoring and KeepStoreVersion wait for those writes first.
KeptVersion KeepStoreVersionBeside(const QString& store, QObject* context,
                                   std::function<void(const QString& reason)> kept);

// The kept versions of `store`, newest first.
QList<StoreVersion> StoreVersions(const QString& store);

// Makes `version` the store of `engine` again, after keeping the store as it is now as a
// version of its own (so that the restore can itself be taken back). The store is replaced
// in one step under the engine's lock. An empty string on success, else the reason.
QString RestoreStoreVersion(templates::tmpeng& engine, const StoreVersion& version);

// "1 template", "2 templates": a count of templates as the versions and their changes say it.
QString TemplateCount(qsizetype count);

// A template's name as the changes and the differences quote it: 'Name', on one line.
QString QuotedName(const QString& name);
// When `version` was the store, in local time, as the versions are listed.
QString VersionTime(const StoreVersion& version);

// What restoring `version` would change in `store` as it is now: the templates it would
// add, remove, rename (one gone and one come with the same text) and change (with the first
// lines of both texts), and whether the order changes; or why the version or the store
// cannot be read. Made to run beside the window, on a version StoreVersions listed: it
// reads the two files with an engine of its own, and as `job`, once cancelled, it stops and
// says nothing.
QString WhatRestoreChanges(const StoreVersion& version, const QString& store,
                           JobProgress* job = nullptr);
// The same between two lists of templates.
QString RestoreDifference(const QList<TemplateEntry>& version, const QList<TemplateEntry>& now,
                          JobProgress* job = nullptr);
