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

// A user name and password that make `total` bytes with the ":" between them.
Credentials OfLength(std::size_t total) {
  std::size_t user = total / 3;
  return {std::string(user, 'u'), std::string(total - user - 1, 'p')};
}

TEST(LoginCrypt, ShortCredentialsFillTwoBlocksAndEncodeDifferentlyEachTime) {
  Credentials one{"a", "b"};
  std::string first = EncodeLogin(one);
  std::string second = EncodeLogin(one);
  EXPECT_EQ(first.size(), 44u);  // 32 bytes
  EXPECT_NE(first, second);      // random bytes around the text
  for (const std::string& text : {first, second}) {
    Credentials back = RoundTrip(text);
    EXPECT_EQ(back.user, "a");
    EXPECT_EQ(back.password, "b");
  }
}

TEST(LoginCrypt, NinetyThreeBytesFitTheOldLimitAndLongerOnesAreStoredWhole) {
  struct Case {
    std::size_t length;
    std::size_t characters;
  };
  for (Case c : {Case{1, 44}, Case{93, 152}, Case{94, 172}, Case{200, 300}}) {
    Credentials in = c.length == 1 ? Credentials{"", ""} : OfLength(c.length);
    ASSERT_EQ(in.user.size() + 1 + in.password.size(), c.length);
    std::string text = EncodeLogin(in);
    EXPECT_EQ(text.size(), c.characters) << c.length;
    Credentials back = RoundTrip(text);
    EXPECT_EQ(back.user, in.user) << c.length;
    EXPECT_EQ(back.password, in.password) << c.length;
  }
}

TEST(LoginCrypt, TheSplitIsAtTheFirstColon) {
  Credentials back = RoundTrip(EncodeLogin({"steve", "pass:with:colons & + blanks"}));
  EXPECT_EQ(back.user, "steve");
  EXPECT_EQ(back.password, "pass:with:colons & + blanks");
  back = RoundTrip(EncodeLogin({"st:eve", "pw"}));
  EXPECT_EQ(back.user, "st");
  EXPECT_EQ(back.password, "eve:pw");
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
  std::string key_free = platform::Base64Encode(std::string(48, 'z'));
  Credentials garbage = RoundTrip(key_free);
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
