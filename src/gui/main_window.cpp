#include "gui/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QDateTime>
#include <QLocale>
#include <QMenuBar>
#include <QTimer>

#include "app/application.h"

namespace novastra::gui {

QString ClockCaption(const QDateTime& now) {
  // The date in fixed English month names; the time in the system's format.
  QString timeFormat = QLocale::system().timeFormat(QLocale::LongFormat);
  timeFormat.remove('t');  // no time zone
  const QString time = QLocale::system().toString(now.time(), timeFormat.trimmed());
  return QString(kTitlePrefix) + QLocale::c().toString(now.date(), "dd MMM yyyy") + "     " + time;
}

MainWindow::MainWindow(QWidget* parent) : QMainWindow(parent) {
  setObjectName("NOVASTRA");
  QMenuBar* bar = menuBar();
  auto call = [](const std::function<void()>& f) {
    if (f) f();
  };

  QMenu* file = bar->addMenu("&File");
  file->setObjectName("mnuFile");
  mnuPrSetup = file->addAction("&Printer Setup");
  mnuPrSetup->setObjectName("mnuPrSetup");
  mnuPrSetup->setShortcut(Qt::Key_F11);
  connect(mnuPrSetup, &QAction::triggered, this, [this, call] { call(onPrinterSetup); });
  mnuGraph = file->addAction("&Graphic ephemeris");
  mnuGraph->setObjectName("mnuGraph");
  mnuGraph->setShortcut(Qt::CTRL | Qt::Key_G);
  connect(mnuGraph, &QAction::triggered, this, [this, call] { call(onGraph); });
  mnuNatal = file->addAction("&Natal chart");
  mnuNatal->setObjectName("mnuNatal");
  mnuNatal->setShortcut(Qt::CTRL | Qt::Key_N);
  connect(mnuNatal, &QAction::triggered, this, [this, call] { call(onNatal); });
  file->addSeparator()->setObjectName("mnuSplit52");
  mnuFileExit = file->addAction("E&xit");
  mnuFileExit->setObjectName("mnuFileExit");
  mnuFileExit->setShortcut(Qt::Key_F12);
  connect(mnuFileExit, &QAction::triggered, this, [this, call] { call(onExit); });

  mnuInputData = bar->addAction("&Input");
  mnuInputData->setObjectName("mnuInputData");
  connect(mnuInputData, &QAction::triggered, this, [this, call] { call(onInput); });
  mnuOptions = bar->addAction("&Options");
  mnuOptions->setObjectName("mnuOptions");
  connect(mnuOptions, &QAction::triggered, this, [this, call] { call(onOptions); });

  auto document = [this](QMenu* menu, const char* name, const QString& caption, const char* file,
                         const QKeySequence& key = {}) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(name);
    if (!key.isEmpty()) a->setShortcut(key);
    const std::string doc = file;
    connect(a, &QAction::triggered, this, [this, doc] {
      if (onDocument) onDocument(doc);
    });
  };
  QMenu* philosophy = bar->addMenu("&Philosophy");
  philosophy->setObjectName("mnuPhilosophy");
  document(philosophy, "mnuHelpBackground", "&Background", "README.TXT");

  QMenu* help = bar->addMenu("&Help");
  help->setObjectName("mnuHelp");
  document(help, "mnuMainMenuHelp", "NOVASTRA Main Menu", "NOVASTRA.HLP", Qt::Key_F1);
  document(help, "mnuPhilosophyHelp", "Philosophy", "PHILO.HLP");
  help->addSeparator()->setObjectName("mnuSplit0");
  document(help, "mnuHelpInputD", "&Input Data Window", "INPUTD.HLP");
  document(help, "mnuHelpOptions", "&Options Window", "OPTIONS.HLP");
  document(help, "mnuHelpOutputD1", "Da&ta Window", "OUTPUTD1.HLP");
  document(help, "mnuHelpPrntfile", "&File To Print  Window", "PRNTFILE.HLP");
  help->addSeparator()->setObjectName("mnuSplit1");
  document(help, "mnuHintsHow", "&How Do I...?", "HOW_DO_I.HLP");
  document(help, "mnuHintsReadingList", "&Reading List", "READING.HLP");
  document(help, "mnuHintsTips", "&Tips", "TIPS.HLP");
  help->addSeparator()->setObjectName("mnuSplit732");
  document(help, "mnuShortcutKeys", "Shortcut &keys", "SHORTCUT.HLP");
  document(help, "mnuHelpLicense", "&License Agreement", "LICENSE.HLP");
  help->addSeparator()->setObjectName("mnuSplit2");
  document(help, "mnuHelpRevisions", "Re&vision history", "REVISION.HLP");
  mnuHelpAbout = help->addAction("Abo&ut");
  mnuHelpAbout->setObjectName("mnuHelpAbout");
  connect(mnuHelpAbout, &QAction::triggered, this, [this, call] { call(onAbout); });

  Timer1 = new QTimer(this);
  Timer1->setObjectName("Timer1");
  Timer1->setInterval(1000);
  connect(Timer1, &QTimer::timeout, this, &MainWindow::UpdateClock);
  Timer1->start();
  UpdateClock();
}

void MainWindow::UpdateClock() { setWindowTitle(ClockCaption(QDateTime::currentDateTime())); }

void MainWindow::closeEvent(QCloseEvent* event) {
  // The close box ends the program exactly as File, Exit does.
  if (!exiting_ && mayClose && !mayClose()) {
    event->ignore();
    return;
  }
  if (!exiting_ && onExit) {
    exiting_ = true;
    onExit();
  }
  event->accept();
}

}  // namespace novastra::gui
