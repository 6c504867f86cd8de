// Benchmarks of opening and saving documents of 1, 10 and 50 MB (80-character lines) through
// the main window's commands, each beside its floor measured in the same run: for Open,
// reading the bytes, decoding them and handing them to the text box; for Save, taking the
// text from the box, encoding it and writing it. After the run a table gives the ratios.
//
// --peak=open|floor runs one 50 MB open alone (the command, or its floor) and prints the
// process's peak resident memory, so that `make bench` can compare the two; open200 and
// floor200 the same for 200 MB. --stalls opens 1, 10, 50 and 200 MB in a shown window and
// prints the longest stall, the time to the first screen and to the whole text; then saves
// 10, 50 and 200 MB and prints the longest stall and the whole save beside its floor.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTimer>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "common/plaintext.h"
#include "common/programfolder.h"
#include "common/textconv.h"
#include "editor/frmMain.h"
#include "stallmeter.h"
#include "template/textcodec.h"
#include "testsupport/apptest.h"

namespace {

constexpr int kSizesMb[] = {1, 10, 50};

QTemporaryDir* g_dir = nullptr;
// Every file dialog gets the path queued for it; every question is answered No.
guitest::ScriptedModal g_answers;

QString DocumentPath(int mb) {
  const QString path = g_dir->filePath(QStringLiteral("doc%1.txt").arg(mb));
  if (!QFile::exists(path)) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) std::abort();
    // 78 characters and CR LF: a plain-text document with a few accented words.
    const QByteArray line =
        QByteArray(
            "The quick brown fox jumps over the lazy dog, caf\xc3\xa9 na\xc3\xafve, and so on ")
            .leftJustified(78, '.') +
        "\r\n";
    const qint64 lines = qint64(mb) * 1024 * 1024 / line.size();
    for (qint64 i = 0; i < lines; ++i) file.write(line);
  }
  return path;
}

frmMain& Window() {
  frmMain& w = MainWindow();
  return w;
}

// Opens `path` through the menu and waits until its text is whole: a large file comes in
// beside the window, the text box read-only until then.
void OpenAndWait(frmMain& w, const QString& path) {
  g_answers.files << path;
  w.mnuOpen_Click();
  while (w.textBox()->isReadOnly()) QApplication::processEvents(QEventLoop::AllEvents, 5);
}

// Saves `megabytes` MB from a shown main window: the longest time the window stood still
// and the whole save, beside the floor (the text taken, encoded and written at once).
void SaveStalls(int megabytes) {
  const QString path = DocumentPath(megabytes);
  frmMain& w = Window();
  w.show();
  OpenAndWait(w, path);
  w.textBox()->document()->setModified(true);
  QApplication::processEvents();
  QElapsedTimer whole;
  whole.start();
  StallMeter stalls;
  QTimer::singleShot(0, [&] { w.mnuSave_Click(); });
  while (w.textBox()->document()->isModified())
    QApplication::processEvents(QEventLoop::AllEvents, 5);
  const double saved = double(whole.elapsed());
  const double longest = stalls.longestMs();
  whole.restart();
  const std::string bytes = templates::text::Encode(ToU16(DocumentText(w.textBox())));
  QSaveFile file(path + QStringLiteral(".floor"));
  if (!file.open(QIODevice::WriteOnly)) std::abort();
  file.write(bytes.data(), static_cast<qint64>(bytes.size()));
  if (!file.commit()) std::abort();
  std::printf(
      "save %3d MB: whole %6.0f ms beside %6.0f ms for the floor, the window stood still at "
      "most %4.0f ms (goal 100)\n",
      megabytes, saved, double(whole.elapsed()), longest);
  w.hide();
}

// Opens `megabytes` MB in a shown main window: the longest time the window stood still, the
// time until the first screen of text shows, and until the text is whole.
void OpenStalls(int megabytes) {
  const QString path = DocumentPath(megabytes);
  frmMain& w = Window();
  w.textBox()->clear();
  w.show();
  QApplication::processEvents();
  StallMeter stalls;
  QElapsedTimer whole;
  whole.start();
  double firstScreen = -1;
  QObject::connect(w.textBox()->document(), &QTextDocument::contentsChanged, &w, [&] {
    if (firstScreen < 0 && !w.textBox()->document()->isEmpty())
      firstScreen = double(whole.nsecsElapsed()) / 1e6;
  });
  QTimer::singleShot(0, [&] {
    g_answers.files << path;
    w.mnuOpen_Click();
  });
  QApplication::processEvents();
  while (w.textBox()->isReadOnly()) QApplication::processEvents(QEventLoop::AllEvents, 5);
  std::printf(
      "open %3d MB: first screen %6.0f ms (goal 200 at 50 MB), whole %7.0f ms, the window "
      "stood still at most %4.0f ms (goal 100)\n",
      megabytes, firstScreen, double(whole.elapsed()), stalls.longestMs());
  w.hide();
}

void OpenCommand(benchmark::State& state) {
  const QString path = DocumentPath(static_cast<int>(state.range(0)));
  frmMain& w = Window();
  for (auto _ : state) {
    w.textBox()->clear();
    OpenAndWait(w, path);
    benchmark::DoNotOptimize(w.textBox()->document()->characterCount());
  }
}

void OpenFloor(benchmark::State& state) {
  const QString path = DocumentPath(static_cast<int>(state.range(0)));
  QPlainTextEdit box;
  for (auto _ : state) {
    box.clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) std::abort();
    const QByteArray bytes = file.readAll();
    box.setPlainText(FromU16(templates::text::Decode(
        std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))));
    benchmark::DoNotOptimize(box.document()->characterCount());
  }
}

void SaveCommand(benchmark::State& state) {
  const QString path = DocumentPath(static_cast<int>(state.range(0)));
  frmMain& w = Window();
  OpenAndWait(w, path);
  for (auto _ : state) w.mnuSave_Click();
}

void SaveFloor(benchmark::State& state) {
  const QString path = DocumentPath(static_cast<int>(state.range(0)));
  frmMain& w = Window();
  OpenAndWait(w, path);
  for (auto _ : state) {
    const std::string bytes = templates::text::Encode(ToU16(DocumentText(w.textBox())));
    QSaveFile file(path + QStringLiteral(".floor"));
    if (!file.open(QIODevice::WriteOnly)) std::abort();
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    if (!file.commit()) std::abort();
  }
}

void Register() {
  for (int mb : kSizesMb) {
    const int iterations = mb >= 50 ? 3 : mb >= 10 ? 5 : 20;
    for (auto [name, fn] : {std::pair{"Open", &OpenCommand}, std::pair{"Open/floor", &OpenFloor},
                            std::pair{"Save", &SaveCommand}, std::pair{"Save/floor", &SaveFloor}}) {
      benchmark::RegisterBenchmark(name, fn)
          ->Arg(mb)
          ->Iterations(iterations)
          ->Unit(benchmark::kMillisecond)
          ->UseRealTime();
    }
  }
}

// Prints the usual report, then each command's time as a ratio to its floor.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) times_[run.benchmark_name()] = run.GetAdjustedRealTime();
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-8s %6s %12s %12s %8s\n", "command", "MB", "time ms", "floor ms", "ratio");
    for (const char* command : {"Open", "Save"}) {
      for (int mb : kSizesMb) {
        const std::string arg = "/" + std::to_string(mb) + "/iterations:";
        double time = 0, floor = 0;
        for (const auto& [name, t] : times_) {
          if (name.rfind(std::string(command) + arg, 0) == 0) time = t;
          if (name.rfind(std::string(command) + "/floor" + arg, 0) == 0) floor = t;
        }
        std::printf("%-8s %6d %12.1f %12.1f %7.2fx%s\n", command, mb, time, floor,
                    floor > 0 ? time / floor : 0.0,
                    mb != 50                         ? ""
                    : command == std::string("Open") ? "  (goal 1.2x)"
                                                     : "  (goal 1.3x)");
      }
    }
  }

 private:
  std::map<std::string, double> times_;
};

long PeakKilobytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  QTemporaryDir dir;
  g_dir = &dir;
  QFile store(dir.filePath(QStringLiteral("templates.dat")));
  if (!store.open(QIODevice::WriteOnly)) return 1;
  store.close();
  SetProgramFolder(dir.path());
  SetModal(&g_answers);
  // The window keeps recovery copies, as the program's does, in a folder of the run's own.
  QTemporaryDir state;
  qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
  KeepRecoveryCopies(true);

  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg.rfind("--peak=", 0) == 0) {
      const std::string what = arg.substr(7);
      const int megabytes = what.find("200") != std::string::npos ? 200 : 50;
      const QString path = DocumentPath(megabytes);
      const long before = PeakKilobytes();
      if (what.rfind("open", 0) == 0) {
        OpenAndWait(Window(), path);
      } else {
        QPlainTextEdit box;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) return 1;
        const QByteArray bytes = file.readAll();
        box.setPlainText(FromU16(templates::text::Decode(
            std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())))));
      }
      std::printf("peak memory opening %d MB (%s): %.1f MB (%.1f MB before)\n", megabytes,
                  what.c_str(), PeakKilobytes() / 1024.0, before / 1024.0);
      return 0;
    }
    if (arg == "--stalls") {
      for (int megabytes : {1, 10, 50, 200}) OpenStalls(megabytes);
      for (int megabytes : {10, 50, 200}) SaveStalls(megabytes);
      delete LoadedMainWindow();
      return 0;
    }
  }

  Register();
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  delete LoadedMainWindow();
  return 0;
}
