#include "Unit1.h"

#include <QApplication>
#include <QDir>
#include <QTextBlock>

#include "application.h"
#include "message_text.h"
#include "repair_settings.h"
#include "run_repair.h"

namespace {

// The designed outer size of the window, frame included.
constexpr QSize kOuterSize(437, 121);

// The memo's lines, each followed by CR LF, as the script reaches the server.
std::string LinesOf(const QPlainTextEdit& memo) {
  std::string text;
  for (QTextBlock line = memo.document()->begin(); line.isValid(); line = line.next()) {
    text += line.text().toStdString();
    text += "\r\n";
  }
  return text;
}

// A run blocks the event loop, so input given meanwhile waits in the queue. This
// shows the busy cursor for the run and afterwards drops that waiting input, so
// that the window takes none while it runs.
class RunInProgress : public QObject {
 public:
  RunInProgress() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);  // show it now
  }
  ~RunInProgress() override {
    qApp->installEventFilter(this);
    QCoreApplication::processEvents();
    qApp->removeEventFilter(this);
    QApplication::restoreOverrideCursor();
  }

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::KeyPress:
      case QEvent::KeyRelease:
      case QEvent::Wheel:
      case QEvent::Shortcut:
        return true;
      default:
        return false;
    }
  }
};

}  // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
  setupUi(this);
  // The form's "place" is the designed top-left of the frame, which is what
  // QWidget::move places (uic keeps only the size of a top-level form).
  move(property("place").toPoint());

  QPalette colours = palette();
  colours.setColor(QPalette::Window, colours.color(QPalette::Button));
  setPalette(colours);
  QFont designed = font();
  designed.setStyleHint(QFont::SansSerif);  // where "MS Sans Serif" is missing
  setFont(designed);

  con.Database = repair::kDatabase;
  con.Username = repair::kUsername;
  con.Password = repair::kPassword;
  con.Server = repair::kDefaultHost;
  qry1.Connection = &con;

  connect(btn1, &QPushButton::clicked, this,
          [this] { application::CallHandler([this] { btn1Click(btn1); }); });
}

bool TForm1::event(QEvent* event) {
  // The designed size includes the frame, which the window system reports only once
  // the window is shown; without a frame the client area takes the whole size.
  if (!frame_fitted_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize)) {
    const QSize frame = frameGeometry().size() - geometry().size();
    if (!frame.isEmpty()) {
      frame_fitted_ = true;
      resize(kOuterSize - frame);
    }
  }
  return QWidget::event(event);
}

void TForm1::btn1Click(QObject* /*sender*/) {
  {
    RunInProgress busy;
    repair::RunRepair(edt2->text().toStdString(), edt1->text().toStdString(), LinesOf(*mmo1),
                      QDir::toNativeSeparators(QCoreApplication::applicationFilePath()).toStdString(),
                      con, qry1);
  }
  application::ShowMessage(QString::fromUtf8(repair::kCompletionMessage.data(),
                                             static_cast<qsizetype>(repair::kCompletionMessage.size())));
}
