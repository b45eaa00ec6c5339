#include "gui/data_window.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QStatusBar>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "app/application.h"
#include "app/aspectarian_run.h"
#include "app/calendar_export.h"
#include "app/ephemeris_run.h"
#include "gui/message_box.h"
#include "gui/qt_ui.h"
#include "gui/twips.h"
#include "gui/window_places.h"

namespace novastra::gui {

namespace {

int16_t ToInt16(double v) {
  return static_cast<int16_t>(std::clamp<double>(std::lround(v), -32768, 32767));
}

QAction* Entry(QMenu* menu, const char* name, const QString& caption, const QKeySequence& key,
               QObject* owner, std::function<void()> command) {
  QAction* a = menu->addAction(caption);
  a->setObjectName(name);
  if (!key.isEmpty()) a->setShortcut(key);
  QObject::connect(a, &QAction::triggered, owner, [command] { command(); });
  return a;
}

QAction* TopEntry(QMenuBar* bar, const char* name, const QString& caption, QObject* owner,
                  std::function<void()> command) {
  QAction* a = bar->addAction(caption);
  a->setObjectName(name);
  QObject::connect(a, &QAction::triggered, owner, [command] { command(); });
  return a;
}

}  // namespace

DataWindow::DataWindow(Application& app, Dialogs& dialogs, const QString& fontFamily,
                       QWidget* parent)
    : QMainWindow(parent), app_(app), dialogs_(dialogs) {
  setObjectName("OutputD1");
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowTitle(QString(kTitlePrefix) + "Data");

  Text1 = new QPlainTextEdit(this);
  Text1->setObjectName("Text1");
  Text1->setReadOnly(true);
  Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
  Text1->setContextMenuPolicy(Qt::NoContextMenu);
  Text1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  Text1->installEventFilter(this);
  Text1->viewport()->installEventFilter(this);
  lblNotes = new QLabel(this);
  lblNotes->setObjectName("lblNotes");
  lblNotes->setContentsMargins(6, 3, 6, 3);
  lblNotes->hide();
  auto* central = new QWidget(this);
  auto* column = new QVBoxLayout(central);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);
  column->addWidget(lblNotes);
  column->addWidget(Text1);
  setCentralWidget(central);
  // Made now, before the window is shown: one made later stays hidden, and
  // what it says would never be seen.
  statusBar()->setObjectName("barStatus");
  lblSaved = new QLabel(this);
  lblSaved->setObjectName("lblSaved");
  statusBar()->addWidget(lblSaved, 1);

  QMenuBar* bar = menuBar();
  QMenu* file = bar->addMenu("&File");
  file->setObjectName("mnuFile");
  mnuFileSave = Entry(file, "mnuFileSave", "&Save", Qt::Key_F5, this, [this] {
    if (onSave) onSave();
  });
  mnuFileSaveAs = Entry(file, "mnuFileSaveAs", "Save &As", Qt::Key_F6, this, [this] {
    if (onSaveAs) onSaveAs();
  });
  file->addSeparator();
  mnuFileExportCalendar =
      Entry(file, "mnuFileExportCalendar", "Export &calendar...", {}, this, [this] {
        std::filesystem::path written;
        if (ExportCalendar(app_, &written) == CalendarExportResult::Written)
          ShowWhereSaved("Calendar saved to " + QString::fromStdString(written.string()));
        TakeKeyboard();
      });

  QMenu* view = bar->addMenu("&View");
  view->setObjectName("mnuView");
  mnuViewLongitude = Entry(view, "mnuViewLongitude", "&Longitude", Qt::Key_F1, this,
                           [this] { ShowSet(ColumnSet::Longitude); });
  mnuViewDeclination = Entry(view, "mnuViewDeclination", "&Declination", Qt::Key_F4, this,
                             [this] { ShowSet(ColumnSet::Declination); });
  mnuViewRA = Entry(view, "mnuViewRA", "&Right Ascension", Qt::CTRL | Qt::Key_F1, this,
                    [this] { ShowSet(ColumnSet::RightAscension); });
  mnuViewLatitude = Entry(view, "mnuViewLatitude", "La&titude", Qt::CTRL | Qt::Key_F4, this,
                          [this] { ShowSet(ColumnSet::Latitude); });
  mnuViewHelioLongitude =
      Entry(view, "mnuViewHelioLongitude", "&Helio Longitude", Qt::SHIFT | Qt::Key_F1, this,
            [this] { ShowSet(ColumnSet::HelioLongitude); });
  mnuViewHelioLatitude =
      Entry(view, "mnuViewHelioLatitude", "Heli&o Latitude", Qt::SHIFT | Qt::Key_F4, this,
            [this] { ShowSet(ColumnSet::HelioLatitude); });
  // Chiron, the asteroids and the Black Moon for the same days.
  mnuViewMinorBodies =
      Entry(view, "mnuViewMinorBodies", "&Minor bodies", Qt::CTRL | Qt::Key_M, this, [this] {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        app_.runs().ShowMinorBodies();
        QApplication::restoreOverrideCursor();
      });
  view->addSeparator()->setObjectName("mnuSplit11");
  mnuRx_Times = Entry(view, "mnuRx_Times", "Retro&grade times", Qt::Key_F9, this, [this] {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    app_.runs().ShowRetrogradeTimes();
    QApplication::restoreOverrideCursor();
  });
  // The eclipses of the last aspectarian run's days (apparent sky), after its stations.
  mnuEclipses = Entry(view, "mnuEclipses", "&Eclipses", Qt::CTRL | Qt::Key_E, this, [this] {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    app_.runs().ShowEclipses();
    QApplication::restoreOverrideCursor();
  });
  mnuViewGraph =
      Entry(view, "mnuViewGraph", "Gra&phic ephemeris", Qt::CTRL | Qt::Key_G, this, [this] {
        if (onGraph) onGraph();
      });

  QMenu* fonts = bar->addMenu("F&ont");
  fonts->setObjectName("mnuFonts");
  mnuFontsIncrease =
      Entry(fonts, "mnuFontsIncrease", "&Increase", Qt::Key_F7, this, [this] { FontsIncrease(); });
  mnuFontsDecrease =
      Entry(fonts, "mnuFontsDecrease", "&Decrease", Qt::Key_F8, this, [this] { FontsDecrease(); });
  mnuFontsBold = Entry(fonts, "mnuFontsBold", "&Bold", Qt::Key_F11, this, [this] { FontsBold(); });
  mnuFontsItalic =
      Entry(fonts, "mnuFontsItalic", "I&talic", Qt::Key_F12, this, [this] { FontsItalic(); });
  mnuFontsBold->setCheckable(true);
  mnuFontsItalic->setCheckable(true);

  mnuClearBuffer =
      TopEntry(bar, "mnuClearBuffer", "&Clear all data", this, [this] { ClearBuffer(); });
  mnuPrint = TopEntry(bar, "mnuPrint", "&Print page", this, [this] {
    if (onPrintPage) onPrintPage();
  });
  mnuPrintData = TopEntry(bar, "mnuPrintData", "Print &data", this, [this] {
    if (onPrintData) onPrintData();
  });

  QMenu* more = bar->addMenu("&More");
  more->setObjectName("mnuMore");
  mnuMoreZForward = Entry(more, "mnuMoreZForward", "&Forward", Qt::Key_F2, this, [this] {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    RunCommand(app_, &Application::MoreForward);
    QApplication::restoreOverrideCursor();
    if (afterMore) afterMore();
    TakeKeyboard();
  });
  mnuMoreBackward = Entry(more, "mnuMoreBackward", "&Backward", Qt::Key_F3, this, [this] {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    RunCommand(app_, &Application::MoreBackward);
    QApplication::restoreOverrideCursor();
    if (afterMore) afterMore();
    TakeKeyboard();
  });
  mnuHelp = TopEntry(bar, "mnuHelp", "&Help", this, [this] { app_.ShowDocument("OUTPUTD1.HLP"); });

  // Form load: the symbol font with the saved style, saved place and size,
  // and the View entries that fit the last kind of run.
  QFont f(fontFamily);
  f.setStyleHint(QFont::TypeWriter);
  f.setPointSizeF(app_.settings().FontSize > 0 ? app_.settings().FontSize : 10);
  f.setBold(app_.settings().FontBold != 0);
  f.setItalic(app_.settings().FontItalic != 0);
  Text1->setFont(f);
  mnuFontsBold->setChecked(f.bold());
  mnuFontsItalic->setChecked(f.italic());
  ApplySavedGeometry();
  Text1->clear();
  UpdateCommands();
}

void DataWindow::UpdateCommands() {
  const bool ephemeris = app_.runKind() == 1;
  const bool tables = ephemeris && app_.ephemeris().hasRun;
  for (QAction* a : {mnuViewLongitude, mnuViewDeclination, mnuViewRA, mnuViewLatitude,
                     mnuViewHelioLongitude, mnuViewHelioLatitude, mnuViewMinorBodies})
    a->setEnabled(tables);
  mnuRx_Times->setEnabled(!ephemeris);
  mnuEclipses->setEnabled(!ephemeris && app_.aspectarian().hasRun);
  mnuFileExportCalendar->setEnabled(!ephemeris && CanExportCalendar(app_));
  const bool ran = ephemeris ? app_.ephemeris().hasRun : app_.aspectarian().hasRun;
  mnuMoreZForward->setEnabled(ran);
  mnuMoreBackward->setEnabled(ran);
}

std::vector<std::string> ChoiceNotes(const RunParameters& params) {
  std::vector<std::string> notes;
  if (params.SkyChoice == Sky::Apparent)
    notes.emplace_back(
        "Apparent sky: positions at Terrestrial Time, with light-time, aberration and nutation");
  if (params.MoonNodes == NodeMode::Osculating)
    notes.emplace_back("Node: the osculating node of the Moon's orbit");
  return notes;
}

std::string TableNote(ColumnSet set) {
  if (set == ColumnSet::HelioLongitude) return "Heliocentric longitudes (the column titled Long.)";
  if (set == ColumnSet::HelioLatitude) return "Heliocentric latitudes";
  return {};
}

ColumnSet FirstTable(const RunParameters& params) {
  const bool helio = params.Coords == Coordinates::Heliocentric;
  switch (params.Output) {
    case DataOutput::Latitude: return helio ? ColumnSet::HelioLatitude : ColumnSet::Latitude;
    case DataOutput::RightAscension: return ColumnSet::RightAscension;
    case DataOutput::Declination: return ColumnSet::Declination;
    case DataOutput::Longitude: break;
  }
  return helio ? ColumnSet::HelioLongitude : ColumnSet::Longitude;
}

void DataWindow::SetNotes(const std::vector<std::string>& notes) {
  runNotes_ = notes;
  ShowNotes();
}

void DataWindow::SetTableNote(const std::string& note) {
  tableNote_ = note;
  ShowNotes();
}

void DataWindow::ShowNotes() {
  QStringList lines;
  for (const std::string& n : runNotes_) lines << QString::fromStdString(n);
  if (!tableNote_.empty()) lines << QString::fromStdString(tableNote_);
  lblNotes->setText(lines.join('\n'));
  lblNotes->setVisible(!lines.isEmpty());
}

void DataWindow::TakeKeyboard() {
  // The progress window or a dialog has just closed, and the window manager
  // may have handed the keyboard to the main window they stood over.
  raise();
  activateWindow();
  Text1->setFocus(Qt::OtherFocusReason);
}

void DataWindow::ShowSavedTo(const QString& path) { ShowWhereSaved("Saved to " + path); }

void DataWindow::ShowWhereSaved(const QString& text) {
  // The message, and under it a label that stays when the message is
  // cleared (a menu entry's empty status tip clears it as the pointer
  // passes), until the next save.
  lblSaved->setText(text);
  statusBar()->showMessage(text);
}

int DataWindow::TableWidth() const {
  // 132 cells of the widest table, the scroll bar, the frame and the margins.
  const int text = Text1->fontMetrics().horizontalAdvance(QString(133, QChar('0')));
  const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
  const int margins =
      2 * Text1->frameWidth() + 2 * static_cast<int>(Text1->document()->documentMargin());
  return text + bar + margins + 4;
}

namespace {
// Less than this below the main window, and a first Data Window goes above it.
constexpr int kLeastRoomBelow = 240;
}  // namespace

void DataWindow::ApplySavedGeometry() {
  loading_ = true;
  const double dx = LogicalDpiX(this), dy = LogicalDpiY(this);
  const Settings& s = app_.settings();
  QRect wanted(TwipsToPixels(s.DataLeft, dx), TwipsToPixels(s.DataTop, dy),
               std::max(120, TwipsToPixels(s.DataWidth, dx)),
               std::max(80, TwipsToPixels(s.DataHeight, dy)));
  // Never placed by the user (the settings' own values): below the main
  // window, as wide as a whole table and as tall as the screen allows.
  const Settings fresh;
  const bool neverPlaced = s.DataTop == fresh.DataTop && s.DataLeft == fresh.DataLeft &&
                           s.DataWidth == fresh.DataWidth && s.DataHeight == fresh.DataHeight;
  QWidget* main = parentWidget();
  if (neverPlaced && main && main->isVisible()) {
    const QRect below = main->frameGeometry();
    wanted.moveTo(below.left(), below.bottom() + 1);
    wanted.setWidth(std::max(wanted.width(), TableWidth()));
    // Down to the bottom of the main window's screen, less room for a frame;
    // above the main window when it sits too low for that, so as not to
    // cover its menus.
    for (const QRect& a : AvailableScreenAreas())
      if (a.contains(below.center())) {
        const int roomBelow = a.bottom() - wanted.top() - 40;
        const int roomAbove = below.top() - a.top() - 40;
        if (roomBelow < kLeastRoomBelow && roomAbove > roomBelow) {
          wanted.moveTop(a.top());
          wanted.setHeight(roomAbove);
        } else {
          wanted.setHeight(std::max(wanted.height(), roomBelow));
        }
      }
  }
  PlaceWindow(this, wanted);
  loading_ = false;
}

void DataWindow::changeEvent(QEvent* event) {
  QMainWindow::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange && !loading_ && isVisible()) {
    app_.SetDataMaximized(isMaximized());
  }
}

void DataWindow::RecordGeometry() {
  // A maximised window keeps the place it is restored to.
  if (loading_ || isMinimized() || isMaximized() || !isVisible()) return;
  const double dx = LogicalDpiX(this), dy = LogicalDpiY(this);
  app_.SetDataPlace(ToInt16(PixelsToTwips(x(), dx)), ToInt16(PixelsToTwips(y(), dy)),
                    ToInt16(PixelsToTwips(width(), dx)), ToInt16(PixelsToTwips(height(), dy)));
}

void DataWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  RecordGeometry();
}

void DataWindow::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  RecordGeometry();
}

void DataWindow::ScrollToLine(int line) {
  const QTextBlock block = Text1->document()->findBlockByNumber(line);
  if (!block.isValid()) return;
  QTextCursor cursor(block);
  Text1->setTextCursor(cursor);
  Text1->verticalScrollBar()->setValue(block.blockNumber());
}

void DataWindow::SetViewText(const std::string& text) {
  QString shown = FromCodes(text);
  shown.replace("\r\n", "\n");
  Text1->setPlainText(shown);
}

QString DataWindow::Text() const { return Text1->toPlainText(); }

void DataWindow::ShowSet(ColumnSet set) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  app_.runs().ShowColumnSet(set);
  QApplication::restoreOverrideCursor();
  SetTableNote(TableNote(set));
}

void DataWindow::SetTextFontSize(double points) {
  QFont f = Text1->font();
  if (points > 0) f.setPointSizeF(points);
  Text1->setFont(f);
}

// The text box follows the saved size only within 8..12 points; the saved
// size itself moves by the step every time.
void DataWindow::FontsIncrease() {
  const double step = app_.fontStep() / 2;
  const double size = app_.settings().FontSize;
  if (size < 12) SetTextFontSize(size + step);
  app_.SetFontSize(size + step);
  RefreshAfterFontChange();
}

void DataWindow::FontsDecrease() {
  const double step = app_.fontStep() / 2;
  const double size = app_.settings().FontSize;
  if (size > 8) SetTextFontSize(size - step);
  app_.SetFontSize(size - step);
  RefreshAfterFontChange();
}

void DataWindow::FontsBold() {
  QFont f = Text1->font();
  f.setBold(!f.bold());
  Text1->setFont(f);
  mnuFontsBold->setChecked(f.bold());
  app_.SetFontBold(f.bold());
  RefreshAfterFontChange();
}

void DataWindow::FontsItalic() {
  QFont f = Text1->font();
  f.setItalic(!f.italic());
  Text1->setFont(f);
  mnuFontsItalic->setChecked(f.italic());
  app_.SetFontItalic(f.italic());
  RefreshAfterFontChange();
}

void DataWindow::RefreshAfterFontChange() {
  if (app_.buffer().ViewCount() == 0) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  app_.buffer().ShowDataBuffer();
  mnuFontsDecrease->setEnabled(app_.settings().FontSize > 8);
  mnuFontsIncrease->setEnabled(app_.settings().FontSize < 12);
  QApplication::restoreOverrideCursor();
}

void DataWindow::ClearBuffer() {
  app_.buffer().ClearAll();
  dialogs_.Message(this, MessageIcon::Exclamation, "Information!", "All data cleared from buffer.");
}

bool DataWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Text1 && event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
    if (activateMain) activateMain();
    return true;
  }
  if (watched == Text1->viewport() && event->type() == QEvent::MouseButtonRelease &&
      static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
    if (activateMain) activateMain();
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

}  // namespace novastra::gui
