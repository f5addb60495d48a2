// Mask aligner and reader: any mask with any text. The input is a locale
// choice, then the mask and the text as UTF-16 split at the first U+000A.

#include "FuzzSupport.h"
#include "data/EditMask.h"
#include "data/Exceptions.h"

#include <cstdlib>

namespace {

void exercise(const EditMask& mask, const QString& text)
{
    const QString edit = mask.align(text);
    // Every aligned edit text has one character per mask position.
    if (edit.size() != mask.length() || mask.emptyText().size() != mask.length())
        std::abort();
    mask.textOf(edit);
    mask.textOf(text);
    mask.blanked(edit, -3, int(edit.size()) / 2);
    mask.blanked(text, 1, mask.length() + 5);
    try {
        mask.validate(text);
    } catch (const EDBEditError&) {
    }
    for (int i = -1; i <= mask.length(); ++i) {
        mask.accept(i, text.isEmpty() ? QLatin1Char('a') : text.front());
        mask.nextEditable(i);
        mask.previousEditable(i);
        mask.nextLiteral(i);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const ScopedLocaleSettings locale(fuzzLocale(data[0]));
    const QString input = fuzzText(data + 1, size - 1);
    const qsizetype split = input.indexOf(QLatin1Char('\n'));
    const QString maskText = split < 0 ? input : input.left(split);
    const QString text = split < 0 ? QString() : input.mid(split + 1);
    exercise(EditMask(maskText), text);
    MaskedDisplayText(maskText, text);
    return 0;
}
