#pragma once

#include <QColor>
#include <QLabel>

// A label that sizes itself to its text and, when transparent, lets what lies
// behind it show through.
class TLabel : public QLabel {
    Q_OBJECT
public:
    TLabel(QWidget* parent, int left, int top, const QString& caption, const QFont& font, const QColor& color);

    void setCaption(const QString& caption);
    QString caption() const { return text(); }
    // A fixed size instead of sizing to the text.
    void setFixedBounds(int width, int height);

private:
    bool m_autoSize = true;
};
