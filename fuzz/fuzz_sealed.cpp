// Feeds arbitrary bytes to the encrypted-file reader, trying the passphrase
// "fuzz" (the sealed seeds are sealed with it). Besides never crashing: it
// gives out nothing unless the whole file verified, a refusal always says
// why, and what it gives out seals again to the same contents. Each input
// is also read with a checksum that fits, as a tamperer would write it, so
// that the key settings, the passphrase check and the cipher are reached.
#include "AppValues.h"
#include "QuilletDoc.h"
#include "SealedCheckbook.h"

#include <sodium.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace
{
void Read(std::string bytes)
{
    AppValues::ResetToDefaults();
    const bool sealed = IsSealedImage(bytes);
    const PassphrasePrompt prompt = [](const std::string&, const PassphraseAttempt& attempt) {
        std::string passphrase = "fuzz";
        return attempt(CSecret::Take(passphrase));
    };
    SealKeyPtr key;
    FileError error;
    if (!UnsealCheckbook(bytes, "fuzz.ql1", prompt, key, error)) {
        if (!bytes.empty() || error.kind == FileError::None || error.message.empty())
            std::abort();
        return;
    }
    if (sealed != bool(key))
        std::abort();
    if (key) {
        std::string inside;
        if (OpenSealedImage(SealImage(bytes, *key), *key, inside) != SealStatus::Ok || inside != bytes)
            std::abort();
    }
    CQuilletDoc doc;
    ReadCheckbook(doc, bytes, [](const std::string&) { return true; }, error, "fuzz.ql1");
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::string bytes(reinterpret_cast<const char*>(data), size);
    Read(bytes);
    if (IsSealedImage(bytes) && bytes.size() >= 32) {
        const size_t summed = bytes.size() - 16;
        crypto_generichash(reinterpret_cast<unsigned char*>(&bytes[summed]), 16,
                           reinterpret_cast<const unsigned char*>(bytes.data()), summed, nullptr, 0);
        Read(bytes);
    }
    return 0;
}
