#pragma once
// The login dialog as the flows run it.
#include "app/ui.h"
#include "launch/credentials.h"

namespace oxlip {

// Shows the dialog filled with the credentials. 1 when the person chose Login (the credentials
// then hold the two texts), 0 when cancelled (they stay as they were).
int LoginDialog(Ui& ui, launch::Credentials& credentials);

}  // namespace oxlip
