#include "app/instance_icons.h"

#include <gtest/gtest.h>

#include "app/app_state.h"
#include "app/instance_dialog_model.h"
#include "app/main_view.h"
#include "app/startup.h"
#include "image/image_scale.h"
#include "support/game_fixture.h"
#include "support/held_file.h"
#include "support/png_writer.h"
#include "support/scripted_ui.h"
#include "support/temp_folder.h"

namespace oxlip::app {
namespace {

// A PNG of one colour; its red channel names the instance it belongs to.
std::string Png(int side, uint8_t red) {
  image::Image image{side, side, {}};
  for (int i = 0; i < side * side; ++i) image.rgba.insert(image.rgba.end(), {red, 32, 16, 255});
  return test::EncodePngRgba(image);
}

class InstanceIconsTest : public test::InTempFolder {
 protected:
  // Instances "i0" to "i<count - 1>", listed in that order or backwards; each icon's red is 10
  // times its number, and its side varies so that most are scaled.
  void MakeInstances(int count, bool backwards = false) {
    std::string order;
    for (int i = 0; i < count; ++i) {
      std::string folder = dir() + "Instances/i" + std::to_string(i) + "/";
      test::WriteFile(folder + "settings.ini", "Name = " + std::to_string(i) + "\r\n");
      if (i != held && i != without_icon) test::WriteFile(folder + "icon.png", Png(20 + i, Red(i)));
      std::string line = "i" + std::to_string(i) + "\r\n";
      order = backwards ? line + order : order + line;
    }
    test::WriteFile(dir() + "Instances/sort.ini", order);
    if (held >= 0) held_icon.emplace(dir() + "Instances/i" + std::to_string(held) + "/icon.png");
  }

  void Start(bool clear = true) {
    ASSERT_TRUE(app::StartUp(state));
    app::FillLists(state, ui);
    if (clear) ui.instance_rows_changed.clear();
  }

  // Hands over what the worker reads until every icon has come.
  void DeliverAll() {
    ASSERT_TRUE(test::WaitFor([&] { return !DeliverInstanceIcons(state, ui); }));
  }

  static uint8_t Red(int instance) { return static_cast<uint8_t>(10 * instance); }

  // The red of the row's icon; -1 while it shows the default.
  int ShownRed(int row) const {
    const Instance& record = *state.instance_list[row];
    if (record.Icon.IsDefault()) return -1;
    const image::Image& icon = *record.Icon.image();
    EXPECT_EQ(icon.width, image::kIconSide);
    EXPECT_EQ(icon.height, image::kIconSide);
    return icon.rgba[0];
  }

  std::vector<int> ChangedRows() const {
    std::vector<int> rows;
    for (auto [row, change] : ui.instance_rows_changed) {
      EXPECT_EQ(change, app::RowChange::kEdited);
      rows.push_back(row);
    }
    return rows;
  }

  int held = -1;
  int without_icon = -1;
  app::AppState state;
  test::ScriptedUi ui;
  std::optional<test::HeldFile> held_icon;  // let go before the state's worker is waited for
};

TEST(RowsToPrefer, TheRowsInViewAndTheScreenBelow) {
  struct Case {
    app::RowRange view;
    int rows;
    app::RowRange expected;
  };
  for (const Case& c :
       {Case{{0, 9}, 100, {0, 19}}, Case{{40, 44}, 100, {40, 49}}, Case{{95, 99}, 100, {95, 99}},
        Case{{0, -1}, 100, {0, -1}}, Case{{-5, 2}, 100, {0, 5}}}) {
    SCOPED_TRACE(testing::Message() << c.view.first << ".." << c.view.last);
    EXPECT_EQ(RowsToPrefer(c.view, c.rows), c.expected);
  }
}

TEST_F(InstanceIconsTest, TheRowsInViewHaveTheirIconsAtOnceTheOthersComeInListOrder) {
  without_icon = 4;
  MakeInstances(7, true);  // listed backwards: the folders' own order must not decide
  ui.rows_in_view = {0, 1};
  Start(false);
  EXPECT_EQ(ChangedRows(), (std::vector<int>{0, 1}));
  EXPECT_EQ(ShownRed(0), Red(6));
  EXPECT_EQ(ShownRed(1), Red(5));
  for (int row = 2; row < 7; ++row)
    EXPECT_EQ(state.instance_list[row]->Icon.image(), state.default_icon.image());
  DeliverAll();
  // Row 2 is the instance without an icon: it keeps the default.
  EXPECT_EQ(ChangedRows(), (std::vector<int>{0, 1, 3, 4, 5, 6}));
  for (int row = 0; row < 7; ++row) EXPECT_EQ(ShownRed(row), row == 2 ? -1 : Red(6 - row)) << row;
}

TEST_F(InstanceIconsTest, RowsScrolledIntoViewAreReadNext) {
  held = 2;
  MakeInstances(10);
  ui.rows_in_view = {0, 1};
  Start();  // the worker waits at row 2
  ui.rows_in_view = {6, 7};
  DeliverInstanceIcons(state, ui);
  held_icon->Release(Png(5, Red(held)));
  DeliverAll();
  std::vector<int> rows = ChangedRows();
  std::erase(rows, held);  // read before or after the preferred rows
  EXPECT_EQ(rows, (std::vector<int>{6, 7, 8, 9, 3, 4, 5}));
  EXPECT_EQ(ShownRed(held), Red(held));
}

// A record deleted while its icon is read gets nothing; a command reads its instance's icon
// itself, and the one read later does not come again.
TEST_F(InstanceIconsTest, IconsReadLateLeaveWhatHappenedMeanwhile) {
  held = 1;
  MakeInstances(4);
  ui.rows_in_view = {0, 0};
  Start();  // the worker waits at row 1
  Instance* deleted = state.instance_list[2];
  std::erase(state.instance_list, deleted);
  std::erase_if(state.instances, [deleted](const auto& owned) { return owned.get() == deleted; });
  int shown_in_dialog = -2;
  ui.on_instance_dialog = [&](InstanceDialogModel& model) {
    shown_in_dialog = model.preview() ? model.preview()->rgba[0] : -1;
    return false;
  };
  app::RightClickMenu(state, app::ListKind::kInstances, 2);
  app::RunMenuCommand(state, ui, app::kCmdConfig);
  EXPECT_EQ(shown_in_dialog, Red(3));
  held_icon->Release(Png(5, Red(held)));
  DeliverAll();
  EXPECT_EQ(ChangedRows(), (std::vector<int>{2, 1}));
  EXPECT_EQ(ShownRed(1), Red(1));
  EXPECT_EQ(ShownRed(2), Red(3));
}

}  // namespace
}  // namespace oxlip::app
