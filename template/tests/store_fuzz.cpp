// libFuzzer target over the template store. Any bytes become templates.dat; then every member
// that reads the store reads it, both rewrites rewrite it and an add appends to it, each on a
// fresh copy of the input, with names and values taken from the input. Beside crashes and
// sanitizer reports, a finding is any exception other than EngineError, an EngineError where
// the store format admits none, and a broken invariant, checked against a model of the
// format written here from its rules: the lines, the records, the decoding of each line.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "template/textcodec.h"
#include "template/tmpeng.h"

namespace {

namespace fs = std::filesystem;
namespace text = templates::text;
using templates::EngineError;

#define CHECK(condition)                                                                           \
  do {                                                                                             \
    if (!(condition)) {                                                                            \
      std::fprintf(stderr, "store_fuzz: invariant broken on line %d: %s\n", __LINE__, #condition); \
      std::abort();                                                                                \
    }                                                                                              \
  } while (false)

[[noreturn]] void Unexpected(const char* member, const EngineError& e) {
  std::fprintf(stderr, "store_fuzz: %s failed where it must not: %s\n", member, e.what());
  std::abort();
}

// ---------------------------------------------------------------------------------------
// The store folder: one for the whole run, in memory where possible, since the engine
// flushes every write to disk.

class Folder {
 public:
  static const Folder& Get() {
    static const Folder folder;
    return folder;
  }
  fs::path store() const { return path_ / templates::kStoreFileName; }
  const fs::path& path() const { return path_; }

  ~Folder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }

 private:
  Folder() {
    fs::path base = "/dev/shm";
    if (!fs::is_directory(base) || ::access(base.c_str(), W_OK) != 0) {
      base = fs::temp_directory_path();
    }
    std::string pattern = (base / "quorpad-store-fuzz-XXXXXX").string();
    if (!::mkdtemp(pattern.data())) {
      std::perror("store_fuzz: mkdtemp");
      std::abort();
    }
    path_ = pattern;
  }
  fs::path path_;
};

void WriteStore(std::string_view bytes) {
  const fs::path store = Folder::Get().store();
  const int fd = ::open(store.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  CHECK(fd >= 0);
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    CHECK(n > 0);
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  CHECK(::close(fd) == 0);
}

std::string ReadStore() {
  const fs::path store = Folder::Get().store();
  const int fd = ::open(store.c_str(), O_RDONLY | O_CLOEXEC);
  CHECK(fd >= 0);
  std::string bytes;
  char buffer[4096];
  for (;;) {
    const ssize_t n = ::read(fd, buffer, sizeof buffer);
    CHECK(n >= 0);
    if (n == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return bytes;
}

// ---------------------------------------------------------------------------------------
// The model of the store

// The lines: a line ends at a CR or at an LF, an LF straight after a CR belongs to that
// CR's line end, and the last line may lack its end.
std::vector<std::string_view> Lines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  bool after_cr = false;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    if (after_cr) {
      after_cr = false;
      if (bytes[i] == '\n') {
        start = i + 1;
        continue;
      }
    }
    if (bytes[i] == '\r' || bytes[i] == '\n') {
      lines.push_back(bytes.substr(start, i - start));
      start = i + 1;
      after_cr = bytes[i] == '\r';
    }
  }
  if (start < bytes.size()) lines.push_back(bytes.substr(start));
  return lines;
}

// What a rewrite that changes nothing writes: every line with CR LF, and one empty line more.
std::string Rewritten(const std::vector<std::string_view>& lines) {
  std::string out;
  for (std::string_view line : lines) {
    out += line;
    out += "\r\n";
  }
  if (!lines.empty()) out += "\r\n";
  return out;
}

struct Record {
  std::string_view index, name, value;
};

// Index is what stands before the first separator; a line without one, or with nothing
// after it, is no record. Name runs from there to the next separator, which must exist, and
// Value is the rest of the line, further separators included.
std::optional<Record> ParseRecord(std::string_view line) {
  const std::size_t first = line.find('\x04');
  if (first == std::string_view::npos || first + 1 == line.size()) return std::nullopt;
  const std::size_t second = line.find('\x04', first + 1);
  if (second == std::string_view::npos) return std::nullopt;
  return Record{line.substr(0, first), line.substr(first + 1, second - first - 1),
                line.substr(second + 1)};
}

// A field read as its whole line reads: UTF-8 when the line is, Windows-1252 otherwise.
std::u16string Field(std::string_view line, std::string_view field) {
  return text::IsUtf8(line) ? text::Decode(field) : text::DecodeWindows1252(field);
}

std::u16string EncodeBreaks(std::u16string s) {
  for (char16_t& c : s) {
    if (c == u'\r') c = u'\x02';
    if (c == u'\n') c = u'\x03';
  }
  return s;
}

std::u16string DecodeBreaks(std::u16string s) {
  for (char16_t& c : s) {
    if (c == u'\x02') c = u'\r';
    if (c == u'\x03') c = u'\n';
  }
  return s;
}

std::u16string WithoutBreakCodes(std::u16string s) {
  s.erase(std::remove_if(s.begin(), s.end(), [](char16_t c) { return c == 2 || c == 3; }), s.end());
  return s;
}

// The input taken apart once: its lines, which of them are records, and the names and
// values the members are called with.
struct Input {
  std::string_view bytes;
  std::vector<std::string_view> lines;
  std::vector<std::optional<Record>> records;  // one for each line
  std::size_t record_count = 0;

  std::u16string first_name;        // the first record's Name decoded: what EditB matches
  std::u16string first_name_plain;  // the same with the break codes taken out: what RmB matches
  std::u16string slice_name;        // text from the input's start and end, for adds and checks
  std::u16string slice_value;

  explicit Input(std::string_view data) : bytes(data), lines(Lines(data)) {
    for (std::string_view line : lines) {
      records.push_back(ParseRecord(line));
      if (!records.back()) continue;
      if (record_count++ == 0) {
        const std::u16string stored = Field(line, records.back()->name);
        first_name = DecodeBreaks(stored);
        first_name_plain = WithoutBreakCodes(stored);
      }
    }
    slice_name = text::Decode(data.substr(0, std::min<std::size_t>(data.size(), 12)));
    slice_value = text::Decode(data.substr(data.size() - std::min<std::size_t>(data.size(), 24)));
  }
};

// ---------------------------------------------------------------------------------------
// Callers' objects

class Tree : public templates::TreeView {
 public:
  std::vector<std::pair<std::u16string, std::u16string>> nodes;  // key, text

  void Clear() override { nodes.clear(); }
  void Add(const std::u16string& key, const std::u16string& text) override {
    nodes.emplace_back(key, text);
  }
  int Count() const override { return static_cast<int>(nodes.size()); }
  std::u16string Text(int i) const override {
    return nodes.at(static_cast<std::size_t>(i - 1)).second;
  }
  std::u16string Key(int i) const override {
    return nodes.at(static_cast<std::size_t>(i - 1)).first;
  }
};

constexpr char16_t kUntouched[] = u"\xFFFF untouched";

class Slots : public templates::MenuSlots {
 public:
  std::vector<std::u16string> captions = std::vector<std::u16string>(13, kUntouched);
  std::vector<std::u16string> tags = std::vector<std::u16string>(13, kUntouched);

  void SetCaption(int n, const std::u16string& caption) override { captions.at(Slot(n)) = caption; }
  void SetTag(int n, const std::u16string& tag) override { tags.at(Slot(n)) = tag; }

 private:
  static std::size_t Slot(int n) {
    CHECK(n >= 1 && n <= 13);
    return static_cast<std::size_t>(n - 1);
  }
};

class PlainObject : public templates::Object {};

// ---------------------------------------------------------------------------------------
// The members

// Every record becomes a node, in file order, its decoded Value the key and its decoded
// Name the text. Loading accepts any Index, so nothing in the file can make it fail.
Tree LoadA(templates::tmpeng& engine, const Input& in) {
  Tree tree;
  tree.nodes.emplace_back(u"stale", u"stale");
  try {
    engine.Template_LoadA(tree);
  } catch (const EngineError& e) {
    Unexpected("Template_LoadA", e);
  }
  CHECK(tree.nodes.size() == in.record_count);
  std::size_t node = 0;
  for (std::size_t i = 0; i < in.lines.size(); ++i) {
    if (!in.records[i]) continue;
    const Record& r = *in.records[i];
    CHECK(tree.nodes[node].first == DecodeBreaks(Field(in.lines[i], r.value)));
    CHECK(tree.nodes[node].second == DecodeBreaks(Field(in.lines[i], r.name)));
    ++node;
  }
  return tree;
}

// The first thirteen records fill the slots, Name as stored and Value decoded; the slots
// after them stay as they were. The only admissible failure is a non-numeric Index.
void LoadB(templates::tmpeng& engine, const Input& in) {
  Slots slots;
  try {
    engine.Template_LoadB(slots);
  } catch (const EngineError& e) {
    if (e.number() != templates::kErrTypeMismatch) Unexpected("Template_LoadB", e);
    return;
  }
  std::size_t n = 0;
  for (std::size_t i = 0; i < in.lines.size() && n < 13; ++i) {
    if (!in.records[i]) continue;
    const Record& r = *in.records[i];
    CHECK(slots.captions[n] == Field(in.lines[i], r.name));
    CHECK(slots.tags[n] == DecodeBreaks(Field(in.lines[i], r.value)));
    ++n;
  }
  for (; n < 13; ++n) CHECK(slots.captions[n] == kUntouched && slots.tags[n] == kUntouched);
}

// True when a record's stored Name or Value equals the given ones, lower-cased.
bool ExistsIgnoringCase(const Input& in, const std::u16string& name, const std::u16string& value) {
  const std::u16string lower_name = text::ToLower(name);
  const std::u16string lower_value = text::ToLower(value);
  for (std::size_t i = 0; i < in.lines.size(); ++i) {
    if (!in.records[i]) continue;
    if (text::ToLower(Field(in.lines[i], in.records[i]->value)) == lower_value ||
        text::ToLower(Field(in.lines[i], in.records[i]->name)) == lower_name) {
      return true;
    }
  }
  return false;
}

void CheckExists(templates::tmpeng& engine, const Input& in, const std::u16string& name,
                 const std::u16string& value) {
  PlainObject object;
  try {
    const templates::Flag found = engine.Check_Exists(name, value, object);
    // Returning at all means the pass met a match or read every record.
    CHECK(found == (ExistsIgnoringCase(in, name, value) ? templates::kTrue : templates::kFalse));
  } catch (const EngineError& e) {
    if (e.number() != templates::kErrTypeMismatch) Unexpected("Check_Exists", e);
  }
}

void CheckExistsObj(templates::tmpeng& engine, Tree& tree, const std::u16string& name,
                    const std::u16string& value) {
  bool expected = false;
  for (const auto& [key, node_text] : tree.nodes) {
    expected = expected || text::ToLower(node_text) == text::ToLower(name) ||
               text::ToLower(key) == text::ToLower(value);
  }
  try {
    CHECK(engine.Check_Exists_Obj(name, value, tree) ==
          (expected ? templates::kTrue : templates::kFalse));
  } catch (const EngineError& e) {
    Unexpected("Check_Exists_Obj", e);
  }
}

// An add appends exactly one line when no record has the same stored Name or Value and the
// name holds no separator, and otherwise leaves the file alone, as it does when it fails.
// A store whose last line lacks its line end gets one before the new line.
void AddB(templates::tmpeng& engine, const Input& in, const std::u16string& name,
          const std::u16string& value) {
  WriteStore(in.bytes);
  const std::u16string stored_name = EncodeBreaks(name);
  const std::u16string stored_value = EncodeBreaks(value);
  templates::Flag added;
  try {
    added = engine.Template_AddB(name, value);
  } catch (const EngineError& e) {
    if (e.number() != templates::kErrTypeMismatch) Unexpected("Template_AddB", e);
    CHECK(ReadStore() == in.bytes);
    return;
  }
  bool duplicate = name.find(u'\x04') != std::u16string::npos;
  for (std::size_t i = 0; i < in.lines.size(); ++i) {
    if (!in.records[i]) continue;
    duplicate = duplicate || Field(in.lines[i], in.records[i]->name) == stored_name ||
                Field(in.lines[i], in.records[i]->value) == stored_value;
  }
  if (duplicate) {
    CHECK(added == templates::kFalse);
    CHECK(ReadStore() == in.bytes);
  } else {
    CHECK(added == templates::kTrue);
    const bool ended = in.bytes.empty() || in.bytes.back() == '\r' || in.bytes.back() == '\n';
    CHECK(ReadStore() == std::string(in.bytes) + (ended ? "" : "\r\n") + "1\x04" +
                             text::Encode(stored_name) + "\x04" + text::Encode(stored_value) +
                             "\r\n");
  }
}

// Runs a rewrite on a fresh copy of the input and returns the lines it left.
template <class Member>
std::vector<std::string_view> Rewrite(const Input& in, const char* what, Member&& member,
                                      std::string& out) {
  WriteStore(in.bytes);
  try {
    member();
  } catch (const EngineError& e) {
    Unexpected(what, e);
  }
  out = ReadStore();
  std::vector<std::string_view> lines = Lines(out);
  if (in.lines.empty()) {
    CHECK(out.empty());
  } else {
    // Every line comes back terminated by CR LF, then one empty line more.
    CHECK(out.size() >= 4 && out.compare(out.size() - 4, 4, "\r\n\r\n") == 0);
    CHECK(lines.size() == in.lines.size() + 1 && lines.back().empty());
  }
  return lines;
}

// A name that no record can have: stored Names never hold the separator.
std::u16string Absent(const std::u16string& name) {
  return u"\x04" + name;
}

void RmB(templates::tmpeng& engine, const Input& in) {
  std::string out;
  // Nothing to remove: the file comes back with its lines re-terminated and one more.
  Rewrite(
      in, "Template_RmB", [&] { engine.Template_RmB(Absent(in.first_name_plain)); }, out);
  CHECK(out == Rewritten(in.lines));

  // An empty name: the store is not even opened.
  WriteStore(in.bytes);
  engine.Template_RmB(u"");
  CHECK(ReadStore() == in.bytes);

  // The first record's name: its records become empty lines, every other line stays.
  if (in.first_name_plain.empty()) return;
  const std::vector<std::string_view> lines = Rewrite(
      in, "Template_RmB", [&] { engine.Template_RmB(in.first_name_plain); }, out);
  bool removed = false;
  for (std::size_t i = 0; i < in.lines.size(); ++i) {
    const auto& r = in.records[i];
    if (r && WithoutBreakCodes(Field(in.lines[i], r->name)) == in.first_name_plain) {
      CHECK(lines[i].empty());
      removed = true;
    } else {
      CHECK(lines[i] == in.lines[i]);
    }
  }
  CHECK(removed);
}

void EditB(templates::tmpeng& engine, const Input& in) {
  std::u16string value = in.slice_value.empty() ? u"x" : in.slice_value;
  std::string out;
  Rewrite(
      in, "Template_EditB", [&] { engine.Template_EditB(Absent(in.first_name), value); }, out);
  CHECK(out == Rewritten(in.lines));

  // An empty name or value: the store is not even opened.
  WriteStore(in.bytes);
  engine.Template_EditB(in.first_name, u"");
  engine.Template_EditB(u"", value);
  CHECK(ReadStore() == in.bytes);

  // The first record's name: each record of that name gets the new value, written as UTF-8
  // with its Index and Name as they read; every other line stays byte for byte.
  if (in.first_name.empty()) return;
  const std::u16string stored_name = EncodeBreaks(in.first_name);
  const std::u16string stored_value = EncodeBreaks(value);
  const std::vector<std::string_view> lines = Rewrite(
      in, "Template_EditB", [&] { engine.Template_EditB(in.first_name, value); }, out);
  for (std::size_t i = 0; i < in.lines.size(); ++i) {
    const auto& r = in.records[i];
    if (r && Field(in.lines[i], r->name) == stored_name) {
      CHECK(lines[i] == text::Encode(Field(in.lines[i], r->index) + u"\x04" +
                                     Field(in.lines[i], r->name) + u"\x04" + stored_value));
    } else {
      CHECK(lines[i] == in.lines[i]);
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const Input in(std::string_view(reinterpret_cast<const char*>(data), size));
  templates::tmpeng engine(Folder::Get().path());

  WriteStore(in.bytes);
  Tree tree = LoadA(engine, in);
  LoadB(engine, in);
  CheckExists(engine, in, in.first_name, in.slice_value);
  CheckExists(engine, in, in.slice_name, in.slice_value);
  CheckExistsObj(engine, tree, in.slice_name, in.slice_value);
  CHECK(ReadStore() == in.bytes);  // nothing that only reads may write

  AddB(engine, in, in.slice_name, in.slice_value);
  AddB(engine, in, in.first_name, in.slice_name);
  RmB(engine, in);
  EditB(engine, in);
  return 0;
}
