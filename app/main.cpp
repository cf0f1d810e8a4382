// Velmo: one long address, nine shortening services, one click.
#include "ui/qt/program.h"

int main(int argc, char** argv) {
  velmo::ui::qt::RunProgram(argc, argv, velmo::ui::qt::MainWindowOptions{});
}
