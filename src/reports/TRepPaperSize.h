#pragma once

#include <QSizeF>

// Paper sizes in the order of their system paper codes: Letter is 1, ESheet 26.
enum class TRepPaperSize {
    Default, Letter, LetterSmall, Tabloid, Ledger, Legal, Statement, Executive, A3, A4,
    A4Small, A5, B4, B5, Folio, Quarto, rep10X14, rep11X17, Note, Env9, Env10, Env11, Env12,
    Env14, CSheet, DSheet, ESheet, Custom
};

enum class TRepOrientation { poPortrait, poLandscape };

// Paper sources (output bins).
enum class TRepBin {
    First, Upper, Lower, Middle, Manual, Envelope, EnvManual, Auto, Tractor, SmallFormat,
    LargeFormat, LargeCapacity, Cassette, Last
};

constexpr int CustomPaperCode = 256;

// Sizes with an entry in the paper table (Letter to ESheet).
bool isFixedPaperSize(TRepPaperSize size);
// Width by length in millimetres, portrait; empty for Default and Custom.
QSizeF paperSizeMm(TRepPaperSize size);
// The system paper code: 1..26 for the fixed sizes, 256 for Custom, 0 for Default.
int paperCode(TRepPaperSize size);
// The system bin code of an output bin.
int binCode(TRepBin bin);
