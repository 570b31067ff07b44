#include "SealedFile.h"

#include <sodium.h>

#include <cstring>

namespace
{
// 0x89 cannot start a plain checkbook: it would be the length of a version
// text of 137 bytes, and no version text reads "QL1ENC".
const unsigned char kMagic[8] = {0x89, 'Q', 'L', '1', 'E', 'N', 'C', 0x1A};
constexpr unsigned char kFormat = 1;

constexpr size_t kSaltSize = crypto_pwhash_SALTBYTES;
constexpr size_t kCheckSize = 16;
constexpr size_t kNonceSize = crypto_aead_xchacha20poly1305_ietf_NPUBBYTES;
constexpr size_t kTagSize = crypto_aead_xchacha20poly1305_ietf_ABYTES;
constexpr size_t kSumSize = 16;
constexpr size_t kCipherKeySize = crypto_aead_xchacha20poly1305_ietf_KEYBYTES;
constexpr size_t kCheckKeySize = crypto_generichash_KEYBYTES;

// Offsets of the header's fields.
constexpr size_t kFormatAt = sizeof kMagic;
constexpr size_t kPassesAt = kFormatAt + 1;
constexpr size_t kMemoryAt = kPassesAt + 4;
constexpr size_t kSaltAt = kMemoryAt + 4;
constexpr size_t kPrefixSize = kSaltAt + kSaltSize;  // what the check and the cipher vouch for
constexpr size_t kCheckAt = kPrefixSize;
constexpr size_t kNonceAt = kCheckAt + kCheckSize;
constexpr size_t kHeaderSize = kNonceAt + kNonceSize;
constexpr size_t kSmallestImage = kHeaderSize + kTagSize + kSumSize;

static_assert(kSaltSize == 16 && kHeaderSize == 73, "the layout SealedFile.md describes");

const unsigned char* Bytes(const std::string& text, size_t at = 0)
{
    return reinterpret_cast<const unsigned char*>(text.data()) + at;
}

uint32_t ReadUint32(const std::string& bytes, size_t at)
{
    const unsigned char* p = Bytes(bytes, at);
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void AppendUint32(std::string& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(char((value >> shift) & 0xFF));
}

std::string Checksum(const unsigned char* data, size_t size)
{
    unsigned char sum[kSumSize];
    crypto_generichash(sum, sizeof sum, data, size, nullptr, 0);
    return std::string(reinterpret_cast<const char*>(sum), sizeof sum);
}

bool CostWithin(const SealCost& cost)
{
    const SealCost floor = SealCostFloor(), ceiling = SealCostCeiling();
    return cost.passes >= floor.passes && cost.passes <= ceiling.passes && cost.memoryKiB >= floor.memoryKiB &&
           cost.memoryKiB <= ceiling.memoryKiB;
}

SealCost CostOf(const std::string& sealed)
{
    return {ReadUint32(sealed, kPassesAt), ReadUint32(sealed, kMemoryAt)};
}

std::string MakePrefix(const SealCost& cost, const unsigned char* salt)
{
    std::string prefix(reinterpret_cast<const char*>(kMagic), sizeof kMagic);
    prefix.push_back(char(kFormat));
    AppendUint32(prefix, cost.passes);
    AppendUint32(prefix, cost.memoryKiB);
    prefix.append(reinterpret_cast<const char*>(salt), kSaltSize);
    return prefix;
}
}  // namespace

bool IsSealedImage(const std::string& bytes)
{
    return bytes.size() >= sizeof kMagic && std::memcmp(bytes.data(), kMagic, sizeof kMagic) == 0;
}

SealStatus CheckSealedImage(const std::string& sealed)
{
    if (!IsSealedImage(sealed) || sealed.size() <= kFormatAt || !StartSodium())
        return SealStatus::Damaged;
    // A later format may be laid out otherwise; its size says nothing.
    if (Bytes(sealed)[kFormatAt] > kFormat)
        return SealStatus::NewerFormat;
    if (Bytes(sealed)[kFormatAt] != kFormat || sealed.size() < kSmallestImage)
        return SealStatus::Damaged;
    const size_t summed = sealed.size() - kSumSize;
    if (Checksum(Bytes(sealed), summed) != sealed.substr(summed))
        return SealStatus::Damaged;
    return CostWithin(CostOf(sealed)) ? SealStatus::Ok : SealStatus::UnusualCost;
}

CSealKey::~CSealKey()
{
    if (m_material)
        sodium_free(m_material);
}

SealStatus CSealKey::Derive(const CSecret& passphrase, const SealCost& cost, const unsigned char* salt,
                            std::unique_ptr<CSealKey>& key)
{
    key.reset();
    if (!StartSodium())
        return SealStatus::OutOfMemory;
    std::unique_ptr<CSealKey> made(new CSealKey);
    made->m_cost = cost;
    std::memcpy(made->m_salt, salt, kSaltSize);
    made->m_material = static_cast<unsigned char*>(sodium_malloc(kCipherKeySize + kCheckKeySize));
    if (!made->m_material)
        return SealStatus::OutOfMemory;
    const char* text = passphrase.Empty() ? "" : reinterpret_cast<const char*>(passphrase.Data());
    if (crypto_pwhash(made->m_material, kCipherKeySize + kCheckKeySize, text, passphrase.Size(), salt,
                      cost.passes, size_t(cost.memoryKiB) * 1024, crypto_pwhash_ALG_ARGON2ID13) != 0)
        return SealStatus::OutOfMemory;
    // Tells a wrong passphrase from a damaged file without decrypting.
    const std::string prefix = made->Prefix();
    crypto_generichash(made->m_check, kCheckSize, Bytes(prefix), prefix.size(), made->m_material + kCipherKeySize,
                       kCheckKeySize);
    sodium_mprotect_readonly(made->m_material);
    key = std::move(made);
    return SealStatus::Ok;
}

SealStatus CSealKey::Make(const CSecret& passphrase, std::shared_ptr<const CSealKey>& key)
{
    key.reset();
    if (!StartSodium())
        return SealStatus::OutOfMemory;
    unsigned char salt[kSaltSize];
    randombytes_buf(salt, sizeof salt);
    std::unique_ptr<CSealKey> made;
    const SealStatus status = Derive(passphrase, SealWriteCost(), salt, made);
    key = std::move(made);
    return status;
}

SealStatus CSealKey::ForImage(const std::string& sealed, const CSecret& passphrase,
                              std::shared_ptr<const CSealKey>& key)
{
    key.reset();
    const SealStatus checked = CheckSealedImage(sealed);
    if (checked != SealStatus::Ok)
        return checked;
    std::unique_ptr<CSealKey> made;
    const SealStatus derived = Derive(passphrase, CostOf(sealed), Bytes(sealed, kSaltAt), made);
    if (derived != SealStatus::Ok)
        return derived;
    if (sodium_memcmp(made->m_check, Bytes(sealed, kCheckAt), kCheckSize) != 0) {
        // The cipher does not vouch for the check: when the contents open
        // under this key after all, it is the check that was changed.
        std::string image;
        if (OpenSealedImage(sealed, *made, image) == SealStatus::Ok) {
            sodium_memzero(&image[0], image.size());
            return SealStatus::Damaged;
        }
        return SealStatus::WrongPassphrase;
    }
    key = std::move(made);
    return SealStatus::Ok;
}

bool CSealKey::Fits(const std::string& sealed) const
{
    return CheckSealedImage(sealed) == SealStatus::Ok && Prefix() == sealed.substr(0, kPrefixSize) &&
           sodium_memcmp(m_check, Bytes(sealed, kCheckAt), kCheckSize) == 0;
}

const unsigned char* CSealKey::CipherKey() const
{
    return m_material;
}

std::string CSealKey::Prefix() const
{
    return MakePrefix(m_cost, m_salt);
}

std::string SealImage(const std::string& image, const CSealKey& key)
{
    std::string sealed = key.Prefix();
    sealed.append(reinterpret_cast<const char*>(key.m_check), kCheckSize);
    unsigned char nonce[kNonceSize];
    // 192 random bits: no two saves under one key share a nonce.
    randombytes_buf(nonce, sizeof nonce);
    sealed.append(reinterpret_cast<const char*>(nonce), sizeof nonce);

    sealed.resize(kHeaderSize + image.size() + kTagSize);
    unsigned char* cipher = reinterpret_cast<unsigned char*>(&sealed[kHeaderSize]);
    unsigned long long written = 0;
    crypto_aead_xchacha20poly1305_ietf_encrypt(cipher, &written, Bytes(image), image.size(), Bytes(sealed),
                                               kPrefixSize, nullptr, nonce, key.CipherKey());
    sealed.resize(kHeaderSize + size_t(written));
    sealed += Checksum(Bytes(sealed), sealed.size());
    return sealed;
}

SealStatus OpenSealedImage(const std::string& sealed, const CSealKey& key, std::string& image)
{
    image.clear();
    const SealStatus checked = CheckSealedImage(sealed);
    if (checked != SealStatus::Ok)
        return checked;
    if (key.Prefix() != sealed.substr(0, kPrefixSize))
        return SealStatus::WrongPassphrase;
    const size_t cipherSize = sealed.size() - kHeaderSize - kSumSize;
    std::string opened(cipherSize - kTagSize, '\0');
    unsigned long long size = 0;
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(reinterpret_cast<unsigned char*>(&opened[0]), &size, nullptr,
                                                   Bytes(sealed, kHeaderSize), cipherSize, Bytes(sealed),
                                                   kPrefixSize, Bytes(sealed, kNonceAt), key.CipherKey()) != 0)
        return SealStatus::Damaged;
    opened.resize(size_t(size));
    image.swap(opened);
    return SealStatus::Ok;
}
