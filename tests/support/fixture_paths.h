#pragma once
// The fake game files built from tests/fixtures/ (its README lists every file and time), laid
// out as a mirror root. Shared by all tests: copy what a test changes.
#include <ctime>
#include <string>

namespace oxlip::test {

// With "/" at the end; holds the buckets download/, resources/ and assets/.
inline std::string FixtureRoot() { return OXLIP_FIXTURE_ROOT; }

// download/minecraft.jar: its version text and its time (2012-04-04T10:41:02Z).
inline constexpr char kFixtureReleaseVersion[] = "1.2.5";
inline constexpr std::time_t kFixtureReleaseTime = 1333536062;
// The newest jar named minecraft.jar below assets/ (2012-02-23T15:00:00Z).
inline constexpr char kFixtureNewestBetaKey[] = "12w08a/minecraft.jar";
inline constexpr std::time_t kFixtureNewestBetaTime = 1330009200;

}  // namespace oxlip::test
