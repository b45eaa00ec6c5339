#pragma once
// The progress window "% Completed": a picture box on which each step of a run
// draws a filled light red bar from the left edge. The picture is cleared only
// when the window is opened, so the bar never shrinks.
#include <QDialog>
#include <QImage>

class QPushButton;

namespace novastra::gui {

// Colour 12 (light red) of the classic 16-colour palette.
inline constexpr unsigned kLightRed = 0xFF0000;

class ProgressPicture : public QWidget {
  Q_OBJECT
 public:
  explicit ProgressPicture(QWidget* parent = nullptr);
  void Clear();
  // Draws the bar for done of total steps; returns the bar's width in pixels.
  int Draw(int done, int total);
  const QImage& image() const { return image_; }
  QSize sizeHint() const override { return {300, 24}; }

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;

 private:
  QImage image_;
};

// Percent of a step, single precision, capped at 100.
float ProgressPercent(int done, int total);

// Modal while a run goes: the bar and a Cancel button; Escape or the close
// box ask to stop the run as Cancel does (the run closes the window).
class ProgressWindow : public QDialog {
  Q_OBJECT
 public:
  explicit ProgressWindow(QWidget* parent = nullptr);
  ProgressPicture* picture() const { return picture_; }
  QPushButton* cancelButton() const { return cancel_; }
  // Ready for a new run: Cancel enabled again.
  void Reset();
  void reject() override;

 signals:
  void cancelRequested();

 private:
  ProgressPicture* picture_;
  QPushButton* cancel_;
};

}  // namespace novastra::gui
