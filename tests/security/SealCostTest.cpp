// Linked with the cost the programs use, not the tests' cheap one: files
// are written at libsodium's "moderate" cost, and files that name less
// (those the test programs write) are refused.
#include "SealedFile.h"

#include <sodium.h>

#include <gtest/gtest.h>

namespace
{
uint32_t Uint32At(const std::string& bytes, size_t at)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + size_t(i)]);
    return value;
}
}

TEST(SealCostTest, TheProgramsWriteAtModerateCostAndRefuseLess)
{
    std::string passphrase = "correct horse";
    SealKeyPtr key;
    ASSERT_EQ(CSealKey::Make(CSecret::Take(passphrase), key), SealStatus::Ok);
    const std::string sealed = SealImage("image", *key);
    EXPECT_EQ(Uint32At(sealed, 9), crypto_pwhash_OPSLIMIT_MODERATE);
    EXPECT_EQ(Uint32At(sealed, 13), crypto_pwhash_MEMLIMIT_MODERATE / 1024);
    std::string image;
    EXPECT_EQ(OpenSealedImage(sealed, *key, image), SealStatus::Ok);
    EXPECT_EQ(image, "image");

    // The same file at the tests' cost (1 pass, 64 KiB), checksum and all.
    std::string cheap = sealed;
    cheap[9] = 1;
    cheap.replace(13, 4, std::string("\x40\x00\x00\x00", 4));
    const size_t summed = cheap.size() - 16;
    crypto_generichash(reinterpret_cast<unsigned char*>(&cheap[summed]), 16,
                       reinterpret_cast<const unsigned char*>(cheap.data()), summed, nullptr, 0);
    EXPECT_EQ(CheckSealedImage(cheap), SealStatus::UnusualCost);
    EXPECT_FALSE(key->Fits(cheap));
}
