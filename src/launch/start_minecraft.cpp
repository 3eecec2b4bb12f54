#include "launch/start_minecraft.h"

#include <optional>

#include "backup/backup.h"
#include "base/behind_status.h"
#include "base/error_text.h"
#include "launch/find_java.h"
#include "launch/game_log.h"
#include "launch/java_command.h"
#include "launch/login_crypt.h"
#include "launch/login_form.h"
#include "launch/login_request.h"
#include "platform/command_line.h"
#include "platform/fs.h"
#include "platform/process.h"

namespace oxlip {
namespace {

int Fail(const char* text) {
  SetErrorText(text);
  return 0;
}

// The server may be slow or unreachable: the window keeps being drawn meanwhile.
bool AskServer(GameStart& start, const launch::Credentials& credentials,
               launch::LoginAnswer& answer) {
  int done = base::BehindStatus(
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
    start.ui.ShowMessage("Oxlip", answer.first);
    if (!LoginDialog(start.ui, credentials)) return false;
  }
  login.user = answer.first;
  login.ticket = answer.second;
  return true;
}

// Its result is not looked at: a failed backup neither stops the start nor is shown.
void BackUpSaves(GameStart& start, const Instance& record) {
  Instance saves;  // the worker's own copy of what it reads
  saves.Name = record.Name;
  saves.Folder = record.Folder;
  base::BehindStatus(start.ui, "Backup saves", record.Name, true, [&](ProgressSink& progress) {
    return SaveBackup(start.settings, saves, &progress);
  });
}

// A game that dies at once leaves its reason here; the run before stays beside it.
std::string GameLog(const GlobalSettings& settings, const Instance& record) {
  std::string log = launch::GameLogFile(settings, record);
  if (platform::Exists(log)) {
    platform::DeleteFile(launch::PreviousGameLog(log));
    platform::RenameFile(log, launch::PreviousGameLog(log));
  }
  return log;
}

}  // namespace

int StartMinecraft(GameStart& start, Instance& record) {
  launch::RunningGame& game = start.game;
  if (game.process && !game.process->HasEnded())
    return Fail("StartMinecraft: Minecraft already run");
  game = launch::RunningGame();
  if (record.AutoBackupSaves != 0) BackUpSaves(start, record);
  launch::GameLogin login;
  if (record.UseLauncher == 0 && !LogIn(start, record, login))
    return Fail("StartMinecraft: Login canceld");

  std::string found_java = record.CustomJava != 0 ? "" : FindJava(start.conventions);
  launch::JavaCommand command =
      launch::BuildJavaCommand(start.settings, record, login, found_java, start.conventions);
  platform::ProcessStart launch_with;
  launch_with.args = platform::SplitCommandLine(command.command_line);
  launch_with.working_folder = command.working_folder;
  // The child's own: a folder opened later, or the next instance's game, must not inherit it.
  launch_with.environment = {{command.home_variable, command.home_value}};
  launch_with.output_file = GameLog(start.settings, record);
  std::optional<platform::Process> process = platform::Process::Start(launch_with);
  if (!process) return Fail("StartMinecraft: Can't start Java");

  int id = process->id();
  game.process = std::move(process);
  game.folder = record.Folder;
  game.name = record.Name;
  game.log_file = launch_with.output_file;
  game.window_pending = true;
  game.maximize = record.Maximize;
  return id;
}

}  // namespace oxlip
