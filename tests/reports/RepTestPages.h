#pragma once

// Helpers of the report output tests: documents with recognisable pages.

#include "reports/TRepPrinter.h"

#include <QFile>
#include <QPainter>

// Draws page `number`: its name in text and a 100 mm by 50 mm frame whose
// top-left corner lies 20 mm from the left and 30 mm from the top.
inline void drawTestPage(TRepPrinter& output, int number)
{
    QPainter* canvas = output.Canvas();
    canvas->setFont(QFont(QStringLiteral("Arial"), 12));
    canvas->drawText(output.XPos(300), output.YPos(1000), QStringLiteral("Halaman %1").arg(number));
    canvas->fillRect(QRect(output.XPos(200), output.YPos(300), output.XSize(1000), output.YSize(500)), Qt::black);
}

// Produces a whole document of `pages` test pages.
inline void produceTestDocument(TRepPrinter& output, int pages)
{
    output.BeginDoc();
    for (int page = 1; page <= pages; ++page) {
        output.NewPage();
        drawTestPage(output, page);
    }
    output.EndDoc();
}

inline QByteArray fileBytes(const QString& fileName)
{
    QFile file(fileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeFileBytes(const QString& fileName, const QByteArray& bytes)
{
    QFile file(fileName);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(bytes);
}

inline QByteArray pageBytes(const RecordedPage* page)
{
    return page ? page->Bytes() : QByteArray();
}

// Produces a document of `pages` test pages, saves it and returns the file.
inline QByteArray savedTestDocument(TRepPrinter& output, int pages, const QString& fileName)
{
    produceTestDocument(output, pages);
    output.SaveToFile(fileName);
    return fileBytes(fileName);
}
