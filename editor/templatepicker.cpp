// The template picker over the document: filter line, list of templates, what it says.
#include "editor/templatepicker.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QTimer>
#include <QVBoxLayout>
#include <filesystem>

#include "common/dialogwindow.h"
#include "common/errortext.h"
#include "common/longjob.h"
#include "common/modal.h"
#include "common/plaintext.h"

namespace {

// How much of a name or a first line the list shows; a line of the list holds less anyway,
// and a template of megabytes is never looked at beyond this.
constexpr qsizetype kShownChars = 300;

// The picker's size within the document: a margin all round, and no wider than this.
constexpr int kMargin = 8;
constexpr int kMostWidth = 720;

// Draws a template's name, then the first line of its value in a quieter colour, both on
// one line and cut to fit.
class TemplateItemDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override {
    QStyleOptionViewItem opt(option);
    initStyleOption(&opt, index);
    const QString name = opt.text;
    opt.text.clear();
    const QWidget* widget = opt.widget;
    QStyle* style = widget ? widget->style() : QApplication::style();
    // Background, selection and focus as the style draws them; the texts are ours.
    style->drawControl(QStyle::CE_ItemViewItem, &opt, painter, widget);

    const QRect area = style->subElementRect(QStyle::SE_ItemViewItemText, &opt, widget);
    const bool selected = opt.state.testFlag(QStyle::State_Selected);
    const QPalette::ColorGroup group =
        !opt.state.testFlag(QStyle::State_Enabled) ? QPalette::Disabled
        : opt.state.testFlag(QStyle::State_Active) ? QPalette::Active
                                                   : QPalette::Inactive;
    const QColor strong =
        opt.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    QColor quiet = selected ? strong : opt.palette.color(group, QPalette::PlaceholderText);
    if (selected) quiet.setAlphaF(0.75);

    const QFontMetrics& metrics = opt.fontMetrics;
    const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
    const QString shownName = metrics.elidedText(name, Qt::ElideRight, area.width());
    painter->save();
    painter->setFont(opt.font);
    painter->setPen(strong);
    painter->drawText(area, flags, shownName);
    const int gap = metrics.horizontalAdvance(QLatin1Char(' ')) * 3;
    const QRect rest = area.adjusted(metrics.horizontalAdvance(shownName) + gap, 0, 0, 0);
    if (rest.width() > metrics.averageCharWidth() * 3) {
      const QString preview = index.data(TemplateListModel::kPreviewRole).toString();
      painter->setPen(quiet);
      painter->drawText(rest, flags, metrics.elidedText(preview, Qt::ElideRight, rest.width()));
    }
    painter->restore();
  }
};

}  // namespace

// ---------------------------------------------------------------------------------------
// The model

int TemplateListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(filter_.rows().size());
}

QVariant TemplateListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return QVariant();
  const int row = filter_.rows()[static_cast<std::size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
      return ShownOnOneLine(list_->name(row), kShownChars);
    case kPreviewRole:
      return FirstLine(list_->value(row), kShownChars);
    case kValueRole:
      return list_->value(row).toString();
    case kNameRole:
      return list_->name(row).toString();
    default:
      return QVariant();
  }
}

void TemplateListModel::setList(std::unique_ptr<TemplateList> list, const QString& text) {
  beginResetModel();
  list_ = std::move(list);
  filter_.reset();
  filter_.apply(*list_, text);
  endResetModel();
}

std::unique_ptr<TemplateList> TemplateListModel::setFiltered(std::unique_ptr<TemplateList> list,
                                                             TemplateFilter filter) {
  beginResetModel();
  std::swap(list_, list);
  filter_ = std::move(filter);
  endResetModel();
  return list;
}

bool TemplateListModel::lowerMore(int rows) {
  list_->lowerUpTo(list_->lowered() + rows);
  return list_->lowered() < list_->size();
}

void TemplateListModel::setFilter(const QString& text) {
  beginResetModel();
  filter_.apply(*list_, text);
  endResetModel();
}

// ---------------------------------------------------------------------------------------
// The picker

TemplatePicker::TemplatePicker(QWidget* anchor, templates::tmpeng& engine, QWidget* parent)
    : QFrame(parent), anchor_(anchor), engine_(engine) {
  setObjectName(QStringLiteral("TemplatePicker"));
  loader_ = new LongJob(this);
  createControls();
  hide();
  anchor_->installEventFilter(this);
  // Focus that leaves the picker (a click in the document, another window) closes it.
  connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
    if (isVisible() && now && !isAncestorOf(now)) hide();
  });
}

void TemplatePicker::createControls() {
  setFrameShape(QFrame::StyledPanel);
  setFrameShadow(QFrame::Raised);
  setAutoFillBackground(true);

  txtFilter = new QLineEdit(this);
  txtFilter->setObjectName(QStringLiteral("txtFilter"));
  txtFilter->setPlaceholderText(tr("Type to find a template"));
  txtFilter->setAccessibleName(tr("Find a template"));
  txtFilter->setClearButtonEnabled(false);
  txtFilter->installEventFilter(this);

  lblStatus = NewPlainLabel(this);
  lblStatus->setObjectName(QStringLiteral("lblStatus"));
  lblStatus->setWordWrap(true);
  lblStatus->hide();

  model_ = new TemplateListModel(this);
  lstTemplates = new QListView(this);
  lstTemplates->setObjectName(QStringLiteral("lstTemplates"));
  lstTemplates->setModel(model_);
  lstTemplates->setAccessibleName(tr("Templates"));
  // Every line has the same height, so a list of 100,000 never measures its rows.
  lstTemplates->setUniformItemSizes(true);
  lstTemplates->setItemDelegate(new TemplateItemDelegate(lstTemplates));
  lstTemplates->setSelectionMode(QAbstractItemView::SingleSelection);
  lstTemplates->setEditTriggers(QAbstractItemView::NoEditTriggers);
  lstTemplates->setTextElideMode(Qt::ElideRight);
  lstTemplates->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  // The typing stays in the filter line; a click only chooses the row.
  lstTemplates->setFocusPolicy(Qt::NoFocus);
  connect(lstTemplates, &QListView::activated, this, &TemplatePicker::choose);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(6, 6, 6, 6);
  layout->setSpacing(4);
  layout->addWidget(txtFilter);
  layout->addWidget(lblStatus);
  layout->addWidget(lstTemplates, 1);

  connect(txtFilter, &QLineEdit::textChanged, this, &TemplatePicker::refilter);

  // A part at a time between events, so that the list shows and takes keys at once; the
  // first keystroke lower-cases whatever is left.
  lowering_ = new QTimer(this);
  lowering_->setInterval(0);
  connect(lowering_, &QTimer::timeout, this, [this] {
    if (!model_->lowerMore(2000)) lowering_->stop();
  });
}

void TemplatePicker::open() {
  {
    const QSignalBlocker quiet(txtFilter);
    txtFilter->clear();
  }
  if (!loaded_ || storeChangedSinceLoad())
    reload();
  else
    refilter();
  followAnchor();
  show();
  raise();
  txtFilter->setFocus(Qt::ShortcutFocusReason);
}

void TemplatePicker::dismiss() {
  const bool hadFocus = isAncestorOf(QApplication::focusWidget());
  hide();
  if (hadFocus) anchor_->setFocus(Qt::OtherFocusReason);
}

void TemplatePicker::reload() {
  loader_->cancel();  // a background load under way is overtaken
  const QString path = QFile::decodeName(QByteArray::fromStdString(engine_.StorePath().native()));
  // The stamp is taken before reading: a change made while the store is read is seen at the
  // next opening.
  const StoreStamp stamp = StoreStamp::of(path);
  auto list = std::make_unique<TemplateList>();
  loadError_.clear();
  try {
    engine_.Template_LoadA(*list);
    loaded_ = true;
    loadedFrom_ = stamp;
  } catch (const std::exception&) {
    loadError_ = ErrorText(std::current_exception(),
                           tr("The templates could not be read from %1: ").arg(path));
  }
  if (!loadError_.isEmpty()) {
    // Nothing half read is offered; the next opening tries again.
    loaded_ = false;
    list = std::make_unique<TemplateList>();
  }
  model_->setList(std::move(list), txtFilter->text());
  lstTemplates->setCurrentIndex(model_->index(0));
  showStatus();
  lowering_->start();
}

void TemplatePicker::reloadIfOpen() {
  if (isVisible() && (!loaded_ || storeChangedSinceLoad())) reloadInBackground();
}

namespace {

// What a background load gives the picker.
struct Loaded {
  std::unique_ptr<TemplateList> list = std::make_unique<TemplateList>();
  TemplateFilter filter;
  QString filterText;
  QString error;
  StoreStamp stamp;
};

}  // namespace

void TemplatePicker::reloadInBackground() {
  const std::filesystem::path store = engine_.StorePath();
  const QString text = txtFilter->text();
  loader_->start<Loaded>(
      tr("Reading the templates"),
      [store, text](JobProgress&) {
        // An engine of the thread's own over the same store: the window's is not shared.
        Loaded loaded;
        const QString path = QFile::decodeName(QByteArray::fromStdString(store.native()));
        loaded.stamp = StoreStamp::of(path);
        loaded.filterText = text;
        try {
          templates::tmpeng(store.parent_path()).Template_LoadA(*loaded.list);
          loaded.list->lowerUpTo(loaded.list->size());
          loaded.filter.apply(*loaded.list, text);
        } catch (const std::exception&) {
          loaded.error = ErrorText(std::current_exception(),
                                   tr("The templates could not be read from %1: ").arg(path));
        }
        return loaded;
      },
      [this](Loaded& loaded) {
        loadError_ = loaded.error;
        if (!loaded.error.isEmpty()) {
          // Nothing half read is offered; the next opening tries again.
          loaded_ = false;
          model_->setList(std::make_unique<TemplateList>(), QString());
        } else {
          loaded_ = true;
          loadedFrom_ = loaded.stamp;
          if (txtFilter->text() == loaded.filterText) {
            // The old list, as large as the new one, is freed on the loader's thread.
            loader_->dispose(model_->setFiltered(std::move(loaded.list), std::move(loaded.filter)));
          } else
            model_->setList(std::move(loaded.list), txtFilter->text());
        }
        lstTemplates->setCurrentIndex(model_->index(0));
        showStatus();
      });
}

bool TemplatePicker::reloading() const {
  return loader_->busy();
}

bool TemplatePicker::storeChangedSinceLoad() const {
  const QString path = QFile::decodeName(QByteArray::fromStdString(engine_.StorePath().native()));
  const StoreStamp now = StoreStamp::of(path);
  return !now.exists || now != loadedFrom_;
}

void TemplatePicker::refilter() {
  model_->setFilter(txtFilter->text());
  lstTemplates->setCurrentIndex(model_->index(0));
  lstTemplates->scrollToTop();
  showStatus();
}

QString TemplatePicker::statusText() const {
  if (!loadError_.isEmpty()) return loadError_;
  if (model_->list().size() == 0) return tr("There are no templates yet.");
  if (model_->rowCount() == 0) return tr("No template matches.");
  return QString();
}

void TemplatePicker::showStatus() {
  const QString text = statusText();
  lblStatus->setText(text);
  lblStatus->setVisible(!text.isEmpty());
}

void TemplatePicker::stepBy(int rows) {
  const int count = model_->rowCount();
  if (count == 0) return;
  const int row = std::clamp(lstTemplates->currentIndex().row() + rows, 0, count - 1);
  lstTemplates->setCurrentIndex(model_->index(row));
}

void TemplatePicker::choose() {
  const QModelIndex current = lstTemplates->currentIndex();
  if (!current.isValid()) return;
  const QString value = current.data(TemplateListModel::kValueRole).toString();
  const QString name = current.data(TemplateListModel::kNameRole).toString();
  dismiss();
  Q_EMIT chosen(name, value);
}

void TemplatePicker::followAnchor() {
  // Over the top of the anchor, as wide as it is up to a comfortable reading width.
  const QRect area = QRect(anchor_->mapTo(parentWidget(), QPoint(0, 0)), anchor_->size())
                         .adjusted(kMargin, kMargin, -kMargin, -kMargin);
  const int width = std::min(area.width(), kMostWidth);
  setGeometry(area.left() + (area.width() - width) / 2, area.top(), std::max(width, 0),
              std::max(area.height(), 0));
}

bool TemplatePicker::eventFilter(QObject* watched, QEvent* event) {
  if (watched == anchor_) {
    if (isVisible() && (event->type() == QEvent::Resize || event->type() == QEvent::Move))
      followAnchor();
    return false;
  }
  // Escape closes the picker, which holds the keyboard over the document, before the window
  // takes the key for itself (to stop work under way, such as a file still opening).
  if (watched == txtFilter && ClaimsEscape(event)) return true;
  if (watched == txtFilter && event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    const int page = std::max(
        1, lstTemplates->viewport()->height() / std::max(1, lstTemplates->sizeHintForRow(0)) - 1);
    switch (key->key()) {
      case Qt::Key_Escape:
        dismiss();
        return true;
      case Qt::Key_Return:
      case Qt::Key_Enter:
        choose();
        return true;
      case Qt::Key_Up:
        stepBy(-1);
        return true;
      case Qt::Key_Down:
        stepBy(1);
        return true;
      case Qt::Key_PageUp:
        stepBy(-page);
        return true;
      case Qt::Key_PageDown:
        stepBy(page);
        return true;
      default:
        break;
    }
  }
  return QFrame::eventFilter(watched, event);
}
