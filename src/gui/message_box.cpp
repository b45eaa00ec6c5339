#include "gui/message_box.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

#include "text/charset.h"

namespace novastra::gui {

void ShowMessageBox(QWidget* parent, MessageIcon icon, const QString& title, const QString& text) {
  QMessageBox::Icon qicon = QMessageBox::Information;
  if (icon == MessageIcon::Critical) qicon = QMessageBox::Critical;
  if (icon == MessageIcon::Exclamation) qicon = QMessageBox::Warning;
  QMessageBox box(qicon, title, text, QMessageBox::Ok, MessageOwner(parent));
  // A busy pointer must not hide the pointer the user needs to press OK.
  const bool busy = QApplication::overrideCursor() != nullptr;
  if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
  box.exec();
  if (busy) QApplication::restoreOverrideCursor();
}

QWidget* MessageOwner(QWidget* parent) {
  // A dialog already up keeps the box in front of it; else the window the
  // box is about; else the window the user is in.
  QWidget* modal = QApplication::activeModalWidget();
  if (modal && modal->isVisible()) return modal;
  if (parent && parent->window()->isVisible()) return parent->window();
  QWidget* active = QApplication::activeWindow();
  return active && active->isVisible() ? active : parent;
}

bool AskYesNo(QWidget* parent, const QString& title, const QString& text) {
  QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No,
                  MessageOwner(parent));
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

QString AskSaveFileName(QWidget* parent, const QString& folder, const QString& fileName,
                        const QString& filter, const QString& defaultSuffix) {
  QFileDialog dialog(parent);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  dialog.setDirectory(folder);
  dialog.selectFile(fileName);
  dialog.setNameFilter(filter);
  dialog.setDefaultSuffix(defaultSuffix);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return dialog.selectedFiles().first();
}

bool Dialogs::Exec(QDialog& dialog) { return dialog.exec() == QDialog::Accepted; }

QString FromCodes(std::string_view bytes) {
  const std::string utf8 = ToUtf8(bytes);
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string ToCodes(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return FromUtf8(std::string_view(utf8.constData(), static_cast<size_t>(utf8.size())));
}

}  // namespace novastra::gui
