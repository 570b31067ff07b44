#pragma once
// An encrypted checkbook: the whole image of a .ql1 file sealed with
// XChaCha20-Poly1305 under a key that Argon2id derives from a passphrase.
// The image inside is the file as it would be written without encryption,
// byte for byte. The layout is described in SealedFile.md beside this.

#include "SealCost.h"
#include "Secret.h"

#include <memory>
#include <string>

enum class SealStatus
{
    Ok,
    Damaged,          // cut short, or changed since it was sealed
    NewerFormat,      // sealed by a later version of the program
    UnusualCost,      // names a key derivation outside what is accepted
    WrongPassphrase,
    NoPassphrase,     // none was given
    OutOfMemory,      // the key derivation could not have its memory
};

// Whether bytes start like an encrypted checkbook (and so are not a plain
// one: no plain file starts so).
bool IsSealedImage(const std::string& bytes);

// What can be told of a sealed image without its passphrase: whether it is
// whole and unchanged and names a format and cost this program reads.
SealStatus CheckSealedImage(const std::string& sealed);

// The key of an encrypted checkbook, with the salt and cost it was derived
// under. The passphrase itself is not kept. Immutable, so that the window
// and a save can share it.
class CSealKey
{
public:
    ~CSealKey();
    CSealKey(const CSealKey&) = delete;
    CSealKey& operator=(const CSealKey&) = delete;

    // A key for new files: derived from passphrase under a new random salt
    // at the write cost.
    static SealStatus Make(const CSecret& passphrase, std::shared_ptr<const CSealKey>& key);
    // The key of the (checked) image sealed, derived from passphrase under
    // the salt and cost the image names; WrongPassphrase when it is not
    // the image's passphrase.
    static SealStatus ForImage(const std::string& sealed, const CSecret& passphrase,
                               std::shared_ptr<const CSealKey>& key);

    // Whether sealed was sealed under this very key: it opens without the
    // passphrase being asked for again.
    bool Fits(const std::string& sealed) const;

    const SealCost& Cost() const { return m_cost; }

private:
    friend std::string SealImage(const std::string& image, const CSealKey& key);
    friend SealStatus OpenSealedImage(const std::string& sealed, const CSealKey& key, std::string& image);

    CSealKey() = default;
    static SealStatus Derive(const CSecret& passphrase, const SealCost& cost, const unsigned char* salt,
                             std::unique_ptr<CSealKey>& key);
    const unsigned char* CipherKey() const;
    std::string Prefix() const;

    SealCost m_cost;
    unsigned char m_salt[16] = {};
    unsigned char m_check[16] = {};
    unsigned char* m_material = nullptr;  // cipher key, then check key; locked memory
};

using SealKeyPtr = std::shared_ptr<const CSealKey>;

// The image sealed under key, with a fresh random nonce.
std::string SealImage(const std::string& image, const CSealKey& key);
// The image inside sealed, which must fit key. On failure image is left
// empty: nothing of a damaged file is ever given out.
SealStatus OpenSealedImage(const std::string& sealed, const CSealKey& key, std::string& image);
