#include "gui/program_options.h"

#include <QCommandLineParser>
#include <QStringList>

namespace oxlip::gui {
namespace {

constexpr const char* kDescription =
    "Manages instances of the old builds of Minecraft: versions, mods, backups, game starts.\n"
    "\n"
    "The data folder is DIR of --data; else the current folder when it holds Oxlip.ini;\n"
    "else $XDG_DATA_HOME/oxlip (~/.local/share/oxlip), made on the first start.";

}  // namespace

ProgramOptions ParseProgramOptions(int argc, char** argv) {
  QStringList arguments;
  for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  QCommandLineParser parser;
  parser.setApplicationDescription(kDescription);
  // Not Qt's own help and version options: those offer options of Qt's that are not taken here.
  QCommandLineOption help({"h", "help"}, "Print this help and end.");
  QCommandLineOption version({"v", "version"}, "Print the version and end.");
  QCommandLineOption data("data", "Keep every file in DIR (made when missing).", "DIR");
  parser.addOptions({help, version, data});

  ProgramOptions options;
  if (!parser.parse(arguments)) {
    options.action = ProgramOptions::Action::kError;
    options.message = parser.errorText().toStdString();
  } else if (!parser.positionalArguments().isEmpty()) {
    options.action = ProgramOptions::Action::kError;
    options.message =
        "Unexpected argument '" + parser.positionalArguments().first().toStdString() + "'.";
  } else if (parser.isSet(data) && parser.value(data).isEmpty()) {
    options.action = ProgramOptions::Action::kError;
    options.message = "--data needs a folder.";
  } else if (parser.isSet(help)) {
    options.action = ProgramOptions::Action::kHelp;
    // Without an application object Qt cannot know the program's name.
    options.message = parser.helpText().replace("<executable_name>", "oxlip").toStdString();
  } else if (parser.isSet(version)) {
    options.action = ProgramOptions::Action::kVersion;
    options.message = std::string("oxlip ") + OXLIP_VERSION + "\n";
  } else {
    options.data = parser.value(data).toStdString();
  }
  return options;
}

}  // namespace oxlip::gui
