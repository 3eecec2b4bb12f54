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
bool AskServer(app::GameStart& start, const launch::Credentials& credentials,
               launch::LoginAnswer& answer) {
  int done = app::BehindStatus(start.ui, "MineCraft Login", credentials.user, true,
                               [&](base::ProgressSink&) {
                                 return LoginRequest(start.settings, credentials, answer) ? 1 : 0;
                               });
  return done != 0;
}

// No answer at all is not a refusal: the server may be gone for good, so playing offline under
// the name just tried is offered. True when the person took it.
bool OfferOffline(app::Ui& ui, const std::string& user) {
  const std::string unreachable = "LoginRequest: The login server can't be reached.";
  if (!app::LoginForm::CanPlayOffline(user)) {
    ui.ShowMessage("Oxlip", unreachable);
    return false;
  }
  return ui.ShowOffer("Oxlip", unreachable + "\nPlay offline as " + user + " instead?",
                      "Play offline");
}

// The remembered offline name, the stored credentials or the dialog, then the request until it
// succeeds; false when the person cancelled. Offline, nothing is sent.
bool LogIn(app::GameStart& start, const Instance& record, launch::GameLogin& login) {
  if (!record.OfflineName.empty()) {
    login = launch::OfflineLogin(record.OfflineName);
    return true;
  }
  launch::Credentials credentials;
  int choice = app::kLoginChosen;
  if (!record.LoginCrypt.empty())
    DecodeLogin(record.LoginCrypt, credentials);
  else
    choice = LoginDialog(start.ui, credentials);
  if (choice == app::kLoginChosen && credentials.user.empty()) return true;
  launch::LoginAnswer answer;
  while (choice == app::kLoginChosen && !AskServer(start, credentials, answer)) {
    if (answer.answered) {
      start.ui.ShowMessage("Oxlip", answer.user_or_message);
    } else if (OfferOffline(start.ui, credentials.user)) {
      choice = app::kPlayOfflineChosen;
      break;
    }
    choice = LoginDialog(start.ui, credentials);
  }
  if (choice == app::kLoginCancelled) return false;
  if (choice == app::kPlayOfflineChosen)
    login = launch::OfflineLogin(credentials.user);
  else
    login = {answer.user_or_message, answer.ticket};
  return true;
}

// Its result is not looked at: a failed backup neither stops the start nor is shown.
void BackUpSaves(app::GameStart& start, const Instance& record) {
  Instance saves;  // the worker's own copy of what it reads
  saves.Name = record.Name;
  saves.Folder = record.Folder;
  app::CancellableBehindStatus(
      start.ui, "Backup saves", record.Name, true,
      [&](base::ProgressSink& progress) { return SaveBackup(start.settings, saves, &progress); });
}

}  // namespace

int StartMinecraft(app::GameStart& start, Instance& record) {
  if (launch::GameStillRuns(start.game)) return Fail("StartMinecraft: Minecraft already run");
  if (record.AutoBackupSaves != 0) BackUpSaves(start, record);
  launch::GameLogin login;
  if (record.UseLauncher == 0 && !LogIn(start, record, login))
    return Fail("StartMinecraft: Login canceld");
  int id = launch::StartGame(start.settings, record, login, start.game, start.conventions);
  return id != 0 ? id : Fail("StartMinecraft: Can't start Java");
}

}  // namespace oxlip
