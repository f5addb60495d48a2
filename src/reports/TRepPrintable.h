#pragma once

#include "TRepFrame.h"
#include "data/Field.h"

#include <QBrush>
#include <QFont>
#include <QFontMetrics>
#include <QHash>
#include <QImage>
#include <QObject>
#include <QPen>
#include <QPointer>
#include <QStringList>
#include <functional>

class QPainter;
class TDataSet;
class TRepBand;
class TReport;
class TRepPrinter;

// An element's box in 0.1 mm from the top-left corner of its band (or of the
// paper for an element placed directly on the report).
struct TRepPrintableSize {
    double Height = 0;
    double Left = 0;
    double Top = 0;
    double Width = 0;
};

// Base of every printable element. Its parent is the band (or the report) it
// is placed on; the engine prepares it at the start of a run, asks it to
// print at each band print and unprepares it at the end.
class TRepPrintable : public QObject {
    Q_OBJECT

public:
    explicit TRepPrintable(QObject* parent = nullptr);

    TRepPrintableSize Size;
    TRepFrame Frame;
    bool Enabled = true;

    // The report the element belongs to through its band, none when unplaced.
    TReport* Report() const;
    // The band it is placed on, none for an element placed on the report.
    TRepBand* Band() const;

    virtual void Prepare();
    // Draws the element's box at (offsetX + Left, offsetY + Top).
    virtual void Print(double offsetX, double offsetY) = 0;
    virtual void Unprepare();
    // False while a stretching element has lines left for the next column.
    bool AllPrinted() const { return m_allPrinted; }
    bool Printing() const { return m_printing; }

protected:
    TRepPrinter* Output() const;
    bool DrawingPass() const;
    // The box in device pixels of the output.
    QRect DeviceRect(double left, double top, double width, double height) const;
    void PaintFrame(const QRect& box) const;
    // Screen pixels per 0.1 mm at the report's zoom, the measure of layout.
    double ScreenScale() const;

    bool m_allPrinted = true;

private:
    bool m_printing = false;
};

// Horizontal alignment of text elements.
enum class TAlignmentH { taLeftJustify, taRightJustify, taCenter };

// Base of the text elements: lays out its print caption into lines (word
// wrap, cutting, AutoSize) and draws them, growing its band with AutoStretch.
class TRepCustomLabel : public TRepPrintable {
    Q_OBJECT

public:
    using TPrintEvent = std::function<void(TRepCustomLabel*, QString&)>;

    explicit TRepCustomLabel(QObject* parent = nullptr);

    TAlignmentH Alignment = TAlignmentH::taLeftJustify;
    bool AlignToBand = false;
    bool AutoSize = true;
    bool AutoStretch = false;
    bool WordWrap = true;
    QColor Color;
    QColor TextColor; // the font's colour
    bool Transparent = false;
    bool RightToLeft = false; // BiDiMode
    bool ParentFont = true;
    TPrintEvent OnPrint;

    QFont Font() const;
    void SetFont(const QFont& font);
    // Stored point size applied to the font after loading, when positive.
    void SetFontSize(int points);

    const QString& PrintCaption() const { return m_printCaption; }
    void SetPrintCaption(const QString& text);
    // The lines of the last layout.
    const QStringList& FormattedLines() const { return m_lines; }
    // Lays the print caption out into lines (and resizes with AutoSize).
    void FormatLines();
    // Moves the element to the band's edge or centre with AlignToBand.
    void ApplyAlignToBand();

    void Print(double offsetX, double offsetY) override;

protected:
    // The caption of this print, taken from the element's source.
    virtual QString CaptionForPrint() const { return m_printCaption; }

private:
    void LayOut(const QString& text);
    void LayOutGroup(const QString& piece, double limit, const QFontMetrics& metrics);
    double TextWidth(const QString& text, const QFontMetrics& metrics) const;
    void ApplyHeightGuard(const QFontMetrics& metrics);
    void ApplyAutoSize(double widestPixels);
    void SetCanvasFont(QPainter& canvas) const;
    void DrawLines(QPainter& canvas, double left, double top, double width, double lineHeight);
    double LineX(QPainter& canvas, const QString& line, double left, double width) const;

    QFont m_font;
    // Measured widths of texts in the font they were measured in: data texts
    // repeat their values from record to record.
    mutable QHash<QString, int> m_advances;
    QFont m_measuredFont;
    QString m_printCaption;
    QStringList m_lines;
    int m_nextLine = 0;
};

// Static text.
class TRepLabel : public TRepCustomLabel {
    Q_OBJECT

public:
    explicit TRepLabel(QObject* parent = nullptr) : TRepCustomLabel(parent) {}
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);

protected:
    QString CaptionForPrint() const override { return m_caption; }

private:
    QString m_caption;
};

// The text of a field of a dataset's current record.
class TRepDBText : public TRepCustomLabel {
    Q_OBJECT

public:
    explicit TRepDBText(QObject* parent = nullptr) : TRepCustomLabel(parent) {}
    TDataSet* DataSet = nullptr;
    QString DataField;
    QString Mask;

    void Prepare() override;
    void Unprepare() override;
    // The field found at preparation, none when missing.
    TField* FieldObject() const { return m_field; }

protected:
    QString CaptionForPrint() const override;

private:
    QString FieldText() const;
    void ShowDesignCaption();

    QPointer<TField> m_field;
};

enum class TRepSysDataType { rsTime, rsDate, rsDateTime, rsPageNumber, rsReportTitle, rsDetailCount, rsDetailNo };

// System data: time, date, page number, report title, record count, detail number.
class TRepSysData : public TRepCustomLabel {
    Q_OBJECT

public:
    explicit TRepSysData(QObject* parent = nullptr);
    TRepSysDataType Data() const { return m_data; }
    void SetData(TRepSysDataType data);
    QString Text() const { return m_text; }
    void SetText(const QString& text);

protected:
    QString CaptionForPrint() const override { return m_text + Value(); }

private:
    QString Value() const;
    void ShowDesignCaption();

    TRepSysDataType m_data = TRepSysDataType::rsTime;
    QString m_text;
};

// A picture, stretched into its box or at its own size (optionally centred).
class TRepImage : public TRepPrintable {
    Q_OBJECT

public:
    explicit TRepImage(QObject* parent = nullptr) : TRepPrintable(parent) {}
    QImage Picture;
    bool Stretch = false;
    bool Center = false;
    bool AutoSize = false;

    void Print(double offsetX, double offsetY) override;

private:
    QRect PictureRect(const QRect& box) const;
};

enum class TRepShapeType { rsRectangle, rsCircle, rsVertLine, rsHorLine, rsTopAndBottom, rsRightAndLeft };

// A figure drawn in the element's box with its pen and brush.
class TRepShape : public TRepPrintable {
    Q_OBJECT

public:
    explicit TRepShape(QObject* parent = nullptr) : TRepPrintable(parent) {}
    TRepShapeType Shape = TRepShapeType::rsRectangle;
    QBrush Brush = QBrush(Qt::white);
    QPen Pen = QPen(Qt::black);

    void Print(double offsetX, double offsetY) override;
};
