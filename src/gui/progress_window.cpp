#include "gui/progress_window.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

namespace novastra::gui {

float ProgressPercent(int done, int total) {
  if (total == 0) return done > 0 ? 100.0f : 0.0f;
  float percent = static_cast<float>(done) / static_cast<float>(total) * 100.0f;
  if (percent > 100.0f) percent = 100.0f;
  return percent;
}

ProgressPicture::ProgressPicture(QWidget* parent) : QWidget(parent) {
  setMinimumSize(200, 20);
  image_ = QImage(sizeHint(), QImage::Format_RGB32);
  image_.fill(Qt::white);
}

void ProgressPicture::Clear() {
  image_ = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  image_.fill(Qt::white);
  update();
}

int ProgressPicture::Draw(int done, int total) {
  const float percent = ProgressPercent(done, total);
  const int width =
      static_cast<int>(std::lround(static_cast<float>(image_.width()) / 100.0f * percent));
  if (width > 0) {
    QPainter p(&image_);
    p.fillRect(QRect(0, 0, width, image_.height()), QColor::fromRgb(kLightRed));
  }
  // The run holds the event loop, so paint now.
  if (isVisible()) repaint();
  return width > 0 ? width : 0;
}

void ProgressPicture::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, image_);
}

void ProgressPicture::resizeEvent(QResizeEvent*) {
  if (image_.size() == size()) return;
  QImage bigger(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
  bigger.fill(Qt::white);
  QPainter p(&bigger);
  p.drawImage(0, 0, image_);
  p.end();
  image_ = bigger;
}

ProgressWindow::ProgressWindow(QWidget* parent) : QDialog(parent) {
  setWindowTitle("% Completed");
  setObjectName("StatusDlg");
  setWindowModality(Qt::ApplicationModal);
  picture_ = new ProgressPicture(this);
  picture_->setObjectName("Picture2");
  cancel_ = new QPushButton("Cancel", this);
  cancel_->setObjectName("btnCancel");
  cancel_->setAutoDefault(false);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(picture_);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(cancel_);
  layout->addLayout(row);
  setFixedSize(340, 96);
  connect(cancel_, &QPushButton::clicked, this, &ProgressWindow::reject);
}

void ProgressWindow::Reset() { cancel_->setEnabled(true); }

void ProgressWindow::reject() {
  // The window stays until the run has stopped and closes it.
  cancel_->setEnabled(false);
  emit cancelRequested();
}

}  // namespace novastra::gui
