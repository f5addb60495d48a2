#include "TRepPaperSize.h"

#include <array>

namespace {

// Portrait width and length in mm, indexed by paper code - 1.
constexpr std::array<QSizeF, 26> PaperTable{{
    {215.9, 279.4}, // Letter
    {215.9, 279.4}, // LetterSmall
    {279.4, 431.8}, // Tabloid
    {431.8, 279.4}, // Ledger
    {215.9, 355.6}, // Legal
    {139.7, 215.9}, // Statement
    {190.5, 254},   // Executive
    {297, 420},     // A3
    {210, 297},     // A4
    {210, 297},     // A4Small
    {148, 210},     // A5
    {250, 354},     // B4
    {182, 257},     // B5
    {215.9, 330.2}, // Folio
    {215, 275},     // Quarto
    {254, 355.6},   // rep10X14
    {279.4, 431.8}, // rep11X17
    {215.9, 279},   // Note
    {98.43, 225.4}, // Env9
    {104.8, 241.3}, // Env10
    {114.3, 263.5}, // Env11
    {101.6, 279.4}, // Env12
    {127, 292.1},   // Env14
    {100, 100},     // CSheet
    {100, 100},     // DSheet
    {100, 100},     // ESheet
}};

constexpr std::array<int, 14> BinCodes{1, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14, 14};

} // namespace

bool isFixedPaperSize(TRepPaperSize size)
{
    return size != TRepPaperSize::Default && size != TRepPaperSize::Custom;
}

QSizeF paperSizeMm(TRepPaperSize size)
{
    return isFixedPaperSize(size) ? PaperTable[size_t(size) - 1] : QSizeF();
}

int paperCode(TRepPaperSize size)
{
    if (size == TRepPaperSize::Custom)
        return CustomPaperCode;
    return int(size);
}

int binCode(TRepBin bin)
{
    return BinCodes[size_t(bin)];
}
