// The restore dialog over its model: the rows it lists, choosing, and what choosing enables.
#include "gui/restore_dialog.h"

#include <gtest/gtest.h>

namespace oxlip::gui {
namespace {

using app::RestoreChoiceModel;

TEST(RestoreDialog, ListsTheModelsRowsAndChoosesThroughIt) {
  RestoreChoiceModel model("Survival",
                           {{"World1", "w.7z", 1321617600, 512}, {"", "i.7z", 1321610000, 4096}});
  RestoreDialog dialog(nullptr, model);
  EXPECT_EQ(dialog.windowTitle().toStdString(), model.WindowTitle());
  ASSERT_EQ(dialog.list()->topLevelItemCount(), model.rows());
  for (int row = 0; row < model.rows(); ++row)
    for (int column = 0; column < dialog.list()->columnCount(); ++column)
      EXPECT_EQ(dialog.list()->topLevelItem(row)->text(column).toStdString(),
                model.Cell(row, column));
  // The newest comes chosen.
  EXPECT_TRUE(dialog.list()->topLevelItem(0)->isSelected());
  EXPECT_TRUE(dialog.restore_button()->isEnabled());

  dialog.list()->setCurrentItem(dialog.list()->topLevelItem(1));
  EXPECT_EQ(model.selected(), 1);
  EXPECT_EQ(dialog.note()->text().toStdString(), model.Note());
  dialog.list()->clearSelection();
  EXPECT_EQ(model.chosen(), nullptr);
  EXPECT_FALSE(dialog.restore_button()->isEnabled());
  EXPECT_TRUE(dialog.note()->text().isEmpty());

  emit dialog.list()->itemActivated(dialog.list()->topLevelItem(0), 0);
  EXPECT_EQ(dialog.result(), QDialog::Rejected);  // nothing chosen: no restore
  dialog.list()->setCurrentItem(dialog.list()->topLevelItem(0));
  emit dialog.list()->itemActivated(dialog.list()->topLevelItem(0), 0);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

}  // namespace
}  // namespace oxlip::gui
