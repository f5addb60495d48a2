#pragma once

#include "TRepFrame.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QObject>
#include <functional>

class TReport;
class TRepPrintable;

enum TRepBandType {
    rbTitle, rbPageHeader, rbDetail, rbPageFooter, rbSummary, rbGroupHeader, rbGroupFooter,
    rbSubDetail, rbColumnHeader, rbOverlay, rbChild
};

// Height and width in 0.1 mm; the report sets the width before a run.
struct TRepBandSize {
    double Height = 0;
    double Width = 0;
};

// A horizontal strip of a report holding printable elements (its children).
// Its parent is the report.
class TRepBand : public QObject {
    Q_OBJECT

public:
    using TBeforePrintEvent = std::function<void(TRepBand*, bool& printBand)>;
    using TAfterPrintEvent = std::function<void(TRepBand*, bool bandPrinted)>;

    explicit TRepBand(TRepBandType type, TReport* report);

    TRepBandType BandType;
    TRepBandSize Size;
    QColor Color;
    TRepFrame Frame;
    bool ParentFont = true;
    bool Enabled = true;
    bool AlignToBottom = false;
    bool ForceNewPage = false;
    bool ForceNewColumn = false;
    // Kept on the same page as this band.
    TRepBand* LinkBand = nullptr;
    TBeforePrintEvent BeforePrint;
    TAfterPrintEvent AfterPrint;

    QFont Font() const;
    void SetFont(const QFont& font);

    // The continuation band printed right after this one.
    bool HasChild() const { return m_child != nullptr; }
    void SetHasChild(bool on);
    TRepBand* ChildBand() const { return m_child; }

    TReport* Report() const;
    QList<TRepPrintable*> Elements() const;
    // Heights of this band and of its chain of child bands.
    double ChainHeight() const;
    // Heights of this band and of the bands it is linked to.
    double LinkedHeight() const;

    // Growth of the band in the current print (AutoStretch), 0.1 mm.
    double Stretch() const { return m_stretch; }
    void ResetStretch() { m_stretch = 0; }
    // Grows the band by `amount` when the page has room for it.
    bool Grow(double amount);

private:
    QFont m_font;
    TRepBand* m_child = nullptr;
    double m_stretch = 0;
};
