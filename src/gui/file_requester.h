#pragma once
// The open-file dialogs, drawn from the requesters the core describes.
#include <QString>
#include <QWidget>
#include <string>

#include "app/dialog_requesters.h"

namespace oxlip::gui {

// Qt's filter list from a "name|patterns|name|patterns..." text, patterns separated by ";";
// the entry at `selected` (counting from 0) into `selected_filter` when there is one.
QString QtFilters(const std::string& filters, int selected, QString* selected_filter);

// The open-file dialog owned by `owner`, starting at the requester's file or folder; the
// chosen path, or "" when cancelled.
std::string RunFileRequester(QWidget* owner, const app::FileRequester& request);

}  // namespace oxlip::gui
