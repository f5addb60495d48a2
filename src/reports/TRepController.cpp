#include "TReport.h"

#include "TRepPrinter.h"
#include "data/DataSet.h"

#include <QCoreApplication>

// B. The detail loop.
void TRepController::Execute()
{
    DetailCounter = 0;
    RecordCount = 1;
    const bool open = DataSet && DataSet->Active();
    if (!open && !OnNeedData) {
        if (PrintIfEmpty)
            PrintEmptyReport();
        return;
    }
    bool moreData = true;
    if (!Start(moreData) || !moreData)
        return;
    QCoreApplication::processEvents();
    if (m_report.CancelRequested())
        return;
    PrintDetails(moreData);
    if (Footer) {
        if (m_report.PagesStarted() == 0)
            m_report.NewPage();
        m_report.PrintBand(Footer);
    }
}

// Moves to the first record; false when the empty report was printed instead.
bool TRepController::Start(bool& moreData)
{
    if (!(DataSet && DataSet->Active())) {
        OnNeedData(this, moreData);
        return true;
    }
    DataSet->First();
    moreData = !DataSet->Eof();
    try {
        RecordCount = DataSet->RecordCount();
    } catch (const Exception&) {
        RecordCount = 1; // only the progress figure depends on it
    }
    if (!moreData && PrintIfEmpty) {
        PrintEmptyReport();
        return false;
    }
    return true;
}

void TRepController::PrintDetails(bool& moreData)
{
    if (Header)
        m_report.PrintBand(Header);
    TRepBand* columnHeader = m_report.FindBand(rbColumnHeader);
    if (m_report.PagesStarted() <= 1 && columnHeader && columnHeader->Enabled)
        m_report.PrintBand(columnHeader);
    if (Header || (columnHeader && columnHeader->Enabled))
        m_report.SetSkipForcedPage();
    while (moreData) {
        QCoreApplication::processEvents();
        if (m_report.Output()->cancelled())
            break;
        ++DetailCounter;
        m_report.PrintBand(Detail);
        Advance(moreData);
        ReportProgress();
    }
}

void TRepController::Advance(bool& moreData)
{
    if (DataSet && DataSet->Active()) {
        DataSet->Next();
        moreData = !DataSet->Eof();
        return;
    }
    moreData = false;
    OnNeedData(this, moreData);
}

void TRepController::ReportProgress()
{
    if (DataSet && DataSet == m_report.DataSet && RecordCount != 0)
        m_report.Output()->SetProgress(int(qint64(DetailCounter) * 100 / RecordCount));
}

void TRepController::PrintEmptyReport()
{
    m_report.PrintBand(Header);
    m_report.PrintBand(Detail);
    m_report.PrintBand(Footer);
}
