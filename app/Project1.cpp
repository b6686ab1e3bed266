// Program entry: the application, its one window, and the message loop.
#include <QApplication>
#include <QIcon>

#include "Unit1.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/MAINICON.xpm")));
  TForm1 Form1;
  Form1.show();
  return QApplication::exec();
}
