// Benchmark of typing with recovery copies on and off: one key press in the middle of a
// 10 MB document, through a shown main window, up to its paint and with the copy's timers
// let run, so that the copies written while typing goes on are counted in. Keys go to a
// window with copies and one without in turn; after the run a line gives the ratio of the
// two (goal: within 1.1x). Beside them: the GUI thread's share of one copy of a 10 and a
// 50 MB document, the same text taken from the document whole, a whole new text put into a
// text box with and without the shadow (as Open does), and one whole copy written to disk.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <utility>

#include "app/program.h"
#include "common/programfolder.h"
#include "documents/recovery.h"
#include "documents/shadowtext.h"
#include "editor/frmMain.h"

namespace {

std::pair<double, double> g_ratio;  // one key's time with and without recovery copies

QString Text(int mb) {
  // 78 characters and a line break, as a plain-text document has them.
  const QString line =
      QStringLiteral(
          "The quick brown fox jumps over the lazy dog, caf\u00e9 na\u00efve, and so on ")
          .leftJustified(78, QLatin1Char('.')) +
      QLatin1Char('\n');
  return line.repeated(qsizetype(mb) * 1024 * 1024 / line.size());
}

// A shown main window holding `mb` MB of unsaved text, the caret in its middle.
std::unique_ptr<frmMain> Window(bool recovery, int mb) {
  auto w = std::make_unique<frmMain>(recovery);
  w->setAttribute(Qt::WA_DeleteOnClose, false);
  w->Form_Load();
  w->show();
  w->textBox()->setPlainText(Text(mb));
  w->textBox()->document()->setModified(true);
  QTextCursor caret = w->textBox()->textCursor();
  caret.setPosition(w->textBox()->document()->characterCount() / 2);
  w->textBox()->setTextCursor(caret);
  QCoreApplication::processEvents();
  return w;
}

// One key pressed in the window's document, up to its paint and any timer that is due.
// Returns the time it took in microseconds.
double Key(frmMain& w) {
  QElapsedTimer one;
  one.start();
  QKeyEvent press(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_A, Qt::NoModifier, QStringLiteral("a"));
  QCoreApplication::sendEvent(w.textBox(), &press);
  QCoreApplication::sendEvent(w.textBox(), &release);
  QCoreApplication::processEvents();
  return one.nsecsElapsed() / 1e3;
}

// Keys go to the two windows in turn, so that both see the same load of the machine.
void Edit(benchmark::State& state) {
  auto on = Window(true, 10);
  auto off = Window(false, 10);
  double timeOn = 0, timeOff = 0, longestOn = 0, longestOff = 0;
  for (auto _ : state) {
    const double a = Key(*on);
    const double b = Key(*off);
    timeOn += a;
    timeOff += b;
    longestOn = std::max(longestOn, a);
    longestOff = std::max(longestOff, b);
  }
  const double keys = static_cast<double>(state.iterations());
  state.counters["on_us"] = timeOn / keys;
  state.counters["off_us"] = timeOff / keys;
  state.counters["ratio"] = timeOn / timeOff;
  state.counters["longest_on_ms"] = longestOn / 1e3;
  state.counters["longest_off_ms"] = longestOff / 1e3;
  state.counters["copy_kept"] = on->recovery()->hasCopy() ? 1 : 0;
  g_ratio = {timeOn / keys, timeOff / keys};
}

// The part of one copy that runs on the GUI thread: a key's change followed in the shadow,
// then the shadow's pieces taken; beside it, taking the whole text out of the document.
void CopyOnGuiThread(benchmark::State& state) {
  QPlainTextEdit box;
  box.setPlainText(Text(static_cast<int>(state.range(0))));
  QTextDocument& document = *box.document();
  ShadowText shadow(&document);
  QTextCursor caret(&document);
  caret.setPosition(document.characterCount() / 2);
  QElapsedTimer taking;
  qint64 taken = 0;
  for (auto _ : state) {
    caret.insertText(QStringLiteral("a"));
    taking.start();
    benchmark::DoNotOptimize(shadow.pieces().size());
    taken += taking.nsecsElapsed();
  }
  state.counters["pieces_us"] = taken / 1e3 / static_cast<double>(state.iterations());
  state.counters["rebuilds"] = shadow.rebuilds();
}

void WholeText(benchmark::State& state) {
  QPlainTextEdit box;
  box.setPlainText(Text(static_cast<int>(state.range(0))));
  for (auto _ : state) benchmark::DoNotOptimize(box.document()->toRawText().size());
}

// A whole new text put into a text box (as Open does), followed by a shadow or not.
void NewText(benchmark::State& state) {
  const QString text = Text(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    QPlainTextEdit box;
    std::unique_ptr<ShadowText> shadow;
    if (state.range(1)) shadow = std::make_unique<ShadowText>(box.document());
    box.setPlainText(text);
    if (shadow) benchmark::DoNotOptimize(shadow->pieces().size());
  }
}

// One whole copy, written and on disk.
void WholeCopy(benchmark::State& state) {
  QTextDocument document;
  RecoveryCopy copy(&document, [] { return RecoveryInfo{}; });
  document.setPlainText(Text(static_cast<int>(state.range(0))));
  for (auto _ : state) {
    document.setModified(true);
    document.setModified(false);
    document.setModified(true);
    if (!copy.flush()) std::abort();
  }
  copy.discard();
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QTemporaryDir dir;
  QTemporaryDir state;
  qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
  QApplication app(argc, argv);
  QFile store(dir.filePath(QStringLiteral("templates.dat")));
  if (!store.open(QIODevice::WriteOnly)) return 1;
  store.close();
  SetProgramFolder(dir.path());

  // Long enough for the copies written every ten seconds of steady typing to count.
  benchmark::RegisterBenchmark("Edit10MB", Edit)
      ->MinTime(12)
      ->Unit(benchmark::kMicrosecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("CopyOnGuiThread", CopyOnGuiThread)
      ->ArgName("MB")
      ->Arg(10)
      ->Arg(50)
      ->Iterations(200)
      ->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("WholeText", WholeText)
      ->ArgName("MB")
      ->Arg(10)
      ->Arg(50)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("NewText", NewText)
      ->ArgNames({"MB", "shadow"})
      ->Args({50, 0})
      ->Args({50, 1})
      ->Iterations(2)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::RegisterBenchmark("WholeCopy", WholeCopy)
      ->ArgName("MB")
      ->Arg(10)
      ->Arg(50)
      ->Iterations(3)
      ->Unit(benchmark::kMillisecond)
      ->UseRealTime();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  if (g_ratio.second > 0) {
    std::printf(
        "\none key in a 10 MB document: %.1f us with recovery copies, %.1f us without: "
        "%.2fx (goal 1.1x)\n",
        g_ratio.first, g_ratio.second, g_ratio.first / g_ratio.second);
  }
  return 0;
}
