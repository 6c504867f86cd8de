// Reading a file to import and merging it into the store, beside the manager's window.
#include "importjob.h"

#include <QCoreApplication>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <exception>

#include "common/errortext.h"
#include "common/longjob.h"
#include "common/textconv.h"
#include "common/wholefile.h"

void StoreNames::Add(const std::u16string&, const std::u16string& text) {
  names_ << FromU16(text);
}

std::u16string StoreNames::Text(int i) const {
  return ToU16(names_.value(i - 1));
}

ImportJob::ImportJob(QWidget* owner)
    : QObject(owner), reader_(new LongJob(this)), writer_(new LongJob(this)) {
  ShowProgressOf(reader_, owner, true);
  ShowProgressOf(writer_, owner, false);
  for (LongJob* job : {reader_, writer_}) {
    connect(job, &LongJob::started, this, [this] { Q_EMIT busyChanged(true); });
    connect(job, &LongJob::ended, this, [this] { Q_EMIT busyChanged(busy()); });
  }
}

bool ImportJob::busy() const {
  return reader_->busy() || writer_->busy();
}

void ImportJob::read(const QString& path, const std::filesystem::path& store,
                     std::function<void(ImportRead&)> done) {
  reader_->start<ImportRead>(
      tr("Reading %1").arg(path),
      [path, store](JobProgress& job) {
        ImportRead read;
        QByteArray bytes;
        read.reason = ReadWholeFile(path, qint64(1) << 30, bytes);
        if (read.reason.isEmpty() &&
            !ReadTemplateFile(bytes, path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive),
                              read.entries, read.reason, &job))
          read.reason = QCoreApplication::translate("ImportJob", "%1. Nothing was imported.")
                            .arg(read.reason);
        if (!read.reason.isEmpty() || job.cancelled()) return read;
        StoreNames names;
        try {
          templates::tmpeng(store.parent_path()).Template_LoadA(names);
        } catch (...) {
          read.reason = ErrorText(std::current_exception());
          return read;
        }
        read.plan = PlanImport(read.entries, names.names());
        return read;
      },
      [this, done = std::move(done)](ImportRead& read) {
        // Passed on once the reading has ended, so that its progress is gone before a
        // question comes.
        QTimer::singleShot(
            0, this, [done, read = std::make_shared<ImportRead>(std::move(read))] { done(*read); });
      });
}

void ImportJob::merge(const QString& path, std::shared_ptr<const ImportPlan> plan,
                      templates::Clash policy, const std::filesystem::path& store,
                      std::function<void(ImportMerged&)> written) {
  writer_->start<ImportMerged>(
      tr("Importing %1").arg(path),
      [plan, policy, store](JobProgress&) {
        ImportMerged merged;
        try {
          templates::tmpeng engine(store.parent_path());
          merged.result = engine.Template_Merge(plan->entries, policy);
          // Read back here, not on the window's thread: at 100,000 templates that is most of
          // the time the window would stand still.
          merged.seen =
              StoreStamp::of(QFile::decodeName(QByteArray::fromStdString(store.native())));
          merged.rows = std::make_shared<TreeRows>();
          engine.Template_LoadA(*merged.rows);
        } catch (...) {
          merged.error = ErrorText(std::current_exception());
        }
        return merged;
      },
      std::move(written));
}
