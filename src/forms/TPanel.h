#pragma once

#include <QWidget>

// A panel of the data entry windows: a single dark border around a raised
// bevel, optionally with a lowered bevel inside it.
class TPanel : public QWidget {
    Q_OBJECT
public:
    TPanel(QWidget* parent, const QRect& bounds, bool innerLowered);

    // Keeps the panel over the full width of its parent, at its top edge.
    void alignTop();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool m_innerLowered;
};
