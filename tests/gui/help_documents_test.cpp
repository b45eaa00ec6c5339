// The help documents against the windows they describe: every shortcut key
// of the main window, the Data Window and the graphic ephemeris is listed in
// SHORTCUT.HLP, every menu entry the documents name is one the program has
// and every menu is described, no document tells the user to work out local
// times by hand, and every document keeps its plain-text form. And the Alt
// letters the document lists: one control each in every window.
#include <QRegularExpression>
#include <QTest>
#include <map>

#include "gui/graph_window.h"
#include "gui_support.h"
#include "text/glyphs.h"

namespace novastra::gui::test {

namespace {

// The documents the Help and Philosophy menus show.
const char* const kDocuments[] = {"HOW_DO_I.HLP", "INPUTD.HLP",   "LICENSE.HLP",  "NOVASTRA.HLP",
                                  "OPTIONS.HLP",  "OUTPUTD1.HLP", "PHILO.HLP",    "PRNTFILE.HLP",
                                  "READING.HLP",  "REVISION.HLP", "SHORTCUT.HLP", "TIPS.HLP",
                                  "README.TXT"};

// A document's lines, without their CR LF. The documents hold ASCII and the
// program's single-byte symbol codes, read here as Latin-1 byte for byte.
QStringList Lines(const std::string& name) {
  const std::string bytes = ReadAll(fs::path(NOVASTRA_DATA_DIR) / name);
  QStringList lines = QString::fromLatin1(bytes.data(), qsizetype(bytes.size())).split("\r\n");
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  return lines;
}

// The lines under a heading ("Menus" over a line of dashes) up to the next
// heading of the same kind.
QStringList Section(const QStringList& lines, const QString& heading) {
  QStringList out;
  bool inside = false;
  for (qsizetype i = 0; i < lines.size(); ++i) {
    const bool isHeading = i + 1 < lines.size() && !lines[i].isEmpty() &&
                           lines[i + 1] == QString(lines[i].size(), '-');
    if (isHeading) {
      if (inside) break;
      inside = lines[i] == heading;
      ++i;  // the dashes
      continue;
    }
    if (inside) out << lines[i];
  }
  return out;
}

QString Caption(const QString& text) { return QString(text).remove('&'); }

// A menu bar as it reads: each menu's title with its entries' captions, and
// the entries that sit on the bar itself under the title "".
using Menus = std::map<QString, QStringList>;

Menus MenusOf(QMainWindow* w) {
  Menus menus;
  for (QAction* a : w->menuBar()->actions()) {
    if (a->isSeparator()) continue;
    if (QMenu* m = a->menu()) {
      QStringList& entries = menus[Caption(m->title())];
      for (QAction* e : m->actions())
        if (!e->isSeparator()) entries << Caption(e->text());
    } else {
      menus[""] << Caption(a->text());
    }
  }
  return menus;
}

// True when `line` starts with `name` as a whole name: then its end, a
// blank before a shortcut "(F9)", or two blanks before the description.
bool StartsWithName(const QString& line, const QString& name) {
  if (!line.startsWith(name)) return false;
  const QString rest = line.mid(name.size());
  return rest.isEmpty() || rest.startsWith("  ") || rest.startsWith(" (");
}

// A shortcut key as SHORTCUT.HLP writes it ("Ctrl+F1", "Escape") and the
// entry it runs ("View - Right Ascension").
struct Shortcut {
  QString key, entry;
};

std::vector<Shortcut> ShortcutsOf(QMainWindow* w) {
  std::vector<Shortcut> keys;
  for (QAction* bar : w->menuBar()->actions()) {
    QMenu* menu = bar->menu();
    const QList<QAction*> entries = menu ? menu->actions() : QList<QAction*>{bar};
    for (QAction* a : entries) {
      for (const QKeySequence& key : a->shortcuts()) {
        QString text = key.toString(QKeySequence::PortableText);
        if (text == "Esc") text = "Escape";  // as the keyboard names it
        keys.push_back(
            {text, (menu ? Caption(menu->title()) + " - " : QString()) + Caption(a->text())});
      }
    }
  }
  return keys;
}

// A menu listing read back: the entries it names under each title ("" for
// the bar's own), and the lines that name none of the window's.
struct Listing {
  std::map<QString, QStringList> listed;
  QStringList strays;
};

// The entry of `names` that `line` starts with, or "".
QString EntryAt(const QString& line, const QStringList& names) {
  const auto e = std::find_if(names.begin(), names.end(),
                              [&](const QString& n) { return StartsWithName(line, n); });
  return e == names.end() ? QString() : *e;
}

// A title at the left edge, its entries two blanks in; an entry of the bar
// itself at the left edge; descriptions further in.
Listing ReadListing(const QStringList& section, const Menus& menus) {
  Listing out;
  const QStringList bar = menus.contains("") ? menus.at("") : QStringList();
  QString title;
  for (const QString& line : section) {
    if (line.isEmpty()) continue;
    if (!line.startsWith(' ')) {
      title = menus.contains(line) ? line : QString();
      if (!title.isEmpty()) continue;
      const QString entry = EntryAt(line, bar);
      if (entry.isEmpty()) out.strays << line;
      else out.listed[""] << entry;
    } else if (line.startsWith("  ") && line[2] != ' ' && !title.isEmpty()) {
      const QString entry = EntryAt(line.mid(2), menus.at(title));
      if (entry.isEmpty()) out.strays << title + ": " + line.mid(2);
      else out.listed[title] << entry;
    }
  }
  return out;
}

struct WindowCase {
  const char* window;
  const char* document;  // where its menus are listed
  const char* heading;   // the section that lists them
  const char* shortcuts;  // its section of SHORTCUT.HLP
};

constexpr WindowCase kWindows[] = {
    {"main window", "NOVASTRA.HLP", "Menus", "Main window"},
    {"Data Window", "OUTPUTD1.HLP", "Menus", "Data Window"},
    {"graphic ephemeris", "NOVASTRA.HLP", "Menus of the graphic ephemeris",
     "Graphic ephemeris window"},
};

}  // namespace

// The three windows with menus, opened as a user opens them.
class HelpDocuments : public January2009 {
 protected:
  QMainWindow* Window(const std::string& name) {
    if (name == "main window") return controller->mainWindow();
    if (name == "Data Window") return controller->dataWindow();
    controller->mainWindow()->mnuGraph->trigger();
    return controller->graphWindow();
  }
};

TEST_F(HelpDocuments, EveryShortcutKeyOfTheWindowsIsListedInShortcutHlp) {
  const QStringList doc = Lines("SHORTCUT.HLP");
  for (const WindowCase& c : kWindows) {
    QMainWindow* w = Window(c.window);
    ASSERT_NE(w, nullptr) << c.window;
    const QStringList section = Section(doc, c.shortcuts);
    EXPECT_FALSE(section.isEmpty()) << "SHORTCUT.HLP has no section \"" << c.shortcuts << "\"";
    const std::vector<Shortcut> keys = ShortcutsOf(w);
    EXPECT_FALSE(keys.empty()) << c.window;
    for (const Shortcut& k : keys) {
      const bool listed = std::any_of(section.begin(), section.end(), [&](const QString& l) {
        return l.startsWith("  " + k.key + " ") && l.contains(k.entry);
      });
      EXPECT_TRUE(listed) << c.shortcuts << ": no line \"  " << k.key.toStdString() << "  "
                          << k.entry.toStdString() << "\"";
    }
  }
}

// Each window's help lists its menus as the bar has them: a title at the left
// edge, its entries two blanks in; an entry of the bar itself at the left edge.
// Every entry the program has is listed, and every one listed is the program's.
TEST_F(HelpDocuments, MenuListingsNameEveryEntryOfTheWindowsAndNoOther) {
  for (const WindowCase& c : kWindows) {
    QMainWindow* w = Window(c.window);
    ASSERT_NE(w, nullptr) << c.window;
    const Menus menus = MenusOf(w);
    const QStringList section = Section(Lines(c.document), c.heading);
    ASSERT_FALSE(section.isEmpty()) << c.document << " has no section \"" << c.heading << "\"";
    Listing read = ReadListing(section, menus);
    EXPECT_TRUE(read.strays.isEmpty()) << c.document << ": no menu or entry of the " << c.window
                                       << ": " << read.strays.join(" | ").toStdString();
    for (const auto& [menu, entries] : menus)
      for (const QString& e : entries)
        EXPECT_TRUE(read.listed[menu].contains(e))
            << c.document << " does not list " << (menu.isEmpty() ? "" : menu.toStdString() + " - ")
            << e.toStdString() << " of the " << c.window;
  }
}

// "View - Retrograde times" or "View > Eclipses" anywhere in the documents
// names an entry some window's menu of that title has, spelt as it is shown.
TEST_F(HelpDocuments, EveryMenuEntryQuotedInTheDocumentsExists) {
  Menus all;
  for (const WindowCase& c : kWindows)
    for (const auto& [menu, entries] : MenusOf(Window(c.window)))
      if (!menu.isEmpty()) all[menu] << entries;
  QStringList titles;
  for (const auto& m : all) titles << QRegularExpression::escape(m.first);
  // The rest of the line is looked at, not taken, so that the next quote is found too.
  const QRegularExpression quote("\\b(" + titles.join('|') + ") (-|>) (?=(.{0,80}))");
  int quoted = 0;
  for (const char* name : kDocuments) {
    // A quote may run on to the next line: the lines are joined with one blank.
    QString text;
    for (const QString& line : Lines(name)) text += " " + line.trimmed();
    for (auto it = quote.globalMatch(text); it.hasNext();) {
      const auto m = it.next();
      const QString rest = m.captured(3);
      const QStringList& entries = all.at(m.captured(1));
      ++quoted;
      EXPECT_TRUE(std::any_of(entries.begin(), entries.end(),
                              [&](const QString& e) {
                                if (!rest.startsWith(e)) return false;
                                const QChar after = rest.size() > e.size() ? rest[e.size()] : ' ';
                                return !after.isLetterOrNumber();
                              }))
          << name << ": \"" << (m.captured(0) + rest.left(40)).toStdString()
          << "\" names no entry of a "
          << m.captured(1).toStdString() << " menu";
    }
  }
  EXPECT_GT(quoted, 10);
}

// The underlined letter of a menu title, a labelled field or a button: Alt
// with it reaches that one control. Two with one letter in a window make the
// key ambiguous: each press goes to the next of them in turn.
QChar Mnemonic(const QString& text) {
  const qsizetype i = text.indexOf('&');
  return i >= 0 && i + 1 < text.size() ? text[i + 1].toUpper() : QChar();
}

TEST_F(HelpDocuments, EachAltLetterOfAWindowReachesOneControl) {
  controller->mainWindow()->mnuNatal->trigger();
  const std::pair<const char*, QWidget*> windows[] = {
      {"main window", Window("main window")},
      {"Data Window", Window("Data Window")},
      {"graphic ephemeris", Window("graphic ephemeris")},
      {"natal chart", controller->natalWindow()},
  };
  for (const auto& [name, w] : windows) {
    ASSERT_NE(w, nullptr) << name;
    std::map<QChar, QStringList> owners;
    if (auto* main = qobject_cast<QMainWindow*>(w))
      for (QAction* a : main->menuBar()->actions()) owners[Mnemonic(a->text())] << a->text();
    // The window's own controls, not those of the windows it owns.
    for (QLabel* l : w->findChildren<QLabel*>())
      if (l->buddy() && l->window() == w) owners[Mnemonic(l->text())] << l->text();
    for (QAbstractButton* b : w->findChildren<QAbstractButton*>())
      if (b->window() == w) owners[Mnemonic(b->text())] << b->text();
    owners.erase(QChar());
    for (const auto& [letter, texts] : owners)
      EXPECT_EQ(texts.size(), 1) << name << ": Alt+" << QString(letter).toStdString() << " for "
                                 << texts.join(", ").toStdString();
  }
  // In the graphic ephemeris Alt+F opens the File menu at the first press.
  GraphWindow* g = controller->graphWindow();
  g->activateWindow();
  QApplication::processEvents();
  QTest::keyClick(g, Qt::Key_F, Qt::AltModifier);
  QApplication::processEvents();
  QWidget* popup = QApplication::activePopupWidget();
  EXPECT_NE(popup, nullptr) << "focus went to "
                            << (QApplication::focusWidget()
                                    ? QApplication::focusWidget()->objectName().toStdString()
                                    : "nothing");
  if (popup) popup->close();
}

// Times are given in the Input window's time zone: no document may tell the
// user to add (or subtract) a zone's offset to Universal Time by hand.
TEST(HelpText, NoDocumentTellsTheUserToAddAnOffsetToUniversalTime) {
  const QRegularExpression handWork(
      "\\b(add|subtract)\\b[^.]*\\b(offset|time zone|summer time|daylight)",
      QRegularExpression::CaseInsensitiveOption);
  for (const char* name : kDocuments) {
    QString text;
    for (const QString& line : Lines(name)) text += " " + line.trimmed();
    const auto m = handWork.match(text);
    EXPECT_FALSE(m.hasMatch()) << name << ": \"" << m.captured(0).toStdString() << "\"";
  }
}

namespace {

// What keeps a document from being plain text as the Data Window shows it:
// a line end other than CR LF, a line over 78 columns, a byte that is neither
// printable ASCII nor one of the program's symbol codes (one column each).
std::vector<std::string> FormatFaults(const std::string& bytes) {
  std::vector<std::string> faults;
  if (bytes.size() < 2 || bytes.substr(bytes.size() - 2) != "\r\n")
    faults.emplace_back("no CR LF at the end");
  int line = 1;
  std::size_t start = 0;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto c = static_cast<unsigned char>(bytes[i]);
    const std::string where = "line " + std::to_string(line);
    if (c == '\n') {
      if (i == 0 || bytes[i - 1] != '\r') faults.push_back(where + ": bare LF");
      const std::size_t width = i - start - (i > 0 && bytes[i - 1] == '\r' ? 1 : 0);
      if (width > 78) faults.push_back(where + ": " + std::to_string(width) + " columns");
      start = i + 1;
      ++line;
    } else if (c != '\r' && !(c >= 32 && c < 127) && FindGlyph(c) == nullptr) {
      faults.push_back(where + ": byte " + std::to_string(c));
    }
  }
  return faults;
}

}  // namespace

// Plain text as the Data Window shows it: CR LF line ends, no tabs, at most
// 78 columns, and only ASCII and the program's symbol codes (one byte, one
// column each).
TEST(HelpText, EveryDocumentIsPlainTextOfAtMost78Columns) {
  for (const char* name : kDocuments) {
    const std::string bytes = ReadAll(fs::path(NOVASTRA_DATA_DIR) / name);
    EXPECT_EQ(FormatFaults(bytes), std::vector<std::string>{}) << name;
  }
}

}  // namespace novastra::gui::test
