#include "gui/program.h"

int main(int argc, char** argv) { return oxlip::gui::RunProgram(argc, argv); }
