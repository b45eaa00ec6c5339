#pragma once
// The options editor "Edit: OPTIONS.OPT": the whole file as free text, saved,
// left or replaced by the master copy.
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

namespace novastra {
class Application;
}

namespace novastra::gui {

class OptionsWindow : public QDialog {
  Q_OBJECT
 public:
  OptionsWindow(Application& app, const QString& fontFamily, const std::string& text,
                QWidget* parent = nullptr);

  QPlainTextEdit* txtContent = nullptr;
  QPushButton* btnSave = nullptr;
  QPushButton* btnQuit = nullptr;
  QPushButton* cmdRestoreDefault = nullptr;

  void Save();
  void RestoreDefault();

 private:
  void SetContent(const std::string& text);
  Application& app_;
};

}  // namespace novastra::gui
