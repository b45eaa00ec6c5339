#pragma once
// Modal message boxes, questions and the save-file dialog: the Qt ones, and
// the Dialogs seam through which the windows open them (the tests give their
// own Dialogs, which answer without showing anything).
#include <QString>

#include "app/ui.h"

class QDialog;
class QWidget;

namespace novastra::gui {

// A modal box with the icon, the title and one OK button.
void ShowMessageBox(QWidget* parent, MessageIcon icon, const QString& title, const QString& text);

// A modal question with Yes and No (No the default); true for Yes.
bool AskYesNo(QWidget* parent, const QString& title, const QString& text);

// The window message boxes centre on: a modal dialog that is up, else the
// given parent's window when shown, else the active window.
QWidget* MessageOwner(QWidget* parent);

// The save-file dialog with an overwrite prompt; a name typed without an
// extension gets defaultSuffix; "" when the user cancels.
QString AskSaveFileName(QWidget* parent, const QString& folder, const QString& fileName,
                        const QString& filter, const QString& defaultSuffix);

// The dialogs the windows open; these are Qt's own.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual void Message(QWidget* parent, MessageIcon icon, const QString& title,
                       const QString& text) {
    ShowMessageBox(parent, icon, title, text);
  }
  virtual bool YesNo(QWidget* parent, const QString& title, const QString& text) {
    return AskYesNo(parent, title, text);
  }
  virtual QString SaveFileName(QWidget* parent, const QString& folder, const QString& fileName,
                               const QString& filter, const QString& defaultSuffix) {
    return AskSaveFileName(parent, folder, fileName, filter, defaultSuffix);
  }
  // Runs a dialog of the program's own (e.g. the calendar export's choices);
  // true when the user accepts it.
  virtual bool Exec(QDialog& dialog);
};

// Single-byte program text to a QString through the symbol table.
QString FromCodes(std::string_view bytes);
// Screen text back to single-byte codes.
std::string ToCodes(const QString& text);

}  // namespace novastra::gui
