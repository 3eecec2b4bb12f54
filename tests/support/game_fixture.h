#pragma once
// Real game starts in tests: an instance folder holding the fixture's fake game, the Java the
// build found, and the report the fake game writes (tests/fixtures/README.md).
#include <chrono>
#include <functional>
#include <map>
#include <string>

namespace oxlip::test {

// The folder of the Java program the build found, with "/" at the end.
std::string JavaFolder();

// `instance`/.minecraft/bin/ with the fake game's jars and launcher.
void LayOutGameFolder(const std::string& instance);

// Asks `done` every 20 ms until it says yes or `limit` has passed; its last answer.
bool WaitFor(const std::function<bool()>& done,
             std::chrono::seconds limit = std::chrono::seconds(120));

// The fake game's report as key and value, once it is there; empty when none came in time.
std::map<std::string, std::string> WaitForReport(const std::string& path);

}  // namespace oxlip::test
