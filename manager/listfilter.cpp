// The manager's list narrowed by a filter line.
#include "listfilter.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>
#include <QTreeWidget>
#include <vector>

#include "common/textconv.h"

ListFilter::ListFilter(QTreeWidget* list, QLineEdit* line)
    : QObject(list), list_(list), line_(line), again_(new QTimer(this)) {
  line_->hide();
  line_->installEventFilter(this);
  list_->installEventFilter(this);
  again_->setSingleShot(true);
  again_->setInterval(0);
  connect(again_, &QTimer::timeout, this, &ListFilter::apply);
  connect(line_, &QLineEdit::textChanged, this, &ListFilter::apply);
  // Rows added, removed, renamed or moved are matched afresh, once per change.
  QAbstractItemModel* model = list_->model();
  connect(model, &QAbstractItemModel::rowsInserted, this, &ListFilter::listChanged);
  connect(model, &QAbstractItemModel::rowsRemoved, this, &ListFilter::listChanged);
  connect(model, &QAbstractItemModel::rowsMoved, this, &ListFilter::listChanged);
  connect(model, &QAbstractItemModel::dataChanged, this, &ListFilter::listChanged);
  connect(model, &QAbstractItemModel::modelReset, this, &ListFilter::listChanged);
  connect(model, &QAbstractItemModel::layoutChanged, this, &ListFilter::listChanged);
}

ListFilter::~ListFilter() = default;

void ListFilter::open() {
  if (!line_->isVisible()) {
    listPlace_ = list_->geometry();
    const int height = line_->sizeHint().height();
    line_->setGeometry(listPlace_.x(), listPlace_.y(), listPlace_.width(), height);
    list_->setGeometry(listPlace_.adjusted(0, height, 0, 0));
    line_->show();
    line_->raise();
  }
  line_->setFocus(Qt::ShortcutFocusReason);
  line_->selectAll();
}

void ListFilter::close() {
  if (!line_->isVisible()) return;
  line_->clear();
  line_->hide();
  list_->setGeometry(listPlace_);
  list_->setFocus(Qt::ShortcutFocusReason);
  if (QTreeWidgetItem* current = list_->currentItem()) list_->scrollToItem(current);
}

void ListFilter::listChanged() {
  rows_.reset();
  if (narrowing_ || !line_->text().isEmpty()) again_->start();
}

void ListFilter::apply() {
  const QString text = line_->text();
  const int count = list_->topLevelItemCount();
  std::vector<char> shown(static_cast<std::size_t>(count), text.isEmpty());
  if (!text.isEmpty()) {
    if (!rows_) {
      rows_ = std::make_unique<TemplateList>();
      for (int i = 0; i < count; ++i) {
        const QTreeWidgetItem* item = list_->topLevelItem(i);
        rows_->Add(ToU16(item->data(0, Qt::UserRole).toString()), ToU16(item->text(0)));
      }
      filter_.reset();
    }
    for (int row : filter_.apply(*rows_, text)) shown[static_cast<std::size_t>(row)] = 1;
  }
  // By row, not by item: an item finds its own row by searching the list once rows have
  // moved, which over 100,000 rows would take seconds.
  const QModelIndex top;
  for (int i = 0; i < count; ++i) {
    const bool show = shown[static_cast<std::size_t>(i)];
    if (list_->isRowHidden(i, top) == show) list_->setRowHidden(i, top, !show);
  }
  const bool narrowing = !text.isEmpty();
  if (narrowing != narrowing_) {
    narrowing_ = narrowing;
    Q_EMIT narrowingChanged(narrowing);
  }
}

bool ListFilter::eventFilter(QObject* watched, QEvent* event) {
  // Escape clears the filter from the list it narrows too, where Down or Enter led.
  if (watched == list_ && event->type() == QEvent::KeyPress && line_->isVisible()) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
      close();
      return true;
    }
  }
  if (watched == line_ && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier) {
      close();
      return true;
    }
    // Down, or Enter, goes on to the first template the filter lets through.
    if ((key->key() == Qt::Key_Down || key->key() == Qt::Key_Return ||
         key->key() == Qt::Key_Enter) &&
        key->modifiers() == Qt::NoModifier) {
      for (int i = 0; i < list_->topLevelItemCount(); ++i) {
        if (list_->isRowHidden(i, QModelIndex())) continue;
        list_->setFocus(Qt::ShortcutFocusReason);
        list_->setCurrentItem(list_->topLevelItem(i));
        return true;
      }
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}
