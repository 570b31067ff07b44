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
