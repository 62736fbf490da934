#include <gtest/gtest.h>

#include <QFile>
#include <QFileDialog>
#include <QTemporaryDir>

#include "common/ui/qt/QtFileDialog.h"
#include "tests/support/ModalDialogs.h"

namespace Ui {
namespace {

TEST(QtNameFilters, ClassicFiltersBecomeQtNameFilters) {
  EXPECT_EQ(QtNameFilters(u"Access Databases (*.mdb;*.accdb)|*.mdb;*.accdb|All Files (*.*)|*.*"),
            QStringList({"Access Databases (*.mdb *.accdb)", "All Files (*)"}));
  // The description's own list gives way to the real patterns; the final "|" adds nothing.
  EXPECT_EQ(QtNameFilters(u"All Microsoft Databases (*.mdb,*.accdb)|*.*db|Microsoft Database (*.mdb)|*.mdb|"
                          u"Microsoft 2007 Database (*.accdb)|*.accdb|"),
            QStringList({"All Microsoft Databases (*.*db)", "Microsoft Database (*.mdb)",
                         "Microsoft 2007 Database (*.accdb)"}));
  EXPECT_EQ(QtNameFilters(u"Text|*.txt ; *.csv"), QStringList({"Text (*.txt *.csv)"}));
  EXPECT_EQ(QtNameFilters(u"|*.mdb"), QStringList({"*.mdb"}));
  EXPECT_EQ(QtNameFilters(u"No patterns||Lone description"), QStringList());
  EXPECT_EQ(QtNameFilters(u""), QStringList());
}

OpenFileRequest AccessRequest() {
  return {u"Select Access Database", u"Access Databases (*.mdb;*.accdb)|*.mdb;*.accdb|All Files (*.*)|*.*",
          kReadOnlyTicked | kExplorerStyle | kLongNames};
}

TEST(QtFileDialog, OpensWithTheTitleAndTheFirstFilterAndGivesNothingOnCancel) {
  QString title;
  QStringList filters;
  QString selectedFilter;
  bool handled = false;
  Testing::WhenModalShown<QFileDialog>(
      [&](QFileDialog& dialog) {
        title = dialog.windowTitle();
        filters = dialog.nameFilters();
        selectedFilter = dialog.selectedNameFilter();
        dialog.reject();
      },
      &handled);
  QtFileDialog fileDialog;
  EXPECT_EQ(fileDialog.ShowOpen(AccessRequest()), u"");
  EXPECT_TRUE(handled);
  EXPECT_EQ(title, QStringLiteral("Select Access Database"));
  EXPECT_EQ(filters, QStringList({"Access Databases (*.mdb *.accdb)", "All Files (*)"}));
  EXPECT_EQ(selectedFilter, QStringLiteral("Access Databases (*.mdb *.accdb)"));
}

TEST(QtFileDialog, GivesTheFullPathOfTheChosenFile) {
  const QTemporaryDir folder;
  const QString path = folder.filePath(QStringLiteral("Nordwind Ä.mdb"));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.close();
  Testing::WhenModalShown<QFileDialog>([&](QFileDialog& dialog) {
    dialog.selectFile(path);
    QMetaObject::invokeMethod(&dialog, "accept");  // the Open button
  });
  QtFileDialog fileDialog;
  EXPECT_EQ(fileDialog.ShowOpen(AccessRequest()), path.toStdU16String());
}

}  // namespace
}  // namespace Ui
