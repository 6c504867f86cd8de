// The manager's tree as the engine's tree view.
#include "treeview.h"

#include <QTreeWidget>
#include <stdexcept>

#include "common/textconv.h"

namespace {

QTreeWidgetItem* Node(QTreeWidget* tree, int i) {
  QTreeWidgetItem* item = tree->topLevelItem(i - 1);
  if (!item) throw std::out_of_range("no tree node " + std::to_string(i));
  return item;
}

}  // namespace

void TreeViewAdapter::Clear() {
  tree_->clear();
}

void TreeViewAdapter::Add(const std::u16string& key, const std::u16string& text) {
  auto* item = new QTreeWidgetItem(tree_);
  item->setText(0, FromU16(text));
  item->setData(0, Qt::UserRole, FromU16(key));
  item->setToolTip(0, FromU16(text));
}

int TreeViewAdapter::Count() const {
  return tree_->topLevelItemCount();
}

std::u16string TreeViewAdapter::Text(int i) const {
  return ToU16(Node(tree_, i)->text(0));
}

std::u16string TreeViewAdapter::Key(int i) const {
  return ToU16(Node(tree_, i)->data(0, Qt::UserRole).toString());
}
