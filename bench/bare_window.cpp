// The references for the start-up benchmark (not bench_ programs themselves:
// they run until closed): a bare Qt main window, shown; with --chinese-caption
// the same window holding one group box and one label captioned as the
// tool's first two, the least a window with Chinese captions has to load.

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMainWindow>
#include <QVBoxLayout>
#include <cstring>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  QMainWindow window;
  if (argc > 1 && std::strcmp(argv[1], "--chinese-caption") == 0) {
    auto* box = new QGroupBox(QStringLiteral("选择通讯端口"), &window);
    auto* column = new QVBoxLayout(box);
    column->addWidget(new QLabel(QStringLiteral("波特率"), box));
    window.setCentralWidget(box);
  }
  window.resize(640, 480);
  window.show();
  return QApplication::exec();
}
