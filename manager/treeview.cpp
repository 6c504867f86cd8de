// The manager's tree as the engine's tree view.
#include "treeview.h"

#include <QTreeWidget>
#include <stdexcept>
#include <utility>

#include "common/plaintext.h"
#include "common/textconv.h"

namespace {

QTreeWidgetItem* Node(QTreeWidget* tree, int i) {
  // (The adapter's items are in the tree before it is read.)
  QTreeWidgetItem* item = tree->topLevelItem(i - 1);
  if (!item) throw std::out_of_range("no tree node " + std::to_string(i));
  return item;
}

}  // namespace

namespace {

// Above this many rows to take out, the tree is emptied and filled again: cheaper than
// taking each out. Rows put in go in together however many they are (an import's).
constexpr int kMostRowsTakenOut = 1000;

QTreeWidgetItem* NewItem(const QString& key, const QString& text) {
  auto* item = new QTreeWidgetItem;
  item->setText(0, text);
  item->setData(0, Qt::UserRole, key);
  item->setToolTip(0, PlainToolTip(text));
  return item;
}

}  // namespace

TreeViewAdapter::~TreeViewAdapter() {
  flush();
}

void TreeViewAdapter::flush() const {
  if (!cleared_ && pending_.isEmpty()) return;
  const bool cleared = std::exchange(cleared_, false);
  const QList<TreeRow> rows = std::exchange(pending_, {});
  int from = 0;  // rows before `from`, and from the tree's row `to` on, stay
  int to = tree_->topLevelItemCount();
  int rowsTo = static_cast<int>(rows.size());
  if (cleared) {
    // As from an emptied tree: no row current or chosen.
    tree_->setCurrentItem(nullptr);
    tree_->clearSelection();
    const auto same = [&](int node, int row) {
      const QTreeWidgetItem* item = tree_->topLevelItem(node);
      return item->text(0) == rows.at(row).text &&
             item->data(0, Qt::UserRole).toString() == rows.at(row).key;
    };
    while (from < to && from < rowsTo && same(from, from)) ++from;
    while (to > from && rowsTo > from && same(to - 1, rowsTo - 1)) --to, --rowsTo;
    if (to - from > kMostRowsTakenOut) {
      tree_->clear();
      from = 0;
      rowsTo = static_cast<int>(rows.size());
    } else {
      for (int node = to - 1; node >= from; --node) delete tree_->takeTopLevelItem(node);
    }
  } else {
    from = to;  // added after the tree's rows
  }
  QList<QTreeWidgetItem*> items;
  items.reserve(rowsTo - (cleared ? from : 0));
  for (int i = cleared ? from : 0; i < rowsTo; ++i)
    items.append(NewItem(rows.at(i).key, rows.at(i).text));
  if (!items.isEmpty()) tree_->insertTopLevelItems(from, items);
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

std::u16string TreeViewAdapter::Text(int i) const {
  flush();
  return ToU16(Node(tree_, i)->text(0));
}

std::u16string TreeViewAdapter::Key(int i) const {
  flush();
  return ToU16(Node(tree_, i)->data(0, Qt::UserRole).toString());
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
