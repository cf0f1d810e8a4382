// The whole program, with its nine services on loopback ports given on the
// command line. Once the window is up it clicks convert; a line on standard
// input then presses Escape on the window, as a user closing it would.
#include <unistd.h>

#include <QAbstractButton>
#include <QApplication>
#include <QSocketNotifier>
#include <QTest>
#include <string>

#include "ui/qt/program.h"
#include "ui/window_description.h"

int main(int argc, char** argv) {
  using namespace velmo;
  ui::qt::MainWindowOptions options;
  for (int i = 1; i < argc && i <= core::kServiceCount; ++i) {
    options.catalogue[static_cast<std::size_t>(i - 1)].endpoint_base =
        text::Text(std::string("http://127.0.0.1:") + argv[i]);
  }
  ui::qt::RunProgram(argc, argv, std::move(options), [](ui::qt::MainWindow& window) {
    if (auto* convert =
            qobject_cast<QAbstractButton*>(window.Control(ui::names::ConvertButton()))) {
      convert->click();
    }
    auto* commands = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &window);
    QObject::connect(commands, &QSocketNotifier::activated, &window, [&window, commands] {
      char buffer[64];
      if (::read(STDIN_FILENO, buffer, sizeof buffer) <= 0) commands->setEnabled(false);
      QWidget* target = QApplication::focusWidget();
      QTest::keyClick(target != nullptr ? target : &window, Qt::Key_Escape);
    });
  });
}
