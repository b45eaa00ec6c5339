#pragma once
// Modal message boxes with one OK button, and the dialog seams the tests answer.
#include <QString>
#include <functional>

#include "app/ui.h"

class QWidget;

namespace novastra::gui {

// When set, message boxes are passed here instead of being shown.
using MessageHook = std::function<void(MessageIcon icon, const QString& title, const QString& text)>;
void SetMessageHook(MessageHook hook);

// A modal box with the icon, the title and one OK button (or the hook's call).
void ShowMessageBox(QWidget* parent, MessageIcon icon, const QString& title, const QString& text);

// A modal question with Yes and No; true for Yes. With a message hook set
// (the tests) the question goes to the hook and is answered Yes.
bool AskYesNo(QWidget* parent, const QString& title, const QString& text);

// The window message boxes centre on: the active window (the one the user is
// in), else the given parent.
QWidget* MessageOwner(QWidget* parent);

// When set, the save dialog is answered here: it receives the initial folder,
// the proposed file name and the filter, and returns the chosen path ("" = cancel).
using SaveDialogHook =
    std::function<QString(const QString& folder, const QString& fileName, const QString& filter)>;
void SetSaveDialogHook(SaveDialogHook hook);

// The save-file dialog with an overwrite prompt; a name typed without an
// extension gets defaultSuffix; "" when the user cancels.
QString AskSaveFileName(QWidget* parent, const QString& folder, const QString& fileName,
                        const QString& filter, const QString& defaultSuffix);

// Single-byte program text to a QString through the symbol table.
QString FromCodes(std::string_view bytes);
// Screen text back to single-byte codes.
std::string ToCodes(const QString& text);

}  // namespace novastra::gui
