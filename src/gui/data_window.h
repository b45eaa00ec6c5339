#pragma once
// The Data Window: shows the data buffer's view in the symbol font and offers
// the table, font, paging, clearing, saving and printing commands.
#include <QMainWindow>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QLabel;
class QPlainTextEdit;

#include "app/run_parameters.h"
#include "text/ephemeris_tables.h"

namespace novastra {
class Application;
}  // namespace novastra

namespace novastra::gui {

class Dialogs;

// Notes on the run's choices that its header lines do not name: the
// apparent sky, the osculating node.
std::vector<std::string> ChoiceNotes(const RunParameters& params);
// The note on a table of the View menu ("" for none).
std::string TableNote(ColumnSet set);
// The table an ephemeris run shows first.
ColumnSet FirstTable(const RunParameters& params);

class DataWindow : public QMainWindow {
  Q_OBJECT
 public:
  DataWindow(Application& app, Dialogs& dialogs, const QString& fontFamily,
             QWidget* parent = nullptr);

  // Puts the view text (single-byte codes, CRLF line ends) into the text box.
  void SetViewText(const std::string& text);
  // Puts text line `line` at the top of the view (a table added at the end).
  void ScrollToLine(int line);
  QString Text() const;

  std::function<void()> activateMain;
  // Called after a More command's run (the start date has moved).
  std::function<void()> afterMore;
  std::function<void()> onSave, onSaveAs, onPrintPage, onPrintData;
  std::function<void()> onGraph;  // View, Graphic ephemeris

  QPlainTextEdit* Text1 = nullptr;
  // The line above the results that carries the run's notes ("Pluto's
  // positions before 1885 are approximate"); hidden when there are none.
  QLabel* lblNotes = nullptr;
  // In the status line: where the last Save, Save As or calendar export
  // wrote its file.
  QLabel* lblSaved = nullptr;
  QAction *mnuFileSave, *mnuFileSaveAs;
  QAction* mnuFileExportCalendar = nullptr;  // after an aspectarian run
  QAction *mnuViewLongitude, *mnuViewDeclination, *mnuViewRA, *mnuViewLatitude;
  QAction *mnuViewHelioLongitude, *mnuViewHelioLatitude, *mnuRx_Times, *mnuEclipses,
      *mnuViewMinorBodies;
  QAction* mnuViewGraph = nullptr;
  QAction *mnuFontsIncrease, *mnuFontsDecrease, *mnuFontsBold, *mnuFontsItalic;
  QAction *mnuClearBuffer, *mnuPrint, *mnuPrintData, *mnuMoreZForward, *mnuMoreBackward, *mnuHelp;

  // More needs a run to page from and View the tables of an ephemeris run:
  // both stay disabled until a run has produced them.
  void UpdateCommands();
  // Shows the notes of the run whose results are shown (none hides the line).
  void SetNotes(const std::vector<std::string>& notes);
  // The note on the table shown (the heliocentric longitudes, whose column
  // title reads as the geocentric one's); "" for none.
  void SetTableNote(const std::string& note);
  // The Data Window made the active window with the keyboard in its text
  // box, so that the next F-key reaches it (after More, after an export).
  void TakeKeyboard();
  // Where Save or Save As wrote the buffer, in the status line.
  void ShowSavedTo(const QString& path);
  // Pixels of client width a whole table needs in the current font.
  int TableWidth() const;

  void FontsIncrease();
  void FontsDecrease();
  void FontsBold();
  void FontsItalic();
  void ClearBuffer();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void ShowWhereSaved(const QString& text);
  void ApplySavedGeometry();
  void RecordGeometry();
  void ShowSet(ColumnSet set);
  void RefreshAfterFontChange();
  void SetTextFontSize(double points);

  void ShowNotes();

  Application& app_;
  Dialogs& dialogs_;
  bool loading_ = false;
  std::vector<std::string> runNotes_;
  std::string tableNote_;
};

}  // namespace novastra::gui
