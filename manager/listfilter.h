// A filter line over the manager's list: the list narrows, as the person types, to the
// templates that match by the picker's rules, in store order.
#pragma once

#include <QObject>
#include <QRect>
#include <memory>

#include "common/templatelist.h"

class QLineEdit;
class QTimer;
class QTreeWidget;

class ListFilter : public QObject {
  Q_OBJECT

 public:
  // `list` is the manager's list, its rows a template each (the name as text, the value
  // under Qt::UserRole); `line` the filter line, hidden until open().
  ListFilter(QTreeWidget* list, QLineEdit* line);
  ~ListFilter() override;

  // Shows the line over the top of the list, which gives it the room, with the keyboard.
  void open();
  // Empties and hides the line; the list shows every row and has its room back, and the
  // keyboard goes to it.
  void close();
  // Whether rows are hidden by the filter.
  bool narrowing() const { return narrowing_; }

 Q_SIGNALS:
  // The filter began or stopped hiding rows.
  void narrowingChanged(bool narrowing);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void apply();
  void listChanged();

  QTreeWidget* list_;
  QLineEdit* line_;
  QTimer* again_;  // applies the filter once the list's rows have changed
  std::unique_ptr<TemplateList> rows_;
  TemplateFilter filter_;
  QRect listPlace_;  // the list's place while the line is closed
  bool narrowing_ = false;
};
