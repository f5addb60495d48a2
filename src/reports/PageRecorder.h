#pragma once

#include <QByteArray>
#include <QPaintDevice>
#include <QPointF>
#include <QSize>

#include <memory>

class PageRecordingEngine;
class QPainter;

// A paint device that records one page at a time as a recorded page
// (PageFormat.h): a painter begun on it between StartPage and TakePage draws
// into the page. Pictures are encoded once for all the pages recorded by the
// same recorder, so a logo on every page of a report costs one encoding.
class PageRecorder : public QPaintDevice {
public:
    PageRecorder();
    ~PageRecorder() override;
    PageRecorder(const PageRecorder&) = delete;
    PageRecorder& operator=(const PageRecorder&) = delete;

    // Starts a sheet of `size` recorded pixels at `dpi` dots per inch.
    void StartPage(QSize size, int dpi);
    // The page recorded since StartPage; the painter must have ended.
    QByteArray TakePage();
    // Records `text` as QPainter::drawText would draw it with `painter`, an
    // active painter on this recorder, without laying it out in glyphs first.
    // False when the text must go through the painter after all.
    bool RecordText(const QPainter& painter, const QPointF& baseline, const QString& text);

    QPaintEngine* paintEngine() const override;

protected:
    int metric(PaintDeviceMetric metric) const override;

private:
    std::unique_ptr<PageRecordingEngine> m_engine;
    QSize m_size{1, 1};
    int m_dpi = 96;
};
