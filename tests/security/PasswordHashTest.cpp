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
    // Every hash the library makes is one; its last character carries 4 bits.
    const std::string alphabet = "./0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    std::string lastCharacters;
    for (int i = 0; i < 400; ++i) {
        const std::string hash = CryptPassword("pw" + std::to_string(i), alphabet.substr(size_t(i) % 64, 1) + "x");
        ASSERT_TRUE(IsPasswordHash(hash)) << hash;
        if (lastCharacters.find(hash.back()) == std::string::npos)
            lastCharacters += hash.back();
    }
    EXPECT_EQ(lastCharacters.size(), 16u);

    const std::string good = CryptPassword("right", "ab");
    EXPECT_TRUE(CheckPassword(good, "right"));
    EXPECT_FALSE(CheckPassword(good, "wrong"));
    std::string bumped = good;
    bumped.back() = alphabet[alphabet.find(good.back()) + 1];
    // Empty, cut, foreign characters, a last character no result has: no
    // password at all opens such a file, the empty one included.
    for (const std::string& stored : {std::string(), good.substr(0, 12), good + "x", std::string("*0"),
                                      "ab" + std::string(11, '!'), bumped, std::string("ab\0JnggxhB/yWI", 13)}) {
        SCOPED_TRACE(stored);
        EXPECT_FALSE(IsPasswordHash(stored));
        for (const char* typed : {"", "right", "x"})
            EXPECT_FALSE(CheckPassword(stored, typed));
    }
}

TEST(PasswordHashTest, TypedPasswordsHashFromTheirWindows1252Bytes)
{
    EXPECT_EQ(PasswordBytes("caf\xC3\xA9"), "caf\xE9");
    EXPECT_EQ(PasswordBytes("\xE2\x82\xAC 5"), "\x80 5");  // the euro sign has its own byte
    EXPECT_EQ(PasswordBytes("\xE2\x98\x83"), "?");        // outside the code page
    EXPECT_EQ(PasswordBytes("\xF0\x9F\x92\xB0!"), "?" "?!");  // beyond 16 bits: one per half, as typed in the window
    EXPECT_EQ(PasswordBytes("caf\xE9"), "caf\xE9");       // already single-byte
    // The UTF-8 bytes of "é" would hash as other letters than the file's.
    const std::string hash = CryptPassword("caf\xE9", "ab");
    EXPECT_TRUE(CheckPassword(hash, PasswordBytes("caf\xC3\xA9")));
    EXPECT_FALSE(CheckPassword(hash, "caf\xC3\xA9"));
}
