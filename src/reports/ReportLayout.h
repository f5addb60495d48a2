#pragma once

// Building blocks of the program's report definitions: a report with the
// settings all four share, bands with their colour and frame, and elements
// placed by their stored box (0.1 mm from the band's top-left corner).

#include "TRepBand.h"
#include "TRepPaperSize.h"
#include "TRepPrintable.h"

#include <QColor>
#include <QFont>
#include <QString>

#include <initializer_list>

class TDataSet;
class TReport;

namespace ReportLayout {

// Frame sides of a band, combined with |.
enum Side : unsigned { Top = 1u << 0, Bottom = 1u << 1, Left = 1u << 2, Right = 1u << 3 };
constexpr unsigned AllSides = Top | Bottom | Left | Right;

// An element's box as stored: left, top, width, height in 0.1 mm.
struct Box {
    double left;
    double top;
    double width;
    double height;
};

// Pure cyan.
QColor aqua();
// The system colours the layouts name (their classic desktop values).
QColor inactiveCaptionText();
QColor highlight();
QFont arial(int points, bool bold = false);

// A report named `name` on `owner` driven by `view`: "Arial" 10 points,
// first page header and last page footer, printed when empty, presented in
// inches, page set from its "Values" text.
TReport* newReport(QObject* owner, const QString& name, TDataSet* view, TRepPaperSize paper, const QString& values);
// Points the report and its data texts without a view at `view`: for a
// report driven by a view that is created after the report.
void bindDrivingView(TReport* report, TDataSet* view);
// A band with its height (0.1 mm), colour and frame sides (black, width 1).
TRepBand* addBand(TReport* report, const QString& name, TRepBandType type, double height, const QColor& color,
                  unsigned sides);

// Text elements: left-aligned, sized to their text, wrapping, opaque on `color`.
TRepLabel* addLabel(TRepBand* band, const QString& name, const Box& box, const QString& caption, const QColor& color);
// The same with a font of its own.
TRepLabel* addLabel(TRepBand* band, const QString& name, const Box& box, const QString& caption, const QColor& color,
                    const QFont& font);
TRepDBText* addDBText(TRepBand* band, const QString& name, const Box& box, TDataSet* view, const QString& field,
                      const QColor& color);
TRepSysData* addSysData(TRepBand* band, const QString& name, const Box& box, TRepSysDataType data,
                        const QColor& color);
// A run of text elements on one band with one colour: labels with their
// captions, or data texts with the fields they show.
struct TextPart {
    QString name;
    Box box;
    QString text;
};
void addLabels(TRepBand* band, std::initializer_list<TextPart> labels, const QColor& color);
void addDBTexts(TRepBand* band, TDataSet* view, std::initializer_list<TextPart> fields, const QColor& color);
// The company logo stretched into its box.
TRepImage* addLogo(TRepBand* band, const QString& name, const Box& box);

// The company heading every page header but the invoice's carries: the
// report's name (14 pt bold), the logo, the company (16 pt bold) and its
// address, each element on aqua and named as its report names it.
struct HeadingPart {
    QString name;
    Box box;
};
struct CompanyHeading {
    QString reportName;
    HeadingPart title;
    HeadingPart logo;
    HeadingPart company;
    HeadingPart address;
};
void addCompanyHeading(TRepBand* band, const CompanyHeading& heading);

}
