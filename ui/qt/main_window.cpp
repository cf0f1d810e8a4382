#include "ui/qt/main_window.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QShortcut>
#include <QTimer>
#include <QWebEngineView>
#include <QWindow>

#include "assets/pictures.h"
#include "core/conversion_run.h"
#include "ui/program_files.h"
#include "ui/qt/canvas.h"
#include "ui/qt/control_bridge.h"
#include "ui/qt/control_factory.h"
#include "ui/qt/qt_text.h"
#include "ui/result_files.h"
#include "ui/window_description.h"
#include "ui/window_events.h"

namespace velmo::ui::qt {

using text::Text;

MainWindow::MainWindow(MainWindowOptions options) : QWidget(nullptr), options_(std::move(options)) {
  if (options_.result_directory.empty()) options_.result_directory = ProgramDirectory();
  const WindowSettings& settings = MainWindowSettings();

  setWindowTitle(ToQString(settings.title));
  // A sizing border, a title bar with the system menu, minimise and close; no
  // maximise box.
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, palette.color(QPalette::Button));
  setPalette(palette);
  setAutoFillBackground(true);
  setFont(SongFont(settings.default_font_pixels, 400));

  const auto icon = assets::IconMain();
  QPixmap icon_pixmap;
  if (icon_pixmap.loadFromData(icon.data(), static_cast<uint>(icon.size()), "ICO")) {
    setWindowIcon(QIcon(icon_pixmap));
  }

  BuildControls();
  bridge_ = std::make_shared<ControlBridge>(*this);
  BindEvents();

  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  escape->setContext(Qt::WindowShortcut);
  connect(escape, &QShortcut::activated, this, &QWidget::close);

  resize(settings.outer_width, settings.outer_height);
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - settings.outer_width) / 2,
         area.y() + (area.height() - settings.outer_height) / 2);
  }
  if (QWidget* address = Control(names::AddressBox())) address->setFocus();

  // Every control exists: the window's created event.
  OnWindowCreated(*this);
}

MainWindow::~MainWindow() {
  bridge_->Detach();
}

void MainWindow::BuildControls() {
  for (const ControlRow& row : WindowDescription()) {
    QWidget* parent = row.parent.empty() ? this : Control(row.parent);
    if (parent == nullptr) continue;
    QWidget* widget = CreateControl(row, parent);
    if (widget == nullptr) continue;
    controls_[row.name.str()] = widget;
    tags_[row.name.str()] = row.tag;
  }
  tags_[names::BrowserBox().str()] = Text();
}

void MainWindow::BindEvents() {
  const auto clicked = [this](const Text& name, auto handler) {
    if (auto* button = qobject_cast<QAbstractButton*>(Control(name))) {
      connect(button, &QAbstractButton::clicked, this, handler);
    }
  };
  clicked(names::ConvertButton(),
          [this] { core::RunConversion(bridge_, options_.catalogue, options_.start_thread); });
  for (int service = 1; service <= 9; ++service) {
    const Text toggle = names::ServiceToggle(service);
    clicked(toggle, [this, toggle] { ToggleService(*this, toggle); });
  }
  clicked(names::MinimiseButton(), [this] { MinimiseWindow(*this); });
  clicked(names::CloseButton(), [this] { CloseMainWindow(*this); });
  clicked(names::MakerSiteButton(), [this] { OpenMakerSite(*this); });
  clicked(names::SaveButton(), [this] { SaveResults(*this, options_.result_directory); });
  clicked(names::ClearButton(), [this] { ClearAll(*this); });
  if (auto* canvas = qobject_cast<Canvas*>(Control(names::LogoCanvas()))) {
    canvas->OnLeftPress([this] { OpenForumPage(*this); });
  }
  // textEdited fires for the user's own changes only; the program's writes
  // fire the handler themselves (WriteText), also for an unchanged text.
  for (const auto& [name, widget] : controls_) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) {
      const Text control(name);
      connect(edit, &QLineEdit::textEdited, this, [this, control] { ContentChanged(control); });
    }
  }
}

void MainWindow::ContentChanged(const Text& control) {
  if (control == names::AddressBox()) OnAddressTextChanged(*this);
}

void MainWindow::CreateWebView() {
  if (web_view_ != nullptr) return;
  const ControlRow* row = FindControlRow(names::BrowserBox());
  QWidget* parent = row != nullptr ? Control(row->parent) : nullptr;
  if (row == nullptr || parent == nullptr) return;
  web_view_ = new QWebEngineView(parent);
  web_view_->setObjectName(ToQString(row->name));
  web_view_->setGeometry(row->left, row->top, row->width, row->height);
  // The middle text size of the five.
  web_view_->setZoomFactor(1.0);
  web_view_->setFocusPolicy(Qt::StrongFocus);
  web_view_->show();
  controls_[row->name.str()] = web_view_;
  if (navigation_count_ > 0) web_view_->setUrl(QUrl(ToQString(browser_address_)));
}

void MainWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // Shown is not yet on screen: the display system exposes the window later.
  if (!placed_ && windowHandle() != nullptr) windowHandle()->installEventFilter(this);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (!placed_ && watched == windowHandle() && event->type() == QEvent::Expose &&
      windowHandle()->isExposed()) {
    placed_ = true;
    windowHandle()->removeEventFilter(this);
    // The expose paints the window; only after that does the web engine start,
    // which keeps this thread busy for a good while.
    QTimer::singleShot(0, this, [this] {
      PlaceOnScreen(0);
      if (options_.create_web_view) CreateWebView();
    });
  }
  return QWidget::eventFilter(watched, event);
}

void MainWindow::PlaceOnScreen(int attempt) {
  // The outer size includes the frame, which the window manager reports only
  // some time after the window is mapped, so it is looked for a few times;
  // without a frame at all (offscreen) nothing changes.
  const WindowSettings& settings = MainWindowSettings();
  const QSize frame = frameGeometry().size() - geometry().size();
  if (frame.width() <= 0 && frame.height() <= 0) {
    constexpr int kAttempts = 20;
    if (attempt + 1 < kAttempts) {
      QTimer::singleShot(25, this, [this, attempt] { PlaceOnScreen(attempt + 1); });
    }
    return;
  }
  resize(settings.outer_width - frame.width(), settings.outer_height - frame.height());
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->geometry();
    move(area.x() + (area.width() - settings.outer_width) / 2,
         area.y() + (area.height() - settings.outer_height) / 2);
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Workers still waiting for their services find the window gone from now
  // on: their writes go nowhere and none of them is waited for.
  bridge_->Detach();
  event->accept();
}

void MainWindow::mousePressEvent(QMouseEvent* event) {
  // Presses on the background, and those labels, shape boxes and the group
  // box pass on, move the window as the title bar would.
  if (event->button() == Qt::LeftButton && windowHandle() != nullptr) {
    windowHandle()->startSystemMove();
    event->accept();
    return;
  }
  QWidget::mousePressEvent(event);
}

}  // namespace velmo::ui::qt
