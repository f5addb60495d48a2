#pragma once

#include <QString>
#include <QWidget>

// A status bar along the bottom edge of its parent: a plain strip, or one
// panel that stretches over the whole bar.
class TStatusBar : public QWidget {
    Q_OBJECT
public:
    TStatusBar(QWidget* parent, int height, bool withPanel);

    QString panelText() const { return m_text; }
    void setPanelText(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void followParent();

    QString m_text;
    int m_height;
    bool m_withPanel;
};
