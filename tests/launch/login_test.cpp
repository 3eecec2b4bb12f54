// Stored credentials, which decode to what was entered at any length; the login request against
// the oxlip-mirror login endpoint, and the answer line it reads.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "launch/login_crypt.h"
#include "launch/login_request.h"
#include "platform/crypto.h"
#include "platform/md5.h"
#include "support/mirror_process.h"
#include "support/scoped_environment.h"
#include "support/temp_folder.h"

namespace oxlip {
namespace {

using launch::Credentials;
using launch::LoginAnswer;

Credentials RoundTrip(const std::string& text) {
  Credentials out{"old user", "old password"};
  DecodeLogin(text, out);
  return out;
}

// 93 bytes fit the old limit, longer ones are stored whole; random bytes around the text make
// each encoding differ; the split is at the first ":".
TEST(LoginCrypt, WhatWasEnteredComesBackAtAnyLength) {
  const std::pair<Credentials, std::size_t> cases[] = {
      {{"a", "b"}, 44},
      {{"", ""}, 44},
      {{std::string(31, 'u'), std::string(61, 'p')}, 152},
      {{std::string(31, 'u'), std::string(62, 'p')}, 172},
      {{std::string(66, 'u'), std::string(133, 'p')}, 300},
      {{"steve", "pass:with:colons & + blanks"}, 88},
      {{"st:eve", "pw"}, 44},
  };
  for (const auto& [in, characters] : cases) {
    SCOPED_TRACE(in.user + ":" + in.password);
    std::string text = EncodeLogin(in);
    EXPECT_EQ(text.size(), characters);
    EXPECT_NE(text, EncodeLogin(in));
    Credentials back = RoundTrip(text);
    EXPECT_EQ(back.user + ":" + back.password, in.user + ":" + in.password);
    EXPECT_EQ(back.user, in.user == "st:eve" ? "st" : in.user);
  }
}

// Edited by hand or made under another key: whatever the bytes give, and never a crash.
TEST(LoginCrypt, TextsEncodeLoginDidNotMakeDecodeToWhatTheyHold) {
  EXPECT_EQ(RoundTrip("not base64 at all!").password, "");
  EXPECT_EQ(RoundTrip("").user, "");
  EXPECT_EQ(RoundTrip("QUJD").password, "");  // three bytes: no whole block
  std::string odd = EncodeLogin({"a", "b"});
  odd.resize(24);  // one block and a part
  Credentials partial = RoundTrip(odd);
  EXPECT_LE(partial.user.size() + partial.password.size(), 14u);
  // A block without a zero byte ends at the end of the bytes.
  Credentials garbage = RoundTrip(platform::Base64Encode(std::string(48, 'z')));
  EXPECT_LE(garbage.user.size() + garbage.password.size(), 46u);
}

TEST(Crypto, Base64IsTheStandardAlphabetWithPadding) {
  EXPECT_EQ(platform::Base64Encode("\xfb\xff"), "+/8=");
  EXPECT_EQ(platform::Base64Encode("abcd"), "YWJjZA==");
  EXPECT_EQ(platform::Base64Decode("YWJjZA=="), "abcd");
  EXPECT_EQ(platform::Base64Decode("+/8="), "\xfb\xff");
  EXPECT_FALSE(platform::Base64Decode("YWJ"));
  EXPECT_FALSE(platform::Base64Decode("YW*j"));
}

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
  base::GlobalSettings settings_;
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
  base::GlobalSettings settings;
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
