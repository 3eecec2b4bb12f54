#include "app/startup.h"

#include <algorithm>
#include <functional>
#include <thread>

#include "app/command_registry.h"
#include "app/instance_icons.h"
#include "app/sort_order.h"
#include "app/startup_hooks.h"
#include "app/startup_update.h"
#include "base/create_path.h"
#include "image/image_loader.h"
#include "instances/load_instance.h"
#include "launch/find_java.h"
#include "platform/fs.h"
#include "platform/http.h"
#include "versions/version_store.h"

namespace oxlip::app {
namespace {

// Calls `work` for 0 to `count` - 1 on up to four threads, this one included; each index once.
void ForEachInParallel(size_t count, const std::function<void(size_t)>& work) {
  constexpr size_t kLeastPerThread = 64;
  size_t threads = std::clamp<size_t>(std::thread::hardware_concurrency(), 1, 4);
  threads = std::max<size_t>(1, std::min(threads, count / kLeastPerThread));
  auto share = [&](size_t part) {
    for (size_t i = count * part / threads; i < count * (part + 1) / threads; ++i) work(i);
  };
  std::vector<std::thread> helpers;
  for (size_t part = 1; part < threads; ++part) helpers.emplace_back(share, part);
  share(0);
  for (std::thread& helper : helpers) helper.join();
}

// A fresh data folder shows icons at once; an icon the person put there is never replaced.
void WriteMissingIcon(const std::string& path, const std::string& bytes) {
  if (bytes.empty() || path.empty() || platform::Exists(path)) return;
  CreatePath(path);
  platform::ReplaceFileContents(path, bytes);
}

}  // namespace

bool StartUp(AppState& state, const StartFiles& files) {
  base::LoadGlobalSettings(state.settings, files.cache_folder);
  platform::InitNetwork();
  WriteMissingIcon(state.settings.DefaultIconFile, files.default_icon);
  state.default_icon.Load(image::LoadImageFile(state.settings.DefaultIconFile));
  state.java_path = FindJava();
  RegisterCommands(state.commands);
  return true;
}

void LoadInstances(AppState& state) {
  instances::InstanceContext context{state.settings,
                                     state.versions.empty() ? "" : state.versions.front().File,
                                     state.default_icon, state.java_path};
  std::vector<std::string> folders;
  for (const platform::DirEntry& entry : platform::ListFolder(state.settings.InstancesDir))
    if (entry.names_folder) folders.push_back(entry.name);
  std::vector<std::unique_ptr<Instance>> records(folders.size());
  // Thousands of folders are read at every start, each thread a share of them.
  ForEachInParallel(folders.size(), [&](size_t i) {
    records[i] = std::make_unique<Instance>();
    instances::LoadInstanceSettings(*records[i], folders[i], context);
    records[i]->Icon.MarkLoading();
    records[i]->Listed = 0;
  });
  for (auto& record : records) state.instances.push_back(std::move(record));
}

void OrderInstances(AppState& state) {
  std::vector<std::string> folders;
  for (const auto& record : state.instances) folders.push_back(record->Folder);
  std::vector<std::string> lines =
      ReadSortOrder(state.settings.InstancesDir + "sort.ini").value_or(std::vector<std::string>{});
  state.instance_list.clear();
  for (size_t index : DisplayOrder(folders, lines)) {
    state.instances[index]->Listed = 1;
    state.instance_list.push_back(state.instances[index].get());
  }
}

void FillLists(AppState& state, Ui& ui) {
  CheckCurrentVersion(state, ui);
  ScanVersions(state.settings, state.versions);
  ui.ListChanged(ListKind::kVersions);
  ScanMods(state.settings, state.versions, state.mods);
  ui.ListChanged(ListKind::kMods);
  LoadInstances(state);
  OrderInstances(state);
  ui.ListChanged(ListKind::kInstances);
  LoadInstanceIcons(state, ui);
  UpdateInstancesAtStart(state, ui);
  state.selection = MenuSelection{};
}

void ShutDown(AppState& state) {
  state.icons.loader.Stop();
  std::vector<std::string> folders;
  for (const Instance* record : state.instance_list) folders.push_back(record->Folder);
  WriteSortOrder(state.settings.InstancesDir + "sort.ini", folders);
  base::SaveGlobalSettings(state.settings);
}

}  // namespace oxlip::app
