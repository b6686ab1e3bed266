#pragma once

#include <QWidget>

#include "my_connection.h"
#include "ui_Unit1.h"

// The main window: host and port fields, the repair button, and the hidden holder of
// the repair script, all as the form Unit1.ui lays them out.
class TForm1 : public QWidget, private Ui::TForm1 {
  Q_OBJECT

 public:
  explicit TForm1(QWidget* parent = nullptr);

  // The connection and statement runner the repair works with; closed until the
  // first run, open after it, living as long as the window.
  repair::TMyConnection con;
  repair::TMyQuery qry1;

 protected:
  bool event(QEvent* event) override;

 private:
  // Runs the repair with the fields' texts; catches nothing.
  void btn1Click(QObject* sender);

  bool frame_fitted_ = false;
};
