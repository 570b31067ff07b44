// Feeds arbitrary bytes to the checkbook reader. Besides never crashing,
// whatever it accepts must write back to a file that reads back to the
// same bytes.
#include "AppValues.h"
#include "CheckbookFile.h"
#include "QuilletDoc.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace
{
std::string ReadAndWrite(const std::string& bytes, bool& ok)
{
    CQuilletDoc doc;
    FileError error;
    ok = ReadCheckbook(doc, bytes, [](const std::string&) { return true; }, error, "fuzz.ql1");
    if (!ok && (error.kind == FileError::None || error.message.empty()))
        std::abort();
    return ok ? WriteCheckbook(doc) : std::string();
}
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    AppValues::ResetToDefaults();
    bool ok = false;
    const std::string first = ReadAndWrite(std::string(reinterpret_cast<const char*>(data), size), ok);
    if (!ok)
        return 0;
    // One pass settles what the writer normalises (an empty day-chart
    // section, a foreign version text); from then on it is a fixed point.
    const std::string second = ReadAndWrite(first, ok);
    if (!ok)
        std::abort();
    const std::string third = ReadAndWrite(second, ok);
    if (!ok || third != second)
        std::abort();
    return 0;
}
