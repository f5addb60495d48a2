// FormatNumber with arbitrary formats and values, and the number reader.
// The input is a locale choice, 8 bytes of a double, then the format as UTF-16.

#include "FuzzSupport.h"
#include "data/Formats.h"

#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 9)
        return 0;
    const ScopedLocaleSettings locale(fuzzLocale(data[0]));
    double value;
    std::memcpy(&value, data + 1, sizeof value);
    const QString format = fuzzText(data + 9, size - 9);
    FormatNumber(format, value);
    FormatNumber(format, -value);
    FormatNumber(format, 0.0);
    double read = 0;
    TextToNumber(format, &read);
    TextToNumber(NumberToText(value), &read);
    return 0;
}
