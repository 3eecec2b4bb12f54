#pragma once
// A termination asked of the process (logout, kill, Ctrl-C) turned into something an event
// loop can wait for.
namespace oxlip::platform {

// From now on SIGTERM, SIGINT and SIGHUP make the returned descriptor readable instead of
// ending the process; -1 when that cannot be set up.
int WatchTerminationSignals();

// Takes what a signal left in the descriptor, so it can report the next one.
void DrainTerminationSignal(int fd);

}  // namespace oxlip::platform
