#include "app/start_minecraft.h"

#include "app/behind_status.h"
#include "app/login_dialog.h"
#include "backup/backup.h"
#include "base/error_text.h"
#include "launch/login_crypt.h"
#include "launch/login_request.h"
#include "launch/start_game.h"

namespace oxlip {
namespace {

int Fail(const char* text) {
  SetErrorText(text);
  return 0;
}

// The server may be slow or unreachable: the window keeps being drawn meanwhile.
bool AskServer(GameStart& start, const launch::Credentials& credentials,
               launch::LoginAnswer& answer) {
  int done = app::BehindStatus(
      start.ui, "MineCraft Login", credentials.user, true,
      [&](ProgressSink&) { return LoginRequest(start.settings, credentials, answer) ? 1 : 0; });
  return done != 0;
}

// The stored credentials or the dialog, then the request until it succeeds; false when the
// person cancelled.
bool LogIn(GameStart& start, const Instance& record, launch::GameLogin& login) {
  launch::Credentials credentials;
  if (!record.LoginCrypt.empty())
    DecodeLogin(record.LoginCrypt, credentials);
  else if (!LoginDialog(start.ui, credentials))
    return false;
  if (credentials.user.empty()) return true;
  launch::LoginAnswer answer;
  while (!AskServer(start, credentials, answer)) {
    start.ui.ShowMessage("Oxlip", answer.user_or_message);
    if (!LoginDialog(start.ui, credentials)) return false;
  }
  login.user = answer.user_or_message;
  login.ticket = answer.ticket;
  return true;
}

// Its result is not looked at: a failed backup neither stops the start nor is shown.
void BackUpSaves(GameStart& start, const Instance& record) {
  Instance saves;  // the worker's own copy of what it reads
  saves.Name = record.Name;
  saves.Folder = record.Folder;
  app::CancellableBehindStatus(
      start.ui, "Backup saves", record.Name, true,
      [&](ProgressSink& progress) { return SaveBackup(start.settings, saves, &progress); });
}

}  // namespace

int StartMinecraft(GameStart& start, Instance& record) {
  if (launch::GameStillRuns(start.game)) return Fail("StartMinecraft: Minecraft already run");
  if (record.AutoBackupSaves != 0) BackUpSaves(start, record);
  launch::GameLogin login;
  if (record.UseLauncher == 0 && !LogIn(start, record, login))
    return Fail("StartMinecraft: Login canceld");
  int id = launch::StartGame(start.settings, record, login, start.game, start.conventions);
  return id != 0 ? id : Fail("StartMinecraft: Can't start Java");
}

}  // namespace oxlip
