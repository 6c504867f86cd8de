// Benchmarks of every tmpeng member on stores of 1,000, 10,000 and 100,000 templates. Each
// size also runs two baselines in the same process: reading the store whole, and reading it
// whole and writing it back whole the way a rewrite must (temporary file, fsync, rename).
// Every member's calls are timed one by one with a call of its baseline beside each (members
// that only read against the read, members that write against the read and write), and after
// the run a table gives each member's median time as a ratio to its baseline's.
//
// --cold_heap (ours, not the library's) makes every large buffer come fresh from the system,
// so that the cost of first touching store-sized buffers shows; by default the heap is warm.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <malloc.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <map>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "template/tmpeng.h"

namespace {

namespace fs = std::filesystem;
using templates::tmpeng;

constexpr int kSizes[] = {1000, 10000, 100000};
constexpr int kGoalSize = 100000;  // the size at which the goals are judged

[[noreturn]] void Fail(const std::string& what) {
  throw std::runtime_error(what + ": " + std::strerror(errno));
}

// ---------------------------------------------------------------------------------------
// The stores

// Names as people give them, numbered; all ASCII.
std::string NameText(int i) {
  static const char* const kSubjects[] = {
      "Letter greeting", "Invoice reminder", "Meeting notes", "Signature",
      "Delivery delay",  "Thank-you reply",  "Address block", "Order confirmation",
  };
  return std::string(kSubjects[i % 8]) + " " + std::to_string(i);
}

std::u16string NameOf(int i) {
  const std::string name = NameText(i);
  return std::u16string(name.begin(), name.end());
}

// About a hundred bytes a template, with values of several lines; every eighth value holds
// non-ASCII text, so the UTF-8 path is taken too.
std::string RecordLine(int i) {
  const std::string n = std::to_string(i);
  const std::string br = "\x02\x03";  // a line break as the store keeps it
  const std::string value = i % 8 == 3 ? "Sehr geehrte Damen und Herren," + br +
                                             "vielen Dank für Ihre Nachricht " + n + "." + br +
                                             "Mit freundlichen Grüßen"
                                       : "Dear customer," + br + "thank you for your message no. " +
                                             n + "." + br + br + "Kind regards," + br + "Ann";
  return "1\x04" + NameText(i) + "\x04" + value + "\r\n";
}

const std::string& StoreBytes(int records) {
  static std::map<int, std::string> made;
  std::string& bytes = made[records];
  if (bytes.empty()) {
    for (int i = 1; i <= records; ++i) bytes += RecordLine(i);
  }
  return bytes;
}

// The folder under which every store of the run lives; removed at the end of the run.
class RunFolder {
 public:
  static RunFolder& Get() {
    static RunFolder folder;
    return folder;
  }
  const fs::path& path() const { return path_; }
  void Remove() {
    std::error_code ec;
    if (!path_.empty()) fs::remove_all(path_, ec);
    path_.clear();
  }

 private:
  RunFolder() {
    std::string pattern = (fs::temp_directory_path() / "quorpad-bench-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) Fail("cannot create a folder for the stores");
    path_ = pattern;
  }
  fs::path path_;
};

// Reads a file whole: the least any member that reads the store must do.
std::string ReadWhole(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) Fail("cannot open " + path.string());
  struct stat st;
  if (::fstat(fd, &st) != 0) Fail("cannot stat " + path.string());
  // One byte more than the file, so the read that meets its end needs no larger buffer.
  std::string data(static_cast<std::size_t>(st.st_size) + 1, '\0');
  std::size_t have = 0;
  for (;;) {
    if (have == data.size()) data.resize(data.size() * 2);
    const ssize_t n = ::read(fd, data.data() + have, data.size() - have);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Fail("cannot read " + path.string());
    if (n == 0) break;
    have += static_cast<std::size_t>(n);
  }
  ::close(fd);
  data.resize(have);
  return data;
}

void WriteAll(int fd, std::string_view bytes, const std::string& what) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) Fail("cannot write " + what);
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
}

// Replaces a file whole as safely as a rewrite of the store must: a temporary file in the
// same folder, flushed, renamed over the file, and the folder flushed.
void ReplaceWhole(const fs::path& path, std::string_view bytes) {
  std::string temp = path.string() + ".XXXXXX";
  const int fd = ::mkstemp(temp.data());
  if (fd < 0) Fail("cannot create " + temp);
  WriteAll(fd, bytes, temp);
  if (::fsync(fd) != 0 || ::close(fd) != 0) Fail("cannot flush " + temp);
  if (::rename(temp.c_str(), path.c_str()) != 0) Fail("cannot rename " + temp);
  const int dir = ::open(path.parent_path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

// A store of a given number of templates in a folder of its own. The constructor makes sure
// it holds exactly the generated bytes, flushed to disk, so no benchmark inherits another's
// changes or its unwritten pages.
class Store {
 public:
  explicit Store(int records)
      : records_(records),
        folder_(RunFolder::Get().path() / ("records-" + std::to_string(records))),
        bytes_(StoreBytes(records)) {
    fs::create_directories(folder_);
    std::error_code ec;
    if (fs::file_size(path(), ec) != bytes_.size() || ec || ReadWhole(path()) != bytes_) {
      Install();
    }
  }

  int records() const { return records_; }
  const fs::path& folder() const { return folder_; }
  fs::path path() const { return folder_ / templates::kStoreFileName; }
  const std::string& bytes() const { return bytes_; }
  std::uintmax_t Size() const { return fs::file_size(path()); }

  // Cuts the store back to `size` bytes: undoes an append, or the empty line a rewrite adds.
  void TruncateTo(std::uintmax_t size) const {
    if (::truncate(path().c_str(), static_cast<off_t>(size)) != 0) Fail("cannot truncate");
  }

  // Puts the generated bytes back in place. The file is overwritten rather than emptied
  // first, which would make the file system flush it at close.
  void Restore() const {
    const int fd = ::open(path().c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) Fail("cannot open " + path().string());
    WriteAll(fd, bytes_, path().string());
    if (::ftruncate(fd, static_cast<off_t>(bytes_.size())) != 0) Fail("cannot truncate");
    ::close(fd);
  }

 private:
  void Install() const {
    ::unlink(path().c_str());
    const int fd = ::open(path().c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) Fail("cannot create " + path().string());
    WriteAll(fd, bytes_, path().string());
    if (::fsync(fd) != 0 || ::close(fd) != 0) Fail("cannot flush " + path().string());
  }

  int records_;
  fs::path folder_;
  const std::string& bytes_;
};

// ---------------------------------------------------------------------------------------
// Callers' objects

// A tree view that only counts what it is given, so that a load measures the engine alone.
class CountingTree : public templates::TreeView {
 public:
  void Clear() override { count_ = 0; }
  void Add(const std::u16string& key, const std::u16string& text) override {
    ++count_;
    benchmark::DoNotOptimize(key.data());
    benchmark::DoNotOptimize(text.data());
  }
  int Count() const override { return count_; }
  std::u16string Text(int) const override { return {}; }
  std::u16string Key(int) const override { return {}; }

 private:
  int count_ = 0;
};

// A tree view that keeps its nodes, as the template manager's does.
class StoringTree : public templates::TreeView {
 public:
  void Clear() override { nodes_.clear(); }
  void Add(const std::u16string& key, const std::u16string& text) override {
    nodes_.emplace_back(key, text);
  }
  int Count() const override { return static_cast<int>(nodes_.size()); }
  std::u16string Text(int i) const override {
    return nodes_[static_cast<std::size_t>(i - 1)].second;
  }
  std::u16string Key(int i) const override { return nodes_[static_cast<std::size_t>(i - 1)].first; }

 private:
  std::vector<std::pair<std::u16string, std::u16string>> nodes_;  // key, text
};

// The main window's thirteen template menu slots.
class Slots : public templates::MenuSlots {
 public:
  void SetCaption(int n, const std::u16string& caption) override {
    captions_.at(Slot(n)) = caption;
  }
  void SetTag(int n, const std::u16string& tag) override { tags_.at(Slot(n)) = tag; }
  const std::u16string& caption(int n) const { return captions_.at(Slot(n)); }

 private:
  static std::size_t Slot(int n) { return static_cast<std::size_t>(n - 1); }
  std::vector<std::u16string> captions_ = std::vector<std::u16string>(13);
  std::vector<std::u16string> tags_ = std::vector<std::u16string>(13);
};

class PlainObject : public templates::Object {};

// A template that no store holds, by name or by value.
const std::u16string kNewName = u"Reminder of the summer party";
const std::u16string kNewValue = u"Dear all,\r\nthe summer party is on Friday.\r\nSee you there!";

// ---------------------------------------------------------------------------------------
// The benchmarks

int Records(const benchmark::State& state) {
  return static_cast<int>(state.range(0));
}

// What a member is measured against: nothing (the baselines themselves), reading the store
// whole, or reading it whole and replacing it whole.
enum class Against { kNothing, kRead, kReadWrite };

// Times every call of a member on its own, so that putting the store back between calls is
// never counted, and beside every call one call of the member's baseline, before and after
// it in turn, so that both meet the machine in the same state: the page cache, the file
// system's journal (an fsync now and then waits for other processes' commits), the load.
// The ratio is of the medians, which such outliers do not pull about.
class CallTimer {
 public:
  CallTimer(benchmark::State& state, const Store& store, Against against)
      : state_(state), store_(store), against_(against) {}

  template <class Call>
  void Time(Call&& call) {
    const bool baseline_first = calls_++ % 2 == 1;
    if (baseline_first) Baseline();
    const double took = Seconds(call);
    state_.SetIterationTime(took);
    samples_.push_back(took);
    if (!baseline_first) Baseline();
  }

  // Adds the counters every store benchmark reports.
  void Report() {
    state_.counters["records"] = store_.records();
    state_.SetBytesProcessed(static_cast<std::int64_t>(state_.iterations()) *
                             static_cast<std::int64_t>(store_.bytes().size()));
    if (samples_.empty()) return;
    const double median = Median(samples_);
    state_.counters[kMedianCounter] = median * 1e6;
    if (baseline_.empty()) return;
    state_.counters[kBaselineCounter] = Median(baseline_) * 1e6;
    state_.counters["ratio"] = median / Median(baseline_);
  }

  static constexpr char kMedianCounter[] = "median_us";
  static constexpr char kBaselineCounter[] = "base_us";

 private:
  template <class Call>
  static double Seconds(Call&& call) {
    const auto start = std::chrono::steady_clock::now();
    call();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  }

  static double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
  }

  void Baseline() {
    if (against_ == Against::kNothing) return;
    baseline_.push_back(Seconds([&] {
      const std::string data = ReadWhole(store_.path());
      benchmark::DoNotOptimize(data.data());
      if (against_ == Against::kReadWrite) ReplaceWhole(store_.path(), data);
    }));
  }

  benchmark::State& state_;
  const Store& store_;
  Against against_;
  long calls_ = 0;
  std::vector<double> samples_;
  std::vector<double> baseline_;
};

void Baseline_Read(benchmark::State& state, Against against) {
  const Store store(Records(state));
  CallTimer timer(state, store, against);
  for (auto _ : state) {
    timer.Time([&] {
      std::string data = ReadWhole(store.path());
      benchmark::DoNotOptimize(data.data());
    });
  }
  timer.Report();
}

void Baseline_ReadWrite(benchmark::State& state, Against against) {
  const Store store(Records(state));
  CallTimer timer(state, store, against);
  for (auto _ : state) {
    timer.Time([&] {
      const std::string data = ReadWhole(store.path());
      ReplaceWhole(store.path(), data);
    });
  }
  timer.Report();
}

void Template_LoadA(benchmark::State& state, Against against) {
  const Store store(Records(state));
  tmpeng engine(store.folder());
  CountingTree tree;
  CallTimer timer(state, store, against);
  for (auto _ : state) timer.Time([&] { engine.Template_LoadA(tree); });
  if (tree.Count() != store.records()) state.SkipWithError("the tree got the wrong node count");
  timer.Report();
}

void Template_LoadA_storing(benchmark::State& state, Against against) {
  const Store store(Records(state));
  tmpeng engine(store.folder());
  StoringTree tree;
  CallTimer timer(state, store, against);
  for (auto _ : state) timer.Time([&] { engine.Template_LoadA(tree); });
  if (tree.Count() != store.records()) state.SkipWithError("the tree got the wrong node count");
  timer.Report();
}

void Template_LoadB(benchmark::State& state, Against against) {
  const Store store(Records(state));
  tmpeng engine(store.folder());
  Slots slots;
  CallTimer timer(state, store, against);
  for (auto _ : state) timer.Time([&] { engine.Template_LoadB(slots); });
  if (slots.caption(13) != NameOf(13)) state.SkipWithError("slot 13 got the wrong caption");
  timer.Report();
}

void Check_Exists_Obj(benchmark::State& state, Against against) {
  const Store store(Records(state));
  tmpeng engine(store.folder());
  StoringTree tree;
  engine.Template_LoadA(tree);
  // Neither name nor value is in the tree, so every node is compared: the worst case.
  templates::Flag found = templates::kFalse;
  CallTimer timer(state, store, against);
  for (auto _ : state) {
    timer.Time([&] { found |= engine.Check_Exists_Obj(kNewName, kNewValue, tree); });
  }
  if (found != templates::kFalse) state.SkipWithError("found a template that is not there");
  timer.Report();
}

void Check_Exists(benchmark::State& state, Against against) {
  const Store store(Records(state));
  tmpeng engine(store.folder());
  PlainObject object;
  // Not found: the whole store is read and every record compared.
  templates::Flag found = templates::kFalse;
  CallTimer timer(state, store, against);
  for (auto _ : state) {
    timer.Time([&] { found |= engine.Check_Exists(kNewName, kNewValue, object); });
  }
  if (found != templates::kFalse) state.SkipWithError("found a template that is not there");
  timer.Report();
}

void Template_AddB(benchmark::State& state, Against against) {
  const Store store(Records(state));
  tmpeng engine(store.folder());
  templates::Flag added = templates::kTrue;
  CallTimer timer(state, store, against);
  for (auto _ : state) {
    timer.Time([&] { added &= engine.Template_AddB(kNewName, kNewValue); });
    store.TruncateTo(store.bytes().size());  // take the appended line off again
  }
  if (added != templates::kTrue) state.SkipWithError("an add was refused");
  timer.Report();
}

void Template_EditB(benchmark::State& state, Against against) {
  const Store store(Records(state));
  tmpeng engine(store.folder());
  const std::u16string name = NameOf(store.records() / 2);
  // Two values of one length, used in turn, so every call really changes the record and the
  // store keeps its size once the empty line each rewrite adds is cut off again.
  const std::u16string values[] = {u"First new text,\r\nof two lines.",
                                   u"Other new text,\r\nof two lines."};
  engine.Template_EditB(name, values[1]);
  const std::uintmax_t size = store.Size() - 2;
  if (size == store.bytes().size()) state.SkipWithError("the edit changed nothing");
  store.TruncateTo(size);
  std::size_t turn = 0;
  CallTimer timer(state, store, against);
  for (auto _ : state) {
    turn ^= 1;
    timer.Time([&] { engine.Template_EditB(name, values[turn]); });
    store.TruncateTo(size);
  }
  store.Restore();
  timer.Report();
}

void Template_RmB_absent(benchmark::State& state, Against against) {
  const Store store(Records(state));
  tmpeng engine(store.folder());
  CallTimer timer(state, store, against);
  for (auto _ : state) {
    timer.Time([&] { engine.Template_RmB(kNewName); });
    store.TruncateTo(store.bytes().size());
  }
  timer.Report();
}

void Template_RmB_present(benchmark::State& state, Against against) {
  const Store store(Records(state));
  tmpeng engine(store.folder());
  const std::u16string name = NameOf(store.records() / 2);
  engine.Template_RmB(name);
  if (store.Size() >= store.bytes().size()) state.SkipWithError("the remove changed nothing");
  store.Restore();
  CallTimer timer(state, store, against);
  for (auto _ : state) {
    timer.Time([&] { engine.Template_RmB(name); });
    store.Restore();
  }
  timer.Report();
}

// The members that touch no store take nanoseconds, where timing each call on its own would
// measure the clock; they run under the library's own timing.
void Template_EditA(benchmark::State& state, Against) {
  tmpeng engine(Store(Records(state)).folder());
  for (auto _ : state) engine.Template_EditA(kNewName, kNewValue);
}

void Template_RmA(benchmark::State& state, Against) {
  tmpeng engine(Store(Records(state)).folder());
  for (auto _ : state) benchmark::DoNotOptimize(engine.Template_RmA(kNewName));
}

void Template_AddA(benchmark::State& state, Against) {
  tmpeng engine(Store(Records(state)).folder());
  PlainObject object;
  for (auto _ : state) benchmark::DoNotOptimize(engine.Template_AddA(kNewName, kNewValue, object));
}

void Maintain(benchmark::State& state, Against) {
  tmpeng engine(Store(Records(state)).folder());
  for (auto _ : state) engine.Maintain();
}

void Version(benchmark::State& state, Against) {
  tmpeng engine(Store(Records(state)).folder());
  for (auto _ : state) {
    std::u16string version = engine.Version();
    benchmark::DoNotOptimize(version.data());
  }
}

// ---------------------------------------------------------------------------------------
// What runs, against which baseline, with which goal

struct Case {
  const char* name;
  void (*run)(benchmark::State&, Against);
  Against against;
  double goal;  // the largest ratio allowed at kGoalSize; 0 for none
  bool quick;   // touches no store: timed in nanoseconds
};

constexpr Case kCases[] = {
    {"Baseline_Read", Baseline_Read, Against::kNothing, 0, false},
    {"Baseline_ReadWrite", Baseline_ReadWrite, Against::kNothing, 0, false},
    {"Template_LoadA", Template_LoadA, Against::kRead, 1.5, false},
    {"Template_LoadA_storing", Template_LoadA_storing, Against::kRead, 0, false},
    {"Template_LoadB", Template_LoadB, Against::kRead, 1.5, false},
    {"Check_Exists_Obj", Check_Exists_Obj, Against::kRead, 2, false},
    {"Check_Exists", Check_Exists, Against::kRead, 2, false},
    {"Template_AddB", Template_AddB, Against::kReadWrite, 2, false},
    {"Template_EditB", Template_EditB, Against::kReadWrite, 2, false},
    {"Template_RmB_absent", Template_RmB_absent, Against::kReadWrite, 2, false},
    {"Template_RmB_present", Template_RmB_present, Against::kReadWrite, 2, false},
    {"Template_EditA", Template_EditA, Against::kRead, 2, true},
    {"Template_RmA", Template_RmA, Against::kRead, 2, true},
    {"Template_AddA", Template_AddA, Against::kRead, 2, true},
    {"Maintain", Maintain, Against::kRead, 2, true},
    {"Version", Version, Against::kRead, 2, true},
};

void RegisterCases() {
  for (const Case& c : kCases) {
    auto* b = benchmark::RegisterBenchmark(c.name, c.run, c.against);
    b->ArgName("records");
    for (int n : kSizes) b->Arg(n);
    if (c.quick) {
      b->UseRealTime()->Unit(benchmark::kNanosecond)->MinTime(0.1);
    } else {
      b->UseManualTime()->Unit(benchmark::kMicrosecond);
    }
  }
}

// The console report as usual, keeping every run's times for the table of ratios.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  using ConsoleReporter::ConsoleReporter;

  // A median time of one call, in seconds.
  struct Times {
    double member = -1;    // negative when it did not run
    double baseline = -1;  // the baseline timed beside it; negative when there was none
  };

  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred) continue;
      // With repetitions the aggregates follow the runs, and their median stands for them.
      if (run.run_type == Run::RT_Aggregate && run.aggregate_name != "median") continue;
      Times& times = times_[std::make_pair(run.run_name.function_name, RecordsOf(run))];
      const auto median = run.counters.find(CallTimer::kMedianCounter);
      times.member =
          median != run.counters.end()
              ? median->second.value * 1e-6
              : run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit);
      const auto baseline = run.counters.find(CallTimer::kBaselineCounter);
      if (baseline != run.counters.end()) times.baseline = baseline->second.value * 1e-6;
    }
  }

  Times Get(const std::string& name, int records) const {
    const auto it = times_.find(std::make_pair(name, records));
    return it == times_.end() ? Times() : it->second;
  }

 private:
  static int RecordsOf(const Run& run) {
    const std::string& args = run.run_name.args;  // "records:1000"
    return std::atoi(args.substr(args.find(':') + 1).c_str());
  }

  std::map<std::pair<std::string, int>, Times> times_;
};

std::string FormatTime(double seconds) {
  char text[32];
  if (seconds >= 1e-3) {
    std::snprintf(text, sizeof text, "%.3f ms", seconds * 1e3);
  } else if (seconds >= 1e-6) {
    std::snprintf(text, sizeof text, "%.3f us", seconds * 1e6);
  } else {
    std::snprintf(text, sizeof text, "%.1f ns", seconds * 1e9);
  }
  return text;
}

void PrintRatios(const RatioReporter& reporter, std::ostream& out) {
  out << "\nEach member against its baseline, timed beside it call by call (medians of one call;\n"
         "members that only read against reading the store whole, members that write against\n"
         "reading it whole and replacing it whole). Goals, judged at "
      << kGoalSize
      << " records: Template_LoadA and\n"
         "Template_LoadB at most 1.5x, every other member at most 2x.\n\n";
  char line[200];
  std::snprintf(line, sizeof line, "%-24s %8s %13s  %-10s %13s %9s  %s\n", "operation", "records",
                "time", "baseline", "base time", "ratio", "goal");
  out << line;
  for (int records : kSizes) {
    for (const Case& c : kCases) {
      if (c.against == Against::kNothing) continue;
      const RatioReporter::Times times = reporter.Get(c.name, records);
      // Members that touch no store have no baseline of their own: the one timed alone.
      const double base =
          times.baseline >= 0
              ? times.baseline
              : reporter
                    .Get(c.against == Against::kRead ? "Baseline_Read" : "Baseline_ReadWrite",
                         records)
                    .member;
      if (times.member < 0 || base <= 0) continue;
      const double ratio = times.member / base;
      char goal[32] = "";
      if (c.goal > 0 && records == kGoalSize) {
        std::snprintf(goal, sizeof goal, "<= %.1fx %s", c.goal, ratio <= c.goal ? "met" : "MISSED");
      }
      std::snprintf(line, sizeof line, "%-24s %8d %13s  %-10s %13s %8.3fx  %s\n", c.name, records,
                    FormatTime(times.member).c_str(),
                    c.against == Against::kRead ? "read" : "read+write", FormatTime(base).c_str(),
                    ratio, goal);
      out << line;
    }
    out << '\n';
  }
}

// Left to itself, the allocator maps a buffer of some megabytes afresh or reuses freed heap
// depending on what was freed before, so whether a call pays for first touching its
// store-sized buffers (tens of milliseconds for 10 MB on some virtual machines) would depend
// on the order of the benchmarks. Pinned instead: freed memory is kept and reused (a warm
// heap, the default), or with --cold_heap every large buffer is mapped afresh and returned.
void PinHeap(bool cold) {
  if (cold) {
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
  } else {
    mallopt(M_MMAP_THRESHOLD, 32 * 1024 * 1024);  // the largest the allocator accepts
    mallopt(M_TRIM_THRESHOLD, 1 << 30);
  }
}

bool FlagIsTrue(std::string_view value) {
  return !(value == "false" || value == "0" || value == "no" || value == "off");
}

}  // namespace

int main(int argc, char** argv) {
  // --cold_heap is ours and goes before the library sees the arguments.
  bool cold_heap = false;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    if (std::string_view(argv[i]) == "--cold_heap") {
      cold_heap = true;
    } else {
      argv[kept++] = argv[i];
    }
  }
  argc = kept;
  PinHeap(cold_heap);

  // The console options the library would derive from these flags itself, had it made the
  // display reporter.
  bool tabular = false;
  bool color = ::isatty(STDOUT_FILENO) != 0;
  bool console = true;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    const std::size_t eq = arg.find('=');
    const std::string_view flag = arg.substr(0, eq);
    const std::string_view value = eq == std::string_view::npos ? "true" : arg.substr(eq + 1);
    if (flag == "--benchmark_counters_tabular") tabular = FlagIsTrue(value);
    if (flag == "--benchmark_color" && value != "auto") color = FlagIsTrue(value);
    if (flag == "--benchmark_format") console = value == "console";
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  RegisterCases();

  int status = 0;
  try {
    if (console) {
      int options = benchmark::ConsoleReporter::OO_None;
      if (color) options |= benchmark::ConsoleReporter::OO_Color;
      if (tabular) options |= benchmark::ConsoleReporter::OO_Tabular;
      RatioReporter reporter(static_cast<benchmark::ConsoleReporter::OutputOptions>(options));
      benchmark::RunSpecifiedBenchmarks(&reporter);
      PrintRatios(reporter, std::cout);
    } else {
      benchmark::RunSpecifiedBenchmarks();  // machine-readable output stays as it is
    }
  } catch (const std::exception& e) {
    std::cerr << "template_bench: " << e.what() << '\n';
    status = 1;
  }
  benchmark::Shutdown();
  RunFolder::Get().Remove();
  return status;
}
