// Earlier versions of the template store, kept by the manager before each change it writes,
// so that a change (a removal, a move, an import) can be taken back.
#pragma once

#include <QDateTime>
#include <QList>
#include <QString>

// A kept version of the store.
struct StoreVersion {
  QString file;       // the copy
  QDateTime when;     // when it was the store, just before the change that followed
  int templates = 0;  // how many templates it holds
};

// How many versions of a store are kept; the oldest go first.
inline constexpr int kKeptStoreVersions = 20;

// The folder of `store`'s versions: $XDG_STATE_HOME/quorpad/versions/<the store's key>,
// by default under ~/.local/state, open to the user alone.
QString StoreVersionFolder(const QString& store);

// Copies the store as it is now into its versions, then keeps only the newest
// kKeptStoreVersions. An empty string on success, else the reason; a store that does not
// exist, or is not a file, has nothing to keep and succeeds.
QString KeepStoreVersion(const QString& store);

// The kept versions of `store`, newest first.
QList<StoreVersion> StoreVersions(const QString& store);

// Makes `version` the store again, after keeping the store as it is now as a version of its
// own (so that the restore can itself be taken back). The store is replaced in one step. An
// empty string on success, else the reason.
QString RestoreStoreVersion(const QString& store, const StoreVersion& version);
