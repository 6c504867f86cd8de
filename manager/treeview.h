// The manager's tree, as the engine sees it: root items with a text and a key.
#pragma once

#include <QList>
#include <QString>

#include "template/tmpeng.h"

class QTreeWidget;
class QTreeWidgetItem;

// One row as the engine gives it: its key and its text.
struct TreeRow {
  QString key, text;
};

// The store's rows, read on any thread for a tree to show later (TreeViewAdapter::show).
class TreeRows : public templates::TreeView {
 public:
  void Clear() override { rows.clear(); }
  void Add(const std::u16string& key, const std::u16string& text) override;
  int Count() const override { return int(rows.size()); }
  std::u16string Text(int i) const override;
  std::u16string Key(int i) const override;

  QList<TreeRow> rows;
};

// The key (a template's value) is kept with each item; unlike some tree views this one
// takes a key twice, so two templates with the same value are both listed.
//
// Items added are put into the tree together when the adapter goes (or the tree is read),
// since a tree told of 100,000 items one at a time spends most of its time on the telling.
// A list read again after Clear() changes only the rows that changed (the common start and
// end stay as they are), as after one template was added, changed, removed, renamed or
// moved; the rows come back unchosen and none current, as from an emptied tree.
// Whether `tree`, filled by TreeViewAdapter, lists a template called `name`.
bool ListsTemplate(QTreeWidget* tree, const QString& name);

class TreeViewAdapter : public templates::TreeView {
 public:
  explicit TreeViewAdapter(QTreeWidget* tree) : tree_(tree) {}
  ~TreeViewAdapter() override;
  TreeViewAdapter(const TreeViewAdapter&) = delete;
  TreeViewAdapter& operator=(const TreeViewAdapter&) = delete;
  void Clear() override;
  void Add(const std::u16string& key, const std::u16string& text) override;
  int Count() const override;
  std::u16string Text(int i) const override;
  std::u16string Key(int i) const override;
  // The tree shows `rows` as a list read again after Clear() would.
  void show(QList<TreeRow> rows);

 private:
  // Puts the items added so far into the tree.
  void flush() const;
  // The tree's row `i` (from 1) as it shows it, once the items added are in.
  const TreeRow& row(int i) const;
  QTreeWidget* tree_;
  // The rows shown, looked up once for all of a pass over the tree (the engine asks for
  // every row's name and text in turn).
  mutable const QList<TreeRow>* shown_ = nullptr;
  mutable bool cleared_ = false;  // the rows to come replace the tree's
  mutable QList<TreeRow> pending_;
};
