#pragma once

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <memory>

#include "common/ui/qt/QtWindowPointer.h"
#include "database/BuildConnectionString.h"
#include "mainwindow/Form2.h"
#include "mainwindow/WindowServices.h"
#include "selection/TextBox.h"

namespace Windows {

// The database selection window the program starts with: the database file and its password,
// remembered from one run to the next. Its boxes are where the chosen database lives while the
// program runs. It owns the main window, which it loads on first use.
class Form1 : public QWidget, public Access1::DatabaseChoice {
 public:
  explicit Form1(WindowServices& services);
  ~Form1() override;

  // The handlers, named after their controls and events.
  void Form_Load();
  void PushButton1_Click();
  void PushButton2_Click();
  void PushButton3_Click();
  void Text1_Change();
  void Text2_Change();
  void Text1_GotFocus();
  void Text2_GotFocus();

  std::u16string DatabasePath() const override;
  std::u16string DatabasePassword() const override;

  // The main window, created and loaded at the first call.
  Form2& MainWindow();
  // The main window if it has been loaded.
  Form2* LoadedMainWindow() { return form2_.get(); }

  TextBox& Text1() { return *text1_; }
  TextBox& Text2() { return *text2_; }
  QPushButton& PushButton1() { return *pushButton1_; }
  QPushButton& PushButton2() { return *pushButton2_; }
  QPushButton& PushButton3() { return *pushButton3_; }
  QGroupBox& Frame1() { return *frame1_; }
  QLabel& Label5() { return *label5_; }
  QLabel& lblPassword() { return *lblPassword_; }
  Ui::QtWindowPointer& Pointer() { return pointer_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  WindowServices& services_;
  Ui::QtWindowPointer pointer_;
  std::unique_ptr<Form2> form2_;

  QGroupBox* frame1_;
  QLabel* label5_;
  TextBox* text1_;
  QPushButton* pushButton1_;
  QLabel* lblPassword_;
  TextBox* text2_;
  QPushButton* pushButton3_;
  QPushButton* pushButton2_;
};

// What the browse dialog offers.
inline constexpr std::u16string_view kBrowseTitle = u"Select Access Database";
inline constexpr std::u16string_view kBrowseFilter =
    u"All Microsoft Databases (*.mdb,*.accdb)|*.*db|Microsoft Database (*.mdb)|*.mdb|"
    u"Microsoft 2007 Database (*.accdb)|*.accdb|";

}  // namespace Windows
