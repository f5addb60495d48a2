#include "TRepProgressForm.h"

#include "errors/HandlerGuard.h"
#include "reports/TRepMessage.h"
#include "reports/TRepPrinter.h"

#include <QCoreApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TRepProgressForm::TRepProgressForm(TRepPrinter& output, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint), m_output(&output)
{
    setObjectName(QStringLiteral("RepProgressForm"));
    setWindowTitle(QStringLiteral("Printing progress"));
    Gauge = new QProgressBar(this);
    Gauge->setObjectName(QStringLiteral("Gauge"));
    Gauge->setRange(0, 100);
    Gauge->setValue(0);
    Gauge->setTextVisible(false);
    Info = new QLabel(this);
    Info->setObjectName(QStringLiteral("Info"));
    Info->setAlignment(Qt::AlignCenter);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    connect(CancelButton, &QPushButton::clicked, this, [this] { guarded([this] { CancelButtonClick(); }); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Gauge);
    layout->addWidget(Info);
    layout->addWidget(CancelButton, 0, Qt::AlignHCenter);
    setFixedSize(300, 110);
}

bool TRepProgressForm::event(QEvent* event)
{
    if (event->type() != QEvent::Type(ProgressMessage))
        return QDialog::event(event);
    const int percent = int(static_cast<TRepMessage*>(event)->param());
    guarded([&] { ShowProgress(percent); });
    return true;
}

void TRepProgressForm::showEvent(QShowEvent* event)
{
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(event);
}

void TRepProgressForm::ShowProgress(int percent)
{
    if (percent % 5 != 0)
        return;
    Gauge->setValue(percent);
    Info->setText(QString::number(percent) + QStringLiteral("% ") + QStringLiteral(" Completed"));
    QCoreApplication::processEvents();
}

// Cancelling stops the run before its next record; the pages made so far
// are still printed.
void TRepProgressForm::CancelButtonClick()
{
    if (m_output)
        m_output->Cancel();
}
