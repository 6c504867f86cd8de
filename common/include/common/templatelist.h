// Every template of the store, as the picker lists and filters it.
#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>
#include <memory>
#include <vector>

#include "template/tmpeng.h"

// The engine fills it like a tree view (one root node a template, its text the name and its
// key the value), in store order. Each name and value is lower-cased once, so that
// filtering never lower-cases again; not as it arrives but afterwards, a part at a time,
// so that a large store is on screen before all of it is lower-cased. The texts live in a few large
// blocks rather than one allocation each: a store of 100,000 templates costs little more than its
// text.
class TemplateList : public templates::TreeView {
 public:
  TemplateList() = default;
  TemplateList(const TemplateList&) = delete;
  TemplateList& operator=(const TemplateList&) = delete;

  void Clear() override;
  void Add(const std::u16string& key, const std::u16string& text) override;
  int Count() const override;
  std::u16string Text(int i) const override;  // i from 1
  std::u16string Key(int i) const override;

  int size() const { return static_cast<int>(entries_.size()); }
  // Lower-cases the names and values of the rows before `row` that are not yet.
  void lowerUpTo(int row);
  // The rows lower-cased so far, from the first.
  int lowered() const { return lowered_; }
  // The name and the value of row `row` (from 0), in store order.
  QStringView name(int row) const { return view(entries_[static_cast<std::size_t>(row)].name); }
  QStringView value(int row) const { return view(entries_[static_cast<std::size_t>(row)].value); }
  // Only for rows that are lower-cased already.
  QStringView lowerName(int row) const {
    return view(entries_[static_cast<std::size_t>(row)].lowerName);
  }
  QStringView lowerValue(int row) const {
    return view(entries_[static_cast<std::size_t>(row)].lowerValue);
  }

 private:
  struct Span {
    const char16_t* data;
    std::uint32_t size;
  };
  struct Entry {
    Span name, value, lowerName, lowerValue;
  };
  static QStringView view(Span s) { return QStringView(s.data, static_cast<qsizetype>(s.size)); }
  Span keep(std::u16string_view text);

  std::vector<Entry> entries_;
  std::vector<std::unique_ptr<char16_t[]>> blocks_;       // shared by small texts
  std::vector<std::unique_ptr<char16_t[]>> largeBlocks_;  // one a large text
  std::size_t blockFree_ = 0;                             // characters left in the last block
  int lowered_ = 0;
};

// How well a template matches a filter text, best first.
enum class MatchRank { kNamePrefix, kNameContains, kValueContains, kNameLettersInOrder, kNone };

// The rank of row `row`, lower-cased already, for a filter text that is lower-cased too.
MatchRank RankOf(const TemplateList& list, int row, QStringView lowered);

// The rows that match `text`, ignoring letter case: names that start with it, then names
// that contain it, then values that contain it, then names that hold its letters in order;
// store order within each. An empty text gives every row in store order.
//
// Typing narrows: a filter text that extends the previous one can only match rows that
// the previous one matched, so only those are looked at again.
class TemplateFilter {
 public:
  // Forgets the previous result; needed whenever the list changes.
  void reset();
  // Filters `list`, lower-casing what of it is not yet.
  const std::vector<int>& apply(TemplateList& list, const QString& text);
  const std::vector<int>& rows() const { return rows_; }

 private:
  QString lowered_;              // the filter text of `rows_`, lower-cased
  std::vector<int> rows_;        // the result, best first
  std::vector<int> candidates_;  // the rows of `rows_`, in store order
  bool valid_ = false;
};

// Lower-cases text the way the engine does: full Unicode case mapping.
QString LowerCased(QStringView text);

// A name or a value as one line of a list: tabs as spaces, line breaks as a return symbol,
// other control characters and those that set the writing direction as the replacement
// character, cut after `limit` characters with an ellipsis. Only the first `limit`
// characters are ever looked at.
QString ShownOnOneLine(QStringView text, qsizetype limit);
// A template's name as a sentence or a menu shows it: on one line, as above, and at most
// kShownNameChars characters, so that no name, however long, stretches a message or a popup.
inline constexpr qsizetype kShownNameChars = 80;
QString ShownName(QStringView name);
// The first line of a value for the list, made safe to show as above.
QString FirstLine(QStringView value, qsizetype limit);
