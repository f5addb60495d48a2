#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class QProgressBar;
class QPushButton;
class TRepPrinter;

// The window shown while a report prints: a gauge, the percent done and a
// Cancel button. It is the output object's client and follows its
// ProgressMessage events in steps of 5 percent.
class TRepProgressForm : public QDialog {
    Q_OBJECT

public:
    explicit TRepProgressForm(TRepPrinter& output, QWidget* parent = nullptr);

    QProgressBar* Gauge;
    QLabel* Info;
    QPushButton* CancelButton;

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void ShowProgress(int percent);
    void CancelButtonClick();

    QPointer<TRepPrinter> m_output;
};
