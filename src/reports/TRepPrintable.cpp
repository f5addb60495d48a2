#include "TRepPrintable.h"

#include "RepRound.h"
#include "TRepBand.h"
#include "TRepPrinter.h"
#include "TReport.h"

#include <QPainter>

TRepPrintable::TRepPrintable(QObject* parent) : QObject(parent)
{
}

TReport* TRepPrintable::Report() const
{
    if (const TRepBand* band = Band())
        return band->Report();
    return qobject_cast<TReport*>(parent());
}

TRepBand* TRepPrintable::Band() const
{
    return qobject_cast<TRepBand*>(parent());
}

void TRepPrintable::Prepare()
{
    m_printing = true;
    m_allPrinted = true;
}

void TRepPrintable::Unprepare()
{
    m_printing = false;
}

TRepPrinter* TRepPrintable::Output() const
{
    const TReport* report = Report();
    return report ? report->Output() : nullptr;
}

bool TRepPrintable::DrawingPass() const
{
    const TReport* report = Report();
    return report && report->DrawingPass();
}

QRect TRepPrintable::DeviceRect(double left, double top, double width, double height) const
{
    const TRepPrinter* output = Output();
    const int x = output->XPos(left);
    const int y = output->YPos(top);
    return QRect(x, y, output->XPos(left + width) - x, output->YPos(top + height) - y);
}

void TRepPrintable::PaintFrame(const QRect& box) const
{
    TRepPrinter* output = Output();
    if (DrawingPass() && Frame.AnySide() && output->Canvas())
        Frame.Paint(*output->Canvas(), box, output->ScaleX, output->ScaleY);
}

double TRepPrintable::ScreenScale() const
{
    const TReport* report = Report();
    if (!report)
        return 96.0 / 254.0;
    return report->ScreenPixelsPerInch() / 254.0 * report->Zoom() / 100.0;
}

// E. Pictures.
void TRepImage::Print(double offsetX, double offsetY)
{
    TRepPrinter* output = Output();
    QPainter* canvas = output ? output->Canvas() : nullptr;
    if (!canvas)
        return;
    const QRect box = DeviceRect(Size.Left + offsetX, Size.Top + offsetY, Size.Width, Size.Height);
    if (!Picture.isNull()) {
        canvas->save();
        if (Stretch) {
            canvas->setRenderHint(QPainter::SmoothPixmapTransform, Picture.depth() > 1);
            canvas->drawImage(box, Picture);
        } else {
            canvas->setClipRect(box);
            canvas->drawImage(PictureRect(box), Picture);
        }
        canvas->restore();
    }
    PaintFrame(box);
}

// The picture at its size on the screen, in device pixels of the output.
QRect TRepImage::PictureRect(const QRect& box) const
{
    const TReport* report = Report();
    const double ppi = report ? report->ScreenPixelsPerInch() : 96.0;
    const TRepPrinter* output = Output();
    const int width = nearest(Picture.width() / ppi * 254 * output->ScaleX);
    const int height = nearest(Picture.height() / ppi * 254 * output->ScaleY);
    QRect rect(box.topLeft(), QSize(width, height));
    if (Center)
        rect.translate((box.width() - width) / 2, (box.height() - height) / 2);
    return rect;
}

void TRepShape::Print(double offsetX, double offsetY)
{
    TRepPrinter* output = Output();
    QPainter* canvas = output ? output->Canvas() : nullptr;
    if (!canvas)
        return;
    const QRect box = DeviceRect(Size.Left + offsetX, Size.Top + offsetY, Size.Width, Size.Height);
    canvas->save();
    canvas->setPen(Pen);
    canvas->setBrush(Brush);
    const QRect inner = box.adjusted(0, 0, -1, -1);
    switch (Shape) {
    case TRepShapeType::rsRectangle: canvas->drawRect(inner); break;
    case TRepShapeType::rsCircle: canvas->drawEllipse(inner); break;
    case TRepShapeType::rsVertLine: canvas->drawLine(inner.center().x(), inner.top(), inner.center().x(), inner.bottom()); break;
    case TRepShapeType::rsHorLine: canvas->drawLine(inner.left(), inner.center().y(), inner.right(), inner.center().y()); break;
    case TRepShapeType::rsTopAndBottom:
        canvas->drawLine(inner.topLeft(), inner.topRight());
        canvas->drawLine(inner.bottomLeft(), inner.bottomRight());
        break;
    case TRepShapeType::rsRightAndLeft:
        canvas->drawLine(inner.topLeft(), inner.bottomLeft());
        canvas->drawLine(inner.topRight(), inner.bottomRight());
        break;
    }
    canvas->restore();
    PaintFrame(box);
}
