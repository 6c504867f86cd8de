// The engine class: loading, looking up, adding, modifying and removing templates.
#include "template/tmpeng.h"

#include <dlfcn.h>

#include <unicode/uloc.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <exception>
#include <optional>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "lock.h"
#include "record.h"
#include "store.h"
#include "template/textcodec.h"
#include "template/version.h"

namespace fs = std::filesystem;

namespace templates {

using detail::LineText;
using detail::RecordFields;
using detail::StoreLock;

Object::~Object() = default;
_tmpeng::~_tmpeng() = default;

EngineError::EngineError(int number, const fs::path& file, const std::string& reason)
    : std::runtime_error("Error " + std::to_string(number) + " (" + Meaning(number) + ")" +
                         (file.empty() ? std::string() : " on " + file.string()) +
                         (reason.empty() ? std::string() : ": " + reason)),
      number_(number),
      file_(file) {}

int EngineError::number() const {
  return number_;
}
std::uint32_t EngineError::status() const {
  return 0x800A0000u + static_cast<std::uint32_t>(number_);
}
const fs::path& EngineError::file() const {
  return file_;
}

std::string EngineError::Meaning(int number) {
  switch (number) {
    case kErrOverflow:
      return "Overflow";
    case kErrTypeMismatch:
      return "Type mismatch";
    case kErrFileNotFound:
      return "File not found";
    case kErrDeviceIO:
      return "Device I/O error";
    case kErrDiskFull:
      return "Disk full";
    case kErrPermissionDenied:
      return "Permission denied";
    case kErrPathFileAccess:
      return "Path/File access error";
    case kErrNoSuchMember:
      return "Object doesn't support this property or method";
    default:
      return "Application-defined or object-defined error";
  }
}

fs::path LibraryFolder() {
  Dl_info info{};
  if (::dladdr(reinterpret_cast<void*>(&LibraryFolder), &info) != 0 && info.dli_fname) {
    std::error_code ec;
    const fs::path library = fs::canonical(info.dli_fname, ec);
    if (!ec) return library.parent_path();
  }
  return fs::current_path();
}

namespace {

constexpr std::size_t kSlots = 13;

// Late binding: the object either has the interface an operation needs or the operation
// fails as a call of a missing member does.
template <class Interface>
Interface& Require(Object& object, const char* what) {
  auto* found = dynamic_cast<Interface*>(&object);
  if (!found) {
    throw EngineError(kErrNoSuchMember, fs::path(),
                      std::string("the object passed is not ") + what);
  }
  return *found;
}

void RequireNumericIndex(const RecordFields& record, std::size_t line_number,
                         const fs::path& store) {
  if (!detail::IsNumber(record.index)) {
    throw EngineError(
        kErrTypeMismatch, store,
        "the record on line " + std::to_string(line_number) + " has an Index that is not a number");
  }
}

// True when lower-casing in the default locale maps ASCII letters to ASCII letters, as
// everywhere but in Turkish and Azerbaijani (where I lowers to a dotless i).
bool PlainAsciiCase() {
  char language[16] = "";
  UErrorCode status = U_ZERO_ERROR;
  uloc_getLanguage(uloc_getDefault(), language, sizeof language, &status);
  return U_SUCCESS(status) && std::strcmp(language, "tr") != 0 && std::strcmp(language, "az") != 0;
}

// An ASCII field against text already lower-cased, without decoding or lower-casing it.
bool AsciiEqualsLowered(std::string_view field, const std::u16string& lowered) {
  if (field.size() != lowered.size()) return false;
  for (std::size_t i = 0; i < field.size(); ++i) {
    char c = field[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (static_cast<char16_t>(c) != lowered[i]) return false;
  }
  return true;
}

// The same for UTF-16 text: nullopt when `text` is not all ASCII and needs the full rules.
std::optional<bool> Ascii16EqualsLowered(const std::u16string& text,
                                         const std::u16string& lowered) {
  for (char16_t c : text) {
    if (c >= 0x80) return std::nullopt;
  }
  if (text.size() != lowered.size()) return false;
  for (std::size_t i = 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    if (c != lowered[i]) return false;
  }
  return true;
}

// The reading pass over the store itself, read a block at a time under a shared lock, so a
// pass that stops early reads no further and no pass holds the whole file.
// The caller holds the lock.
template <class Visit>
void ForEachStoredRecordLocked(const fs::path& store, Visit&& visit) {
  detail::StoreReader reader(store);
  std::size_t line_number = 0;
  std::string_view line;
  while (reader.Next(line)) {
    ++line_number;
    RecordFields record;
    if (!detail::ParseRecord(line, record)) continue;
    if (!visit(line, record, line_number)) return;
  }
}

template <class Visit>
void ForEachStoredRecord(const fs::path& store, Visit&& visit) {
  detail::RequireStore(store);
  StoreLock lock(store, StoreLock::Mode::kShared);
  ForEachStoredRecordLocked(store, std::forward<Visit>(visit));
}

// Reads the whole store under a shared lock.
std::string ReadShared(const fs::path& store) {
  detail::RequireStore(store);
  StoreLock lock(store, StoreLock::Mode::kShared);
  return detail::ReadStore(store);
}

// The reading pass over the store's bytes: every record in file order, with its line
// number. The visitor returns false to stop.
template <class Visit>
void ForEachRecord(std::string_view data, Visit&& visit) {
  std::size_t line_number = 0;
  detail::ForEachLine(data, [&](std::string_view line) {
    ++line_number;
    RecordFields record;
    if (!detail::ParseRecord(line, record)) return true;
    return visit(line, record, line_number);
  });
}

// The rewrite: every line of the store, each followed by CR LF, then one empty line more,
// with the lines for which `change` returns a replacement changed. Unchanged lines go back
// byte for byte; a changed line is written as UTF-8.
template <class Change>
void RewriteStore(const fs::path& store, Change&& change) {
  detail::RequireStore(store);
  StoreLock lock(store, StoreLock::Mode::kExclusive);
  detail::StoreReader reader(store);
  detail::StoreWriter writer(store);
  bool any_line = false;
  std::string_view line;
  while (reader.Next(line)) {
    any_line = true;
    RecordFields record;
    std::optional<std::string> replacement;
    if (detail::ParseRecord(line, record)) replacement = change(line, record);
    writer.Write(replacement ? std::string_view(*replacement) : line);
    writer.Write("\r\n");
  }
  if (any_line) writer.Write("\r\n");
  writer.Commit();
  lock.Retire();
}

// Rewrites the store under its exclusive lock with its lines as `change` leaves them.
// `change` gets every line (without its line end); the lines it leaves alone go back byte for
// byte. When it returns false nothing is written.
template <class Change>
bool RewriteLines(const fs::path& store, Change&& change) {
  detail::RequireStore(store);
  StoreLock lock(store, StoreLock::Mode::kExclusive);
  std::vector<std::string> lines;
  {
    detail::StoreReader reader(store);
    std::string_view line;
    while (reader.Next(line)) lines.emplace_back(line);
  }
  if (!change(lines)) return false;
  detail::StoreWriter writer(store);
  for (const std::string& line : lines) {
    writer.Write(line);
    writer.Write("\r\n");
  }
  if (!lines.empty()) writer.Write("\r\n");
  writer.Commit();
  lock.Retire();
  return true;
}

// Whether a record's name is `name` (with its line breaks encoded), as Template_EditB
// compares: bytes where they can only match as bytes, the decoded text otherwise.
bool NameIs(std::string_view line, const RecordFields& record, const std::u16string& name,
            const std::string& name_utf8) {
  if (text::IsAscii(record.name)) return record.name == name_utf8;
  const LineText decoded(line);
  return decoded.IsUtf8() ? record.name == name_utf8 : decoded.Decode(record.name) == name;
}

std::u16string Joined(const std::u16string& index, const std::u16string& name,
                      const std::u16string& value) {
  std::u16string line = index;
  line += static_cast<char16_t>(detail::kSeparator);
  line += name;
  line += static_cast<char16_t>(detail::kSeparator);
  line += value;
  return line;
}

}  // namespace

std::string NameProblem(std::u16string_view name) {
  if (name.size() > kLongestName) return kNameTooLong;
  if (name.find(static_cast<char16_t>(detail::kSeparator)) != std::u16string_view::npos)
    return kNameHoldsSeparator;
  return {};
}

tmpeng::tmpeng() : folder_(LibraryFolder()) {}
tmpeng::tmpeng(fs::path folder) : folder_(std::move(folder)) {}

fs::path tmpeng::StorePath() const {
  return folder_ / kStoreFileName;
}

void tmpeng::Template_EditA(std::u16string, std::u16string) {}

void tmpeng::Template_EditB(std::u16string tName, std::u16string tValue) {
  if (tName.empty() || tValue.empty()) return;
  const std::u16string name = detail::EncodeBreaks(std::move(tName));
  const std::u16string value = detail::EncodeBreaks(std::move(tValue));
  const std::string name_utf8 = text::Encode(name);
  RewriteStore(
      StorePath(),
      [&](std::string_view line, const RecordFields& record) -> std::optional<std::string> {
        // ASCII reads alike in UTF-8 and Windows-1252, and most lines are UTF-8, where comparing
        // bytes is comparing text.
        if (text::IsAscii(record.name) && record.name != name_utf8) return std::nullopt;
        const LineText decoded(line);
        const bool match =
            decoded.IsUtf8() ? record.name == name_utf8 : decoded.Decode(record.name) == name;
        if (!match) return std::nullopt;
        return text::Encode(
            Joined(decoded.Decode(record.index), decoded.Decode(record.name), value));
      });
}

Flag tmpeng::Template_Move(std::u16string tName, int steps) {
  if (tName.empty() || steps == 0) return kFalse;
  const std::u16string name = detail::EncodeBreaks(std::move(tName));
  const std::string name_utf8 = text::Encode(name);
  const bool moved = RewriteLines(StorePath(), [&](std::vector<std::string>& lines) {
    // The lines that hold templates, in order; the template moves among them, and every
    // other line stays where it is.
    std::vector<std::size_t> records;
    std::size_t from = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
      RecordFields record;
      if (!detail::ParseRecord(lines[i], record)) continue;
      if (from == lines.size() && NameIs(lines[i], record, name, name_utf8)) from = records.size();
      records.push_back(i);
    }
    if (from == lines.size()) return false;
    const long last = static_cast<long>(records.size()) - 1;
    const long to = std::clamp(static_cast<long>(from) + steps, 0L, last);
    if (to == static_cast<long>(from)) return false;
    std::vector<std::string> order;
    order.reserve(records.size());
    for (std::size_t i : records) order.push_back(std::move(lines[i]));
    std::string moving = std::move(order[from]);
    order.erase(order.begin() + static_cast<long>(from));
    order.insert(order.begin() + to, std::move(moving));
    for (std::size_t k = 0; k < records.size(); ++k) lines[records[k]] = std::move(order[k]);
    return true;
  });
  return moved ? kTrue : kFalse;
}

Flag tmpeng::Template_Rename(std::u16string tOld, std::u16string tNew) {
  if (tOld.empty() || tNew.empty() || !NameProblem(tNew).empty()) return kFalse;
  const std::u16string old_name = detail::EncodeBreaks(std::move(tOld));
  const std::u16string new_name = detail::EncodeBreaks(std::move(tNew));
  const std::string old_utf8 = text::Encode(old_name);
  const std::u16string new_lowered = text::ToLower(new_name);
  const bool renamed = RewriteLines(StorePath(), [&](std::vector<std::string>& lines) {
    std::size_t at = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
      RecordFields record;
      if (!detail::ParseRecord(lines[i], record)) continue;
      if (at == lines.size() && NameIs(lines[i], record, old_name, old_utf8)) {
        at = i;
        continue;
      }
      // Another template already has the new name.
      if (text::ToLower(LineText(lines[i]).Decode(record.name)) == new_lowered) return false;
    }
    if (at == lines.size()) return false;
    RecordFields record;
    detail::ParseRecord(lines[at], record);
    const LineText decoded(lines[at]);
    lines[at] =
        text::Encode(Joined(decoded.Decode(record.index), new_name, decoded.Decode(record.value)));
    return true;
  });
  return renamed ? kTrue : kFalse;
}

MergeResult tmpeng::Template_Merge(const std::vector<ImportEntry>& entries, Clash clash) {
  MergeResult result;
  const fs::path store = StorePath();
  RewriteLines(store, [&](std::vector<std::string>& lines) {
    bool replacedStored = false;
    // The new templates' lines; a template the import adds is found, replaced or kept
    // beside as a stored one is, by its place after the store's lines.
    std::vector<std::string> added;
    // The store's names, lower-cased, each with the lines of the templates that bear it,
    // and its values as stored, which Add and Import refuse to repeat.
    std::unordered_map<std::u16string, std::vector<std::size_t>> names;
    std::unordered_set<std::u16string> values;
    for (std::size_t i = 0; i < lines.size(); ++i) {
      RecordFields record;
      if (!detail::ParseRecord(lines[i], record)) continue;
      const LineText decoded(lines[i]);
      names[text::ToLower(decoded.Decode(record.name))].push_back(i);
      values.insert(decoded.Decode(record.value));
    }
    for (std::size_t k = 0; k < entries.size(); ++k) {
      if (std::string why = NameProblem(entries[k].name); !why.empty()) {
        result.refused.emplace_back(k, std::move(why));
        continue;
      }
      std::u16string name = detail::EncodeBreaks(entries[k].name);
      const std::u16string value = detail::EncodeBreaks(entries[k].value);
      if (const auto at = names.find(text::ToLower(name)); at != names.end()) {
        if (clash == Clash::kSkip) {
          ++result.skipped;
          continue;
        }
        if (clash == Clash::kReplace) {
          bool stored = false;
          for (std::size_t i : at->second) {
            std::string& line = i < lines.size() ? lines[i] : added[i - lines.size()];
            stored = stored || i < lines.size();
            RecordFields record;
            detail::ParseRecord(line, record);
            const LineText decoded(line);
            values.erase(decoded.Decode(record.value));
            line = text::Encode(
                Joined(decoded.Decode(record.index), decoded.Decode(record.name), value));
          }
          values.insert(value);
          ++result.replaced;
          replacedStored = replacedStored || stored;
          continue;
        }
        // Built by appending, never by substitution, so that nothing in the name is read as
        // a placeholder.
        const std::u16string base = name;
        for (int n = 2; names.count(text::ToLower(name)) != 0; ++n) {
          const std::string number = std::to_string(n);
          name = base + u" (" + std::u16string(number.begin(), number.end()) + u")";
        }
      }
      if (values.count(value) != 0) {
        result.refused.emplace_back(k, kTextStored);
        continue;
      }
      names[text::ToLower(name)].push_back(lines.size() + added.size());
      values.insert(value);
      added.push_back(text::Encode(Joined(u"1", name, value)));
      ++result.added;
    }
    if (!replacedStored) {
      // Only new templates: appended in one write, still under the lock, as Add appends one.
      std::string appended;
      for (const std::string& line : added) appended += line + "\r\n";
      if (!appended.empty()) detail::AppendToStore(store, appended);
      return false;
    }
    lines.insert(lines.end(), added.begin(), added.end());
    return true;
  });
  return result;
}

std::string tmpeng::Template_Replace(std::string_view bytes) {
  const fs::path store = StorePath();
  detail::RequireStore(store);
  StoreLock lock(store, StoreLock::Mode::kExclusive);
  std::string old = detail::ReadStore(store);
  detail::StoreWriter writer(store);
  writer.Write(bytes);
  writer.Commit();
  lock.Retire();
  return old;
}

Flag tmpeng::Template_RmA(std::u16string) {
  return kFalse;
}

std::any tmpeng::Template_RmB(std::u16string tName) {
  if (tName.empty()) return {};
  const bool ascii_name =
      std::all_of(tName.begin(), tName.end(), [](char16_t c) { return c < 0x80; });
  RewriteStore(
      StorePath(),
      [&](std::string_view line, const RecordFields& record) -> std::optional<std::string> {
        if (text::IsAscii(record.name)) {
          // Compared on the bytes, the break codes skipped: no ASCII name matches other text.
          if (!ascii_name) return std::nullopt;
          std::size_t i = 0;
          for (char c : record.name) {
            if (c == '\x02' || c == '\x03') continue;
            if (i == tName.size() || static_cast<char16_t>(c) != tName[i]) return std::nullopt;
            ++i;
          }
          if (i != tName.size()) return std::nullopt;
          return std::string();
        }
        std::u16string stored = LineText(line).Decode(record.name);
        stored.erase(std::remove_if(stored.begin(), stored.end(),
                                    [](char16_t c) {
                                      return c == detail::kEncodedCr || c == detail::kEncodedLf;
                                    }),
                     stored.end());
        if (stored != tName) return std::nullopt;
        return std::string();  // the record's line stays behind as an empty line
      });
  return {};
}

namespace {

// True when a record's stored Name equals `name` or its stored Value equals `value`, both
// compared exactly on the stored (encoded) forms. The pass reads the whole store, so a
// record with a bad Index anywhere in it fails the add.
template <class Pass>
bool Check_Duplicate(Pass&& pass, const fs::path& store, const std::u16string& name,
                     const std::u16string& value) {
  const std::string name_utf8 = text::Encode(name);
  const std::string value_utf8 = text::Encode(value);
  bool found = false;
  pass([&](std::string_view line, const RecordFields& record, std::size_t line_number) {
    RequireNumericIndex(record, line_number, store);
    if (found) return true;
    const LineText decoded(line);
    if (decoded.IsUtf8()) {  // ASCII lines included: there bytes are text
      found = record.name == name_utf8 || record.value == value_utf8;
    } else {
      found = decoded.Decode(record.name) == name || decoded.Decode(record.value) == value;
    }
    return true;
  });
  return found;
}

}  // namespace

Flag tmpeng::Template_AddB(std::u16string tName, std::u16string tValue) {
  // Refused like a duplicate, before the store is touched.
  if (!NameProblem(tName).empty()) return kFalse;
  const std::u16string name = detail::EncodeBreaks(std::move(tName));
  const std::u16string value = detail::EncodeBreaks(std::move(tValue));
  const fs::path store = StorePath();
  detail::RequireStore(store);
  // The lock spans the duplicate check and the append, so that two processes adding the
  // same template at once cannot both find it missing.
  StoreLock lock(store, StoreLock::Mode::kExclusive);
  auto pass = [&](auto&& visit) { ForEachStoredRecordLocked(store, visit); };
  if (Check_Duplicate(pass, store, name, value)) return kFalse;
  detail::AppendToStore(store, text::Encode(Joined(u"1", name, value)) + "\r\n");
  return kTrue;
}

Flag tmpeng::Template_AddA(std::u16string, std::u16string, Object&) {
  return kFalse;
}

void tmpeng::Template_LoadA(Object& objObject) {
  TreeView& tree = Require<TreeView>(objObject, "a tree view");
  tree.Clear();
  std::u16string key, text;  // reused from record to record
  // The whole store is read and the lock let go before the caller's tree is called, so that
  // a tree that calls the engine itself cannot wait on the lock.
  ForEachRecord(ReadShared(StorePath()),
                [&](std::string_view line, const RecordFields& record, std::size_t) {
                  const LineText decoded(line);
                  decoded.DecodeInto(record.value, true, key);
                  decoded.DecodeInto(record.name, true, text);
                  tree.Add(key, text);
                  return true;
                });
}

void tmpeng::Template_LoadB(Object& objObject) {
  // As with late binding, an object that is no group of menu slots fails only when a slot
  // is to be set: with no template stored, nothing is asked of it.
  auto* slots = dynamic_cast<MenuSlots*>(&objObject);
  const fs::path store = StorePath();
  // The pass stops after the last slot, so only the head of the store is read. The slots
  // are set once the lock is let go, in file order, up to a record that fails, as if
  // they had been set while reading.
  std::vector<std::pair<std::u16string, std::u16string>> filled;  // caption, tag
  std::exception_ptr failure;
  try {
    ForEachStoredRecord(
        store, [&](std::string_view line, const RecordFields& record, std::size_t line_number) {
          RequireNumericIndex(record, line_number, store);
          if (filled.size() == kSlots) return false;
          const LineText decoded(line);
          filled.emplace_back(decoded.Decode(record.name), decoded.Decode(record.value, true));
          return true;
        });
  } catch (const EngineError&) {
    failure = std::current_exception();
  }
  int n = 1;
  for (const auto& [caption, tag] : filled) {
    if (!slots) Require<MenuSlots>(objObject, "a group of menu slots");
    slots->SetCaption(n, caption);
    slots->SetTag(n, tag);
    ++n;
  }
  if (failure) std::rethrow_exception(failure);
}

Flag tmpeng::Check_Exists_Obj(std::u16string tName, std::u16string tValue, Object& objObject) {
  TreeView& tree = Require<TreeView>(objObject, "a tree view");
  const std::u16string name = text::ToLower(tName);
  const std::u16string value = text::ToLower(tValue);
  const bool plain = PlainAsciiCase();
  auto equal = [&](const std::u16string& text, const std::u16string& lowered) {
    if (plain) {
      if (const auto quick = Ascii16EqualsLowered(text, lowered)) return *quick;
    }
    return text::ToLower(text) == lowered;
  };
  const int count = tree.Count();
  for (int i = 1; i <= count; ++i) {
    if (equal(tree.Text(i), name) || equal(tree.Key(i), value)) return kTrue;
  }
  return kFalse;
}

Flag tmpeng::Check_Exists(std::u16string tName, std::u16string tValue, Object&) {
  const std::u16string name = text::ToLower(tName);
  const std::u16string value = text::ToLower(tValue);
  const fs::path store = StorePath();
  bool found = false;
  const bool plain = PlainAsciiCase();
  ForEachStoredRecord(
      store, [&](std::string_view line, const RecordFields& record, std::size_t line_number) {
        RequireNumericIndex(record, line_number, store);
        const LineText decoded(line);
        if (plain && decoded.IsAscii()) {
          found = AsciiEqualsLowered(record.value, value) || AsciiEqualsLowered(record.name, name);
        } else {
          found = text::ToLower(decoded.Decode(record.value)) == value ||
                  text::ToLower(decoded.Decode(record.name)) == name;
        }
        return !found;
      });
  return found ? kTrue : kFalse;
}

void tmpeng::Maintain() {}

std::u16string tmpeng::Version() {
  const std::string text = "v" TEMPLATE_VERSION;
  version_.assign(text.begin(), text.end());
  return version_;
}

}  // namespace templates
