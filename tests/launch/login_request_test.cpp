// The login request against the oxlip-mirror login endpoint.
#include "launch/login_request.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/env.h"
#include "platform/md5.h"
#include "support/mirror_process.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace oxlip {
namespace {

using launch::Credentials;
using launch::LoginAnswer;

constexpr char kHardPassword[] = "a&b+c d:e%f";

class LoginRequestTest : public test::InTempFolder {
 protected:
  void SetUp() override {
    test::WriteFile(dir() + "users.txt",
                    "Notch:hunter2\nsteve:" + std::string(kHardPassword) + "\n");
    test::WriteFile(dir() + "root/download/minecraft.jar", "jar");
    mirror_ = std::make_unique<test::MirrorProcess>(
        dir() + "root/", std::vector<std::string>{"--users", dir() + "users.txt"});
    ASSERT_GT(mirror_->port(), 0);
    settings_.MCLOGINURL = mirror_->Url("?user=%1%&password=%2%&version=%3%");
    settings_.MCLOGINVER = "99";
    std::filesystem::create_directories(dir() + "tmp");
  }
  bool TemporaryFolderEmpty() const { return std::filesystem::is_empty(dir() + "tmp"); }

  std::unique_ptr<test::MirrorProcess> mirror_;
  base::GlobalSettings settings_;
  // The answer's file goes here, so the test sees whether it stays behind.
  test::ScopedEnvironment tmpdir_{"TMPDIR", dir() + "tmp"};
};

TEST_F(LoginRequestTest, SuccessGivesTheThirdAndFourthFieldsAndLeavesNoFile) {
  LoginAnswer answer;
  int result = LoginRequest(settings_, {"notch", "hunter2"}, answer);
  // "1343825972000:deprecated:Notch:<ticket>:<id>": the first ":" is the fourteenth byte.
  EXPECT_EQ(result, 14);
  EXPECT_EQ(answer.user_or_message, "Notch");
  EXPECT_EQ(answer.ticket, platform::Md5Hex("Notch:hunter2"));
  EXPECT_TRUE(TemporaryFolderEmpty());
}

// A refusal is an answer; an error status, a dropped connection or no server is none, which
// the start tells apart to offer playing offline.
TEST_F(LoginRequestTest, ARefusalIsTheMessageAndNoAnswerChangesNothing) {
  LoginAnswer answer{"", "old ticket"};
  EXPECT_EQ(LoginRequest(settings_, {"Notch", "wrong"}, answer), 0);
  EXPECT_EQ(answer.user_or_message, "Bad login");
  EXPECT_EQ(answer.ticket, "old ticket");
  EXPECT_TRUE(answer.answered);
  EXPECT_TRUE(TemporaryFolderEmpty());

  for (const char* fault : {"500:/", "drop:/", ""}) {
    SCOPED_TRACE(fault);
    mirror_->ClearFaults();
    if (*fault != '\0')
      mirror_->AddFault(fault);
    else
      mirror_->Stop();
    answer = {"earlier message", "", true};
    EXPECT_EQ(LoginRequest(settings_, {"Notch", "hunter2"}, answer), 0);
    EXPECT_EQ(answer.user_or_message, "earlier message");
    EXPECT_FALSE(answer.answered);
  }
  EXPECT_TRUE(TemporaryFolderEmpty());
}

// An answer from anywhere: a line of a megabyte must not become the message the dialog shows.
TEST_F(LoginRequestTest, OnlyTheStartOfALongAnswerIsRead) {
  std::string endless(1 << 20, 'x');
  test::WriteFile(dir() + "root/download/answer.txt", endless + ":deprecated:Name:Ticket:1\n");
  settings_.MCLOGINURL = mirror_->Url("download/answer.txt");
  LoginAnswer answer;
  EXPECT_EQ(LoginRequest(settings_, {"Notch", "hunter2"}, answer), 0);
  EXPECT_FALSE(answer.user_or_message.empty());
  EXPECT_LT(answer.user_or_message.size(), 64u * 1024);
  EXPECT_EQ(endless.compare(0, answer.user_or_message.size(), answer.user_or_message), 0);
  EXPECT_TRUE(TemporaryFolderEmpty());
}

// With "&" and "+" left as they are the server would read "a" as the password, or a blank.
TEST_F(LoginRequestTest, APasswordWithAmpersandPlusBlankAndColonLogsIn) {
  LoginAnswer answer;
  EXPECT_NE(LoginRequest(settings_, {"steve", kHardPassword}, answer), 0);
  EXPECT_EQ(answer.user_or_message, "steve");
  EXPECT_EQ(answer.ticket, platform::Md5Hex(std::string("steve:") + kHardPassword));
  EXPECT_EQ(launch::UrlEncode("a&b+c d:e%f~-_.Z9/"), "a%26b%2Bc%20d%3Ae%25f~-_.Z9%2F");
  EXPECT_EQ(launch::UrlEncode("\xc3\xa4"), "%C3%A4");
}

TEST(LoginUrl, PlaceholdersAreFilledOnceEach) {
  base::GlobalSettings settings;
  settings.MCLOGINURL = "http://h/?user=%1%&password=%2%&version=%3%&again=%1%";
  settings.MCLOGINVER = "13";
  EXPECT_EQ(launch::LoginUrl(settings, {"%2%", "p w"}),
            "http://h/?user=%252%25&password=p%20w&version=13&again=%252%25");
}

TEST(LoginAnswerLine, FieldsAreCountedFromOneBetweenColons) {
  LoginAnswer answer;
  EXPECT_EQ(launch::ReadLoginAnswer("1:2:Name:Ticket:5\r\nsecond line", answer), 2);
  EXPECT_EQ(answer.user_or_message, "Name");
  EXPECT_EQ(answer.ticket, "Ticket");
  EXPECT_EQ(launch::ReadLoginAnswer("only:two", answer), 5);
  EXPECT_EQ(answer.user_or_message, "");
  EXPECT_EQ(answer.ticket, "");
  answer = {"x", "kept"};
  EXPECT_EQ(launch::ReadLoginAnswer("Bad login\nUser:not:here", answer), 0);
  EXPECT_EQ(answer.user_or_message, "Bad login");
  EXPECT_EQ(answer.ticket, "kept");
  EXPECT_EQ(launch::ReadLoginAnswer("", answer), 0);
  EXPECT_EQ(answer.user_or_message, "");
}

}  // namespace
}  // namespace oxlip
