#pragma once

// Finding the open preview windows of a test and acting on them at the right
// moment of a report run.

#include "reports/TRepPrinter.h"
#include "reports/ui/TRepPreview.h"
#include "reports/ui/TRepStandardPreview.h"

#include <QApplication>
#include <QPointer>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QToolBar>

#include <functional>

inline QList<TRepStandardPreview*> openPreviews()
{
    QList<TRepStandardPreview*> previews;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* preview = qobject_cast<TRepStandardPreview*>(widget); preview && preview->isVisible())
            previews.append(preview);
    }
    return previews;
}

// Runs `action` on the open preview once its document is finished and its
// last page notice has been handled; gives up after about five seconds and
// closes the previews. The preview is closed afterwards if the action left it
// open (a failed check returns early), so the waiting report operation always
// returns.
inline void whenPreviewFinished(std::function<void(TRepStandardPreview*)> action, int triesLeft = 500)
{
    QTimer::singleShot(10, [action, triesLeft] {
        const QList<TRepStandardPreview*> previews = openPreviews();
        if (previews.size() == 1 && previews[0]->Output()
            && previews[0]->Output()->status() == TRepStatus::Finished && previews[0]->SaveReport->isEnabled()) {
            QPointer<TRepStandardPreview> preview = previews[0];
            action(preview);
            if (preview && preview->isVisible())
                preview->close();
        } else if (triesLeft > 0) {
            whenPreviewFinished(action, triesLeft - 1);
        } else {
            for (TRepStandardPreview* preview : previews)
                preview->close();
        }
    });
}

// The text of a PDF file, laid out as on the page; pages end in a form feed.
inline QString pdfText(const QString& pdf)
{
    QProcess process;
    process.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    process.waitForFinished(60000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Clicks the tool bar button of `action` as a user would.
inline void clickTool(TRepStandardPreview* preview, QAction* action)
{
    QTest::mouseClick(preview->ToolBar1->widgetForAction(action), Qt::LeftButton);
}
