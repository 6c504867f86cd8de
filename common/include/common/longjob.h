// Long work beside the window: run on a worker thread, handed back to the window's thread,
// shown when it lasts, cancelled on request.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <functional>
#include <memory>

class QPlainTextEdit;
class QTextCursor;
class QWidget;
class QThreadPool;

// Work on a text of this many characters (or a file of this many bytes) or more runs beside
// the window as a LongJob; below it, the work is done at once, before the next key.
inline constexpr qint64 kWorkBesideFrom = qint64(1) << 20;

// What the work sees of its job, on the worker thread: whether to stop, and how far it got.
class JobProgress {
 public:
  // True once the job was cancelled or overtaken by a newer one: the work should stop soon;
  // whatever it returns is dropped.
  bool cancelled() const noexcept { return cancelled_.load(std::memory_order_relaxed); }
  // How far the work got, in any unit (bytes, rows): read by the window a few times a
  // second, so calling it often costs nothing.
  void report(qint64 done, qint64 total) noexcept {
    total_.store(total, std::memory_order_relaxed);
    done_.store(done, std::memory_order_relaxed);
  }
  // A count the person is told beside the progress (lines read, rows parsed).
  void count(qint64 items) noexcept { count_.store(items, std::memory_order_relaxed); }
  // Hands `early` (a first part of the result) to the owner's thread at once, where it runs
  // unless the job has by then been cancelled or overtaken.
  void post(std::function<void()> early) const { post_(std::move(early)); }

 private:
  friend class LongJob;
  std::function<void(std::function<void()>)> post_;
  std::atomic<bool> cancelled_{false};
  std::atomic<qint64> done_{0};
  std::atomic<qint64> total_{0};
  std::atomic<qint64> count_{-1};
};

// One line of long work at a time for its owner: start() runs the work on a thread of the
// job's own and hands its result to `done` on the owner's thread. A newer start() overtakes
// the running one, whose result is then dropped, as is the result of a cancelled job, so the
// owner never sees a stale answer. A job that lasts over half a second says so through
// progressed(), a few times a second, until ended(); cancel() stops it (the owner offers
// Escape or a Cancel button). Deleting the job cancels it and waits for its thread.
class LongJob : public QObject {
  Q_OBJECT

 public:
  // How long a job runs before it is shown.
  static constexpr int kShowAfterMs = 500;

  explicit LongJob(QObject* parent);
  ~LongJob() override;

  // Runs `work` on the job's thread; `done` gets its result on this object's thread unless
  // the job was cancelled or overtaken. `what` is what the person is told ("Replacing").
  template <typename Result>
  void start(const QString& what, std::function<Result(JobProgress&)> work,
             std::function<void(Result&)> done) {
    auto result = std::make_shared<Result>();
    startWork(
        what, [work = std::move(work), result](JobProgress& progress) { *result = work(progress); },
        [done = std::move(done), result] { done(*result); });
  }

  // What one slice may do: this long, and at most this many pieces of work (so that a fast
  // machine, too, paints between them).
  static constexpr qint64 kSliceMs = 25;
  static constexpr int kPiecesPerSlice = 8;
  // How much text one piece of such work puts in a text box, in characters.
  static constexpr qsizetype kTextPiece = 64 * 1024;

  // Called from a job's `done`: the job goes on as `what`, on this object's thread, one
  // `slice` per turn of the event loop (so the window paints and answers between them) until
  // a slice returns true. Each slice keeps to kSliceMs and kPiecesPerSlice.
  void goOnInSlices(const QString& what, std::function<bool(JobProgress&)> slice);
  // What cancelling the running job from now on puts back (what its slices, or what it
  // posted early, did); called before ended().
  void onCancel(std::function<void()> undo);
  // Lets go of `garbage` (a large list, a long text) on the job's thread, after what runs
  // there, so that freeing it costs the window nothing.
  void dispose(std::shared_ptr<void> garbage);
  // Stops the running job, if any: its result is dropped and ended() follows at once.
  void cancel();
  // Cancels the job and lets this object go without waiting for its thread, for an owner that
  // goes while the work may still run (a dialog closing): it is deleted once the work under
  // way has stopped, or with the application. The work must hold what it reads.
  void letGo();
  bool busy() const { return running_ != nullptr; }
  QString what() const { return what_; }
  // Waits for the job to end, its slices run at once (for tests).
  void waitForIdle();
  // Waits on the window's thread until the job has ended, for work the caller needs done
  // before it goes on (a big document being written): the windows are painted and the
  // job's progress shown meanwhile, while keys, clicks and requests from other processes
  // wait, as for a question (ModalWork).
  void waitPainting();
  // Waits on the window's thread, as waitPainting() does, for the worker's part of the job
  // to be over (its result handed to `done`), for at most `ms`: work that is usually quick
  // is then done before the keys that follow it. True where the job still runs (on its
  // worker, or in slices).
  bool waitBriefly(int ms);

 Q_SIGNALS:
  // A job began (and may be cancelled from now on).
  void started();
  // The running job has lasted over kShowAfterMs: `percent` of it is done, or -1 where the
  // work tells no total; `count` is the work's own count, or -1.
  void progressed(const QString& what, int percent, qint64 count);
  // The job shown or not, is over: finished, cancelled or overtaken.
  void ended();

 private:
  void startWork(const QString& what, std::function<void(JobProgress&)> work,
                 std::function<void()> done);
  void finish(const std::shared_ptr<JobProgress>& progress, const std::function<void()>& done);
  void tick();
  void nextSlice();
  void end();

  QThreadPool* worker_;
  int onThread_ = 0;  // work handed to the thread whose end has not come back yet
  bool lettingGo_ = false;
  std::shared_ptr<JobProgress> running_;
  QString what_;
  QElapsedTimer since_;
  QTimer ticker_;
  std::function<bool(JobProgress&)> slice_;
  std::function<void()> undo_;
  QTimer slicer_;
};

// What one slice of a job (LongJob::goOnInSlices) may still do: more() is true while
// another piece fits in its kSliceMs and kPiecesPerSlice; a budget that is not `bounded`
// (for the same work done at once) never runs out.
class SliceBudget {
 public:
  explicit SliceBudget(bool bounded = true) : bounded_(bounded) { since_.start(); }
  bool more() {
    return !bounded_ ||
           (pieces_++ < LongJob::kPiecesPerSlice && since_.elapsed() < LongJob::kSliceMs);
  }

 private:
  bool bounded_;
  int pieces_ = 0;
  QElapsedTimer since_;
};

// Shows `job`, once it lasts, as a window-modal progress dialog over `owner` (for a window
// without a status bar to show it in); its Cancel, or Escape, cancels the job where
// `cancellable`.
void ShowProgressOf(LongJob* job, QWidget* owner, bool cancellable);

// Work beside the window that needs a text box to stand still while it runs (a file coming
// in, Replace All): the box is read-only while any such job holds it, each job letting go as
// it ends, so that one job's end never frees the text another still holds.
void HoldTextStill(QPlainTextEdit* box, LongJob* job);
// Whether a job holds `box` still: a save now would write a text half done.
bool TextHeldStill(const QPlainTextEdit* box);
// Cancels every job that holds `box`, each putting back what it did: for whoever needs the
// text as it stands (a question about saving it, another file coming in).
void StopWorkOnText(QPlainTextEdit* box);

// Puts `text` (lines separated by LF) in `box` in place of `place`'s selection, as one undo
// step, the caret ending `caret` characters into it (after it where negative). Called from
// the `done` of `job`, which holds `box` still, a text of kWorkBesideFrom characters or more
// goes in as the job's slices ("Inserting"), and cancelling it leaves the box as it was, with
// no Redo of the part put in; otherwise it goes in at once.
void PutText(LongJob* job, QPlainTextEdit* box, const QTextCursor& place, const QString& text,
             int caret = -1);
