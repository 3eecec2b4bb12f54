#include "app/instance_icons.h"

#include <algorithm>
#include <vector>

#include "app/app_state.h"
#include "app/main_view.h"
#include "instances/load_instance.h"

namespace oxlip::app {
namespace {

// Enough to keep up with the worker without holding the window for long at a time.
constexpr size_t kIconsPerDelivery = 100;

int RowCount(const AppState& state) { return static_cast<int>(state.instance_list.size()); }

void ShowOwnIcon(Ui& ui, Instance& record, std::optional<image::Image> image, int row) {
  if (!image) return record.Icon.EndLoading();
  record.Icon.SetOwn(std::move(*image));
  if (row >= 0) ui.InstanceRowChanged(row, RowChange::kEdited);
}

void PreferRowsInView(AppState& state, Ui& ui) {
  RowRange rows = RowsToPrefer(ui.InstanceRowsInView(), RowCount(state));
  if (rows == state.icons.preferred) return;
  state.icons.preferred = rows;
  std::vector<const Instance*> records;
  for (int row = rows.first; row <= rows.last; ++row)
    if (state.instance_list[row]->Icon.loading()) records.push_back(state.instance_list[row]);
  state.icons.loader.Prefer(records);
}

}  // namespace

RowRange RowsToPrefer(RowRange view, int row_count) {
  int first = std::max(view.first, 0);
  if (view.last < first) return {};
  int below = view.last - first + 1;
  return {first, std::min(view.last + below, row_count - 1)};
}

void LoadInstanceIcons(AppState& state, Ui& ui) {
  RowRange view = ui.InstanceRowsInView();
  int in_view_end = std::min(view.last + 1, RowCount(state));
  for (int row = std::max(view.first, 0); row < in_view_end; ++row)
    SettleInstanceIcon(state, ui, *state.instance_list[row]);
  std::vector<IconLoader::Job> jobs;
  for (const Instance* record : state.instance_list)
    if (record->Icon.loading())
      jobs.push_back({record, instances::InstanceFolderPath(state.settings, record->Folder)});
  state.icons.loader.Add(std::move(jobs));
}

bool DeliverInstanceIcons(AppState& state, Ui& ui) {
  PreferRowsInView(state, ui);
  for (IconLoader::Loaded& loaded : state.icons.loader.Take(kIconsPerDelivery)) {
    // The record may have been deleted or given another icon meanwhile.
    int row = RowOfInstance(state, loaded.record);
    if (row < 0 || !state.instance_list[row]->Icon.loading()) continue;
    ShowOwnIcon(ui, *state.instance_list[row], std::move(loaded.image), row);
  }
  return state.icons.loader.busy();
}

void SettleInstanceIcon(AppState& state, Ui& ui, Instance& record) {
  if (!record.Icon.loading()) return;
  ShowOwnIcon(ui, record,
              instances::LoadListIcon(instances::InstanceFolderPath(state.settings, record.Folder)),
              RowOfInstance(state, &record));
}

}  // namespace oxlip::app
