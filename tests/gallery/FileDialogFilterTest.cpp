// File dialog filters that match an extension in either letter case.
#include "gallery/FileDialogFilter.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileDialog>
#include <QListView>
#include <QTest>
#include <algorithm>

#include "tests/support/TestSupport.h"

namespace glamora {
namespace {

TEST(EitherCaseFilter, TheDialogShowsTheCapitalPatternAndListsBothCases) {
  test::TempFolder folder;
  for (const char* name : {"a.mff", "B.MFF", "c.Mff", "d.eff", "e.txt", "f.mffx"}) {
    test::WriteAll(folder.File(name), std::string("x"));
  }
  QFileDialog dialog;
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setNameFilter(EitherCaseFilter("Glamora face format", "MFF"));
  dialog.setDirectory(QString::fromStdString(folder.Path()));
  dialog.show();

  auto* filters = dialog.findChild<QComboBox*>("fileTypeCombo");
  ASSERT_NE(filters, nullptr);
  EXPECT_EQ(filters->currentText().toStdString(), "Glamora face format (*.MFF)");

  auto* list = dialog.findChild<QListView*>("listView");
  ASSERT_NE(list, nullptr);
  // The folder is read in the background; wait until the matching files are in.
  auto rows = [&] { return list->model()->rowCount(list->rootIndex()); };
  ASSERT_TRUE(QTest::qWaitFor([&] { return rows() >= 3; }, 15000));
  QTest::qWait(50);
  QStringList shown;
  for (int row = 0; row < list->model()->rowCount(list->rootIndex()); ++row) {
    shown << list->model()->index(row, 0, list->rootIndex()).data().toString();
  }
  shown.sort(Qt::CaseInsensitive);
  EXPECT_EQ(shown.join(" ").toStdString(), "a.mff B.MFF c.Mff");
}

}  // namespace
}  // namespace glamora
