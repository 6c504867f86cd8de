// Long work on a thread of its own, handed back to the window's thread.
#include "common/longjob.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QList>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressDialog>
#include <QTextCursor>
#include <QTextDocument>
#include <QThreadPool>
#include <algorithm>
#include <utility>

#include "common/modal.h"

namespace {

// How often a shown job's progress is read.
constexpr int kTickMs = 100;

// The jobs that hold a text box still, kept as a child of the box.
class TextHolds : public QObject {
 public:
  explicit TextHolds(QPlainTextEdit* box) : QObject(box), box_(box) {
    setObjectName(QStringLiteral("quorpad_text_holds"));
  }
  static TextHolds* of(const QPlainTextEdit* box) {
    return box->findChild<TextHolds*>(QStringLiteral("quorpad_text_holds"),
                                      Qt::FindDirectChildrenOnly);
  }
  void hold(LongJob* job) {
    jobs_.append(job);
    box_->setReadOnly(true);
    connect(
        job, &LongJob::ended, this,
        [this, job] {
          jobs_.removeOne(job);
          jobs_.removeAll(nullptr);
          if (jobs_.isEmpty()) box_->setReadOnly(false);
        },
        Qt::SingleShotConnection);
  }
  bool held() const { return !jobs_.isEmpty(); }
  void cancelAll() {
    for (const QPointer<LongJob>& job : QList<QPointer<LongJob>>(jobs_))
      if (job) job->cancel();
  }

 private:
  QPlainTextEdit* box_;
  QList<QPointer<LongJob>> jobs_;
};

}  // namespace

void HoldTextStill(QPlainTextEdit* box, LongJob* job) {
  TextHolds* holds = TextHolds::of(box);
  if (!holds) holds = new TextHolds(box);
  holds->hold(job);
}

bool TextHeldStill(const QPlainTextEdit* box) {
  const TextHolds* holds = TextHolds::of(box);
  return holds && holds->held();
}

void StopWorkOnText(QPlainTextEdit* box) {
  if (TextHolds* holds = TextHolds::of(box)) holds->cancelAll();
}

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
  ++onThread_;
  worker_->start([this, progress, work = std::move(work), done = std::move(done)] {
    if (!progress->cancelled()) work(*progress);
    QMetaObject::invokeMethod(
        this,
        [this, progress, done] {
          if (--onThread_ == 0 && lettingGo_) deleteLater();
          finish(progress, done);
        },
        Qt::QueuedConnection);
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
  if (!running_) return;
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
  // The slice stays alive while it runs, whatever it ends or starts.
  const std::function<bool(JobProgress&)> slice = slice_;
  const std::shared_ptr<JobProgress> progress = running_;
  if (slice(*progress) && running_ == progress) end();
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

void LongJob::letGo() {
  cancel();
  lettingGo_ = true;
  setParent(QCoreApplication::instance());
  if (onThread_ == 0) deleteLater();
}

void LongJob::dispose(std::shared_ptr<void> garbage) {
  worker_->start([garbage = std::move(garbage)]() mutable { garbage.reset(); });
}

void LongJob::waitForIdle() {
  worker_->waitForDone();
  QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
  while (slice_) nextSlice();
}

void LongJob::waitPainting() {
  if (!busy()) return;
  const ModalWork asQuestion;
  QEventLoop loop;
  connect(this, &LongJob::ended, &loop, &QEventLoop::quit);
  if (busy()) loop.exec(QEventLoop::ExcludeUserInputEvents | QEventLoop::ExcludeSocketNotifiers);
}

bool LongJob::waitBriefly(int ms) {
  const ModalWork asQuestion;
  QElapsedTimer waited;
  waited.start();
  QTimer wake;  // ends the wait for events at the bound
  wake.start(ms);
  while (busy() && !slice_ && waited.elapsed() < ms)
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                    QEventLoop::ExcludeSocketNotifiers |
                                    QEventLoop::WaitForMoreEvents);
  return busy();
}

void LongJob::tick() {
  if (!running_ || since_.elapsed() < kShowAfterMs) return;
  const qint64 total = running_->total_.load(std::memory_order_relaxed);
  const qint64 done = running_->done_.load(std::memory_order_relaxed);
  const int percent = total > 0 ? static_cast<int>(std::min<qint64>(100, done * 100 / total)) : -1;
  Q_EMIT progressed(what_, percent, running_->count_.load(std::memory_order_relaxed));
}

void ShowProgressOf(LongJob* job, QWidget* owner, bool cancellable) {
  auto* dialog = new QProgressDialog(owner);
  dialog->setWindowModality(Qt::WindowModal);
  dialog->setWindowTitle(kAppTitle);
  dialog->setAutoClose(false);
  dialog->setAutoReset(false);
  dialog->setMinimumDuration(0);
  dialog->reset();  // not shown until the job has lasted
  dialog->hide();
  if (!cancellable) dialog->setCancelButton(nullptr);
  QObject::connect(job, &LongJob::progressed, dialog,
                   [dialog, job](const QString& what, int percent, qint64) {
                     // Shown first: a shown dialog's setValue() turns the event loop, which
                     // may end the job.
                     dialog->setLabelText(what + QStringLiteral("..."));
                     dialog->setRange(0, percent < 0 ? 0 : 100);
                     dialog->show();
                     dialog->setValue(std::max(percent, 0));
                     if (!job->busy()) dialog->hide();
                   });
  QObject::connect(job, &LongJob::ended, dialog, [dialog] { dialog->hide(); });
  if (cancellable) QObject::connect(dialog, &QProgressDialog::canceled, job, &LongJob::cancel);
}

namespace {

void PutAtOnce(QPlainTextEdit* box, QTextCursor cursor, const QString& text, int caret) {
  const int start = cursor.selectionStart();
  cursor.beginEditBlock();
  cursor.insertText(text);
  cursor.endEditBlock();
  if (caret >= 0) cursor.setPosition(start + caret);
  box->setTextCursor(cursor);
  box->ensureCursorVisible();
}

}  // namespace

void PutText(LongJob* job, QPlainTextEdit* box, const QTextCursor& place, const QString& text,
             int caret) {
  if (!job || !job->busy() || text.size() < kWorkBesideFrom) {
    PutAtOnce(box, place, text, caret);
    return;
  }
  struct Put {
    QTextCursor cursor;  // where the next piece goes
    int start = -1;      // where the text begins, once its first piece is in
    int revision = -1;   // the document's after the last piece
    qsizetype done = 0;
  };
  auto put = std::make_shared<Put>(Put{place});
  QPointer<QPlainTextEdit> target(box);
  job->onCancel([target, put] {
    // Back to the text as it was, in one Undo of the pieces put in so far, which no Redo
    // brings back.
    if (!target || put->start < 0 || target->document()->revision() != put->revision) return;
    target->document()->undo();
    target->document()->clearUndoRedoStacks(QTextDocument::RedoStack);
  });
  job->goOnInSlices(LongJob::tr("Inserting"), [target, text, caret, put](JobProgress& progress) {
    if (!target) return true;
    for (SliceBudget slice; put->done < text.size() && slice.more();) {
      qsizetype end = std::min(text.size(), put->done + LongJob::kTextPiece);
      if (end < text.size() && text.at(end - 1).isHighSurrogate()) ++end;
      QTextCursor& cursor = put->cursor;
      if (put->start < 0) {
        put->start = cursor.selectionStart();
        cursor.beginEditBlock();
      } else {
        cursor.joinPreviousEditBlock();
      }
      cursor.insertText(QStringView(text).mid(put->done, end - put->done).toString());
      cursor.endEditBlock();
      put->revision = target->document()->revision();
      put->done = end;
    }
    progress.report(put->done, text.size());
    if (put->done < text.size()) return false;
    QTextCursor at = put->cursor;
    if (caret >= 0) at.setPosition(put->start + caret);
    target->setTextCursor(at);
    target->ensureCursorVisible();
    return true;
  });
}
