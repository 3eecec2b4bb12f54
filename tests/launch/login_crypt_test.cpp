// Stored credentials: what EncodeLogin makes decodes to what was entered, at any length.
#include "launch/login_crypt.h"

#include <gtest/gtest.h>

#include "platform/crypto.h"

namespace oxlip {
namespace {

using launch::Credentials;

Credentials RoundTrip(const std::string& text) {
  Credentials out{"old user", "old password"};
  DecodeLogin(text, out);
  return out;
}

// 93 bytes fit the old limit, longer ones are stored whole; random bytes around the text make
// each encoding differ; the split is at the first ":".
TEST(LoginCrypt, WhatWasEnteredComesBackAtAnyLength) {
  const struct {
    Credentials in, out;
    std::size_t characters;
  } cases[] = {
      {{"a", "b"}, {"a", "b"}, 44},
      {{"", ""}, {"", ""}, 44},
      {{std::string(31, 'u'), std::string(61, 'p')},
       {std::string(31, 'u'), std::string(61, 'p')},
       152},
      {{std::string(31, 'u'), std::string(62, 'p')},
       {std::string(31, 'u'), std::string(62, 'p')},
       172},
      {{std::string(66, 'u'), std::string(133, 'p')},
       {std::string(66, 'u'), std::string(133, 'p')},
       300},
      {{"steve", "pass:with:colons & + blanks"}, {"steve", "pass:with:colons & + blanks"}, 88},
      {{"st:eve", "pw"}, {"st", "eve:pw"}, 44},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in.user + ":" + c.in.password);
    std::string text = EncodeLogin(c.in);
    EXPECT_EQ(text.size(), c.characters);
    EXPECT_NE(text, EncodeLogin(c.in));
    Credentials back = RoundTrip(text);
    EXPECT_EQ(back.user, c.out.user);
    EXPECT_EQ(back.password, c.out.password);
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

}  // namespace
}  // namespace oxlip
