#include "gui/data_window.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <algorithm>
#include <cmath>

#include "app/aspectarian_run.h"
#include "app/ephemeris_run.h"
#include "gui/message_box.h"
#include "gui/twips.h"
#include "app/application.h"

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

DataWindow::DataWindow(Application& app, const QString& fontFamily, QWidget* parent)
    : QMainWindow(parent), app_(app) {
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
  setCentralWidget(Text1);

  QMenuBar* bar = menuBar();
  QMenu* file = bar->addMenu("&File");
  file->setObjectName("mnuFile");
  mnuFileSave = Entry(file, "mnuFileSave", "&Save", Qt::Key_F5, this, [this] { if (onSave) onSave(); });
  mnuFileSaveAs =
      Entry(file, "mnuFileSaveAs", "Save &As", Qt::Key_F6, this, [this] { if (onSaveAs) onSaveAs(); });

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
  mnuViewHelioLongitude = Entry(view, "mnuViewHelioLongitude", "&Helio Longitude",
                                Qt::SHIFT | Qt::Key_F1, this,
                                [this] { ShowSet(ColumnSet::HelioLongitude); });
  mnuViewHelioLatitude = Entry(view, "mnuViewHelioLatitude", "Heli&o Latitude",
                               Qt::SHIFT | Qt::Key_F4, this,
                               [this] { ShowSet(ColumnSet::HelioLatitude); });
  view->addSeparator()->setObjectName("mnuSplit11");
  mnuRx_Times = Entry(view, "mnuRx_Times", "Retro&grade times", Qt::Key_F9, this, [this] {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    ShowRetrogradeTimes(app_);
    QApplication::restoreOverrideCursor();
  });
  mnuViewGraph = Entry(view, "mnuViewGraph", "Gra&phic ephemeris", Qt::CTRL | Qt::Key_G, this,
                       [this] { if (onGraph) onGraph(); });

  QMenu* fonts = bar->addMenu("F&ont");
  fonts->setObjectName("mnuFonts");
  mnuFontsIncrease = Entry(fonts, "mnuFontsIncrease", "&Increase", Qt::Key_F7, this,
                           [this] { FontsIncrease(); });
  mnuFontsDecrease = Entry(fonts, "mnuFontsDecrease", "&Decrease", Qt::Key_F8, this,
                           [this] { FontsDecrease(); });
  mnuFontsBold = Entry(fonts, "mnuFontsBold", "&Bold", Qt::Key_F11, this, [this] { FontsBold(); });
  mnuFontsItalic =
      Entry(fonts, "mnuFontsItalic", "I&talic", Qt::Key_F12, this, [this] { FontsItalic(); });
  mnuFontsBold->setCheckable(true);
  mnuFontsItalic->setCheckable(true);

  mnuClearBuffer = TopEntry(bar, "mnuClearBuffer", "&Clear all data", this, [this] { ClearBuffer(); });
  mnuPrint = TopEntry(bar, "mnuPrint", "&Print page", this, [this] { if (onPrintPage) onPrintPage(); });
  mnuPrintData =
      TopEntry(bar, "mnuPrintData", "Print &data", this, [this] { if (onPrintData) onPrintData(); });

  QMenu* more = bar->addMenu("&More");
  more->setObjectName("mnuMore");
  mnuMoreZForward = Entry(more, "mnuMoreZForward", "&Forward", Qt::Key_F2, this, [this] {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    app_.MoreForward();
    QApplication::restoreOverrideCursor();
    if (afterMore) afterMore();
  });
  mnuMoreBackward = Entry(more, "mnuMoreBackward", "&Backward", Qt::Key_F3, this, [this] {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    app_.MoreBackward();
    QApplication::restoreOverrideCursor();
    if (afterMore) afterMore();
  });
  mnuHelp = TopEntry(bar, "mnuHelp", "&Help", this, [this] { app_.ShowDocument("OUTPUTD1.HLP"); });

  // Form load: saved place and size, the symbol font with the saved style,
  // and the View entries that fit the last kind of run.
  ApplySavedGeometry();
  QFont f(fontFamily);
  f.setStyleHint(QFont::TypeWriter);
  f.setPointSizeF(app_.settings.FontSize > 0 ? app_.settings.FontSize : 10);
  f.setBold(app_.settings.FontBold != 0);
  f.setItalic(app_.settings.FontItalic != 0);
  Text1->setFont(f);
  mnuFontsBold->setChecked(f.bold());
  mnuFontsItalic->setChecked(f.italic());
  Text1->clear();
  const bool ephemeris = app_.RunKind == 1;
  for (QAction* a : {mnuViewLongitude, mnuViewDeclination, mnuViewRA, mnuViewLatitude,
                     mnuViewHelioLongitude, mnuViewHelioLatitude})
    a->setEnabled(ephemeris);
  mnuRx_Times->setEnabled(!ephemeris);
}

void DataWindow::ApplySavedGeometry() {
  loading_ = true;
  const double dx = LogicalDpiX(this), dy = LogicalDpiY(this);
  const Settings& s = app_.settings;
  move(TwipsToPixels(s.DataLeft, dx), TwipsToPixels(s.DataTop, dy));
  resize(std::max(120, TwipsToPixels(s.DataWidth, dx)), std::max(80, TwipsToPixels(s.DataHeight, dy)));
  loading_ = false;
}

void DataWindow::RecordGeometry() {
  if (loading_ || isMinimized() || !isVisible()) return;
  const double dx = LogicalDpiX(this), dy = LogicalDpiY(this);
  Settings& s = app_.settings;
  s.DataLeft = ToInt16(PixelsToTwips(x(), dx));
  s.DataTop = ToInt16(PixelsToTwips(y(), dy));
  s.DataWidth = ToInt16(PixelsToTwips(width(), dx));
  s.DataHeight = ToInt16(PixelsToTwips(height(), dy));
}

void DataWindow::resizeEvent(QResizeEvent* event) {
  QMainWindow::resizeEvent(event);
  RecordGeometry();
}

void DataWindow::moveEvent(QMoveEvent* event) {
  QMainWindow::moveEvent(event);
  RecordGeometry();
}

void DataWindow::SetViewText(const std::string& text) {
  QString shown = FromCodes(text);
  shown.replace("\r\n", "\n");
  Text1->setPlainText(shown);
}

QString DataWindow::Text() const { return Text1->toPlainText(); }

void DataWindow::ShowSet(ColumnSet set) {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  ShowColumnSet(app_, set);
  QApplication::restoreOverrideCursor();
}

void DataWindow::SetTextFontSize(double points) {
  QFont f = Text1->font();
  if (points > 0) f.setPointSizeF(points);
  Text1->setFont(f);
}

// The text box follows the saved size only within 8..12 points; the saved
// size itself moves by the step every time.
void DataWindow::FontsIncrease() {
  const double step = app_.FontStep / 2;
  double& saved = app_.settings.FontSize;
  if (saved < 12) SetTextFontSize(saved + step);
  saved += step;
  RefreshAfterFontChange();
}

void DataWindow::FontsDecrease() {
  const double step = app_.FontStep / 2;
  double& saved = app_.settings.FontSize;
  if (saved > 8) SetTextFontSize(saved - step);
  saved -= step;
  RefreshAfterFontChange();
}

void DataWindow::FontsBold() {
  QFont f = Text1->font();
  f.setBold(!f.bold());
  Text1->setFont(f);
  mnuFontsBold->setChecked(f.bold());
  app_.settings.FontBold = f.bold() ? -1 : 0;
  RefreshAfterFontChange();
}

void DataWindow::FontsItalic() {
  QFont f = Text1->font();
  f.setItalic(!f.italic());
  Text1->setFont(f);
  mnuFontsItalic->setChecked(f.italic());
  app_.settings.FontItalic = f.italic() ? -1 : 0;
  RefreshAfterFontChange();
}

void DataWindow::RefreshAfterFontChange() {
  if (app_.buffer.ViewCount() == 0) return;
  QApplication::setOverrideCursor(Qt::WaitCursor);
  app_.buffer.ShowDataBuffer();
  mnuFontsDecrease->setEnabled(app_.settings.FontSize > 8);
  mnuFontsIncrease->setEnabled(app_.settings.FontSize < 12);
  QApplication::restoreOverrideCursor();
}

void DataWindow::ClearBuffer() {
  app_.buffer.ClearAll();
  ShowMessageBox(this, MessageIcon::Exclamation, "Information!", "All data cleared from buffer.");
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
