#include "PasswordHash.h"
#include "Time.h"

#include <gtest/gtest.h>

TEST(PasswordHashTest, TraditionalDesCrypt)
{
    EXPECT_EQ(CryptPassword("password", "ab"), "abJnggxhB/yWI");
    EXPECT_EQ(CryptPassword("password", "abXYZ"), "abJnggxhB/yWI");  // only two salt characters count
    EXPECT_EQ(CryptPassword("", "ab").size(), 13u);
    // Only the first 8 characters, and their low 7 bits, count.
    EXPECT_EQ(CryptPassword("password1", "ab"), CryptPassword("password2", "ab"));
    EXPECT_EQ(CryptPassword("p\xE1ss", "ab"), CryptPassword("pass", "ab"));
    EXPECT_NE(CryptPassword("secret", "ab"), CryptPassword("secret ", "ab"));
}

TEST(PasswordHashTest, NewHashesVerifyUnderTheirOwnSalt)
{
    Clock::Set([] { return int64_t(1700000000); });
    const std::string first = MakePasswordHash("hunter2");
    EXPECT_EQ(first.substr(0, 2), MakePasswordHash("other").substr(0, 2));  // same second, same salt
    EXPECT_EQ(HashPassword(first, "hunter2"), first);
    EXPECT_NE(HashPassword(first, "hunter3"), first);
    EXPECT_EQ(HashPassword("", "x"), "");

    // Whatever the clock says, the salt stays in crypt's alphabet.
    const std::string alphabet = "./0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    for (int64_t t = 0; t < 200; ++t) {
        Clock::Set([t] { return t * 7919; });
        const std::string hash = MakePasswordHash("x");
        ASSERT_EQ(hash.size(), 13u);
        EXPECT_TRUE(alphabet.find(hash[0]) != std::string::npos && alphabet.find(hash[1]) != std::string::npos);
    }
    Clock::Set(nullptr);
}

TEST(PasswordHashTest, OnlyHashesAPasswordCanHaveEverMatch)
{
    // Of each hash the library makes, the last character carries 4 bits.
    const std::string alphabet = "./0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    for (int i = 0; i < 200; ++i)
        ASSERT_TRUE(IsPasswordHash(CryptPassword(std::to_string(i), alphabet.substr(size_t(i) % 64, 1) + "x")));
    const std::string good = CryptPassword("right", "ab");
    EXPECT_TRUE(CheckPassword(good, "right"));
    std::string bumped = good;
    bumped.back() = alphabet[alphabet.find(good.back()) + 1];
    // Empty, cut, foreign characters, a last character no result has: no
    // password opens such a file, the empty one included.
    for (const std::string& stored : {std::string(), good.substr(0, 12), std::string("*0"), bumped,
                                      "ab" + std::string(11, '!'), std::string("ab\0JnggxhB/yWI", 13)})
        for (const char* typed : {"", "right"})
            EXPECT_FALSE(CheckPassword(stored, typed)) << stored;
}

TEST(PasswordHashTest, TypedPasswordsHashFromTheirWindows1252Bytes)
{
    // UTF-8 "é" would hash as other letters than the file's Windows-1252.
    EXPECT_TRUE(CheckPassword(CryptPassword("caf\xE9", "ab"), PasswordBytes("caf\xC3\xA9")));
    EXPECT_EQ(PasswordBytes("\xE2\x82\xAC \xE2\x98\x83"), "\x80 ?");  // the euro sign has a byte, a snowman none
    EXPECT_EQ(PasswordBytes("\xF0\x9F\x92\xB0!"), "?" "?!");  // one per half, as the window types it
    EXPECT_EQ(PasswordBytes("caf\xE9"), "caf\xE9");            // already single-byte
}
