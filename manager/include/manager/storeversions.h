// Earlier versions of the template store, kept by the manager before each change it writes,
// so that a change (a removal, a move, an import) can be taken back.
#pragma once

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>

#include "template/tmpeng.h"

// A kept version of the store.
struct StoreVersion {
  QString file;       // the copy
  QDateTime when;     // when it was the store, just before the change that followed
  int templates = 0;  // how many templates it holds
};

// How many versions of a store are kept; the oldest go first.
inline constexpr int kKeptStoreVersions = 20;

// The folder of `store`'s versions: $XDG_STATE_HOME/quorpad/versions/<the store's key>,
// by default under ~/.local/state; it and the folders above it up to quorpad are the user's
// own (PrivateFolder), made 0700, and the versions in it 0600. A version that is not the
// user's own file is never listed nor restored.
QString StoreVersionFolder(const QString& store);

// Copies the store as it is now into its versions, then keeps only the newest
// kKeptStoreVersions. An empty string on success, else the reason; a store that does not
// exist, or is not a file, has nothing to keep and succeeds, and so does a store whose bytes
// are those of the newest version.
QString KeepStoreVersion(const QString& store);
// The same for `bytes`, the store as it was.
QString KeepStoreVersionBytes(const QString& store, const QByteArray& bytes);
// The same beside the window: the store is read now, before the change, and written as a
// version on a thread of its own, one after another in the order asked; `kept` gets the
// outcome (the reason, or an empty string) on `context`'s thread, unless `context` is gone.
// Listing, restoring and the two above wait for those writes first.
void KeepStoreVersionBeside(const QString& store, QObject* context,
                            std::function<void(const QString& reason)> kept);

// The kept versions of `store`, newest first.
QList<StoreVersion> StoreVersions(const QString& store);

// Makes `version` the store of `engine` again, after keeping the store as it is now as a
// version of its own (so that the restore can itself be taken back). The store is replaced
// in one step under the engine's lock. An empty string on success, else the reason.
QString RestoreStoreVersion(templates::tmpeng& engine, const StoreVersion& version);
