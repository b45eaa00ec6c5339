#pragma once
// Small pieces the windows build the same way.
#include <QFont>
#include <QPlainTextEdit>
#include <QPushButton>

namespace novastra::gui {

// A push button carrying its control name, by which the tests find it.
inline QPushButton* NamedButton(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  return button;
}

// The editable text box of the options and print windows: "txtContent", no
// wrapping, in the symbol font at 10 points.
inline QPlainTextEdit* SymbolTextBox(const QString& fontFamily, QWidget* parent) {
  auto* box = new QPlainTextEdit(parent);
  box->setObjectName("txtContent");
  box->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont f(fontFamily);
  f.setPointSizeF(10);
  box->setFont(f);
  return box;
}

}  // namespace novastra::gui
