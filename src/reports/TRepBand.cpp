#include "TRepBand.h"

#include "TRepPrintable.h"
#include "TReport.h"

#include <QGuiApplication>
#include <QPalette>

TRepBand::TRepBand(TRepBandType type, TReport* report)
    : QObject(report), BandType(type), Color(QGuiApplication::palette().color(QPalette::Button))
{
}

TReport* TRepBand::Report() const
{
    return qobject_cast<TReport*>(parent());
}

QFont TRepBand::Font() const
{
    const TReport* report = Report();
    return ParentFont && report ? report->Font : m_font;
}

void TRepBand::SetFont(const QFont& font)
{
    m_font = font;
    ParentFont = false;
}

void TRepBand::SetHasChild(bool on)
{
    TReport* report = Report();
    if (on == HasChild() || !report)
        return;
    if (on) {
        m_child = report->CreateBand(rbChild);
        return;
    }
    TRepBand* child = m_child;
    m_child = nullptr;
    report->DestroyBand(child);
}

QList<TRepPrintable*> TRepBand::Elements() const
{
    return findChildren<TRepPrintable*>(Qt::FindDirectChildrenOnly);
}

double TRepBand::ChainHeight() const
{
    double height = 0;
    for (const TRepBand* band = this; band; band = band->m_child)
        height += band->Size.Height;
    return height;
}

double TRepBand::LinkedHeight() const
{
    double height = Size.Height;
    int guard = 0; // a chain linked back onto itself ends after every band once
    for (const TRepBand* link = LinkBand; link && link != this && guard < 1000; link = link->LinkBand, ++guard)
        height += link->Size.Height;
    return height;
}

bool TRepBand::Grow(double amount)
{
    const TReport* report = Report();
    if (!report || Size.Height + m_stretch + amount > report->SpaceLeft())
        return false;
    m_stretch += amount;
    return true;
}
