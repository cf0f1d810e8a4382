// The window operations the handlers and the conversion use.
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMetaObject>
#include <QPushButton>
#include <QWebEngineView>

#include "ui/qt/canvas.h"
#include "ui/qt/main_window.h"
#include "ui/qt/picture_button.h"
#include "ui/qt/qt_text.h"

namespace velmo::ui::qt {

using text::Text;

QWidget* MainWindow::Control(const Text& name) const {
  const auto found = controls_.find(name.str());
  return found == controls_.end() ? nullptr : found->second;
}

Text MainWindow::ReadText(const Text& control) {
  QWidget* widget = Control(control);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) return FromQString(edit->text());
  if (auto* label = qobject_cast<QLabel*>(widget)) return FromQString(label->text());
  if (auto* button = qobject_cast<QPushButton*>(widget)) return FromQString(button->text());
  return Text();
}

void MainWindow::WriteText(const Text& control, const Text& value) {
  QWidget* widget = Control(control);
  if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
    edit->setText(ToQString(value));
    ContentChanged(control);
  } else if (auto* label = qobject_cast<QLabel*>(widget)) {
    label->setText(ToQString(value));
  } else if (auto* button = qobject_cast<QPushButton*>(widget)) {
    button->setText(ToQString(value));
  }
}

Text MainWindow::ReadTag(const Text& control) {
  const auto found = tags_.find(control.str());
  return found == tags_.end() ? Text() : found->second;
}

void MainWindow::WriteTag(const Text& control, const Text& tag) {
  const auto found = tags_.find(control.str());
  if (found != tags_.end()) found->second = tag;
}

void MainWindow::SetPictures(const Text& control, assets::PictureId normal,
                             assets::PictureId hover) {
  if (auto* button = qobject_cast<PictureButton*>(Control(control))) {
    button->SetPicture(PictureButton::kNormal, normal);
    button->SetPicture(PictureButton::kHover, hover);
  }
}

void MainWindow::DrawPicture(const Text& canvas, assets::PictureId picture, int left, int top,
                             int width, int height) {
  if (auto* target = qobject_cast<Canvas*>(Control(canvas))) {
    target->Draw(DecodePicture(picture), QRect(left, top, width, height));
  }
}

void MainWindow::Navigate(const Text& address) {
  browser_address_ = address;
  ++navigation_count_;
  // Before the web view exists the address waits for it; a later one
  // replaces it, as a new navigation replaces a page still loading.
  if (web_view_ != nullptr) web_view_->setUrl(QUrl(ToQString(address)));
}

void MainWindow::OpenInBrowser(const Text& address) {
  const QUrl url(ToQString(address));
  if (options_.open_url) {
    options_.open_url(url);
  } else {
    (void)QDesktopServices::openUrl(url);  // nothing is said when it fails
  }
}

void MainWindow::ShowMessage(const Text& message, const Text& title) {
  if (options_.show_message) {
    options_.show_message(ToQString(message), ToQString(title));
    return;
  }
  // No owner and modal to the whole program; which button closed it does
  // not matter.
  QMessageBox box(QMessageBox::NoIcon, ToQString(title), ToQString(message), QMessageBox::Ok);
  box.setWindowModality(Qt::ApplicationModal);
  box.exec();
}

void MainWindow::Minimise() {
  showMinimized();
}

void MainWindow::PostClose() {
  // Closed once the click that asked for it has been handled.
  QMetaObject::invokeMethod(this, &QWidget::close, Qt::QueuedConnection);
}

}  // namespace velmo::ui::qt
