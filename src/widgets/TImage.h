#pragma once

#include <QImage>
#include <QWidget>

// A picture, stretched over its bounds or drawn at its own size; clickable.
class TImage : public QWidget {
    Q_OBJECT
public:
    TImage(QWidget* parent, const QRect& bounds, const QImage& picture, bool stretch = true);

    const QImage& picture() const { return m_picture; }

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QImage m_picture;
    bool m_stretch;
};
