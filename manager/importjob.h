// Importing a file of templates beside the manager's window: the file read, parsed and set
// against the store's names on one job, the store merged in one rewrite on another, each
// shown in a progress dialog over the manager once it lasts.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <filesystem>
#include <functional>
#include <memory>

#include "common/storewatch.h"
#include "manager/templatefiles.h"
#include "template/tmpeng.h"
#include "treeview.h"

class LongJob;
class QWidget;

// The names of the store's templates, as the engine lists them.
class StoreNames : public templates::TreeView {
 public:
  void Clear() override { names_.clear(); }
  void Add(const std::u16string&, const std::u16string& text) override;
  int Count() const override { return int(names_.size()); }
  std::u16string Text(int i) const override;
  std::u16string Key(int) const override { return {}; }
  bool holds(const QString& name) const { return names_.contains(name); }
  const QStringList& names() const { return names_; }

 private:
  QStringList names_;
};

// What reading a file to import gives: its templates and how they merge into the store, or
// why nothing can be imported.
struct ImportRead {
  QList<TemplateEntry> entries;
  ImportPlan plan;
  QString reason;
};

// What the merge gives: what it did, or the engine's error; and the store read back after
// it, as it was when `seen` was taken, for the list.
struct ImportMerged {
  templates::MergeResult result;
  QString error;
  std::shared_ptr<TreeRows> rows;
  StoreStamp seen;
};

class ImportJob : public QObject {
  Q_OBJECT

 public:
  // Progress is shown over `owner`, which the job's results reach.
  explicit ImportJob(QWidget* owner);

  // Reads `path` and plans its merge into the store at `store` beside the window; `done` gets
  // the result on the window's thread once the reading's progress has gone, unless the
  // reading was cancelled (then nothing is written, nor asked).
  void read(const QString& path, const std::filesystem::path& store,
            std::function<void(ImportRead&)> done);
  // Merges the entries `plan` planned into the store in one rewrite under its lock, and reads
  // the store back for the list; once begun it is not cancelled, so that what the store holds is
  // what the report says. `written` gets the result on the window's thread as soon as the job ends.
  void merge(const QString& path, std::shared_ptr<const ImportPlan> plan, templates::Clash policy,
             const std::filesystem::path& store, std::function<void(ImportMerged&)> written);

  // Whether an import is reading or writing: one runs at a time.
  bool busy() const;
  LongJob* reader() const { return reader_; }
  LongJob* writer() const { return writer_; }

 Q_SIGNALS:
  void busyChanged(bool busy);

 private:
  LongJob* reader_;
  LongJob* writer_;
};
