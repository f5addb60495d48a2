// Page decompressor: damaged coded bytes raise ERepError and nothing else;
// any bytes coded and decoded again come back unchanged.

#include "FuzzSupport.h"
#include "reports/ERepError.h"
#include "reports/TRepCompression.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes = fuzzBytes(data, size);
    try {
        TRepCompression::decompress(bytes);
    } catch (const ERepError&) {
    }
    if (TRepCompression::decompress(TRepCompression::compress(bytes)) != bytes)
        std::abort();
    return 0;
}
