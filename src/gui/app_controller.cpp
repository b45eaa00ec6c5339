#include "gui/app_controller.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QFontDatabase>
#include <QMenuBar>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <cmath>
#include <cstdio>

#include "app/app_folder.h"
#include "app/application.h"
#include "app/run_notes.h"
#include "app/safe_write.h"
#include "app/save_print.h"
#include "gui/about_window.h"
#include "gui/data_window.h"
#include "gui/graph_window.h"
#include "gui/input_window.h"
#include "gui/main_window.h"
#include "gui/natal_window.h"
#include "gui/message_box.h"
#include "gui/options_window.h"
#include "gui/print_window.h"
#include "gui/twips.h"
#include "gui/window_places.h"

namespace novastra::gui {

AppController::AppController(Dialogs* dialogs) : dialogs_(dialogs ? *dialogs : ownDialogs_) {
  ui_.onSetData = [this](const std::string& text) { SetDataText(text); };
  ui_.onShowData = [this](std::string_view caption) { ShowData(caption); };
  ui_.onScrollData = [this](int line) {
    if (data_) data_->ScrollToLine(line);
  };
  ui_.exportOwner = [this]() -> QWidget* {
    return data_ && data_->isVisible() ? data_.data() : nullptr;
  };
  ui_.isDataMinimized = [this] { return data_ && data_->isMinimized(); };
  // A run that passed its input check hides the Input window.
  ui_.onRunStarted = [this] {
    if (input_) input_->hide();
  };
}

AppController::~AppController() {
  delete data_;
  delete options_;
  delete print_;
  delete graph_;
  delete natal_;
  input_.reset();
  main_.reset();
  if (fontId_ >= 0) QFontDatabase::removeApplicationFont(fontId_);
  if (boldFontId_ >= 0) QFontDatabase::removeApplicationFont(boldFontId_);
}

namespace {

// The EPHEMERI family when the system's fonts hold it (installed under
// share/fonts/truetype/novastra, found by fontconfig).
QStringList SystemSymbolFont() {
  for (const QString& family : QFontDatabase::families())
    if (family.compare("EPHEMERI", Qt::CaseInsensitive) == 0) return {family};
  return {};
}

}  // namespace

AppController::StartResult AppController::Start(const StartOptions& options) {
  std::string error;
  const auto folder =
      ResolveAppFolder(options.home, options.programDir, options.suppliedDir, &error);
  if (!folder) {
    dialogs_.Message(nullptr, MessageIcon::Critical, kStartWarningTitle,
                     QString::fromStdString(error));
    return StartResult::Failed;
  }
  // Only one copy may run; the second ends before it reads any file.
  lock_ = std::make_unique<InstanceLock>(*folder);
  if (lock_->state() == InstanceLock::State::Unavailable) {
    // Not a second copy: the folder cannot hold the lock. Carry on without it.
    std::fprintf(stderr, "novastra: running without the single-copy lock: %s\n",
                 lock_->reason().c_str());
  } else if (lock_->acquired()) {
    RemoveStaleTempFiles(*folder);
  }
  if (lock_->state() == InstanceLock::State::HeldByOther) {
    dialogs_.Message(nullptr, MessageIcon::Critical, kStartWarningTitle,
                     "NOVASTRA is already running. For your protection you cannot have more than "
                     "one copy of NOVASTRA running at a time.");
    lock_.reset();
    return StartResult::AlreadyRunning;
  }

  // The symbol font: without it no output can be read. The copy installed for
  // the whole system serves when there is one, else the program's own file.
  QStringList families = SystemSymbolFont();
  if (families.isEmpty()) {
    // The user's folder, the supplied folder, then the installed font
    // (share/fonts/truetype/novastra beside share/novastra) of a tree that
    // fontconfig does not search.
    std::filesystem::path fontFile = *folder / "EPHEMERI.TTF";
    if (!std::filesystem::exists(fontFile)) fontFile = options.suppliedDir / "EPHEMERI.TTF";
    if (!std::filesystem::exists(fontFile))
      fontFile = options.suppliedDir / ".." / "fonts" / "truetype" / "novastra" / "EPHEMERI.TTF";
    fontId_ = QFontDatabase::addApplicationFont(QString::fromStdString(fontFile.string()));
    if (fontId_ >= 0) families = QFontDatabase::applicationFontFamilies(fontId_);
  }
  if (families.isEmpty()) {
    dialogs_.Message(
        nullptr, MessageIcon::Critical, "EPHEMERI.TTF Font Not Added",
        "Error - unable to add EPHEMERI font. Please add EPHEMERI font through CONTROL "
        "PANEL, then restart NOVASTRA.");
    return StartResult::Failed;
  }
  fontFamily_ = families.first();
  // Its bold face, for Font > Bold (without it Qt would thicken the regular).
  std::filesystem::path boldFile = *folder / "EPHEMERIB.TTF";
  if (!std::filesystem::exists(boldFile)) boldFile = options.suppliedDir / "EPHEMERIB.TTF";
  boldFontId_ = QFontDatabase::addApplicationFont(QString::fromStdString(boldFile.string()));

  app_ = std::make_unique<Application>(ui_, *folder, options.suppliedDir);
  app_->SetCarrySixty(true);  // no "60" minutes or seconds on screen, in files or in print
  QApplication::setOverrideCursor(Qt::WaitCursor);
  const bool loaded = app_->LoadFiles();
  QApplication::restoreOverrideCursor();
  if (!loaded) return StartResult::Failed;

  // FontStep from the screen's width and its twips per pixel.
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const int twipsPerPixel = static_cast<int>(std::lround(1440.0 / screen->logicalDotsPerInchX()));
    app_->SetFontStep(Application::ChooseFontStep(screen->geometry().width(), twipsPerPixel));
  }

  main_ = std::make_unique<MainWindow>();
  main_->onExit = [this] { Exit(); };
  main_->onInput = [this] { OpenInput(); };
  main_->onOptions = [this] { OpenOptions(); };
  main_->onPrinterSetup = [this] { PrinterSetup(); };
  main_->onAbout = [this] { ShowAbout(); };
  main_->onGraph = [this] { OpenGraph(); };
  main_->onNatal = [this] { OpenNatal(); };
  main_->onDocument = [this](const std::string& doc) { app_->ShowDocument(doc); };
  ui_.parent = main_.get();
  // Every window and dialog from here on opens inside the screen's available
  // area, dialogs centred on the window they belong to.
  InstallWindowPlacer(main_.get());

  const Settings& s = app_->settings();
  const double dx = LogicalDpiX(main_.get()), dy = LogicalDpiY(main_.get());
  // The saved place, kept on the screens there are now.
  PlaceWindow(main_.get(), QRect(TwipsToPixels(s.MainLeft, dx), TwipsToPixels(s.MainTop, dy),
                                 std::max(200, TwipsToPixels(s.MainWidth, dx)),
                                 std::max(main_->menuBar()->sizeHint().height(),
                                          TwipsToPixels(s.MainHeight, dy))));
  if (s.MainMaximized) {
    main_->showMaximized();
  } else {
    main_->show();
    KeepOnScreen(main_.get());
  }
  main_->mayClose = [this] { return ConfirmLeave(); };

  input_ = std::make_unique<InputWindow>(*app_);
  input_->activateMain = [this] { ActivateMain(); };
  const QRect mainFrame = main_->frameGeometry();
  input_->move(main_->x() + 40, mainFrame.bottom() + 40);
  input_->setProperty("placedByCaller", true);  // placed below, once its frame is known
  input_->show();
  // Below a main window restored near the screen's bottom edge there is no
  // room: above it then, clear of its menus. Near the right edge, or wherever
  // it would hang off the screen with its buttons out of reach, it is moved
  // back onto the screen.
  const QRect below = input_->frameGeometry();
  const int aboveTop = mainFrame.top() - 40 - below.height();
  for (const QRect& area : AvailableScreenAreas())
    if (area.contains(mainFrame.center()) && below.bottom() > area.bottom() &&
        aboveTop >= area.top())
      input_->move(below.left(), aboveTop);
  KeepOnScreen(input_.get());
  input_->setProperty("placedByCaller", false);
  return StartResult::Started;
}

bool AppController::HasUnsavedResults() const {
  if (!app_) return false;
  const bool results = app_->ephemeris().hasRun || app_->aspectarian().hasRun;
  return results && app_->buffer().AllCount() > 0 && app_->buffer().AllCount() != savedAllCount_;
}

bool AppController::ConfirmLeave() {
  if (leaveConfirmed_ || exited_ || !HasUnsavedResults()) return true;
  QWidget* owner = data_ ? static_cast<QWidget*>(data_) : main_.get();
  if (!dialogs_.YesNo(
          owner, "Information",
          "The Data Window holds results that have not been saved. Leave NOVASTRA anyway?"))
    return false;
  leaveConfirmed_ = true;
  return true;
}

void AppController::Exit() {
  if (exited_) return;
  if (!ConfirmLeave()) return;
  exited_ = true;
  if (app_ && main_) {
    const double dx = LogicalDpiX(main_.get()), dy = LogicalDpiY(main_.get());
    // A maximised window keeps the place it is restored to.
    const bool maximized = main_->isMaximized();
    const QRect normal = maximized ? main_->normalGeometry() : main_->geometry();
    app_->SetMainPlace(static_cast<float>(PixelsToTwips(maximized ? normal.x() : main_->x(), dx)),
                       static_cast<float>(PixelsToTwips(maximized ? normal.y() : main_->y(), dy)),
                       static_cast<float>(PixelsToTwips(normal.width(), dx)),
                       static_cast<float>(PixelsToTwips(normal.height(), dy)), maximized);
    if (!WriteSettings(app_->folder(), app_->settings(), app_->params()))
      dialogs_.Message(main_.get(), MessageIcon::Exclamation, kWarningTitle,
                       "The settings could not be written to NOVASTRA.INI.");
  }
  if (data_) data_->close();
  if (options_) options_->close();
  if (print_) print_->close();
  if (graph_) graph_->close();
  if (natal_) natal_->close();
  if (input_) input_->close();
  if (main_) main_->close();
  if (onExit) onExit();
}

void AppController::ActivateMain() {
  if (!main_) return;
  main_->raise();
  main_->activateWindow();
}

void AppController::SetDataText(const std::string& text) {
  if (!data_) {
    data_ = new DataWindow(*app_, dialogs_, fontFamily_, main_.get());
    data_->activateMain = [this] { ActivateMain(); };
    data_->afterMore = [this] {
      if (input_) input_->ShowDate();
    };
    data_->onSave = [this] { Save(); };
    data_->onSaveAs = [this] { SaveAs(); };
    data_->onPrintPage = [this] { PrintPage(); };
    data_->onPrintData = [this] { PrintData(); };
    data_->onGraph = [this] { OpenGraph(); };
  }
  data_->SetViewText(text);
}

void AppController::ShowData(std::string_view caption) {
  if (!data_) return;
  data_->setWindowTitle(FromCodes(caption));
  data_->UpdateCommands();
  // A run showing its results brings its own notes; other displays (a table
  // of the View menu, a help document) keep those of the run shown.
  if (ui_.running()) {
    std::vector<std::string> notes = RunNotes(app_->params(), app_->cal());
    for (std::string& n : ChoiceNotes(app_->params())) notes.push_back(std::move(n));
    data_->SetNotes(notes);
    data_->SetTableNote(app_->runKind() == 1 ? TableNote(FirstTable(app_->params())) : "");
  }
  if (app_->settings().DataMaximized && !data_->isVisible()) {
    data_->showMaximized();
  } else {
    const bool first = !data_->isVisible();
    data_->show();
    if (first) KeepOnScreen(data_);
  }
  data_->raise();
}

void AppController::OpenInput() {
  app_->ForgetDataFile();
  if (data_) {
    data_->close();
    delete data_;  // the next display loads a fresh window
  }
  input_->show();
  input_->raise();
  input_->activateWindow();
}

void AppController::OpenOptions() {
  const auto text = OpenOptionsEditor(app_->folder(), ui_);
  if (!text) return;
  if (options_) options_->close();
  options_ = new OptionsWindow(*app_, fontFamily_, *text, main_.get());
  options_->show();
}

void AppController::PrinterSetup() {
  // One printer for the whole session: the print dialog chooses it and its
  // page settings, and every later print goes to it. Cancel keeps the old
  // choice.
  if (!printer_) printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
  const QPageLayout::Orientation before = printer_->pageLayout().orientation();
  bool accepted = false;
  if (askPrinter) {
    accepted = askPrinter(*printer_);
  } else {
    QPrintDialog dialog(printer_.get(), main_.get());
    dialog.setWindowTitle("Printer Setup");
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintShowPageSize);
    // It chooses the printer and prints nothing: its confirm button says so.
    if (auto* box = dialog.findChild<QDialogButtonBox*>())
      if (QPushButton* ok = box->button(QDialogButtonBox::Ok)) ok->setText("OK");
    accepted = dialogs_.Exec(dialog);
  }
  if (!accepted) return;
  printerChosen_ = true;
  // A page the user turned in the dialog stays as they turned it: printing
  // then fits the text by its size alone.
  if (printer_->pageLayout().orientation() != before) orientationChosen_ = true;
}

void AppController::ShowAbout() {
  auto* about = new AboutWindow(main_.get());
  about->show();
}

void AppController::SavedTo(const std::filesystem::path& file) {
  savedAllCount_ = app_->buffer().AllCount();
  if (data_) data_->ShowSavedTo(QString::fromStdString(file.string()));
}

void AppController::Save() {
  const SaveResult result = app_->runs().SaveData();
  if (result == SaveResult::NeedsDialog)
    SaveAs();
  else if (result == SaveResult::Saved)
    SavedTo(app_->currentDataFile());
}

void AppController::SaveAs() {
  const auto setup = app_->runs().PrepareSaveAs();
  if (!setup) return;
  const QString path = dialogs_.SaveFileName(
      data_ ? static_cast<QWidget*>(data_) : main_.get(),
      QString::fromStdString(setup->folder.string()), QString::fromStdString(setup->fileName),
      "Data Files (*.DOC)", QString::fromStdString(setup->defaultExtension));
  if (path.isEmpty()) return;  // cancelled: nothing written
  if (app_->runs().SaveDataAs(std::filesystem::path(path.toStdString())))
    SavedTo(std::filesystem::path(path.toStdString()));
}

void AppController::OpenPrintWindow() {
  if (print_) print_->close();
  print_ = new PrintWindow(*app_, dialogs_, fontFamily_,
                           data_ ? static_cast<QWidget*>(data_) : main_.get());
  if (printerChosen_) print_->printer = printer_.get();
  print_->orientationChosen = orientationChosen_;
  if (!print_->loaded()) {
    print_->close();
    return;
  }
  print_->ShowFit();
  print_->show();
}

void AppController::PrintPage() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  if (app_->runs().PreparePrintPage() == PrintPrepared::Ready) OpenPrintWindow();
  QApplication::restoreOverrideCursor();
}

void AppController::PrintData() {
  QApplication::setOverrideCursor(Qt::WaitCursor);
  if (app_->runs().PreparePrintData() == PrintPrepared::Ready) OpenPrintWindow();
  QApplication::restoreOverrideCursor();
}

void AppController::OpenGraph() {
  if (!graph_) {
    graph_ = new GraphWindow(*app_, dialogs_, main_.get());
    graph_->keptPrinter = [this] { return printerChosen_ ? printer_.get() : nullptr; };
    if (natal_ && natal_->chart()) ShowNatalPoints(*graph_, *natal_->chart());
  }
  graph_->show();
  graph_->raise();
  graph_->activateWindow();
}

void AppController::OpenNatal() {
  if (!natal_) {
    natal_ = new NatalWindow(*app_, dialogs_, fontFamily_, main_.get());
    natal_->onChart = [this](const NatalChart& chart) {
      if (graph_) ShowNatalPoints(*graph_, chart);
    };
  }
  natal_->show();
  natal_->raise();
  natal_->activateWindow();
}

}  // namespace novastra::gui
