// Benchmarks of the template picker on stores of 10,000 and 100,000 templates, each beside
// a baseline measured in the same run:
//   Open       the picker opened afresh and painted, beside reading the store through the
//              engine alone (Template_LoadA into a bare tree view);
//   Typing     one keystroke of a name being typed, the list narrowed and painted, beside a
//              plain substring scan of every name and value for the same text;
//   Retyping   a keystroke that does not extend the text (every row looked at again),
//              beside the same scan.
// After the run a table gives the ratios. --memory opens the picker on 100,000 templates in
// the running program and prints how much resident memory it added to the idle program.
// --reload changes a store of about 300 MB under an open picker and prints the longest time
// the window stood still, reading on a thread of its own beside reading on the window's.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/program.h"
#include "common/programfolder.h"
#include "editor/frmMain.h"
#include "editor/templatepicker.h"
#include "stallmeter.h"

namespace {

constexpr int kSizes[] = {10000, 100000};
constexpr int kGoalSize = 100000;

// Names as people give them, numbered, and values of a few lines; every fifth holds
// non-ASCII text. About 120 bytes a template.
QByteArray StoreBytes(int count) {
  static const char* const kKinds[] = {"Order confirmation", "Invoice reminder", "Meeting notes",
                                       "Signature", "Delivery delay"};
  QByteArray bytes;
  bytes.reserve(count * 128);
  for (int i = 1; i <= count; ++i) {
    const QByteArray n = QByteArray::number(i);
    const QByteArray value = i % 5 == 2
                                 ? "Sehr geehrte Frau M\xc3\xbcller,\x02\x03zu Ihrer Anfrage " + n +
                                       " \xc3\xa4ndert sich nichts.\x02\x03Gr\xc3\xbc\xc3\x9f"
                                       "e"
                                 : "Dear customer,\x02\x03your request " + n +
                                       " has been received.\x02\x03Kind regards, Ann";
    bytes += "1\x04" + QByteArray(kKinds[i % 5]) + " " + n + "\x04" + value + "\r\n";
  }
  return bytes;
}

// One folder with one store per size, made once.
class Stores {
 public:
  QString folder(int count) {
    auto& dir = dirs_[count];
    if (!dir) {
      dir = std::make_unique<QTemporaryDir>();
      QFile file(dir->filePath(QStringLiteral("templates.dat")));
      if (!file.open(QIODevice::WriteOnly) || file.write(StoreBytes(count)) < 0) std::abort();
    }
    return dir->path();
  }

 private:
  std::map<int, std::unique_ptr<QTemporaryDir>> dirs_;
};
Stores g_stores;

// A tree view that only keeps what the engine gives it: the least a reader must do.
class BareTree : public templates::TreeView {
 public:
  std::vector<std::pair<std::u16string, std::u16string>> nodes;
  void Clear() override { nodes.clear(); }
  void Add(const std::u16string& key, const std::u16string& text) override {
    nodes.emplace_back(text, key);
  }
  int Count() const override { return static_cast<int>(nodes.size()); }
  std::u16string Text(int i) const override { return nodes.at(static_cast<size_t>(i - 1)).first; }
  std::u16string Key(int i) const override { return nodes.at(static_cast<size_t>(i - 1)).second; }
};

// A document box with a picker over it, as the main window has them.
struct Window {
  QWidget host;
  QPlainTextEdit* doc = new QPlainTextEdit(&host);
  templates::tmpeng engine;
  std::unique_ptr<TemplatePicker> picker;
  explicit Window(const QString& folder) : engine(folder.toStdString()) {
    host.resize(640, 480);
    doc->setGeometry(0, 0, 640, 480);
    host.show();
    QApplication::processEvents();
  }
  void NewPicker() { picker = std::make_unique<TemplatePicker>(doc, engine, &host); }
  QLineEdit* filter() const { return picker->findChild<QLineEdit*>(QStringLiteral("txtFilter")); }
};

void Open(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  Window w(g_stores.folder(count));
  for (auto _ : state) {
    state.PauseTiming();
    w.picker.reset();
    state.ResumeTiming();
    w.NewPicker();
    w.picker->open();
    w.host.repaint();  // paints the picker and its first rows, as the user first sees them
  }
}

void OpenBaseline(benchmark::State& state) {
  templates::tmpeng engine(g_stores.folder(static_cast<int>(state.range(0))).toStdString());
  for (auto _ : state) {
    BareTree tree;
    engine.Template_LoadA(tree);
    benchmark::DoNotOptimize(tree.nodes.data());
  }
}

// What is typed: a template's kind and number, one keystroke at a time.
const QString kTyped = QStringLiteral("invoice 4711");

void Typing(benchmark::State& state) {
  Window w(g_stores.folder(static_cast<int>(state.range(0))));
  w.NewPicker();
  w.picker->open();
  QLineEdit* filter = w.filter();
  filter->setText(QStringLiteral("x"));  // the list is lower-cased by the time one types
  for (auto _ : state) {
    state.PauseTiming();
    filter->clear();
    state.ResumeTiming();
    for (qsizetype n = 1; n <= kTyped.size(); ++n) {
      filter->setText(kTyped.left(n));
      w.host.repaint();
    }
  }
  state.counters["keystrokes"] = static_cast<double>(kTyped.size());
}

void Retyping(benchmark::State& state) {
  Window w(g_stores.folder(static_cast<int>(state.range(0))));
  w.NewPicker();
  w.picker->open();
  QLineEdit* filter = w.filter();
  filter->setText(QStringLiteral("x"));
  bool flip = false;
  for (auto _ : state) {
    // Each text is a change in the middle of the other: nothing of the last result is used.
    filter->setText(flip ? QStringLiteral("invoice 471") : QStringLiteral("invoide 471"));
    w.host.repaint();
    flip = !flip;
  }
}

// The same texts as plain strings, searched as they stand, without case or ranking.
struct PlainTexts {
  std::vector<QString> names, values;
  explicit PlainTexts(int count) {
    BareTree tree;
    templates::tmpeng(g_stores.folder(count).toStdString()).Template_LoadA(tree);
    for (const auto& [name, value] : tree.nodes) {
      names.push_back(QString::fromStdU16String(name));
      values.push_back(QString::fromStdU16String(value));
    }
  }
  int Scan(const QString& text) const {
    int found = 0;
    for (size_t i = 0; i < names.size(); ++i)
      found += names[i].contains(text) || values[i].contains(text);
    return found;
  }
};

void ScanBaseline(benchmark::State& state) {
  const PlainTexts texts(static_cast<int>(state.range(0)));
  for (auto _ : state) benchmark::DoNotOptimize(texts.Scan(QStringLiteral("invoice 471")));
}

// Collects the times and prints each measurement's ratio to its baseline.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      double ms = run.GetAdjustedRealTime() * 1e3 / benchmark::GetTimeUnitMultiplier(run.time_unit);
      const auto keys = run.counters.find("keystrokes");
      if (keys != run.counters.end()) ms /= keys->second.value;
      times_[run.benchmark_name()] = ms;
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-10s %8s %12s %12s %8s\n", "picker", "size", "time ms", "baseline ms", "ratio");
    const struct {
      const char* what;
      const char* baseline;
      const char* goal;
    } rows[] = {{"Open", "OpenBaseline", "goal 150 ms"},
                {"Typing", "ScanBaseline", "goal 20 ms a keystroke"},
                {"Retyping", "ScanBaseline", "goal 20 ms a keystroke"}};
    for (const auto& row : rows) {
      for (int size : kSizes) {
        const double time = Find(row.what, size), base = Find(row.baseline, size);
        std::printf("%-10s %8d %12.2f %12.2f %7.2fx%s%s\n", row.what, size, time, base,
                    base > 0 ? time / base : 0.0, size == kGoalSize ? "  " : "",
                    size == kGoalSize ? row.goal : "");
      }
    }
  }

 private:
  double Find(const std::string& what, int size) const {
    const std::string prefix = what + "/" + std::to_string(size);
    for (const auto& [name, ms] : times_)
      if (name.rfind(prefix, 0) == 0 &&
          (name.size() == prefix.size() || name[prefix.size()] == '/'))
        return ms;
    return 0;
  }
  std::map<std::string, double> times_;
};

long ResidentKilobytes() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return 0;
  for (const QByteArray& line : status.readAll().split('\n'))
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLong();
  return 0;
}

// The idle program (its main window up, the store of 100,000 templates in its slots), then
// the same program with the picker open over that store.
int MeasureMemory() {
  SetProgramFolder(g_stores.folder(kGoalSize));
  frmMain& window = MainWindow();
  window.show();
  QApplication::processEvents();
  malloc_trim(0);
  const long idle = ResidentKilobytes();
  window.showTemplatePicker();
  // A keystroke, so that every name and value is lower-cased, as after any typing.
  auto* filter = window.findChild<QLineEdit*>(QStringLiteral("txtFilter"));
  filter->setText(QStringLiteral("a"));
  filter->clear();
  window.repaint();
  QApplication::processEvents();
  malloc_trim(0);
  const long open = ResidentKilobytes();
  std::printf(
      "memory with the picker open on %d templates: %.1f MB above the idle program "
      "(%.1f MB idle, %.1f MB open; goal under 100 MB above)\n",
      kGoalSize, (open - idle) / 1024.0, idle / 1024.0, open / 1024.0);
  delete LoadedMainWindow();
  return 0;
}

// A store of about 300 MB: 300,000 templates of 1 KB each.
QByteArray HugeStoreBytes() {
  QByteArray bytes;
  constexpr int kCount = 300000;
  bytes.reserve(qsizetype(kCount) * 1040);
  const QByteArray text(990, 'x');
  for (int i = 1; i <= kCount; ++i)
    bytes += "1\x04Template " + QByteArray::number(i) +
             "\x04"
             "Dear customer " +
             QByteArray::number(i) + ",\x02\x03" + text + "\r\n";
  return bytes;
}

// The longest time the event loop stood still while an open picker took in a change of the
// store, from the change until the new list showed: `reload` starts the reading.
double LongestStallMs(TemplatePicker& picker, const QString& store, int expectedRows,
                      const std::function<void()>& reload) {
  QFile file(store);
  if (!file.open(QIODevice::Append)) return -1;
  file.write(
      "1\x04"
      "Added\x04one more\r\n");
  file.close();
  StallMeter stalls;
  QTimer::singleShot(0, reload);
  auto* list = picker.findChild<QListView*>(QStringLiteral("lstTemplates"));
  QElapsedTimer bound;
  bound.start();
  while (list->model()->rowCount() != expectedRows && bound.elapsed() < 120000)
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
  return stalls.longestMs();
}

// An open picker over a store of about 300 MB that another process changes: the longest
// stall of the window while it reads the store again on a thread of its own, beside reading
// it on the window's thread (as a plain reload does) in the same run.
int MeasureReload() {
  QTemporaryDir dir;
  const QString store = dir.filePath(QStringLiteral("templates.dat"));
  QFile file(store);
  if (!file.open(QIODevice::WriteOnly) || file.write(HugeStoreBytes()) < 0) return 1;
  file.close();
  SetProgramFolder(dir.path());
  QWidget host;
  host.resize(800, 600);
  auto* document = new QPlainTextEdit(&host);
  templates::tmpeng engine(QFile::encodeName(dir.path()).toStdString());
  TemplatePicker picker(document, engine, &host);
  host.show();
  picker.open();
  int rows = 300000;
  const double onThread = LongestStallMs(picker, store, ++rows, [&] { picker.reload(); });
  const double background = LongestStallMs(picker, store, ++rows, [&] { picker.reloadIfOpen(); });
  std::printf(
      "an open picker taking in a change of a %.0f MB store: the window stood still at most "
      "%.0f ms (read on a thread of its own) beside %.0f ms (read on the window's thread), "
      "ratio %.3f; goal under 100 ms\n",
      QFileInfo(store).size() / 1e6, background, onThread, background / onThread);
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  for (int i = 1; i < argc; ++i)
    if (std::string(argv[i]) == "--memory") return MeasureMemory();
  for (int i = 1; i < argc; ++i)
    if (std::string(argv[i]) == "--reload") return MeasureReload();

  for (int size : kSizes) {
    const int iterations = size == kGoalSize ? 10 : 30;
    benchmark::RegisterBenchmark("Open", Open)
        ->Arg(size)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(iterations);
    benchmark::RegisterBenchmark("OpenBaseline", OpenBaseline)
        ->Arg(size)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(iterations);
    benchmark::RegisterBenchmark("Typing", Typing)
        ->Arg(size)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(iterations);
    benchmark::RegisterBenchmark("Retyping", Retyping)
        ->Arg(size)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(iterations);
    benchmark::RegisterBenchmark("ScanBaseline", ScanBaseline)
        ->Arg(size)
        ->Unit(benchmark::kMillisecond)
        ->Iterations(iterations * 3);
  }
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  return 0;
}
