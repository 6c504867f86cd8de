// Helpers shared by quorpad's dialogs.
#include "common/dialogwindow.h"

#include <algorithm>

#include <QAbstractButton>
#include <QDialog>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QVBoxLayout>
#include <cmath>

#include "common/taskbar.h"
#include "common/twips.h"

namespace {

const QString kScroller = QStringLiteral("design_scroller");

// The height of a line of text in the font the dialogs were designed for, in twips (14
// pixels at 96 dots per inch).
constexpr int kDesignLineTwips = 210;

int Scaled(int pixels, double scale) {
  return static_cast<int>(std::lround(pixels * scale));
}

}  // namespace

double FontScale(const QWidget* widget) {
  const QWidget* window = widget->window();
  return std::max(1.0, static_cast<double>(window->fontMetrics().height()) /
                           ToPixelsY(window, kDesignLineTwips));
}

namespace {

const char* const kDesign = "quorpad_design_twips";

// Places `w` by its designed twips at `scale`. Its edges are rounded, not its size, so that
// controls that meet in the design meet on the screen and never overlap by a pixel.
void PlaceAt(QWidget* w, const QRect& twips, double scale) {
  const int left = Scaled(ToPixelsX(w, twips.left()), scale);
  const int top = Scaled(ToPixelsY(w, twips.top()), scale);
  int wide = Scaled(ToPixelsX(w, twips.left() + twips.width()), scale) - left;
  int high = Scaled(ToPixelsY(w, twips.top() + twips.height()), scale) - top;
  // A label's text is never cut short where the desktop's font is wider than the design's,
  // nor a button's caption.
  if (qobject_cast<QLabel*>(w)) {
    wide = std::max(wide, w->sizeHint().width());
    high = std::max(high, w->fontMetrics().height());
  } else if (auto* button = qobject_cast<QPushButton*>(w)) {
    wide = std::max(wide, button->fontMetrics().horizontalAdvance(button->text()) + 8);
    high = std::max(high, button->fontMetrics().height() + 4);
  }
  w->setGeometry(left, top, wide, high);
}

// The width a button's caption needs: what PlaceAt gives a push button, a check box's own.
int CaptionWidth(const QAbstractButton* button) {
  return qobject_cast<const QPushButton*>(button)
             ? button->fontMetrics().horizontalAdvance(button->text()) + 8
             : button->sizeHint().width();
}

// The least scale, from `scale` on, at which a word-wrapped label's text fits its designed
// box (`room` twips wide, its own height).
double WrappedScale(QLabel* label, int room, int high, double scale) {
  for (; scale < 4; scale += 0.05)
    if (label->heightForWidth(Scaled(ToPixelsX(label, room), scale)) <=
        Scaled(ToPixelsY(label, high), scale))
      break;
  return scale;
}

QRect DesignOf(const QWidget* w) {
  return w->property(kDesign).toRect();
}

// The scale at which every label's text ends before the next control on its line (or its
// frame's edge), and every button's and check box's caption fits its own box: a design drawn
// for a narrower font, or for shorter words than another language's, grows as a whole rather
// than letting a text run under its neighbour or be cut.
double DesignScale(QDialog* dialog) {
  double scale = FontScale(dialog);
  for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>()) {
    const QRect r = DesignOf(button);
    if (r.isValid() && !button->text().isEmpty())
      scale =
          std::max(scale, static_cast<double>(CaptionWidth(button)) / ToPixelsX(button, r.width()));
  }
  for (QLabel* label : dialog->findChildren<QLabel*>()) {
    const QRect r = DesignOf(label);
    if (!r.isValid()) continue;
    QWidget* parent = label->parentWidget();
    int room = DesignOf(parent).isValid() ? DesignOf(parent).width() - r.left() : 0;
    for (QWidget* other : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      const QRect o = DesignOf(other);
      if (other == label || !o.isValid() || o.left() <= r.left() || o.top() > r.bottom() ||
          o.bottom() < r.top())
        continue;
      room = room > 0 ? std::min(room, o.left() - r.left()) : o.left() - r.left();
    }
    if (room > 0 && label->wordWrap())
      scale = WrappedScale(label, room, r.height(), scale);
    else if (room > 0)
      scale =
          std::max(scale, static_cast<double>(label->sizeHint().width()) / ToPixelsX(label, room));
  }
  return scale;
}

}  // namespace

void PlaceInTwips(QWidget* w, int left, int top, int width, int height) {
  const QRect twips(left, top, width, height);
  w->setProperty(kDesign, twips);
  PlaceAt(w, twips, FontScale(w));
}

QWidget* NewDesignSurface(QDialog* dialog) {
  auto* layout = new QVBoxLayout(dialog);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* scroller = new QScrollArea(dialog);
  scroller->setObjectName(kScroller);
  scroller->setFrameShape(QFrame::NoFrame);
  scroller->setFocusPolicy(Qt::NoFocus);
  scroller->setWidgetResizable(false);
  auto* surface = new QWidget;
  surface->setObjectName(QStringLiteral("design_surface"));
  scroller->setWidget(surface);
  layout->addWidget(scroller);
  return surface;
}

void SetDesignedSize(QDialog* dialog, int width, int height) {
  auto* scroller = dialog->findChild<QScrollArea*>(kScroller);
  const double scale = DesignScale(dialog);
  for (QWidget* w : dialog->findChildren<QWidget*>())
    if (DesignOf(w).isValid()) PlaceAt(w, DesignOf(w), scale);
  const QSize designed(Scaled(ToPixelsX(dialog, width), scale),
                       Scaled(ToPixelsY(dialog, height), scale));
  scroller->widget()->setFixedSize(designed);
  QSize room = designed;
  if (const QScreen* screen = dialog->screen()) {
    // What the screen leaves beside its panels, less a title bar.
    const QRect free = screen->availableGeometry();
    room = designed.boundedTo(QSize(free.width(), free.height() - 40));
  }
  if (room == designed) {
    dialog->setFixedSize(designed);
    return;
  }
  // Too large for the screen: as large as it allows, scrolling to the rest.
  dialog->setMinimumSize(0, 0);
  dialog->setMaximumSize(designed);
  dialog->resize(room);
}

void SetToolWindowFlags(QDialog* dialog) {
  dialog->setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint);
}

namespace {

// Return or Enter on a button that has the keyboard presses it, as Space does; anywhere
// else in the dialog they press no button.
class PressedByReturn : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if ((key->key() != Qt::Key_Return && key->key() != Qt::Key_Enter) ||
        (key->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
      return false;
    auto* button = qobject_cast<QPushButton*>(watched);
    if (!button || !button->isEnabled()) return false;
    button->click();
    return true;
  }
};

}  // namespace

QPushButton* NewButton(QWidget* parent, const QString& name, const QString& caption,
                       const QString& tip, bool enabled) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(name);
  b->setToolTip(tip);
  b->setEnabled(enabled);
  b->setAutoDefault(false);
  b->setDefault(false);
  b->installEventFilter(new PressedByReturn(b));
  return b;
}

bool IgnoresDialogKeys(QKeyEvent* event) {
  if (event->key() != Qt::Key_Escape) return false;
  event->accept();
  return true;
}

bool ClaimsEscape(QEvent* event) {
  if (event->type() != QEvent::ShortcutOverride ||
      static_cast<QKeyEvent*>(event)->key() != Qt::Key_Escape)
    return false;
  event->accept();
  return true;
}

void CentreOnce(QWidget* window, bool& centred) {
  if (centred) return;
  centred = true;
  if (QScreen* screen = window->screen()) {
    QRect r = window->frameGeometry();
    r.moveCenter(screen->availableGeometry().center());
    window->move(r.topLeft());
  }
}

void CentreOnceAndKeepOffTaskbar(QDialog* dialog, bool& centred) {
  CentreOnce(dialog, centred);
  SetTaskbarEntry(dialog, false);
}

void BringForward(QDialog& dialog) {
  dialog.show();
  dialog.raise();
  dialog.activateWindow();
}
