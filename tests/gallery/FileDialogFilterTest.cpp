#include "gallery/FileDialogFilter.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QListView>
#include <QSignalSpy>
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
  auto* model = dialog.findChild<QFileSystemModel*>();
  ASSERT_NE(model, nullptr);
  QSignalSpy loaded(model, &QFileSystemModel::directoryLoaded);
  dialog.setDirectory(QString::fromStdString(folder.Path()));
  dialog.show();
  if (loaded.isEmpty()) {
    ASSERT_TRUE(loaded.wait(5000));
  }

  auto* filters = dialog.findChild<QComboBox*>("fileTypeCombo");
  ASSERT_NE(filters, nullptr);
  EXPECT_EQ(filters->currentText().toStdString(), "Glamora face format (*.MFF)");

  auto* list = dialog.findChild<QListView*>("listView");
  ASSERT_NE(list, nullptr);
  QStringList shown;
  for (int row = 0; row < list->model()->rowCount(list->rootIndex()); ++row) {
    shown << list->model()->index(row, 0, list->rootIndex()).data().toString();
  }
  shown.sort(Qt::CaseInsensitive);
  EXPECT_EQ(shown.join(" ").toStdString(), "a.mff B.MFF c.Mff");
}

}  // namespace
}  // namespace glamora
