#include "gui/options_window.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/application.h"
#include "app/options.h"
#include "gui/message_box.h"
#include "gui/widgets.h"

namespace novastra::gui {

OptionsWindow::OptionsWindow(Application& app, const QString& fontFamily, const std::string& text,
                             QWidget* parent)
    : QDialog(parent), app_(app) {
  setObjectName("Options");
  setWindowTitle(kOptionsEditorCaption);
  setAttribute(Qt::WA_DeleteOnClose);
  txtContent = SymbolTextBox(fontFamily, this);
  btnSave = NamedButton("btnSave", "Save", this);
  btnQuit = NamedButton("btnQuit", "Quit", this);
  cmdRestoreDefault = NamedButton("cmdRestoreDefault", "Restore Default Settings", this);
  btnSave->setAutoDefault(false);
  btnQuit->setAutoDefault(false);
  cmdRestoreDefault->setAutoDefault(false);

  auto* row = new QHBoxLayout;
  row->addWidget(btnSave);
  row->addWidget(btnQuit);
  row->addStretch();
  row->addWidget(cmdRestoreDefault);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(txtContent);
  layout->addLayout(row);
  resize(640, 420);

  connect(btnSave, &QPushButton::clicked, this, &OptionsWindow::Save);
  connect(btnQuit, &QPushButton::clicked, this, &QDialog::reject);
  connect(cmdRestoreDefault, &QPushButton::clicked, this, &OptionsWindow::RestoreDefault);
  SetContent(text);
}

void OptionsWindow::SetContent(const std::string& text) {
  QString shown = FromCodes(text);
  shown.replace("\r\n", "\n");
  txtContent->setPlainText(shown);
}

void OptionsWindow::Save() { app_.SaveOptions(ToCodes(txtContent->toPlainText())); }

void OptionsWindow::RestoreDefault() {
  if (!app_.RestoreDefaultOptions()) return;
  txtContent->clear();
  if (auto text = LoadOptionsText(app_.folder())) SetContent(*text);
}

}  // namespace novastra::gui
