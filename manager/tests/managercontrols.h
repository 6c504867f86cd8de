// The manager's controls as its tests reach them: by their object names, and clicked as a
// user clicks them.
#pragma once

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "manager/frmManage.h"
#include "testsupport/guitest.h"

namespace managertest {

inline QTreeWidget* list(frmManage* m) {
  return guitest::Child<QTreeWidget>(m, "TemplatesList");
}
inline QLineEdit* nameBox(frmManage* m) {
  return guitest::Child<QLineEdit>(m, "txtName");
}
inline QLineEdit* indexBox(frmManage* m) {
  return guitest::Child<QLineEdit>(m, "txtIndex");
}
inline QPlainTextEdit* valueBox(frmManage* m) {
  return guitest::Child<QPlainTextEdit>(m, "txtValue");
}
inline QPushButton* pushButton(frmManage* m, const QString& name) {
  return guitest::Child<QPushButton>(m, name);
}
inline void clickNode(frmManage* m, int row) {
  QTreeWidget* tree = list(m);
  QTest::mouseClick(tree->viewport(), Qt::LeftButton, {},
                    tree->visualItemRect(tree->topLevelItem(row)).center());
}
inline void click(QPushButton* button) {
  QTest::mouseClick(button, Qt::LeftButton);
}
inline void fill(frmManage* m, const QString& name, const QString& value) {
  nameBox(m)->setText(name);
  valueBox(m)->setPlainText(value);
}
// The names in the list, top to bottom.
inline QStringList listed(frmManage* m) {
  QStringList names;
  for (int i = 0; i < list(m)->topLevelItemCount(); ++i) names << list(m)->topLevelItem(i)->text(0);
  return names;
}
// How many of Add, Modify and Remove are enabled.
inline int editButtons(frmManage* m) {
  return pushButton(m, "cmdAdd")->isEnabled() + pushButton(m, "cmdModify")->isEnabled() +
         pushButton(m, "cmdRemove")->isEnabled();
}

}  // namespace managertest
