// The engine class: loading, looking up, adding, modifying and removing templates.
#include "template/tmpeng.h"

#include <dlfcn.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "record.h"
#include "store.h"
#include "template/textcodec.h"

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

int EngineError::number() const { return number_; }
std::uint32_t EngineError::status() const {
  return 0x800A0000u + static_cast<std::uint32_t>(number_);
}
const fs::path& EngineError::file() const { return file_; }

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

constexpr int kSlots = 13;

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
    throw EngineError(kErrTypeMismatch, store,
                      "the record on line " + std::to_string(line_number) +
                          " has an Index that is not a number");
  }
}

// Reads the whole store under a shared lock, for operations that only read.
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
  const std::string data = detail::ReadStore(store);
  std::string out;
  out.reserve(data.size() + 64);
  bool any_line = false;
  detail::ForEachLine(data, [&](std::string_view line) {
    any_line = true;
    RecordFields record;
    std::optional<std::string> replacement;
    if (detail::ParseRecord(line, record)) replacement = change(line, record);
    out += replacement ? std::string_view(*replacement) : line;
    out += "\r\n";
    return true;
  });
  if (any_line) out += "\r\n";
  detail::ReplaceStore(store, out);
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

tmpeng::tmpeng() : folder_(LibraryFolder()) {}
tmpeng::tmpeng(fs::path folder) : folder_(std::move(folder)) {}

fs::path tmpeng::StorePath() const { return folder_ / kStoreFileName; }

void tmpeng::Template_EditA(std::u16string, std::u16string) {}

void tmpeng::Template_EditB(std::u16string tName, std::u16string tValue) {
  if (tName.empty() || tValue.empty()) return;
  const std::u16string name = detail::EncodeBreaks(std::move(tName));
  const std::u16string value = detail::EncodeBreaks(std::move(tValue));
  const std::string name_utf8 = text::Encode(name);
  RewriteStore(StorePath(), [&](std::string_view line,
                                const RecordFields& record) -> std::optional<std::string> {
    const LineText decoded(line);
    // Most lines are UTF-8, where comparing bytes is comparing text.
    const bool match = decoded.IsUtf8() ? record.name == name_utf8
                                        : decoded.Decode(record.name) == name;
    if (!match) return std::nullopt;
    return text::Encode(Joined(decoded.Decode(record.index), decoded.Decode(record.name), value));
  });
}

Flag tmpeng::Template_RmA(std::u16string) { return kFalse; }

std::any tmpeng::Template_RmB(std::u16string tName) {
  if (tName.empty()) return {};
  RewriteStore(StorePath(), [&](std::string_view line,
                                const RecordFields& record) -> std::optional<std::string> {
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
bool Check_Duplicate(std::string_view data, const fs::path& store, const std::u16string& name,
                     const std::u16string& value) {
  const std::string name_utf8 = text::Encode(name);
  const std::string value_utf8 = text::Encode(value);
  bool found = false;
  ForEachRecord(data, [&](std::string_view line, const RecordFields& record,
                          std::size_t line_number) {
    RequireNumericIndex(record, line_number, store);
    if (found) return true;
    const LineText decoded(line);
    if (decoded.IsUtf8()) {
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
  const std::u16string name = detail::EncodeBreaks(std::move(tName));
  const std::u16string value = detail::EncodeBreaks(std::move(tValue));
  const fs::path store = StorePath();
  detail::RequireStore(store);
  // The lock spans the duplicate check and the append, so that two processes adding the
  // same template at once cannot both find it missing.
  StoreLock lock(store, StoreLock::Mode::kExclusive);
  if (Check_Duplicate(detail::ReadStore(store), store, name, value)) return kFalse;
  detail::AppendToStore(store, text::Encode(Joined(u"1", name, value)) + "\r\n");
  return kTrue;
}

Flag tmpeng::Template_AddA(std::u16string, std::u16string, Object&) { return kFalse; }

void tmpeng::Template_LoadA(Object& objObject) {
  TreeView& tree = Require<TreeView>(objObject, "a tree view");
  tree.Clear();
  ForEachRecord(ReadShared(StorePath()), [&](std::string_view line,
                                             const RecordFields& record, std::size_t) {
    const LineText decoded(line);
    tree.Add(detail::DecodeBreaks(decoded.Decode(record.value)),
             detail::DecodeBreaks(decoded.Decode(record.name)));
    return true;
  });
}

void tmpeng::Template_LoadB(Object& objObject) {
  MenuSlots& slots = Require<MenuSlots>(objObject, "a group of menu slots");
  int n = 1;
  const fs::path store = StorePath();
  ForEachRecord(ReadShared(store), [&](std::string_view line, const RecordFields& record,
                                       std::size_t line_number) {
    RequireNumericIndex(record, line_number, store);
    if (n > kSlots) return false;
    const LineText decoded(line);
    slots.SetCaption(n, decoded.Decode(record.name));
    slots.SetTag(n, detail::DecodeBreaks(decoded.Decode(record.value)));
    ++n;
    return true;
  });
}

Flag tmpeng::Check_Exists_Obj(std::u16string tName, std::u16string tValue, Object& objObject) {
  TreeView& tree = Require<TreeView>(objObject, "a tree view");
  const std::u16string name = text::ToLower(tName);
  const std::u16string value = text::ToLower(tValue);
  const int count = tree.Count();
  for (int i = 1; i <= count; ++i) {
    if (text::ToLower(tree.Text(i)) == name || text::ToLower(tree.Key(i)) == value) return kTrue;
  }
  return kFalse;
}

Flag tmpeng::Check_Exists(std::u16string tName, std::u16string tValue, Object&) {
  const std::u16string name = text::ToLower(tName);
  const std::u16string value = text::ToLower(tValue);
  const fs::path store = StorePath();
  bool found = false;
  ForEachRecord(ReadShared(store), [&](std::string_view line, const RecordFields& record,
                                       std::size_t line_number) {
    RequireNumericIndex(record, line_number, store);
    const LineText decoded(line);
    found = text::ToLower(decoded.Decode(record.value)) == value ||
            text::ToLower(decoded.Decode(record.name)) == name;
    return !found;
  });
  return found ? kTrue : kFalse;
}

void tmpeng::Maintain() {}

std::u16string tmpeng::Version() {
  const std::string text = "v" + std::to_string(TEMPLATE_VERSION_MAJOR) + "." +
                           std::to_string(TEMPLATE_VERSION_MINOR) + "." +
                           std::to_string(TEMPLATE_VERSION_PATCH);
  version_.assign(text.begin(), text.end());
  return version_;
}

}  // namespace templates
