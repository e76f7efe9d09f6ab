#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle("Glamora");
  window.resize(650, 444);
  window.show();
  return app.exec();
}
