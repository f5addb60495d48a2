#pragma once

#include <QAbstractButton>
#include <QImage>

#include <functional>

// A flat picture button: its face is a picture, it has no text caption and
// never takes the keyboard focus. The click handler runs through the guard.
class TSpeedButton : public QAbstractButton {
    Q_OBJECT
public:
    TSpeedButton(QWidget* parent, const QRect& bounds, const QImage& face, std::function<void()> onClick = {});

    void setOnClick(std::function<void()> onClick) { m_onClick = std::move(onClick); }
    const QImage& face() const { return m_face; }
    QSize sizeHint() const override { return size(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QImage m_face;
    std::function<void()> m_onClick;
    bool m_hover = false;
};
