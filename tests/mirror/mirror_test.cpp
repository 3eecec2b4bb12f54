// The oxlip-mirror program: its command line, the objects it serves and nothing from outside
// its root, bucket listings in the S3 form that Oxlip's listing reader expects, and injected
// failures (what each does to a transfer is seen by the download engine's tests).
#include <curl/curl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <sstream>

#include "platform/md5.h"
#include "support/mirror_process.h"
#include "support/served_buckets.h"

namespace oxlip::test {
namespace {

using Keys = std::vector<std::string>;

// The text of the first <tag> element of `xml`; "" when there is none.
std::string Element(const std::string& xml, const std::string& tag) {
  size_t start = xml.find("<" + tag + ">");
  if (start == std::string::npos) return "";
  start += tag.size() + 2;
  size_t end = xml.find("</" + tag + ">", start);
  return end == std::string::npos ? "" : xml.substr(start, end - start);
}

// The lines of a listing holding <Contents>.
std::vector<std::string> ContentsLines(const std::string& xml) {
  std::vector<std::string> lines;
  std::istringstream in(xml);
  for (std::string line; std::getline(in, line);)
    if (line.find("<Contents>") != std::string::npos) lines.push_back(line);
  return lines;
}

// The Key of every <Contents> line of a listing, in order.
Keys ListedKeys(const std::string& xml) {
  Keys keys;
  for (const std::string& line : ContentsLines(xml)) keys.push_back(Element(line, "Key"));
  return keys;
}

class ServedFolderTest : public ServedBuckets {
 protected:
  HttpAnswer Get(const std::string& path) { return HttpGet(mirror_->Url(path)); }
};

class MirrorCommandLine : public InTempFolder {
 protected:
  void SetUp() override { WriteFile(dir() + "root/download/minecraft.jar", "jar"); }

  // The exit code of a run that must end by itself; its error output in `err`.
  int RunToExit(const std::string& options) {
    std::string command =
        std::string(OXLIP_MIRROR_PATH) + " " + options + " >out.txt 2>err.txt </dev/null";
    int status = std::system(command.c_str());
    err = ReadFile(dir() + "err.txt");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  std::string err;
};

TEST_F(MirrorCommandLine, BadOptionsEndWithAMessage) {
  const std::pair<const char*, const char*> cases[] = {
      {"", "--root DIR is required"},
      {"--root missing", "'missing' is not a folder"},
      {"--root root --port 70000", "--port '70000'"},
      {"--root root --port", "needs a value"},
      {"--root root --delay -5", "--delay '-5'"},
      {"--root root --fault explode:/x", "KIND:PATHPREFIX[:COUNT]"},
      {"--root root --fault drop:x", "must start with /"},
      {"--root root --fault drop:/x:0", "COUNT"},
      {"--root root --users nobody.txt", "'nobody.txt' cannot be read"},
      {"--root root --users root/download/minecraft.jar", "jar:1: expected user:password"},
      {"--root root --log nofolder/log.txt", "cannot be opened"},
      {"--root root --colour red", "unknown option '--colour'"},
  };
  for (const auto& [options, message] : cases) {
    EXPECT_EQ(RunToExit(options), 2) << options;
    EXPECT_NE(err.find(message), std::string::npos) << options << ": " << err;
  }
  EXPECT_EQ(RunToExit("--help"), 0);
  EXPECT_NE(ReadFile(dir() + "out.txt").find("usage: oxlip-mirror"), std::string::npos);
}

// Loopback only unless --bind says otherwise (127.0.0.2 stands for another machine's way in); a
// fixed port is used; a delay holds every answer; without users nobody logs in; terminating ends
// cleanly.
TEST_F(MirrorCommandLine, BindAFixedPortADelayAndNoUsers) {
  auto get = [](int port, const char* path) {
    return HttpGet("http://127.0.0.2:" + std::to_string(port) + "/" + path);
  };
  int free_port = 0;
  {
    MirrorProcess local(dir() + "root/");
    free_port = local.port();
    ASSERT_GT(free_port, 0);
    EXPECT_EQ(get(free_port, "download/minecraft.jar").status, 0);
  }
  MirrorProcess mirror(dir() + "root/", {"--port", std::to_string(free_port), "--delay", "300",
                                         "--bind", "0.0.0.0"});
  EXPECT_EQ(mirror.port(), free_port);
  for (const char* path : {"download/", "download/minecraft.jar"}) {
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(get(free_port, path).status, 200);
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300)) << path;
  }
  EXPECT_EQ(get(free_port, "download/minecraft.jar").body, "jar");
  EXPECT_EQ(get(free_port, "game/login?user=Notch&version=99").body, "Bad login");
  EXPECT_EQ(mirror.Stop(), 0);
}

using MirrorFiles = ServedFolderTest;

TEST_F(MirrorFiles, ServesBytesUnderDecodedKeysAndRefusesTheRest) {
  std::string every_byte;
  for (int i = 0; i < 256 * 300; ++i) every_byte += static_cast<char>(i * 7);
  Serve("download/natives/linux natives.jar", every_byte);
  Serve("download/empty", "");
  Serve("download/a+b", "plus");
  WriteFile(log_, "GET /earlier\n");
  StartMirror();
  HttpAnswer jar = Get("download/natives/linux%20natives.jar?x=1&y=%2F&z");
  EXPECT_EQ(jar.curl_code, 0);
  EXPECT_TRUE(jar.body == every_byte);
  const struct {
    const char* path;
    int status;
    const char* body;  // nullptr: not compared
  } cases[] = {{"download/empty", 200, ""},          {"download/a+b", 200, "plus"},
               {"download/a%2Bb", 200, "plus"},      {"download/natives/", 200, nullptr},
               {"download/lwjgl.jar", 404, nullptr}, {"download/empty/", 404, nullptr},
               {"nobucket/empty", 404, nullptr},     {"download/empty%2", 400, nullptr},
               {"download/e%00mpty", 400, nullptr}};
  for (const auto& c : cases) {
    HttpAnswer answer = Get(c.path);
    EXPECT_EQ(answer.status, c.status) << c.path;
    EXPECT_TRUE(!c.body || answer.body == c.body) << c.path;
  }
  // Every target as received, after what the log held.
  EXPECT_TRUE(ReadFile(log_).starts_with(
      "GET /earlier\nGET /download/natives/linux%20natives.jar?x=1&y=%2F&z\nGET"));
}

TEST_F(MirrorFiles, NothingOutsideTheRootIsReachable) {
  WriteFile(dir() + "secret.txt", "secret");
  WriteFile(dir() + "elsewhere/secret.txt", "secret");
  Serve("download/inside.txt", "inside");
  std::filesystem::create_symlink(dir() + "secret.txt", root_ + "download/link.txt");
  std::filesystem::create_directory_symlink(dir() + "elsewhere", root_ + "download/linked");
  std::filesystem::create_directory_symlink(dir() + "elsewhere", root_ + "outside");
  std::filesystem::create_symlink(root_ + "download/inside.txt", root_ + "download/alias.txt");
  StartMirror();
  for (const char* path :
       {"download/../../secret.txt", "download/%2e%2e/%2E%2E/secret.txt",
        "download/..%2f..%2fsecret.txt", "download//etc/passwd", "download/./inside.txt",
        "download/link.txt", "download/linked/secret.txt", "outside/secret.txt", "outside/",
        "../secret.txt", "%2e%2e/secret.txt"}) {
    HttpAnswer answer = Get(path);
    EXPECT_NE(answer.status, 200) << path;
    EXPECT_EQ(answer.body.find("secret</"), std::string::npos) << path;  // listed
    EXPECT_NE(answer.body, "secret") << path;
  }
  EXPECT_EQ(Get("download/alias.txt").body, "inside");
  EXPECT_EQ(ListedKeys(Get("download/").body),
            (std::vector<std::string>{"alias.txt", "inside.txt"}));
}

class MirrorListing : public ServedFolderTest {
 protected:
  void SetUp() override {
    for (const char* name :
         {"B.txt", "a b.txt", "a&b", "sub/c.txt", "sub/deeper/d.txt", "\xC3\xBC"})
      Serve(std::string("download/") + name, std::string("bytes of ") + name);
    Serve("download/minecraft.jar", std::string(3000, 'j'));
    Serve("resources/x", "x");
    StartMirror();
  }
};

// Byte-wise: upper case before lower case, a blank before "&", "/" after ".", UTF-8 last.
const Keys kAllKeys = {"B.txt",     "a b.txt",     "a&amp;b",          "minecraft.jar", "sub/",
                       "sub/c.txt", "sub/deeper/", "sub/deeper/d.txt", "\xC3\xBC"};

TEST_F(MirrorListing, EveryObjectOnItsOwnLineWithItsFields) {
  std::string xml = Get("download/").body;
  EXPECT_EQ(Element(xml, "Name") + Element(xml, "Prefix") + Element(xml, "Marker") + " " +
                Element(xml, "MaxKeys") + " " + Element(xml, "IsTruncated"),
            "download 1000 false");
  EXPECT_EQ(ListedKeys(xml), kAllKeys);
  for (const std::string& line : ContentsLines(xml)) {
    EXPECT_EQ(line.find("<Contents>"), 0u) << line;
    EXPECT_EQ(line.find("</Contents>"), line.size() - 11) << line;
  }
  std::string jar = ContentsLines(xml)[3], folder = ContentsLines(xml)[4];
  EXPECT_EQ(Element(jar, "LastModified"), "2011-11-18T08:44:29.000Z");
  EXPECT_EQ(Element(jar, "ETag"), "&quot;" + platform::Md5Hex(std::string(3000, 'j')) + "&quot;");
  EXPECT_EQ(Element(jar, "Size"), "3000");
  EXPECT_EQ(Element(folder, "Size"), "0");
  EXPECT_EQ(Element(folder, "ETag"), "&quot;" + platform::Md5Hex("") + "&quot;");
  // Each folder of the root is a bucket.
  EXPECT_EQ(ListedKeys(Get("resources/").body), Keys{"x"});
  EXPECT_EQ(Element(Get("resources").body, "Name"), "resources");
  EXPECT_EQ(Get("assets/").status, 404);
  EXPECT_EQ(Get("").status, 404);
}

// The marker is left out; one between keys starts at the next key.
TEST_F(MirrorListing, MarkerMaxKeysAndPrefix) {
  const struct {
    const char* query;
    Keys keys;
    const char* truncated;
  } cases[] = {
      {"?max-keys=4", Keys(kAllKeys.begin(), kAllKeys.begin() + 4), "true"},
      {"?max-keys=4&marker=minecraft.jar", Keys(kAllKeys.begin() + 4, kAllKeys.begin() + 8),
       "true"},
      {"?max-keys=4&marker=sub/deeper/d.txt", {"\xC3\xBC"}, "false"},
      {"?marker=sub/b&prefix=sub/", {"sub/c.txt", "sub/deeper/", "sub/deeper/d.txt"}, "false"},
      {"?max-keys=0", {}, "true"},
      {"?max-keys=5000&prefix=a%20b", {"a b.txt"}, "false"},
      {"?prefix=a+b", {"a b.txt"}, "false"},
      {"?prefix=minecraft.jar&max-keys=1", {"minecraft.jar"}, "false"},
      {"?prefix=none", {}, "false"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.query);
    HttpAnswer answer = Get(std::string("download/") + c.query);
    EXPECT_EQ(answer.status, 200);
    EXPECT_EQ(ListedKeys(answer.body), c.keys);
    EXPECT_EQ(Element(answer.body, "IsTruncated"), c.truncated);
  }
  EXPECT_EQ(Element(Get("download/?max-keys=5000").body, "MaxKeys"), "1000");
  EXPECT_EQ(Element(Get("download/?marker=sub/b").body, "Marker"), "sub/b");
  EXPECT_EQ(Element(Get("download/?prefix=sub/").body, "Prefix"), "sub/");
  for (const char* bad :
       {"?max-keys=", "?max-keys=-1", "?max-keys=ten", "?max-keys=9999999999", "?prefix=%zz"})
    EXPECT_EQ(Get(std::string("download/") + bad).status, 400) << bad;
  EXPECT_NE(Get("download/?max-keys=ten").body.find("max-keys"), std::string::npos);
}

using MirrorFaults = ServedFolderTest;

TEST_F(MirrorFaults, RulesCountAndChangeWhileRunning) {
  Serve("download/minecraft.jar", std::string(200000, 'j'));
  Serve("download/lwjgl.jar", "lwjgl");
  StartMirror({"--fault", "500:/download/minecraft.jar:2", "--fault", "404:/download/lwjgl"});
  for (int status : {500, 500, 200}) EXPECT_EQ(Get("download/minecraft.jar").status, status);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Get("download/lwjgl.jar").status, 404);
  EXPECT_EQ(Get("download/").status, 200);  // a listing is a request this prefix does not reach

  ASSERT_TRUE(mirror_->ClearFaults());
  ASSERT_TRUE(mirror_->AddFault("404:/download/:1"));
  ASSERT_TRUE(mirror_->AddFault("drop:/download/minecraft.jar"));
  EXPECT_EQ(Get("download/minecraft.jar").status, 404);  // the first rule, used up
  HttpAnswer dropped = Get("download/minecraft.jar");
  EXPECT_EQ(dropped.curl_code, CURLE_PARTIAL_FILE);
  EXPECT_EQ(dropped.body.size(), 100000u);
  EXPECT_EQ(Get("download/lwjgl.jar").body, "lwjgl");
  ASSERT_TRUE(mirror_->ClearFaults());
  EXPECT_EQ(Get("download/minecraft.jar").body.size(), 200000u);
  HttpAnswer bad = Get("_mirror/fault?rule=explode:/x");
  EXPECT_EQ(bad.status, 400);
  EXPECT_NE(bad.body.find("KIND:PATHPREFIX"), std::string::npos);
  EXPECT_EQ(Get("_mirror/fault").status, 400);
  EXPECT_EQ(Get("_mirror/other").status, 404);
}

}  // namespace
}  // namespace oxlip::test
