#include "MinimalPreview.h"

#include "data/HandlerGuard.h"
#include "reports/TRepMessage.h"
#include "reports/TRepPrinter.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPicture>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton* button(const QString& name, const QString& text, QWidget* parent)
{
    auto* result = new QPushButton(text, parent);
    result->setObjectName(name);
    return result;
}

} // namespace

MinimalPreview::MinimalPreview(TRepPrinter& output) : m_output(&output)
{
    setObjectName(QStringLiteral("MinimalPreview"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(output.title());
    PrevButton = button(QStringLiteral("PrevButton"), QStringLiteral("<"), this);
    NextButton = button(QStringLiteral("NextButton"), QStringLiteral(">"), this);
    PrintButton = button(QStringLiteral("PrintButton"), QStringLiteral("Print"), this);
    SetupButton = button(QStringLiteral("SetupButton"), QStringLiteral("Printer setup"), this);
    CloseButton = button(QStringLiteral("CloseButton"), QStringLiteral("Close"), this);
    PageLabel = new QLabel(this);
    PageLabel->setObjectName(QStringLiteral("PageLabel"));
    connect(PrevButton, &QPushButton::clicked, this, [this] { guarded([this] { ShowPage(m_page - 1); }); });
    connect(NextButton, &QPushButton::clicked, this, [this] { guarded([this] { ShowPage(m_page + 1); }); });
    connect(PrintButton, &QPushButton::clicked, this, [this] { guarded([this] { if (m_output) m_output->Print(); }); });
    connect(SetupButton, &QPushButton::clicked, this,
            [this] { guarded([this] { if (m_output) m_output->PrinterSetup(); }); });
    connect(CloseButton, &QPushButton::clicked, this, &QWidget::close);
    // Released output: nothing is left to show.
    connect(&output, &QObject::destroyed, this, &QWidget::close);

    auto* bar = new QHBoxLayout;
    for (QWidget* widget : {static_cast<QWidget*>(PrevButton), static_cast<QWidget*>(PageLabel),
                            static_cast<QWidget*>(NextButton), static_cast<QWidget*>(PrintButton),
                            static_cast<QWidget*>(SetupButton), static_cast<QWidget*>(CloseButton)})
        bar->addWidget(widget);
    bar->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addStretch();
    resize(640, 800);
    output.setClient(this);
    output.setShowingPreview(true);
    PagesAvailable(output.pagesAvailable());
}

MinimalPreview::~MinimalPreview() = default;

void MinimalPreview::show(TRepPrinter& output)
{
    auto* preview = new MinimalPreview(output);
    preview->QWidget::show();
}

bool MinimalPreview::event(QEvent* event)
{
    if (event->type() == QEvent::Type(PageAvailableMessage)) {
        const int pages = int(static_cast<TRepMessage*>(event)->param());
        guarded([&] { PagesAvailable(pages); });
        return true;
    }
    if (event->type() == QEvent::Type(ProgressMessage))
        return true;
    return QWidget::event(event);
}

void MinimalPreview::PagesAvailable(int pages)
{
    if (m_page == 0 && pages > 0)
        ShowPage(1);
    UpdateButtons();
}

void MinimalPreview::ShowPage(int page)
{
    if (!m_output || page < 1 || page > m_output->pagesAvailable() || page > m_output->pageCount())
        return;
    m_output->SetPageNumber(page);
    m_page = page;
    UpdateButtons();
    update();
}

void MinimalPreview::UpdateButtons()
{
    const int pages = m_output ? std::min(m_output->pagesAvailable(), m_output->pageCount()) : 0;
    PageLabel->setText(QStringLiteral("%1 / %2").arg(m_page).arg(pages));
    PrevButton->setEnabled(m_page > 1);
    NextButton->setEnabled(m_page < pages);
    PrintButton->setEnabled(m_output && m_output->status() == TRepStatus::Finished);
}

// The report hears of the close at once; it cancels a run that is still going.
void MinimalPreview::closeEvent(QCloseEvent* event)
{
    guarded([this] {
        if (!m_output)
            return;
        QPointer<TRepPrinter> output = m_output;
        m_output = nullptr;
        if (output->master())
            output->ClosePreview();
        else
            output->setShowingPreview(false);
    });
    event->accept();
}

QRect MinimalPreview::PageArea() const
{
    return rect().adjusted(8, PrevButton->geometry().bottom() + 8, -8, -8);
}

void MinimalPreview::paintEvent(QPaintEvent*)
{
    const QPicture* page = m_output && m_page > 0 ? m_output->CurrentPage() : nullptr;
    if (!page)
        return;
    QPainter painter(this);
    const QRect area = PageArea();
    const QRect bounds = page->boundingRect();
    if (bounds.isEmpty())
        return;
    const double scale = std::min(double(area.width()) / bounds.width(), double(area.height()) / bounds.height());
    painter.translate(area.topLeft());
    painter.scale(scale, scale);
    painter.fillRect(bounds, Qt::white);
    painter.drawPicture(0, 0, *page);
}
