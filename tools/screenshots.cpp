// Takes the README's pictures of the desktop program: the main window, the
// Input window, the Data Window with an ephemeris and with an aspectarian,
// the graphic ephemeris and the natal chart, each as the program opens it on
// the screen it runs on (the graphic ephemeris and the natal chart maximised),
// in the light theme or a dark one. scripts/screenshots runs it on an
// offscreen screen of each size.
//
//   novastra-screenshots --out DIR --theme light|dark
//
// Files: DIR/<window>-<width>x<height>-<theme>.png. Every run uses the same
// dates, choices and chart, in a fresh application folder, so the pictures
// change only when the program does.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCommandLineParser>
#include <QDateEdit>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyleFactory>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <unordered_map>
#include <vector>

#include "app/application.h"
#include "app/supplied_dir.h"
#include "gui/app_controller.h"
#include "gui/graph_window.h"
#include "gui/input_window.h"
#include "gui/main_window.h"
#include "gui/message_box.h"
#include "gui/natal_window.h"

namespace {

using novastra::MessageIcon;
using novastra::gui::AppController;

// No box may wait for a click: messages go to standard error, questions are
// answered Yes, file dialogs cancelled.
class QuietDialogs : public novastra::gui::Dialogs {
 public:
  void Message(QWidget*, MessageIcon, const QString& title, const QString& text) override {
    std::fprintf(stderr, "screenshots: %s: %s\n", qPrintable(title), qPrintable(text));
  }
  bool YesNo(QWidget*, const QString&, const QString&) override { return true; }
  QString SaveFileName(QWidget*, const QString&, const QString&, const QString&,
                       const QString&) override {
    return {};
  }
  bool Exec(QDialog&) override { return false; }
};

// A dark desktop theme as Fusion draws one: light text on dark grey.
QPalette DarkPalette() {
  QPalette p(QColor(53, 53, 53));
  const QColor text(230, 230, 230), dim(127, 127, 127);
  p.setColor(QPalette::Window, QColor(53, 53, 53));
  p.setColor(QPalette::WindowText, text);
  p.setColor(QPalette::Base, QColor(30, 30, 30));
  p.setColor(QPalette::AlternateBase, QColor(45, 45, 45));
  p.setColor(QPalette::Text, text);
  p.setColor(QPalette::Button, QColor(53, 53, 53));
  p.setColor(QPalette::ButtonText, text);
  p.setColor(QPalette::ToolTipBase, QColor(30, 30, 30));
  p.setColor(QPalette::ToolTipText, text);
  p.setColor(QPalette::Highlight, QColor(42, 130, 218));
  p.setColor(QPalette::HighlightedText, Qt::black);
  p.setColor(QPalette::Link, QColor(90, 160, 240));
  p.setColor(QPalette::PlaceholderText, dim);
  for (auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
    p.setColor(QPalette::Disabled, role, dim);
  return p;
}

void Settle() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

// The picture in at most 256 colours, for a file a third the size: the
// colours most pixels have (the paper, the text, each line's own colour),
// every other pixel (an edge's blend, mostly) in the nearest of them.
QImage FewerColours(const QImage& image) {
  constexpr size_t kColours = 256;
  std::unordered_map<QRgb, long> count;
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) ++count[row[x]];
  }
  std::vector<std::pair<long, QRgb>> byCount;
  byCount.reserve(count.size());
  for (const auto& [rgb, n] : count) byCount.emplace_back(n, rgb);
  std::sort(byCount.begin(), byCount.end(), std::greater<>());
  if (byCount.size() > kColours) byCount.resize(kColours);
  QVector<QRgb> table;
  std::unordered_map<QRgb, int> index;
  for (const auto& [n, rgb] : byCount) {
    index[rgb] = int(table.size());
    table.push_back(rgb);
  }
  const auto nearest = [&table](QRgb c) {
    int best = 0;
    long bestDistance = -1;
    for (int k = 0; k < int(table.size()); ++k) {
      const long dr = qRed(c) - qRed(table[k]), dg = qGreen(c) - qGreen(table[k]),
                 db = qBlue(c) - qBlue(table[k]);
      const long d = dr * dr + dg * dg + db * db;
      if (bestDistance < 0 || d < bestDistance) {
        best = k;
        bestDistance = d;
      }
    }
    return best;
  };
  QImage out(image.size(), QImage::Format_Indexed8);
  out.setColorTable(table);
  for (int y = 0; y < image.height(); ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    uchar* to = out.scanLine(y);
    for (int x = 0; x < image.width(); ++x) {
      auto it = index.find(row[x]);
      if (it == index.end()) it = index.emplace(row[x], nearest(row[x])).first;
      to[x] = static_cast<uchar>(it->second);
    }
  }
  return out;
}

class Shooter {
 public:
  Shooter(QString dir, QString suffix) : dir_(std::move(dir)), suffix_(std::move(suffix)) {}

  // The window's own pixels as the program drew them, saved at the best
  // compression.
  bool Take(QWidget* w, const QString& name) {
    if (!w) {
      std::fprintf(stderr, "screenshots: no %s\n", qPrintable(name));
      return false;
    }
    Settle();
    const QString file = dir_ + "/" + name + "-" + suffix_ + ".png";
    const QImage image = FewerColours(w->grab().toImage().convertToFormat(QImage::Format_RGB32));
    if (!image.save(file, "PNG", 0)) {
      std::fprintf(stderr, "screenshots: cannot write %s\n", qPrintable(file));
      return false;
    }
    std::printf("%s %dx%d\n", qPrintable(file), image.width(), image.height());
    return true;
  }

 private:
  QString dir_, suffix_;
};

// The Input window's choices for the runs shown: March 2009 as a full month
// at midnight, New York's clock, the void-of-course Moon.
void ChooseRun(novastra::gui::InputWindow& in) {
  in.txtMonth->setText("3");
  in.txtDay->setText("1");
  in.txtYear->setText("2009");
  in.chkFullMonth->setChecked(true);
  in.optMidnight->setChecked(true);
  if (auto* voc = in.findChild<QAbstractButton*>("chkVoidOfCourse")) voc->setChecked(true);
  if (auto* zone = in.findChild<QComboBox*>("cboTimeZone"))
    zone->setCurrentText("America/New_York");
  Settle();
}

// The chart of the README: New York, 4 July 1990 at noon, Placidus houses.
void ShowChart(novastra::gui::NatalWindow& natal) {
  natal.txtName->setText("New York");
  natal.txtDate->setText("1990-07-04");
  natal.txtTime->setText("12:00");
  natal.cboZone->setCurrentText("America/New_York");
  natal.txtLatitude->setText("40N43");
  natal.txtLongitude->setText("74W00");
  natal.Calculate();
}

int TakeAll(AppController& app, Shooter& shoot) {
  int failures = 0;
  auto take = [&](QWidget* w, const char* name) { failures += shoot.Take(w, name) ? 0 : 1; };
  novastra::gui::InputWindow* in = app.inputWindow();
  ChooseRun(*in);
  take(app.mainWindow(), "main-window");
  take(in, "input-window");

  in->cmdEphemeris->click();
  take(app.dataWindow(), "data-window-ephemeris");
  in->cmdAspectarian->click();
  take(app.dataWindow(), "data-window-aspectarian");

  app.OpenNatal();
  novastra::gui::NatalWindow* natal = app.natalWindow();
  if (natal) {
    natal->showMaximized();
    ShowChart(*natal);
  }
  take(natal, "natal-window");

  // A year on the 90-degree dial, the chart's places as fixed points.
  app.OpenGraph();
  novastra::gui::GraphWindow* graph = app.graphWindow();
  if (graph) {
    graph->showMaximized();
    graph->dtFrom->setDate(QDate(2009, 1, 1));
    graph->dtTo->setDate(QDate(2009, 12, 31));
    graph->cboDial->setCurrentIndex(graph->cboDial->findData(90));
  }
  take(graph, "graph-window");
  return failures;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication qapp(argc, argv);
  QApplication::setApplicationName("NOVASTRA");
  QCommandLineParser parser;
  parser.addHelpOption();
  const QCommandLineOption out("out", "Folder of the pictures.", "DIR", ".");
  const QCommandLineOption theme("theme", "light or dark.", "THEME", "light");
  parser.addOption(out);
  parser.addOption(theme);
  parser.process(qapp);
  const bool dark = parser.value(theme) == "dark";
  if (!dark && parser.value(theme) != "light") {
    std::fprintf(stderr, "screenshots: --theme is light or dark\n");
    return 2;
  }

  // One style for both themes, so that they differ only in their colours.
  QApplication::setStyle(QStyleFactory::create("Fusion"));
  if (dark) QApplication::setPalette(DarkPalette());

  QTemporaryDir home;
  const std::string programDir = QCoreApplication::applicationDirPath().toStdString();
  std::string error;
  const auto supplied = novastra::LocateSuppliedDir(programDir, std::nullopt, &error);
  if (!home.isValid() || !supplied) {
    std::fprintf(stderr, "screenshots: %s\n", error.c_str());
    return 1;
  }
  // The supplied options file, as a first start in the user's folder has it.
  std::filesystem::copy_file(*supplied / "OPTIONS.OPT",
                             std::filesystem::path(home.path().toStdString()) / "OPTIONS.OPT");
  QuietDialogs dialogs;
  AppController app(&dialogs);
  AppController::StartOptions options;
  options.home = home.path().toStdString();
  options.programDir = programDir;
  options.suppliedDir = *supplied;
  if (app.Start(options) != AppController::StartResult::Started) return 1;

  const QSize screen = QGuiApplication::primaryScreen()->size();
  const QString dir = parser.value(out);
  QDir().mkpath(dir);
  Shooter shoot(dir, QString("%1x%2-%3")
                         .arg(screen.width())
                         .arg(screen.height())
                         .arg(dark ? "dark" : "light"));
  const int failures = TakeAll(app, shoot);
  app.Exit();
  return failures == 0 ? 0 : 1;
}
