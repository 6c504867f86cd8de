// Long work on a thread of its own, handed back to the window's thread.
#include "common/longjob.h"

#include <QCoreApplication>
#include <QThreadPool>

namespace {

// How often a shown job's progress is read.
constexpr int kTickMs = 100;

}  // namespace

LongJob::LongJob(QObject* parent) : QObject(parent), worker_(new QThreadPool(this)) {
  worker_->setMaxThreadCount(1);
  ticker_.setInterval(kTickMs);
  connect(&ticker_, &QTimer::timeout, this, &LongJob::tick);
}

LongJob::~LongJob() {
  if (running_) running_->cancelled_ = true;
  worker_->waitForDone();
}

void LongJob::startWork(const QString& what, std::function<void(JobProgress&)> work,
                        std::function<void()> done) {
  cancel();
  auto progress = std::make_shared<JobProgress>();
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
  running_.reset();
  ticker_.stop();
  done();
  Q_EMIT ended();
}

void LongJob::cancel() {
  if (!running_) return;
  running_->cancelled_ = true;
  running_.reset();
  ticker_.stop();
  Q_EMIT ended();
}

void LongJob::dispose(std::shared_ptr<void> garbage) {
  worker_->start([garbage = std::move(garbage)]() mutable { garbage.reset(); });
}

void LongJob::waitForIdle() {
  worker_->waitForDone();
  QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
}

void LongJob::tick() {
  if (!running_ || since_.elapsed() < kShowAfterMs) return;
  const qint64 total = running_->total_.load(std::memory_order_relaxed);
  const qint64 done = running_->done_.load(std::memory_order_relaxed);
  const int percent =
      total > 0 ? static_cast<int>(std::min<qint64>(100, done * 100 / total)) : -1;
  Q_EMIT progressed(what_, percent);
}
