#include "gui/date_field.h"

#include <QKeyEvent>
#include <QLineEdit>

namespace novastra::gui {

void DateField::keyPressEvent(QKeyEvent* event) {
  const QString typed = event->text();
  QLineEdit* line = lineEdit();
  if (typed.size() == 1 && line) {
    const QString text = line->text();
    const int start = line->hasSelectedText() ? line->selectionStart() : line->cursorPosition();
    const int length = line->selectedText().size();
    if (typed[0].isDigit() && length > 0 && length == text.size()) {
      // Typing over the whole date: begin with its first part.
      setSelectedSection(sectionAt(0));
    } else if (typed[0] == '/' && start > 0 && text.at(start - 1) == '/' &&
               (length > 0 || start == text.size() || text.at(start) != '/')) {
      // The field has just moved on past this slash: nothing more to do.
      event->accept();
      return;
    }
  }
  QDateEdit::keyPressEvent(event);
}

}  // namespace novastra::gui
