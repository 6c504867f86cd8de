// The manager's tree, as the engine sees it: root items with a text and a key.
#pragma once

#include "template/tmpeng.h"

class QTreeWidget;

// The key (a template's value) is kept with each item; unlike some tree views this one
// takes a key twice, so two templates with the same value are both listed.
class TreeViewAdapter : public templates::TreeView {
 public:
  explicit TreeViewAdapter(QTreeWidget* tree) : tree_(tree) {}
  void Clear() override;
  void Add(const std::u16string& key, const std::u16string& text) override;
  int Count() const override;
  std::u16string Text(int i) const override;
  std::u16string Key(int i) const override;

 private:
  QTreeWidget* tree_;
};
