#pragma once
// The instances' own icons at start: the rows in view are read before the list is drawn, the
// rest by a worker while the window answers, the rows the person looks at first.
#include "app/icon_loader.h"
#include "app/ui.h"
#include "instances/icon_files.h"

namespace oxlip::app {

struct AppState;

struct InstanceIconLoading {
  IconLoader loader{instances::LoadListIcon};
  RowRange preferred;  // the rows last moved to the front of the queue
};

// The rows whose icons the worker reads next when `view` is in view: those in view and the
// screen below, within `row_count` rows.
RowRange RowsToPrefer(RowRange view, int row_count);

// Once the list is filled with every record's own icon still to come: reads the icons of the
// rows in view now, and hands the others to the worker in list order.
void LoadInstanceIcons(AppState& state, Ui& ui);

// Between window events: gives the icons read since to their records and rows, a batch at a
// time, and moves the rows now in view to the front. False once no icon is to come.
bool DeliverInstanceIcons(AppState& state, Ui& ui);

// The record's icon, when still to come, is read now: a command sees the record whole.
void SettleInstanceIcon(AppState& state, Ui& ui, Instance& record);

}  // namespace oxlip::app
