// The login endpoint: the answer line that Oxlip's login request reads.
#include <gtest/gtest.h>

#include "mirror_tree.h"
#include "platform/md5.h"

namespace oxlip::test {
namespace {

class MirrorLogin : public ServedFolderTest {
 protected:
  void SetUp() override {
    WriteFile(dir() + "users.txt", "# accounts\r\nNotch:hunter2\r\n\r\nsteve:a:b & c+d\njeb_:\n");
    Serve("download/minecraft.jar", "jar");
    StartMirror({"--users", dir() + "users.txt"});
  }
  std::string Login(const std::string& query) { return Get(query).body; }
};

TEST_F(MirrorLogin, KnownUserGetsNameAndTicketInFieldsThreeAndFour) {
  std::string answer = Login("?user=notch&password=hunter2&version=99");
  EXPECT_EQ(answer, "1343825972000:deprecated:Notch:" + platform::Md5Hex("Notch:hunter2") + ":" +
                        platform::Md5Hex("Notch"));
  // The password holds ":", "&", a blank and "+", encoded as the login request encodes them.
  EXPECT_EQ(Login("?user=steve&password=a:b%20%26%20c%2Bd&version=99"),
            "1343825972000:deprecated:steve:" + platform::Md5Hex("steve:a:b & c+d") + ":" +
                platform::Md5Hex("steve"));
  EXPECT_NE(Login("?user=jeb_&password=&version=99").find(":jeb_:"), std::string::npos);
  // The path does not matter, only the query.
  EXPECT_NE(Login("game/login?user=Notch&password=hunter2").find(":Notch:"), std::string::npos);
}

TEST_F(MirrorLogin, WrongPasswordOrUnknownUserIsRefusedWithoutColon) {
  EXPECT_EQ(Login("?user=Notch&password=Hunter2&version=99"), "Bad login");
  EXPECT_EQ(Login("?user=Notch&version=99"), "Bad login");
  EXPECT_EQ(Login("?user=alex&password=hunter2&version=99"), "Bad login");
  EXPECT_EQ(Login("?user=&password=&version=99"), "Bad login");
  EXPECT_EQ(Login("?user=steve&password=a:b+&+c+d&version=99"), "Bad login");
}

}  // namespace
}  // namespace oxlip::test
