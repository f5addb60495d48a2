#pragma once

#include <QPointer>
#include <QScrollArea>
#include <QWidget>
#include <functional>
#include <memory>

#include "reports/TRepPrinter.h"

// The picture of one page with its outline and shadow. Without a picture
// nothing is painted, so a page that is not finished yet leaves the area empty.
class TRepPreviewImage : public QWidget {
    Q_OBJECT

public:
    explicit TRepPreviewImage(QWidget* parent = nullptr);

    int PageNumber() const { return m_pageNumber; }
    bool HasPicture() const { return m_picture != nullptr; }
    // Replaces the held picture by page n of `output` (none when it is not finished).
    void LoadPage(const TRepPrinter& output, int n);
    void Clear();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void DrawPicture(QPainter& painter) const;

    int m_pageNumber = 0;
    std::unique_ptr<RecordedPage> m_picture;
};

enum class TZoomMode { Fit, Width, Other };

// The scrolling page area of the preview window. It is the client of the
// output object it shows: finished pages and progress arrive as events and
// are handed on through OnPageAvailable and OnProgressUpdate.
class TRepPreview : public QScrollArea {
    Q_OBJECT

public:
    explicit TRepPreview(QWidget* parent = nullptr);
    ~TRepPreview() override;

    // Shows `output`; marks it as showing a preview and becomes its client.
    void Attach(TRepPrinter& output);
    TRepPrinter* Output() const { return m_output; }
    TRepPreviewImage* Image() const { return m_image; }

    int PageNumber() const { return m_pageNumber; }
    // Goes to page n; ignored for the page already shown, for n < 1 and for
    // pages beyond those started. True when the page changed.
    bool SetPageNumber(int n);
    // Shows page n again, whatever is on display (after a file was loaded).
    void ReloadPage(int n);

    int Zoom() const { return m_zoom; }
    TZoomMode ZoomMode() const { return m_zoomMode; }
    // Zoom in percent; values outside 2..2000 are ignored. Mode "other".
    void SetZoom(int percent);
    void ZoomToFit();
    void ZoomToWidth();
    // Recomputes the zoom of the current mode and lays the page out again.
    void Relayout();

    // The page's size on screen at zoom 100, without the border.
    QSize PagePixels() const;

    std::function<void(int pages)> OnPageAvailable;
    std::function<void(int percent)> OnProgressUpdate;

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void PageAvailable(int pages);
    void ApplyZoom(int percent, TZoomMode mode);
    void ApplyModeZoom();
    void LayoutImage();
    void ScrollToStart();

    QPointer<TRepPrinter> m_output;
    TRepPreviewImage* m_image;
    int m_pageNumber = 1;
    int m_zoom = 100;
    TZoomMode m_zoomMode = TZoomMode::Other;
};
