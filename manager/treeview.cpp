// The manager's tree as the engine's tree view.
#include "treeview.h"

#include <QTreeWidget>
#include <algorithm>
#include <stdexcept>
#include <utility>

#include "common/plaintext.h"
#include "common/textconv.h"

namespace {

// Above this many rows to take out, the tree is emptied and filled again: cheaper than
// taking each out. Rows put in go in together however many they are (an import's).
constexpr int kMostRowsTakenOut = 1000;

// What the tree shows, row for row, kept beside it by the adapters that fill it (nothing else
// changes its rows), so that a list read again is compared string for string instead of
// asking each of the tree's items for its text.
class ShownRows : public QObject {
 public:
  static ShownRows& of(QTreeWidget* tree) {
    auto* shown = static_cast<ShownRows*>(
        tree->findChild<QObject*>(QLatin1String(kName), Qt::FindDirectChildrenOnly));
    if (!shown) shown = new ShownRows(tree);
    if (shown->rows.size() != tree->topLevelItemCount()) {
      shown->rows.clear();
      for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = tree->topLevelItem(i);
        shown->rows.append({item->data(0, Qt::UserRole).toString(), item->text(0)});
      }
    }
    return *shown;
  }
  QList<TreeRow> rows;

 private:
  static constexpr const char* kName = "quorpad_shown_rows";
  explicit ShownRows(QTreeWidget* tree) : QObject(tree) { setObjectName(QLatin1String(kName)); }
};

QTreeWidgetItem* NewItem(const QString& key, const QString& text) {
  auto* item = new QTreeWidgetItem;
  item->setText(0, text);
  item->setData(0, Qt::UserRole, key);
  item->setToolTip(0, PlainToolTip(text));
  return item;
}

}  // namespace

bool ListsTemplate(QTreeWidget* tree, const QString& name) {
  const QList<TreeRow>& rows = ShownRows::of(tree).rows;
  return std::any_of(rows.cbegin(), rows.cend(),
                     [&name](const TreeRow& row) { return row.text == name; });
}

TreeViewAdapter::~TreeViewAdapter() {
  flush();
}

void TreeViewAdapter::flush() const {
  if (!cleared_ && pending_.isEmpty()) return;
  const bool cleared = std::exchange(cleared_, false);
  const QList<TreeRow> rows = std::exchange(pending_, {});
  QList<TreeRow>& shown = ShownRows::of(tree_).rows;
  int from = 0;  // rows before `from`, and from the tree's row `to` on, stay
  int to = static_cast<int>(shown.size());
  int rowsTo = static_cast<int>(rows.size());
  if (cleared) {
    // As from an emptied tree: no row current or chosen.
    tree_->setCurrentItem(nullptr);
    tree_->clearSelection();
    const auto same = [&](int node, int row) {
      return shown.at(node).text == rows.at(row).text && shown.at(node).key == rows.at(row).key;
    };
    while (from < to && from < rowsTo && same(from, from)) ++from;
    while (to > from && rowsTo > from && same(to - 1, rowsTo - 1)) --to, --rowsTo;
    if (to - from > kMostRowsTakenOut) {
      tree_->clear();
      from = 0;
      rowsTo = static_cast<int>(rows.size());
      shown.clear();
    } else {
      for (int node = to - 1; node >= from; --node) delete tree_->takeTopLevelItem(node);
      shown.remove(from, to - from);
    }
  } else {
    from = to;  // added after the tree's rows
  }
  QList<QTreeWidgetItem*> items;
  items.reserve(rowsTo - (cleared ? from : 0));
  for (int i = cleared ? from : 0; i < rowsTo; ++i)
    items.append(NewItem(rows.at(i).key, rows.at(i).text));
  if (!items.isEmpty()) tree_->insertTopLevelItems(from, items);
  shown.insert(from, rowsTo - (cleared ? from : 0), TreeRow());
  for (int i = cleared ? from : 0, at = from; i < rowsTo; ++i, ++at) shown[at] = rows.at(i);
}

void TreeViewAdapter::Clear() {
  pending_.clear();
  cleared_ = true;
}

void TreeViewAdapter::Add(const std::u16string& key, const std::u16string& text) {
  pending_.append({FromU16(key), FromU16(text)});
}

int TreeViewAdapter::Count() const {
  flush();
  return tree_->topLevelItemCount();
}

const TreeRow& TreeViewAdapter::row(int i) const {
  flush();
  if (!shown_) shown_ = &ShownRows::of(tree_).rows;
  if (i < 1 || i > shown_->size()) throw std::out_of_range("no tree node " + std::to_string(i));
  return shown_->at(i - 1);
}

std::u16string TreeViewAdapter::Text(int i) const {
  return ToU16(row(i).text);
}

std::u16string TreeViewAdapter::Key(int i) const {
  return ToU16(row(i).key);
}

void TreeViewAdapter::show(QList<TreeRow> rows) {
  cleared_ = true;
  pending_ = std::move(rows);
  flush();
}

void TreeRows::Add(const std::u16string& key, const std::u16string& text) {
  rows.append({FromU16(key), FromU16(text)});
}

std::u16string TreeRows::Text(int i) const {
  return ToU16(rows.value(i - 1).text);
}

std::u16string TreeRows::Key(int i) const {
  return ToU16(rows.value(i - 1).key);
}
