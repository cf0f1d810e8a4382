#pragma once
// The main window in Qt: every control built from the description rows, the
// handlers bound to their events, and the window operations the handlers and
// the conversion's workers use. The web view is made only once the window is
// on screen, so the window shows without waiting for the web engine; pages
// asked for before that are loaded as soon as it exists.

#include <QUrl>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>
#include <string>

#include "core/service_catalogue.h"
#include "core/thread_start.h"
#include "ui/window.h"

class QWebEngineView;

namespace velmo::ui::qt {

class ControlBridge;

struct MainWindowOptions {
  core::Catalogue catalogue = core::DefaultCatalogue();
  core::StartThread start_thread = core::StartDetachedThread;
  // Where the save button writes; the program's own directory by default.
  std::string result_directory;
  // The two ways out to the desktop; tests put their own in.
  std::function<void(const QString& message, const QString& title)> show_message;
  std::function<void(const QUrl& address)> open_url;
  // Tests that do not need a page leave the web engine unstarted.
  bool create_web_view = true;
};

class MainWindow : public QWidget, public Window {
  Q_OBJECT

 public:
  explicit MainWindow(MainWindowOptions options = {});
  ~MainWindow() override;

  // The control of that name (code page 936), or null.
  QWidget* Control(const text::Text& name) const;
  QWebEngineView* WebView() const { return web_view_; }
  const std::shared_ptr<ControlBridge>& Bridge() const { return bridge_; }
  // The address last given to the browser box, and how many were given.
  const text::Text& BrowserAddress() const { return browser_address_; }
  int NavigationCount() const { return navigation_count_; }
  // Makes the web view now if it is not there yet.
  void CreateWebView();

  // Window
  text::Text ReadText(const text::Text& control) override;
  void WriteText(const text::Text& control, const text::Text& value) override;
  text::Text ReadTag(const text::Text& control) override;
  void WriteTag(const text::Text& control, const text::Text& tag) override;
  void SetPictures(const text::Text& control, assets::PictureId normal,
                   assets::PictureId hover) override;
  void DrawPicture(const text::Text& canvas, assets::PictureId picture, int left, int top,
                   int width, int height) override;
  void Navigate(const text::Text& address) override;
  void OpenInBrowser(const text::Text& address) override;
  void ShowMessage(const text::Text& message, const text::Text& title) override;
  void Minimise() override;
  void PostClose() override;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;

 private:
  void BuildControls();
  void BindEvents();
  void ContentChanged(const text::Text& control);
  void PlaceOnScreen(int attempt);

  MainWindowOptions options_;
  std::map<std::string, QWidget*> controls_;
  std::map<std::string, text::Text> tags_;
  QWebEngineView* web_view_ = nullptr;
  text::Text browser_address_;
  int navigation_count_ = 0;
  bool placed_ = false;
  std::shared_ptr<ControlBridge> bridge_;
};

}  // namespace velmo::ui::qt
