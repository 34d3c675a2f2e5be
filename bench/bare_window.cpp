// The reference for the start-up benchmark (not a bench_ program itself: it
// runs until closed): a bare Qt main window, shown.

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QMainWindow window;
  window.resize(640, 480);
  window.show();
  return QApplication::exec();
}
