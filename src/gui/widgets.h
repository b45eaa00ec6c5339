#pragma once
// Small pieces the windows build the same way.
#include <QFont>
#include <QFontMetrics>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>

namespace novastra::gui {

// A push button carrying its control name, by which the tests find it.
inline QPushButton* NamedButton(const char* name, const QString& caption, QWidget* parent) {
  auto* button = new QPushButton(caption, parent);
  button->setObjectName(name);
  return button;
}

// A field's caption with its Alt letter ("&To"). The underlined letter is
// drawn as a run of its own, so the pair it belongs to loses its kerning and
// "To" is drawn wider than it measures: the label is as wide as its letters
// set apart.
inline QLabel* FieldCaption(const QString& caption, QWidget* field, QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  label->setBuddy(field);
  const QFontMetricsF metrics(label->font());
  qreal width = 0;
  const QString letters = QString(caption).remove('&');
  for (const QChar c : letters) width += metrics.horizontalAdvance(c);
  label->setMinimumWidth(std::max(static_cast<int>(std::ceil(width)), label->sizeHint().width()));
  return label;
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
