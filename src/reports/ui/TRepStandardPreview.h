#pragma once

#include "reports/TRepPrinter.h"

#include <QPointer>
#include <QWidget>
#include <functional>

class QAction;
class QLabel;
class QStatusBar;
class QToolBar;
class QToolButton;
class TRepPreview;

// The preview window of a report run: the pages as they are finished, paging,
// zoom, printing, printer setup, and saving or loading a prepared report.
// Keys reach the window before its controls. Closing it tells the report,
// which cancels a run still going or releases the output object; the window
// then deletes itself.
class TRepStandardPreview : public QWidget {
    Q_OBJECT

public:
    explicit TRepStandardPreview(TRepPrinter& output);

    // Opens a preview on `output`, maximised and not modal.
    static TRepStandardPreview* Open(TRepPrinter& output);

    TRepPrinter* Output() const { return m_output; }

    QToolBar* ToolBar1;
    QAction* ZoomFit;
    QAction* Zoom100;
    QAction* ZoomToWidth;
    QAction* FirstPage;
    QAction* PreviousPage;
    QAction* ToolButton2; // next page
    QAction* LastPage;
    QAction* PrintSetup;
    QAction* Print;
    QAction* SaveReport;
    QAction* LoadReport;
    QToolButton* ExitButton;
    TRepPreview* RepPreview;
    QStatusBar* StatusBar;
    QLabel* ProgressPanel; // panel 0
    QLabel* PagePanel;     // panel 1

    // Texts shown on the save and load dialogs.
    static QString SaveFilter();
    static QString LoadFilter();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateToolBar();
    void CreateZoomButtons();
    void CreateExitButton();
    QAction* AddButton(const QString& name, const QString& hint, int picture, std::function<void()> handler);
    QAction* AddButton(const QString& name, const QString& hint, int picture, void (TRepStandardPreview::*handler)());
    void CreateStatusBar();
    void WatchKeys();
    bool HandleKey(const QKeyEvent& key);

    void GoFirst();
    void GoPrevious();
    void GoNext();
    void GoLast();
    void GoTo(int page);
    void PrintClick();
    void AfterPrinting();
    void PrintSetupClick();
    void SaveReportClick();
    void LoadReportClick();

    void PageAvailable(int pages);
    void ProgressUpdate(int percent);
    void ShowPagePosition();
    void EnableForFinished();

    QPointer<TRepPrinter> m_output;
    int m_lastProgress = 0;
    bool m_closeWhenPrinted = false;
};
