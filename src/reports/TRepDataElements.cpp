#include "TRepPrintable.h"

#include "TReport.h"
#include "data/DataSet.h"
#include "data/DateText.h"
#include "data/Formats.h"
#include "data/LocaleSettings.h"

#include <QDateTime>

// C1. The field is looked up once per run.
void TRepDBText::Prepare()
{
    TRepCustomLabel::Prepare();
    m_field = DataSet ? DataSet->FindField(DataField) : nullptr;
}

void TRepDBText::Unprepare()
{
    TRepCustomLabel::Unprepare();
    m_field = nullptr;
    ShowDesignCaption();
}

void TRepDBText::ShowDesignCaption()
{
    SetPrintCaption(DataField.isEmpty() ? objectName() : DataField);
}

QString TRepDBText::CaptionForPrint() const
{
    try {
        return FieldText();
    } catch (const Exception&) {
        return QString(); // a field that cannot be read prints nothing
    }
}

// C2. A Mask formats numbers and dates; every other field prints its display
// text, as it does without a Mask.
QString TRepDBText::FieldText() const
{
    if (!m_field || !m_field->DataSet() || !m_field->DataSet()->Active())
        return QString();
    if (Mask.isEmpty() || m_field->ValueIsNull())
        return m_field->DisplayText();
    switch (m_field->DataType()) {
    case TFieldType::ftFloat:
    case TFieldType::ftCurrency:
        return FormatNumber(Mask, m_field->AsReal());
    case TFieldType::ftDate:
        return FormatDateText(Mask, QDateTime(static_cast<const TDateTimeField*>(m_field.data())->AsDate(), QTime()));
    case TFieldType::ftString:
        break;
    }
    return m_field->DisplayText();
}

TRepSysData::TRepSysData(QObject* parent) : TRepCustomLabel(parent)
{
    ShowDesignCaption();
}

void TRepSysData::SetData(TRepSysDataType data)
{
    m_data = data;
    ShowDesignCaption();
}

void TRepSysData::SetText(const QString& text)
{
    m_text = text;
    ShowDesignCaption();
}

void TRepSysData::ShowDesignCaption()
{
    static const char* const names[] = {"Time", "Date", "Date/Time", "Page#", "Report title", "Detail count",
                                        "Detail no"};
    SetPrintCaption(m_text + QLatin1Char('(') + QLatin1String(names[int(m_data)]) + QLatin1Char(')'));
}

namespace {

QString timeText(const QTime& time, bool seconds)
{
    const QString separator = localeSettings().TimeSeparator;
    QString text = QString::number(time.hour()) + separator + QStringLiteral("%1").arg(time.minute(), 2, 10, QLatin1Char('0'));
    if (seconds)
        text += separator + QStringLiteral("%1").arg(time.second(), 2, 10, QLatin1Char('0'));
    return text;
}

} // namespace

// C3.
QString TRepSysData::Value() const
{
    const TReport* report = Report();
    const QDateTime now = QDateTime::currentDateTime();
    switch (m_data) {
    case TRepSysDataType::rsTime: return timeText(now.time(), false);
    case TRepSysDataType::rsDate: return ShortDateText(now.date());
    case TRepSysDataType::rsDateTime: return ShortDateText(now.date()) + QLatin1Char(' ') + timeText(now.time(), true);
    case TRepSysDataType::rsPageNumber: return report ? QString::number(report->PagesStarted()) : QString();
    case TRepSysDataType::rsReportTitle: return report ? report->ReportTitle : QString();
    case TRepSysDataType::rsDetailCount:
        return report ? QString::number(report->Controller().RecordCount) : QString();
    case TRepSysDataType::rsDetailNo:
        return report ? QString::number(report->Controller().DetailCounter) : QString();
    }
    return QString();
}
