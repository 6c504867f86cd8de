// The manager's tree as the engine's tree view.
#include "treeview.h"

#include <QTreeWidget>
#include <stdexcept>

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

TreeViewAdapter::~TreeViewAdapter() {
  flush();
}

void TreeViewAdapter::flush() const {
  if (pending_.isEmpty()) return;
  tree_->addTopLevelItems(pending_);
  pending_.clear();
}

void TreeViewAdapter::Clear() {
  qDeleteAll(pending_);
  pending_.clear();
  tree_->clear();
}

void TreeViewAdapter::Add(const std::u16string& key, const std::u16string& text) {
  auto* item = new QTreeWidgetItem;
  const QString shown = FromU16(text);
  item->setText(0, shown);
  item->setData(0, Qt::UserRole, FromU16(key));
  item->setToolTip(0, PlainToolTip(shown));
  pending_.append(item);
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
