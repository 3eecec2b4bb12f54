// The login request against the oxlip-mirror login endpoint, and the answer line it reads.
#include "launch/login_request.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "platform/md5.h"
#include "support/mirror_process.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace oxlip {
namespace {

using launch::LoginAnswer;

// With "&" and "+" left as they are the server would read "a" as the password, or a blank.
constexpr char kHardPassword[] = "a&b+c d:e%f";

class LoginRequestTest : public test::InTempFolder {
 protected:
  void SetUp() override {
    test::WriteFile(dir() + "users.txt", "# accounts\r\nNotch:hunter2\r\n\r\nsteve:" +
                                             std::string(kHardPassword) + "\njeb_:\n");
    test::WriteFile(dir() + "root/download/minecraft.jar", "jar");
    mirror_ = std::make_unique<test::MirrorProcess>(
        dir() + "root/", std::vector<std::string>{"--users", dir() + "users.txt"});
    ASSERT_GT(mirror_->port(), 0);
    settings_.MCLOGINURL = mirror_->Url("?user=%1%&password=%2%&version=%3%");
    settings_.MCLOGINVER = "99";
    std::filesystem::create_directories(dir() + "tmp");
  }
  // The answer's file goes to TMPDIR: none may stay behind.
  void TearDown() override { EXPECT_TRUE(std::filesystem::is_empty(dir() + "tmp")); }

  std::unique_ptr<test::MirrorProcess> mirror_;
  GlobalSettings settings_;
  test::ScopedEnvironment tmpdir_{"TMPDIR", dir() + "tmp"};
};

// A refusal is an answer and keeps the ticket; "1343825972000:deprecated:Notch:<ticket>:<id>"
// has its first ":" at the fourteenth byte.
TEST_F(LoginRequestTest, NameAndTicketOrTheRefusal) {
  const struct {
    const char *user, *password;
    int result;
    const char *shown, *ticket;  // ticket: what the server hashes, "" for the old one kept
  } cases[] = {{"notch", "hunter2", 14, "Notch", "Notch:hunter2"},
               {"steve", kHardPassword, 14, "steve", "steve:a&b+c d:e%f"},
               {"jeb_", "", 14, "jeb_", "jeb_:"},
               {"Notch", "Hunter2", 0, "Bad login", ""},
               {"alex", "hunter2", 0, "Bad login", ""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.user);
    LoginAnswer answer{"", "old ticket"};
    EXPECT_EQ(LoginRequest(settings_, {c.user, c.password}, answer), c.result);
    EXPECT_EQ(answer.user_or_message, c.shown);
    EXPECT_EQ(answer.ticket, *c.ticket ? platform::Md5Hex(c.ticket) : "old ticket");
    EXPECT_TRUE(answer.answered);
  }
}

// An error status, a dropped connection or no server is no answer, which the start tells apart
// to offer playing offline.
TEST_F(LoginRequestTest, NoAnswerChangesNothing) {
  for (const char* fault : {"500:/", "drop:/", ""}) {
    SCOPED_TRACE(fault);
    mirror_->ClearFaults();
    if (*fault != '\0')
      mirror_->AddFault(fault);
    else
      mirror_->Stop();
    LoginAnswer answer{"earlier message", "", true};
    EXPECT_EQ(LoginRequest(settings_, {"Notch", "hunter2"}, answer), 0);
    EXPECT_EQ(answer.user_or_message, "earlier message");
    EXPECT_FALSE(answer.answered);
  }
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
}

TEST(LoginUrl, PlaceholdersAreFilledOnceEachWithEncodedValues) {
  GlobalSettings settings;
  settings.MCLOGINURL = "http://h/?user=%1%&password=%2%&version=%3%&again=%1%";
  settings.MCLOGINVER = "13";
  EXPECT_EQ(launch::LoginUrl(settings, {"%2%", "a&b+c d:e~-_.Z9/\xc3\xa4"}),
            "http://h/?user=%252%25&password=a%26b%2Bc%20d%3Ae~-_.Z9%2F%C3%A4&version=13"
            "&again=%252%25");
}

TEST(LoginAnswerLine, FieldsAreCountedFromOneBetweenColons) {
  LoginAnswer answer;
  EXPECT_EQ(launch::ReadLoginAnswer("1:2:Name:Ticket:5\r\nsecond line", answer), 2);
  EXPECT_EQ(answer.user_or_message + " " + answer.ticket, "Name Ticket");
  EXPECT_EQ(launch::ReadLoginAnswer("only:two", answer), 5);
  EXPECT_EQ(answer.user_or_message + answer.ticket, "");
  answer = {"x", "kept"};
  EXPECT_EQ(launch::ReadLoginAnswer("Bad login\nUser:not:here", answer), 0);
  EXPECT_EQ(answer.user_or_message + " " + answer.ticket, "Bad login kept");
  EXPECT_EQ(launch::ReadLoginAnswer("", answer), 0);
  EXPECT_EQ(answer.user_or_message, "");
}

}  // namespace
}  // namespace oxlip
