#include "application.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QMessageBox>

#include "message_text.h"

namespace application {

QString TitleFor(const QString& executable_path) {
  const QString name = QFileInfo(executable_path).fileName().section(QLatin1Char('.'), 0, 0);
  return name.left(1) + name.mid(1).toLower();
}

QString Title() { return TitleFor(QCoreApplication::applicationFilePath()); }

void ShowException(const std::exception& error) {
  QMessageBox box(QMessageBox::Critical, Title(),
                  QString::fromStdString(repair::WithFullStop(error.what())), QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  box.exec();
}

void ShowMessage(const QString& text) {
  // Without a parent the box is centred on the screen.
  QMessageBox box(QMessageBox::NoIcon, Title(), text, QMessageBox::Ok);
  box.setTextFormat(Qt::PlainText);
  box.setDefaultButton(QMessageBox::Ok);
  box.exec();
}

}  // namespace application
