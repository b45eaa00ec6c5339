#pragma once
// The About window: the program name with a drawn shadow and the version.
#include <QDialog>

namespace novastra::gui {

class AboutWindow : public QDialog {
  Q_OBJECT
 public:
  explicit AboutWindow(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent*) override;
};

}  // namespace novastra::gui
