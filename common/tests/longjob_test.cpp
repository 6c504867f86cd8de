// Long work beside the window: results on the owner's thread, stale ones dropped, progress
// shown only when the work lasts, Cancel.
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QThread>
#include <QtTest>
#include <atomic>

#include "common/longjob.h"

class LongJobTest : public QObject {
  Q_OBJECT

  struct Gate {
    std::atomic<bool> go{false}, running{false}, sawCancel{false};
  };

  // A job that reports half its work done, then waits for its gate (or its cancel) and
  // returns `value`. It is running on its thread when this returns.
  static void StartGated(LongJob& job, int value, Gate& gate, QList<int>& results) {
    job.start<int>(
        QStringLiteral("Gated"),
        [value, &gate](JobProgress& progress) {
          gate.running = true;
          progress.report(50, 100);
          while (!gate.go && !progress.cancelled()) QThread::msleep(1);
          gate.sawCancel = progress.cancelled();
          return value;
        },
        [&results](int& result) { results << result; });
    while (!gate.running) QThread::msleep(1);
  }

 private Q_SLOTS:
  // The result comes to the owner's thread; a newer job overtakes an older one, which sees
  // that it was cancelled and whose result never comes; Cancel drops a result too. Every
  // job, however it ends, ends once.
  void resultsComeOnlyFromTheLatestJob() {
    LongJob job(nullptr);
    QSignalSpy ended(&job, &LongJob::ended);
    QList<int> results;
    Gate one, two, three;
    two.go = true;
    StartGated(job, 1, one, results);
    StartGated(job, 2, two, results);
    QTRY_VERIFY(!job.busy());
    QCOMPARE(results, QList<int>{2});
    QVERIFY(one.sawCancel);
    QVERIFY(!two.sawCancel);
    StartGated(job, 3, three, results);
    QVERIFY(job.busy());
    job.cancel();
    job.waitForIdle();
    QVERIFY(three.sawCancel);
    QCOMPARE(results, QList<int>{2});
    QCOMPARE(ended.count(), 3);
  }

  // A job that lasts is shown after half a second, with how far it got; one that does not is
  // never shown. A job deleted while it runs is stopped and waited for.
  void onlyLastingJobsAreShown() {
    LongJob job(nullptr);
    QSignalSpy shown(&job, &LongJob::progressed);
    Gate gate;
    QList<int> results;
    StartGated(job, 1, gate, results);
    QTRY_VERIFY_WITH_TIMEOUT(shown.count() > 0, 5000);
    QCOMPARE(shown.first().at(0).toString(), QStringLiteral("Gated"));
    QCOMPARE(shown.first().at(1).toInt(), 50);
    gate.go = true;
    QTRY_COMPARE(results, QList<int>{1});
    shown.clear();
    job.start<int>(
        QStringLiteral("Quick"), [](JobProgress&) { return 2; },
        [&results](int& r) { results << r; });
    QTRY_COMPARE(results.size(), 2);
    QTest::qWait(LongJob::kShowAfterMs + 200);
    QCOMPARE(shown.count(), 0);

    auto* leaving = new LongJob(nullptr);
    Gate never;
    StartGated(*leaving, 3, never, results);
    delete leaving;
    QVERIFY(never.sawCancel);
  }

  // A text box held still by two jobs stays read-only until both have let go, whichever
  // ends first; stopping the work on it cancels every job that holds it.
  void textStaysStillWhileAnyJobHoldsIt() {
    QPlainTextEdit box;
    LongJob first(nullptr), second(nullptr);
    QList<int> results;
    for (bool byStop : {false, true}) {
      Gate a, b;
      StartGated(first, 1, a, results);
      HoldTextStill(&box, &first);
      StartGated(second, 2, b, results);
      HoldTextStill(&box, &second);
      QVERIFY(box.isReadOnly() && TextHeldStill(&box));
      if (byStop) {
        StopWorkOnText(&box);
        first.waitForIdle();
        second.waitForIdle();
        QVERIFY(a.sawCancel && b.sawCancel);
      } else {
        b.go = true;
        second.waitForIdle();
        QVERIFY(box.isReadOnly());
        a.go = true;
        first.waitForIdle();
      }
      QVERIFY(!box.isReadOnly() && !TextHeldStill(&box));
    }
  }
};

QTEST_MAIN(LongJobTest)
#include "longjob_test.moc"
