#include "reports/ReportLayout.h"

#include "reports/Pictures.h"
#include "reports/TReport.h"

namespace ReportLayout {

QColor aqua()
{
    return QColor(0, 255, 255);
}

QColor inactiveCaptionText()
{
    return QColor(212, 208, 200);
}

QColor highlight()
{
    return QColor(255, 255, 255);
}

QFont arial(int points, bool bold)
{
    QFont font(QStringLiteral("Arial"), points);
    font.setBold(bold);
    return font;
}

TReport* newReport(QObject* owner, const QString& name, TDataSet* view, TRepPaperSize paper, const QString& values)
{
    auto* report = new TReport(owner);
    report->setObjectName(name);
    report->DataSet = view;
    report->Options = FirstPageHeader | LastPageFooter;
    report->PrintIfEmpty = true;
    report->Units = TRepUnit::Inches;
    report->Font = arial(10);
    report->Page.PaperSize = paper;
    report->Page.SetColumns(1);
    report->Page.Orientation = TRepOrientation::poPortrait;
    report->Page.SetValuesText(values);
    return report;
}

void bindDrivingView(TReport* report, TDataSet* view)
{
    report->DataSet = view;
    for (TRepDBText* text : report->findChildren<TRepDBText*>())
        if (!text->DataSet)
            text->DataSet = view;
}

TRepBand* addBand(TReport* report, const QString& name, TRepBandType type, double height, const QColor& color,
                  unsigned sides)
{
    TRepBand* band = report->CreateBand(type);
    band->setObjectName(name);
    band->Size.Height = height;
    band->Color = color;
    band->Frame.DrawTop = sides & Top;
    band->Frame.DrawBottom = sides & Bottom;
    band->Frame.DrawLeft = sides & Left;
    band->Frame.DrawRight = sides & Right;
    return band;
}

namespace {

template <class Element>
Element* place(TRepBand* band, const QString& name, const Box& box)
{
    auto* element = new Element(band);
    element->setObjectName(name);
    element->Size = TRepPrintableSize{box.height, box.left, box.top, box.width};
    return element;
}

template <class Element>
Element* placeText(TRepBand* band, const QString& name, const Box& box, const QColor& color)
{
    auto* element = place<Element>(band, name, box);
    element->Alignment = TAlignmentH::taLeftJustify;
    element->AutoSize = true;
    element->AutoStretch = false;
    element->WordWrap = true;
    element->Transparent = false;
    element->AlignToBand = false;
    element->Color = color;
    return element;
}

} // namespace

TRepLabel* addLabel(TRepBand* band, const QString& name, const Box& box, const QString& caption, const QColor& color)
{
    auto* label = placeText<TRepLabel>(band, name, box, color);
    label->SetCaption(caption);
    return label;
}

TRepLabel* addLabel(TRepBand* band, const QString& name, const Box& box, const QString& caption, const QColor& color,
                    const QFont& font)
{
    TRepLabel* label = addLabel(band, name, box, caption, color);
    label->SetFont(font);
    return label;
}

TRepDBText* addDBText(TRepBand* band, const QString& name, const Box& box, TDataSet* view, const QString& field,
                      const QColor& color)
{
    auto* text = placeText<TRepDBText>(band, name, box, color);
    text->DataSet = view;
    text->DataField = field;
    return text;
}

TRepSysData* addSysData(TRepBand* band, const QString& name, const Box& box, TRepSysDataType data,
                        const QColor& color)
{
    auto* text = placeText<TRepSysData>(band, name, box, color);
    text->SetData(data);
    return text;
}

void addLabels(TRepBand* band, std::initializer_list<TextPart> labels, const QColor& color)
{
    for (const TextPart& label : labels)
        addLabel(band, label.name, label.box, label.text, color);
}

void addDBTexts(TRepBand* band, TDataSet* view, std::initializer_list<TextPart> fields, const QColor& color)
{
    for (const TextPart& field : fields)
        addDBText(band, field.name, field.box, view, field.text, color);
}

TRepImage* addLogo(TRepBand* band, const QString& name, const Box& box)
{
    auto* image = place<TRepImage>(band, name, box);
    image->Picture = Pictures::logo();
    image->Stretch = true;
    return image;
}

void addCompanyHeading(TRepBand* band, const CompanyHeading& heading)
{
    addLabel(band, heading.title.name, heading.title.box, heading.reportName, aqua(), arial(14, true));
    addLogo(band, heading.logo.name, heading.logo.box);
    addLabel(band, heading.company.name, heading.company.box, QStringLiteral("PT. TIRTA WANGSA"), aqua(),
             arial(16, true));
    addLabel(band, heading.address.name, heading.address.box, QStringLiteral("Jl. Kenanga No. 11 Sukamulya"), aqua());
}

}
