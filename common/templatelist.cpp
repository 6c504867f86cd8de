// The picker's list of templates: storage, ranking and the text shown for each.
#include "common/templatelist.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "template/textcodec.h"

namespace {

// Texts are kept in blocks of this many characters; a longer text gets a block of its own.
constexpr std::size_t kBlockChars = std::size_t{1} << 19;

std::u16string_view AsU16(QStringView text) {
  return std::u16string_view(text.utf16(), static_cast<std::size_t>(text.size()));
}

// Whether `name` holds the characters of `lowered` in their order, not necessarily together.
// A character outside the Basic Multilingual Plane is looked for as its pair of code units.
bool HasLettersInOrder(QStringView name, QStringView lowered) {
  qsizetype at = 0;
  for (qsizetype i = 0; i < lowered.size();) {
    const qsizetype units = lowered[i].isHighSurrogate() && i + 1 < lowered.size() ? 2 : 1;
    const qsizetype found =
        units == 1 ? name.indexOf(lowered[i], at) : name.indexOf(lowered.mid(i, units), at);
    if (found < 0) return false;
    at = found + units;
    i += units;
  }
  return true;
}

// Control characters have pictures of their own in Unicode, but few fonts draw them; the
// replacement character is drawn everywhere.
QChar Shown(char16_t c) {
  if (c == u'\t') return QLatin1Char(' ');
  if (c == u'\r' || c == u'\n' || c == 0x2028 || c == 0x2029) return QChar(0x23CE);  // ⏎
  if (c < 0x20 || (c >= 0x7f && c < 0xa0)) return QChar(0xFFFD);
  // The controls of writing direction (embeddings, overrides, isolates) would turn the rest
  // of a line or a message around the name: shown as the other controls are.
  if ((c >= 0x202a && c <= 0x202e) || (c >= 0x2066 && c <= 0x2069)) return QChar(0xFFFD);
  return QChar(c);
}

}  // namespace

void TemplateList::Clear() {
  entries_.clear();
  blocks_.clear();
  largeBlocks_.clear();
  blockFree_ = 0;
  lowered_ = 0;
}

TemplateList::Span TemplateList::keep(std::u16string_view text) {
  static constexpr char16_t kEmpty[] = u"";
  if (text.empty()) return {kEmpty, 0};
  if (text.size() > UINT32_MAX) throw std::length_error("template text too long");
  char16_t* into;
  if (text.size() > kBlockChars / 4) {
    // A large text, a long letter say, takes a block of its own; the shared block goes on.
    largeBlocks_.push_back(std::make_unique<char16_t[]>(text.size()));
    into = largeBlocks_.back().get();
  } else {
    if (blockFree_ < text.size()) {
      blocks_.push_back(std::make_unique<char16_t[]>(kBlockChars));
      blockFree_ = kBlockChars;
    }
    into = blocks_.back().get() + (kBlockChars - blockFree_);
    blockFree_ -= text.size();
  }
  std::memcpy(into, text.data(), text.size() * sizeof(char16_t));
  return {into, static_cast<std::uint32_t>(text.size())};
}

void TemplateList::Add(const std::u16string& key, const std::u16string& text) {
  Entry entry;
  entry.name = keep(text);
  entry.value = keep(key);
  entry.lowerName = entry.name;
  entry.lowerValue = entry.value;
  entries_.push_back(entry);
}

void TemplateList::lowerUpTo(int row) {
  row = std::min(row, size());
  for (; lowered_ < row; ++lowered_) {
    Entry& entry = entries_[static_cast<std::size_t>(lowered_)];
    // A text that is lower-case already, as many values nearly are, keeps one copy for both.
    const std::u16string_view name(entry.name.data, entry.name.size);
    const std::u16string lowerName = templates::text::ToLower(name);
    if (lowerName != name) entry.lowerName = keep(lowerName);
    const std::u16string_view value(entry.value.data, entry.value.size);
    const std::u16string lowerValue = templates::text::ToLower(value);
    if (lowerValue != value) entry.lowerValue = keep(lowerValue);
  }
}

int TemplateList::Count() const {
  return size();
}

std::u16string TemplateList::Text(int i) const {
  if (i < 1 || i > size()) throw std::out_of_range("no template " + std::to_string(i));
  return std::u16string(AsU16(name(i - 1)));
}

std::u16string TemplateList::Key(int i) const {
  if (i < 1 || i > size()) throw std::out_of_range("no template " + std::to_string(i));
  return std::u16string(AsU16(value(i - 1)));
}

MatchRank RankOf(const TemplateList& list, int row, QStringView lowered) {
  const QStringView name = list.lowerName(row);
  if (name.startsWith(lowered)) return MatchRank::kNamePrefix;
  if (name.indexOf(lowered) >= 0) return MatchRank::kNameContains;
  if (list.lowerValue(row).indexOf(lowered) >= 0) return MatchRank::kValueContains;
  if (HasLettersInOrder(name, lowered)) return MatchRank::kNameLettersInOrder;
  return MatchRank::kNone;
}

void TemplateFilter::reset() {
  valid_ = false;
  lowered_.clear();
  rows_.clear();
  candidates_.clear();
}

const std::vector<int>& TemplateFilter::apply(TemplateList& list, const QString& text) {
  const QString lowered = LowerCased(text);
  if (lowered.isEmpty()) {
    rows_.resize(static_cast<std::size_t>(list.size()));
    for (int row = 0; row < list.size(); ++row) rows_[static_cast<std::size_t>(row)] = row;
    candidates_ = rows_;
  } else {
    list.lowerUpTo(list.size());
    // Every way of matching holds for a text's beginning as well, so what the longer text
    // matches is among what its beginning matched.
    const bool narrows = valid_ && lowered.startsWith(lowered_);
    std::vector<int> all;
    if (!narrows) {
      all.resize(static_cast<std::size_t>(list.size()));
      for (int row = 0; row < list.size(); ++row) all[static_cast<std::size_t>(row)] = row;
    }
    const std::vector<int>& from = narrows ? candidates_ : all;
    std::vector<int> ranked[4];
    std::vector<int> matched;
    for (int row : from) {
      const MatchRank rank = RankOf(list, row, lowered);
      if (rank == MatchRank::kNone) continue;
      ranked[static_cast<int>(rank)].push_back(row);
      matched.push_back(row);
    }
    rows_.clear();
    rows_.reserve(matched.size());
    for (const std::vector<int>& group : ranked)
      rows_.insert(rows_.end(), group.begin(), group.end());
    candidates_ = std::move(matched);
  }
  lowered_ = lowered;
  valid_ = true;
  return rows_;
}

QString LowerCased(QStringView text) {
  const std::u16string lowered = templates::text::ToLower(AsU16(text));
  return QString(reinterpret_cast<const QChar*>(lowered.data()),
                 static_cast<qsizetype>(lowered.size()));
}

QString ShownOnOneLine(QStringView text, qsizetype limit) {
  QString out;
  const qsizetype count = std::min(text.size(), limit);
  out.reserve(count + 1);
  for (qsizetype i = 0; i < count; ++i) {
    // A CR LF pair is one line break and shows as one symbol.
    if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    out += Shown(text[i].unicode());
  }
  if (text.size() > count) out += QChar(0x2026);  // …
  return out;
}

QString ShownName(QStringView name) {
  return ShownOnOneLine(name, kShownNameChars);
}

QString FirstLine(QStringView value, qsizetype limit) {
  const QStringView head = value.left(limit + 1);
  qsizetype end = head.size();
  for (qsizetype i = 0; i < head.size(); ++i) {
    const char16_t c = head[i].unicode();
    if (c == u'\r' || c == u'\n' || c == 0x2028 || c == 0x2029) {
      end = i;
      break;
    }
  }
  return ShownOnOneLine(value.left(end), limit);
}
