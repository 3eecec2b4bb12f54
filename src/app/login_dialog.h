#pragma once
// The login dialog as the flows run it.
#include "app/ui.h"
#include "launch/credentials.h"

namespace oxlip {

// Shows the dialog filled with the credentials. kLoginChosen or kPlayOfflineChosen (the
// credentials then hold the two texts), kLoginCancelled when cancelled (they stay as they
// were).
int LoginDialog(app::Ui& ui, launch::Credentials& credentials);

}  // namespace oxlip
