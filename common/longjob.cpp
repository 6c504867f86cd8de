// Long work on a thread of its own, handed back to the window's thread.
#include "common/longjob.h"

#include <QCoreApplication>
#include <QThreadPool>
#include <algorithm>
#include <utility>

namespace {

// How often a shown job's progress is read.
constexpr int kTickMs = 100;

}  // namespace

LongJob::LongJob(QObject* parent) : QObject(parent), worker_(new QThreadPool(this)) {
  worker_->setMaxThreadCount(1);
  ticker_.setInterval(kTickMs);
  connect(&ticker_, &QTimer::timeout, this, &LongJob::tick);
  slicer_.setInterval(0);
  connect(&slicer_, &QTimer::timeout, this, &LongJob::nextSlice);
}

LongJob::~LongJob() {
  if (running_) running_->cancelled_ = true;
  worker_->waitForDone();
}

void LongJob::startWork(const QString& what, std::function<void(JobProgress&)> work,
                        std::function<void()> done) {
  cancel();
  auto progress = std::make_shared<JobProgress>();
  // What the work posts early runs here while the job is still the one running.
  progress->post_ = [this,
                     job = std::weak_ptr<JobProgress>(progress)](std::function<void()> early) {
    QMetaObject::invokeMethod(
        this,
        [this, job, early = std::move(early)] {
          const std::shared_ptr<JobProgress> current = job.lock();
          if (current && current == running_ && !current->cancelled()) early();
        },
        Qt::QueuedConnection);
  };
  running_ = progress;
  what_ = what;
  since_.start();
  ticker_.start();
  Q_EMIT started();
  // A job overtaken while it waits for the thread never starts. The job outlives its
  // thread's work (its destructor waits), and a result still queued when it goes is dropped.
  worker_->start([this, progress, work = std::move(work), done = std::move(done)] {
    if (!progress->cancelled()) work(*progress);
    QMetaObject::invokeMethod(
        this, [this, progress, done] { finish(progress, done); }, Qt::QueuedConnection);
  });
}

void LongJob::finish(const std::shared_ptr<JobProgress>& progress,
                     const std::function<void()>& done) {
  if (progress != running_ || progress->cancelled()) return;
  done();
  // The job may go on in slices, or `done` may have started another.
  if (!slice_ && running_ == progress) end();
}

void LongJob::goOnInSlices(const QString& what, std::function<bool(JobProgress&)> slice) {
  what_ = what;
  slice_ = std::move(slice);
  running_->report(0, 0);
  slicer_.start();
}

void LongJob::onCancel(std::function<void()> undo) {
  if (running_) undo_ = std::move(undo);
}

void LongJob::nextSlice() {
  if (!running_ || !slice_) return;
  if (slice_(*running_)) end();
}

void LongJob::end() {
  running_.reset();
  slice_ = nullptr;
  undo_ = nullptr;
  slicer_.stop();
  ticker_.stop();
  Q_EMIT ended();
}

void LongJob::cancel() {
  if (!running_) return;
  running_->cancelled_ = true;
  // What the slices did so far is put back before anyone hears of the end.
  if (const std::function<void()> undo = std::exchange(undo_, nullptr)) undo();
  end();
}

void LongJob::dispose(std::shared_ptr<void> garbage) {
  worker_->start([garbage = std::move(garbage)]() mutable { garbage.reset(); });
}

void LongJob::waitForIdle() {
  worker_->waitForDone();
  QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
  while (slice_) nextSlice();
}

void LongJob::tick() {
  if (!running_ || since_.elapsed() < kShowAfterMs) return;
  const qint64 total = running_->total_.load(std::memory_order_relaxed);
  const qint64 done = running_->done_.load(std::memory_order_relaxed);
  const int percent = total > 0 ? static_cast<int>(std::min<qint64>(100, done * 100 / total)) : -1;
  Q_EMIT progressed(what_, percent, running_->count_.load(std::memory_order_relaxed));
}
