#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
class QPushButton;
#include "reports/TRepPrinter.h"

// A plain page viewer for a report's output object: the current page, page
// buttons, Print and Close. It shows pages as they are finished; closing it
// tells the report, which cancels a run still going or releases the output.
class MinimalPreview : public QWidget {
    Q_OBJECT

public:
    explicit MinimalPreview(TRepPrinter& output);
    ~MinimalPreview() override;

    // Opens a preview on `output`, not modal; it deletes itself when closed.
    static void show(TRepPrinter& output);

    TRepPrinter* output() const { return m_output; }
    int shownPage() const { return m_page; }
    void ShowPage(int page);

    QPushButton* PrevButton;
    QPushButton* NextButton;
    QPushButton* PrintButton;
    QPushButton* SetupButton;
    QPushButton* CloseButton;
    QLabel* PageLabel;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void PagesAvailable(int pages);
    void UpdateButtons();
    QRect PageArea() const;

    QPointer<TRepPrinter> m_output;
    int m_page = 0;
};
