#pragma once
// A date field that reads dates typed as M/D/YYYY the way they are written.
#include <QDateEdit>

namespace novastra::gui {

// QDateEdit moves to the next part of the date by itself once a part is
// complete (a month of 12, a day of 31) and again at a typed slash, so that
// "12/31/2009" typed key by key skipped the year; and with the whole text
// selected it dropped the first key, so "1/1/2009" kept the old month. Here a
// slash right after such a move is taken as already done, and typing over
// the whole field starts at its first part.
class DateField : public QDateEdit {
  Q_OBJECT
 public:
  using QDateEdit::QDateEdit;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace novastra::gui
