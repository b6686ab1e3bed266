// The main window, driven through real widgets on Qt's offscreen platform.
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <mysql.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "Unit1.h"
#include "application.h"
#include "repair_settings.h"
#include "support/files.h"
#include "support/sql_session.h"
#include "support/throwaway_server.h"

namespace {

template <typename Widget>
Widget* Child(QWidget& form, const char* name) {
  auto* widget = form.findChild<Widget*>(QString::fromLatin1(name));
  EXPECT_NE(widget, nullptr) << name;
  return widget;
}

// What a message box showed before the test pressed its OK button.
struct SeenBox {
  bool seen = false;
  QString title;
  QString text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  Qt::TextFormat format = Qt::AutoText;
  int buttons = 0;
  bool ok_is_default = false;
  bool centred_on_screen = false;
};

// Watches for the next message box, reads it and presses its OK button, so that a
// click whose handler shows a box returns.
class BoxAnswerer {
 public:
  BoxAnswerer() {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (!box) return;
      timer_.stop();
      seen_.seen = true;
      seen_.title = box->windowTitle();
      seen_.text = box->text();
      seen_.icon = box->icon();
      seen_.format = box->textFormat();
      seen_.buttons = static_cast<int>(box->buttons().size());
      seen_.ok_is_default = box->defaultButton() == box->button(QMessageBox::Ok);
      const QPoint offset = box->frameGeometry().center() - box->screen()->geometry().center();
      seen_.centred_on_screen = offset.manhattanLength() <= 2;
      QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
    });
    timer_.start(10);
  }
  const SeenBox& seen() const { return seen_; }

 private:
  QTimer timer_;
  SeenBox seen_;
};

class WindowTest : public ::testing::Test {
 protected:
  TForm1 form_;
  QLineEdit* edt1_ = Child<QLineEdit>(form_, "edt1");
  QLineEdit* edt2_ = Child<QLineEdit>(form_, "edt2");
  QPushButton* btn1_ = Child<QPushButton>(form_, "btn1");
  QPlainTextEdit* mmo1_ = Child<QPlainTextEdit>(form_, "mmo1");

  void SetUp() override {
    form_.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form_));
  }

  // Presses the repair button and returns the box the run ended with.
  SeenBox Click() {
    BoxAnswerer answerer;
    QTest::mouseClick(btn1_, Qt::LeftButton);
    return answerer.seen();
  }
};

TEST_F(WindowTest, HoldsTheDesignedValues) {
  EXPECT_EQ(form_.windowTitle(), QString::fromUtf8("【unique_no】表修复工具"));
  EXPECT_EQ(form_.frameGeometry(), QRect(496, 375, 437, 121));  // no frame offscreen
  EXPECT_EQ(form_.font().family(), QStringLiteral("MS Sans Serif"));
  EXPECT_EQ(form_.font().pointSize(), 8);
  EXPECT_EQ(form_.palette().color(QPalette::Window), QApplication::palette().color(QPalette::Button));
  EXPECT_TRUE(form_.windowIcon().availableSizes().contains(QSize(32, 32)));
  EXPECT_TRUE(form_.isWindow());
  EXPECT_EQ(qobject_cast<QDialog*>(&form_), nullptr);

  struct Component {
    const char* name;
    const char* class_name;
    QRect geometry;
    const char* text;
    bool hidden;
  };
  const Component components[] = {
      {"lbl1", "QLabel", QRect(216, 37, 36, 13), "端口：", false},
      {"lbl2", "QLabel", QRect(24, 37, 44, 13), "主机ip：", false},
      {"edt1", "QLineEdit", QRect(252, 35, 61, 21), "3306", false},
      {"btn1", "QPushButton", QRect(344, 32, 75, 25), "修复", false},
      {"edt2", "QLineEdit", QRect(68, 35, 125, 21), "127.0.0.1", false},
      {"mmo1", "QPlainTextEdit", QRect(8, 88, 1129, 121), nullptr, true},
  };
  const auto children = form_.findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
  ASSERT_EQ(children.size(), std::size(components));
  for (qsizetype i = 0; i < children.size(); ++i) {
    const Component& c = components[i];
    QWidget* widget = children[i];  // in the order the form creates them
    EXPECT_EQ(widget->objectName(), QString::fromLatin1(c.name));
    EXPECT_STREQ(widget->metaObject()->className(), c.class_name) << c.name;
    EXPECT_EQ(widget->geometry(), c.geometry) << c.name;
    EXPECT_EQ(widget->isHidden(), c.hidden) << c.name;
    if (c.text) {
      EXPECT_EQ(widget->property("text").toString(), QString::fromUtf8(c.text)) << c.name;
    }
  }
  EXPECT_FALSE(btn1_->isDefault());
  EXPECT_FALSE(btn1_->autoDefault());

  // The hidden holder shows the script line by line.
  EXPECT_EQ(mmo1_->document()->blockCount(), 6);
  QString lines = mmo1_->toPlainText() + "\n";
  EXPECT_EQ(lines.replace("\n", "\r\n").toStdString(), repair::kRepairScript);

  EXPECT_FALSE(form_.con.Connected());
  EXPECT_EQ(form_.con.Database, "velkarin");
  EXPECT_EQ(form_.con.Username, "root");
  EXPECT_EQ(form_.con.Server, "127.0.0.1");
  EXPECT_EQ(form_.qry1.Connection, &form_.con);
}

TEST_F(WindowTest, StartsInThePortFieldAndTabsToTheButtonAndTheHost) {
  EXPECT_EQ(QApplication::focusWidget(), edt1_);
  for (QWidget* next : {static_cast<QWidget*>(btn1_), static_cast<QWidget*>(edt2_),
                        static_cast<QWidget*>(edt1_)}) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), next) << next->objectName().toStdString();
  }
}

TEST_F(WindowTest, EnterOrEscapeInAFieldStartsNothing) {
  QSignalSpy clicks(btn1_, &QPushButton::clicked);
  for (QLineEdit* field : {edt1_, edt2_}) {
    field->setFocus();
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) QTest::keyClick(field, key);
  }
  EXPECT_EQ(clicks.count(), 0);
  EXPECT_TRUE(form_.isVisible());
  EXPECT_FALSE(form_.con.Connected());
}

TEST_F(WindowTest, NeverShowsTheScriptHolder) {
  form_.resize(1600, 900);
  QApplication::processEvents();
  EXPECT_FALSE(mmo1_->isVisible());
  form_.showMaximized();
  QApplication::processEvents();
  EXPECT_FALSE(mmo1_->isVisible());
}

TEST(ApplicationTitle, IsTheFileNameCutAtItsFirstDotInLowerCaseAfterTheFirstCharacter) {
  struct Case {
    const char* path;
    const char* title;
  };
  const Case cases[] = {
      {"/opt/valtu/Project1", "Project1"},
      {"C:/Valtu/Project1.exe", "Project1"},
      {"/opt/PROJECT1.EXE", "Project1"},
      {"/opt/project1.tar.gz", "project1"},
      {"/opt/ÄRGER.exe", "Ärger"},
      {"/opt/.hidden", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(application::TitleFor(QString::fromUtf8(c.path)), QString::fromUtf8(c.title)) << c.path;
  }
}

class WindowServerTest : public WindowTest {
 protected:
  support::ThrowawayServer server_;
};

TEST_F(WindowServerTest, AClickRepairsTheTableAndSaysSo) {
  server_.Damage();
  const auto log = server_.LogStatements();
  edt1_->setText(QString::number(server_.port()));

  const SeenBox box = Click();
  ASSERT_TRUE(box.seen);
  EXPECT_EQ(box.title, QStringLiteral("window_test"));
  EXPECT_EQ(box.text, QString::fromUtf8("修复完成！"));
  EXPECT_EQ(box.icon, QMessageBox::NoIcon);
  EXPECT_EQ(box.buttons, 1);
  EXPECT_TRUE(box.ok_is_default);
  EXPECT_TRUE(box.centred_on_screen);
  EXPECT_EQ(support::SqlSession(server_.port()).UniqueNoCounter(), "55723");

  // The script reached the server as the memo's lines, each ended by CR LF (the
  // server's log leaves out the last ";" and what follows it).
  const std::string logged = support::ReadFile(log);
  const std::string_view script = repair::kRepairScript;
  EXPECT_NE(logged.find(script.substr(0, script.size() - 3)), std::string::npos) << logged;
}

TEST_F(WindowServerTest, AfterAFailedClickTheWindowIsReadyForTheNext) {
  struct Case {
    const char* host;
    std::string port_text;
    const char* message;
  };
  const Case cases[] = {
      {"127.0.0.1", "1", "Can't connect to server on '127.0.0.1' (115)"},
      {"127.0.0.1", "70000", "Port 70000 is outside the range 1 to 65535."},
      {"<b>no-such-host</b>.invalid", server_.PortText(),
       "Unknown server host '<b>no-such-host</b>.invalid' (-2)"},
  };
  for (const auto& c : cases) {
    edt2_->setText(QString::fromUtf8(c.host));
    edt1_->setText(QString::fromStdString(c.port_text));
    const SeenBox box = Click();
    ASSERT_TRUE(box.seen) << c.message;
    EXPECT_EQ(box.title, QStringLiteral("window_test"));
    EXPECT_EQ(box.text, QString::fromUtf8(c.message));
    EXPECT_EQ(box.format, Qt::PlainText);
    EXPECT_EQ(box.icon, QMessageBox::Critical);
    EXPECT_EQ(box.buttons, 1);
    EXPECT_EQ(edt2_->text(), QString::fromUtf8(c.host));
    EXPECT_EQ(edt1_->text(), QString::fromStdString(c.port_text));
    EXPECT_TRUE(btn1_->isEnabled());
    EXPECT_FALSE(form_.con.Connected());
  }

  // The next click runs in full, and so does the one after it, on a new connection.
  edt2_->setText(QStringLiteral("127.0.0.1"));
  edt1_->setText(QString::number(server_.port()));
  EXPECT_EQ(Click().text, QString::fromUtf8("修复完成！"));
  const unsigned long first_session = mysql_thread_id(form_.con.Handle());
  support::SqlSession(server_.port()).Execute("INSERT INTO unique_no (id) VALUES ('between')");
  EXPECT_EQ(Click().text, QString::fromUtf8("修复完成！"));
  EXPECT_NE(mysql_thread_id(form_.con.Handle()), first_session);
  EXPECT_EQ(support::SqlSession(server_.port()).UniqueNoCounter(), "55723");
}

}  // namespace
