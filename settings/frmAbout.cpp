// The About box.
#include "settings/frmAbout.h"

#include <QImage>
#include <QImageReader>
#include <QKeyEvent>
#include <QLabel>
#include <QPainter>

#include "common/dialogwindow.h"
#include "common/errortext.h"
#include "common/plaintext.h"
#include "common/programfolder.h"
#include "common/textconv.h"
#include "common/version.h"
#include "common/versionlines.h"

namespace {

// The box's artwork, drawn from a vector image at the size and scale it is shown at, so that
// it stays crisp at any scale. The image is read through Qt's image plugins, which load when
// the box first paints rather than with the program.
class Artwork : public QWidget {
 public:
  using QWidget::QWidget;

 protected:
  void paintEvent(QPaintEvent*) override {
    const qreal scale = devicePixelRatioF();
    const QSize pixels = (QSizeF(size()) * scale).toSize();
    if (drawnAt_ != pixels) {
      drawnAt_ = pixels;
      QImageReader reader(QStringLiteral(":/icons/about.svg"));
      reader.setScaledSize(pixels);
      drawn_ = reader.read();
      drawn_.setDevicePixelRatio(scale);
    }
    QPainter painter(this);
    // Without the image plugin for the picture, its light ground at least, which the
    // lettering's dark ink is meant for.
    if (drawn_.isNull()) painter.fillRect(rect(), QColor(0xf4, 0xf6, 0xfa));
    painter.drawImage(QPointF(0, 0), drawn_);
  }

 private:
  QImage drawn_;
  QSize drawnAt_;
};

// The artwork's background is light whatever the desktop's theme: text on it is drawn in the
// artwork's own dark ink, never in the theme's text colour (light in a dark theme).
const QColor kInkOnArtwork(0x1b, 0x2a, 0x3f);

QLabel* NewLabel(QWidget* parent, const QString& name, const QString& caption, const QFont& font,
                 Qt::Alignment alignment) {
  QLabel* label = NewPlainLabel(parent, caption);
  label->setObjectName(name);
  label->setFont(font);
  label->setAlignment(alignment | Qt::AlignVCenter);
  QPalette ink = label->palette();
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
    ink.setColor(group, QPalette::WindowText, kInkOnArtwork);
  label->setPalette(ink);
  return label;
}

// The artwork's lettering, as large as the user's font asks for.
QFont Font(const QString& family, bool italic, double scale) {
  QFont font(family);
  font.setPointSizeF(8.25 * scale);
  font.setItalic(italic);
  return font;
}

}  // namespace

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
  setAttribute(Qt::WA_DeleteOnClose);
  setObjectName(QStringLiteral("frmAbout"));
  setWindowTitle(tr("About"));
  SetToolWindowFlags(this);

  Picture1 = new Artwork(NewDesignSurface(this));
  Picture1->setObjectName(QStringLiteral("Picture1"));
  PlaceInTwips(Picture1, 0, 0, 3855, 3255);
  const double scale = FontScale(this);
  QFont courier = Font(QStringLiteral("Courier New"), false, scale);
  courier.setStyleHint(QFont::TypeWriter);
  lblVer =
      NewLabel(Picture1, QStringLiteral("lblVer"), QStringLiteral("v"), courier, Qt::AlignLeft);
  PlaceInTwips(lblVer, 2400, 720, 975, 255);
  lblTempEngine =
      NewLabel(Picture1, QStringLiteral("lblTempEngine"), tr("Using Quorvin Template Engine"),
               Font(QStringLiteral("Verdana"), true, scale), Qt::AlignHCenter);
  PlaceInTwips(lblTempEngine, 120, 1320, 3615, 255);
  lblStore = NewLabel(Picture1, QStringLiteral("lblStore"), QString(),
                      Font(QStringLiteral("Verdana"), false, scale * 0.9), Qt::AlignHCenter);
  PlaceInTwips(lblStore, 120, 1680, 3615, 255);
  SetDesignedSize(this, 3855, 3255);
}

void frmAbout::Form_Load() {
  Temp = NewEngine();
  lblVer->setText(
      ProgramVersionLine(QUORPAD_VERSION_MAJOR, QUORPAD_VERSION_MINOR, QUORPAD_VERSION_PATCH));
  QString engine;
  try {
    engine = FromU16(Temp->Version());
  } catch (const std::exception&) {
    engine = tr("(version unknown: %1)").arg(ReadFailure(std::current_exception()).message);
  }
  lblTempEngine->setText(EngineVersionLine(engine));
  // Laid out again for the lines as they now read, longer than the design's in some
  // languages and fonts: the box grows as a whole where one would be cut.
  SetDesignedSize(this, 3855, 3255);
  // The store's path, shortened in its middle where it is longer than the line; the tip
  // holds it whole.
  const QString store = StoreLine(ChosenStorePlace());
  lblStore->setText(lblStore->fontMetrics().elidedText(store, Qt::ElideMiddle, lblStore->width()));
  lblStore->setToolTip(PlainToolTip(store));
  lblStore->setAccessibleName(store);
}

void frmAbout::showEvent(QShowEvent* event) {
  CentreOnceAndKeepOffTaskbar(this, centred_);
  QDialog::showEvent(event);
}

void frmAbout::keyPressEvent(QKeyEvent* event) {
  if (IgnoresDialogKeys(event)) return;
  QDialog::keyPressEvent(event);
}
