#include "gui/about_window.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include "gui/twips.h"
#include "novastra_version.h"

namespace novastra::gui {

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent) {
  setObjectName("About");
  setWindowTitle("About NOVASTRA");
  setAttribute(Qt::WA_DeleteOnClose);
  setFixedSize(TwipsToPixels(4800, LogicalDpiX(this)), TwipsToPixels(2400, LogicalDpiY(this)));
  auto* version = new QLabel(QString("Version  ") + kVersion, this);
  version->setObjectName("lblVersion");
  version->setAttribute(Qt::WA_TransparentForMouseEvents);
  version->adjustSize();
  version->move((width() - version->width()) / 2, TwipsToPixels(1500, LogicalDpiY(this)));
}

void AboutWindow::paintEvent(QPaintEvent*) {
  QPainter p(this);
  QFont f = font();
  f.setPointSize(24);
  p.setFont(f);
  const double sx = LogicalDpiX(this) / 1440.0, sy = LogicalDpiY(this) / 1440.0;
  const QString name = "NOVASTRA";
  // Fifty black prints, each one twip right and down, make the shadow.
  p.setPen(Qt::black);
  for (int i = 0; i < 50; ++i)
    p.drawText(QRectF((540 + i) * sx, (75 + i) * sy, width(), height()),
               Qt::AlignLeft | Qt::AlignTop, name);
  p.setPen(QColor(255, 255, 0));
  p.drawText(QRectF((540 + 50) * sx, (75 + 50) * sy, width(), height()),
             Qt::AlignLeft | Qt::AlignTop, name);
}

void AboutWindow::mousePressEvent(QMouseEvent*) { close(); }

}  // namespace novastra::gui
