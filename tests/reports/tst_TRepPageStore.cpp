#include "RepTestPages.h"

#include "reports/ERepError.h"
#include "reports/RepRound.h"
#include "reports/TRepMessage.h"
#include "reports/TRepPageList.h"
#include "reports/TRepStream.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>
#include <QtTest>

namespace {

qint32 int32At(const QByteArray& bytes, qsizetype offset)
{
    return qFromLittleEndian<qint32>(bytes.constData() + offset);
}

QString errorOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const ERepError& error) {
        return error.message();
    }
    return QString();
}

// Keeps the report messages it receives, in order.
class MessageLog : public QObject {
public:
    QList<std::pair<int, qintptr>> messages;

protected:
    bool event(QEvent* event) override
    {
        if (event->type() < QEvent::User)
            return QObject::event(event);
        messages.append({int(event->type()), static_cast<TRepMessage*>(event)->param()});
        return true;
    }
};

} // namespace

class TestTRepPageStore : public QObject {
    Q_OBJECT

private slots:
    void init();
    void onePageStoreHasTheDocumentedLayout();
    void middlePageIsFoundForwardAndBackward();
    void largeStoreContinuesInATemporaryFile();
    void saveAndLoadRoundTripByteForByte();
    void compressedStoreRoundTrips();
    void olderHeaderIsRead();
    void paperSizeIsRecognisedOnLoad_data();
    void paperSizeIsRecognisedOnLoad();
    void truncatedFilesGiveAClearError();
    void flippedBitsNeverPassAsAnotherReport_data();
    void flippedBitsNeverPassAsAnotherReport();
    void failedLoadKeepsTheOpenDocument();
    void documentStatesAreEnforced();
    void abortedStoreCanStillBeSavedAndLoaded();
    void conversionsRoundHalvesToEven();
    void paperValuesFollowOrientation();
    void clientAndMasterReceiveTheirMessages();
    void closingThePreviewWhileProducingCancels();

private:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    QTemporaryDir m_dir;
};

void TestTRepPageStore::init()
{
    QVERIFY(m_dir.isValid());
}

void TestTRepPageStore::onePageStoreHasTheDocumentedLayout()
{
    TRepPrinter output;
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    const QByteArray file = savedTestDocument(output, 1, path("one.rpf"));
    const QByteArray page = pageBytes(output.GetPage(1).get());

    QVERIFY(!page.isEmpty());
    QCOMPARE(file.size(), 128 + 12 + page.size());
    QCOMPARE(int32At(file, file.size() - 4), 128);
    QCOMPARE(qFromLittleEndian<quint16>(file.constData()), quint16(3));
    QCOMPARE(qFromLittleEndian<quint16>(file.constData() + 2), quint16(309));
    QCOMPARE(int32At(file, 8), 1);
    QCOMPARE(int(file[25]), 0);
    const QDateTime created = TRepPageList::fromDays(qFromLittleEndian<double>(file.constData() + 16));
    QVERIFY(created >= before && created <= QDateTime::currentDateTime().addSecs(1));
    QCOMPARE(int32At(file, 128), 1);
    QCOMPARE(int32At(file, 132), file.size());
    QCOMPARE(file.mid(136, page.size()), page);
}

void TestTRepPageStore::middlePageIsFoundForwardAndBackward()
{
    TRepPrinter output;
    produceTestDocument(output, 3);
    output.SaveToFile(path("three.rpf"));

    TRepStream forwardStream(path("three.rpf"));
    TRepPageList forward(forwardStream, path("three.rpf"));
    const QByteArray first = forward.page(1);
    const QByteArray fromFirst = forward.page(2);

    TRepStream backwardStream(path("three.rpf"));
    TRepPageList backward(backwardStream, path("three.rpf"));
    const QByteArray last = backward.page(3);
    const QByteArray fromLast = backward.page(2);

    QCOMPARE(fromFirst, fromLast);
    QVERIFY(fromFirst != first && fromFirst != last);
    QCOMPARE(fromFirst, pageBytes(output.GetPage(2).get()));
}

void TestTRepPageStore::largeStoreContinuesInATemporaryFile()
{
    QString spilled;
    {
        TRepPrinter output;
        output.BeginDoc();
        output.NewPage();
        drawTestPage(output, 1);
        output.NewPage();
        QVERIFY2(output.stream()->temporaryFileName().isEmpty(), "one page stays in memory");
        for (int page = 2; output.stream()->size() <= TRepStream::DefaultMemoryLimit; ++page) {
            for (int line = 0; line < 80; ++line)
                output.Canvas()->drawText(40, 40 + line * 12, QStringLiteral("Baris %1 halaman %2").arg(line).arg(page));
            output.NewPage();
        }
        output.EndDoc();
        spilled = output.stream()->temporaryFileName();
        QVERIFY(!spilled.isEmpty());
        QCOMPARE(QFileInfo(spilled).absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
        QVERIFY2(QFileInfo(spilled).fileName().startsWith(QLatin1String("RPF")), qPrintable(spilled));
        QVERIFY(QFile::exists(spilled));
        QCOMPARE(QFileInfo(spilled).size(), output.stream()->size());
        for (int page = 1; page <= output.pageCount(); ++page)
            QVERIFY(output.GetPage(page));
    }
    QVERIFY2(!QFile::exists(spilled), "releasing the output deletes its temporary file");
}

void TestTRepPageStore::saveAndLoadRoundTripByteForByte()
{
    TRepPrinter output;
    produceTestDocument(output, 3);
    output.SaveToFile(path("a.rpf"));

    TRepPrinter loaded;
    loaded.LoadFromFile(path("a.rpf"));
    QCOMPARE(loaded.status(), TRepStatus::Finished);
    QVERIFY(loaded.loadedFromFile());
    QCOMPARE(loaded.pageCount(), 3);
    for (int page = 1; page <= 3; ++page)
        QCOMPARE(pageBytes(loaded.GetPage(page).get()), pageBytes(output.GetPage(page).get()));
    loaded.SaveToFile(path("b.rpf"));
    QCOMPARE(fileBytes(path("b.rpf")), fileBytes(path("a.rpf")));
}

void TestTRepPageStore::compressedStoreRoundTrips()
{
    TRepPrinter plain;
    produceTestDocument(plain, 3);
    plain.SaveToFile(path("plain.rpf"));
    TRepPrinter compressed;
    compressed.setCompression(true);
    produceTestDocument(compressed, 3);
    compressed.SaveToFile(path("packed.rpf"));

    const QByteArray file = fileBytes(path("packed.rpf"));
    QCOMPARE(int(file[25]), 1);
    QVERIFY(file.size() < fileBytes(path("plain.rpf")).size());
    const QByteArray page1 = pageBytes(plain.GetPage(1).get());
    QCOMPARE(qFromLittleEndian<quint32>(file.constData() + 136), quint32(page1.size()));

    TRepPrinter loaded;
    loaded.LoadFromFile(path("packed.rpf"));
    QCOMPARE(loaded.pageCount(), 3);
    for (int page = 1; page <= 3; ++page)
        QCOMPARE(pageBytes(loaded.GetPage(page).get()), pageBytes(plain.GetPage(page).get()));
}

// A file of the older layout: 124-byte header, pages of metafile data whose
// signature " EMF" lies 40 bytes into the page.
void TestTRepPageStore::olderHeaderIsRead()
{
    const QDateTime created(QDate(2003, 5, 17), QTime(14, 30));
    QByteArray header(124, '\0');
    qToLittleEndian<quint16>(3, header.data());
    qToLittleEndian<quint16>(309, header.data() + 2);
    qToLittleEndian<qint32>(2, header.data() + 8);
    qToLittleEndian<double>(TRepPageList::toDays(created), header.data() + 12);
    QByteArray file = header;
    QList<QByteArray> pages;
    for (int number = 1; number <= 2; ++number) {
        QByteArray data(40, char(number));
        data += " EMF";
        data += QByteArray("\0\0\1\0", 4); // the metafile version that follows
        data += QByteArray(20, 'x');
        const qint32 start = qint32(file.size());
        QByteArray record(8, '\0');
        qToLittleEndian<qint32>(number, record.data());
        qToLittleEndian<qint32>(start + 12 + qint32(data.size()), record.data() + 4);
        QByteArray back(4, '\0');
        qToLittleEndian<qint32>(start, back.data());
        file += record + data + back;
        pages.append(data);
    }
    QCOMPARE(file.mid(172, 4), QByteArray(" EMF"));
    writeFileBytes(path("old.rpf"), file);

    TRepStream stream(path("old.rpf"));
    TRepPageList list(stream, path("old.rpf"));
    QCOMPARE(list.headerSize(), 124);
    QCOMPARE(list.count(), 2);
    QCOMPARE(list.creationTime(), created);
    QVERIFY(!list.compressed());
    QCOMPARE(list.page(2), pages[1]);
    QCOMPARE(list.page(1), pages[0]);

    // Its pages are metafiles, which this program cannot replay.
    TRepPrinter output;
    const QString error = errorOf([&] { output.LoadFromFile(path("old.rpf")); });
    QVERIFY2(error.startsWith("Not a valid prepared report file: " + path("old.rpf")), qPrintable(error));
}

void TestTRepPageStore::paperSizeIsRecognisedOnLoad_data()
{
    QTest::addColumn<TRepPaperSize>("size");
    QTest::addColumn<TRepOrientation>("orientation");
    QTest::addColumn<TRepPaperSize>("recognised");
    QTest::newRow("A4 portrait") << TRepPaperSize::A4 << TRepOrientation::poPortrait << TRepPaperSize::A4Small;
    QTest::newRow("A4 landscape") << TRepPaperSize::A4 << TRepOrientation::poLandscape << TRepPaperSize::A4Small;
    QTest::newRow("Letter") << TRepPaperSize::Letter << TRepOrientation::poPortrait << TRepPaperSize::Note;
    QTest::newRow("Legal landscape") << TRepPaperSize::Legal << TRepOrientation::poLandscape << TRepPaperSize::Legal;
    // 148 mm records as 559 pixels, 147.9 mm: one step of 4 mm below the table.
    QTest::newRow("A5") << TRepPaperSize::A5 << TRepOrientation::poPortrait << TRepPaperSize::Custom;
}

void TestTRepPageStore::paperSizeIsRecognisedOnLoad()
{
    QFETCH(TRepPaperSize, size);
    QFETCH(TRepOrientation, orientation);
    QFETCH(TRepPaperSize, recognised);
    TRepPrinter output;
    output.setPaperSize(size);
    output.setOrientation(orientation);
    produceTestDocument(output, 1);
    output.SaveToFile(path("paper.rpf"));

    TRepPrinter loaded;
    loaded.setPaperSize(TRepPaperSize::B5);
    loaded.LoadFromFile(path("paper.rpf"));
    QCOMPARE(loaded.paperSize(), recognised);
    QCOMPARE(loaded.orientation(), orientation);
}

void TestTRepPageStore::truncatedFilesGiveAClearError()
{
    TRepPrinter output;
    const QByteArray whole = savedTestDocument(output, 2, path("whole.rpf"));
    const QString name = path("cut.rpf");
    for (qsizetype length : {qsizetype(0), qsizetype(60), qsizetype(127), qsizetype(139), qsizetype(400),
             whole.size() / 2, whole.size() - 5, whole.size() - 1}) {
        writeFileBytes(name, whole.left(length));
        TRepPrinter loaded;
        const QString error = errorOf([&] { loaded.LoadFromFile(name); });
        QVERIFY2(error.startsWith("Not a valid prepared report file: " + name), qPrintable(QString::number(length) + ": " + error));
        QCOMPARE(loaded.status(), TRepStatus::Ready);
        QVERIFY(!loaded.GetPage(1));
    }
}

// A flipped bit never passes as another report: loading either fails with
// the clear error or gives back exactly the saved pages. Uncompressed, every
// flip in the page count, the compression flag, the records or the pages is
// caught; compressed, a flip among the unused bits that end a page's code
// changes nothing.
void TestTRepPageStore::flippedBitsNeverPassAsAnotherReport_data()
{
    QTest::addColumn<bool>("compression");
    QTest::newRow("plain") << false;
    QTest::newRow("compressed") << true;
}

void TestTRepPageStore::flippedBitsNeverPassAsAnotherReport()
{
    QFETCH(bool, compression);
    TRepPrinter output;
    output.setCompression(compression);
    const QByteArray whole = savedTestDocument(output, 2, path("whole.rpf"));
    const QString name = path("flipped.rpf");
    TRepPrinter loaded;
    for (qsizetype offset = 0; offset < whole.size(); ++offset) {
        QByteArray damaged = whole;
        damaged[offset] = char(damaged[offset] ^ (1 << (offset % 8)));
        writeFileBytes(name, damaged);
        const QString error = errorOf([&] { loaded.LoadFromFile(name); });
        const bool meaningful = offset >= 128 || (offset >= 8 && offset < 12) || offset == 25;
        if (!error.isEmpty()) {
            QVERIFY2(meaningful, qPrintable(QStringLiteral("flip at %1: %2").arg(offset).arg(error)));
            QVERIFY2(error.startsWith("Not a valid prepared report file: " + name), qPrintable(error));
            continue;
        }
        QVERIFY2(!meaningful || compression, qPrintable(QStringLiteral("flip at %1 passed").arg(offset)));
        for (int page = 1; page <= 2; ++page)
            QCOMPARE(pageBytes(loaded.GetPage(page).get()), pageBytes(output.GetPage(page).get()));
    }
}

void TestTRepPageStore::failedLoadKeepsTheOpenDocument()
{
    TRepPrinter output;
    produceTestDocument(output, 2);
    output.SaveToFile(path("good.rpf"));
    writeFileBytes(path("bad.rpf"), QByteArray("not a report at all, just some text that is long enough to read a header from it ....................................................."));

    TRepPrinter loaded;
    loaded.LoadFromFile(path("good.rpf"));
    QVERIFY_THROWS_EXCEPTION(ERepError, loaded.LoadFromFile(path("bad.rpf")));
    QVERIFY_THROWS_EXCEPTION(ERepError, loaded.LoadFromFile(path("missing.rpf")));
    QCOMPARE(loaded.pageCount(), 2);
    QCOMPARE(pageBytes(loaded.GetPage(2).get()), pageBytes(output.GetPage(2).get()));
}

void TestTRepPageStore::documentStatesAreEnforced()
{
    TRepPrinter output;
    QCOMPARE(errorOf([&] { output.NewPage(); }), QStringLiteral("Illegal call to NewPage"));
    output.BeginDoc();
    QCOMPARE(errorOf([&] { output.BeginDoc(); }), QStringLiteral("RepPrinter not ready"));
    output.NewPage();
    QVERIFY(output.Canvas());
    QVERIFY2(!output.GetPage(1), "the open page is not finished yet");
    output.EndDoc();
    QCOMPARE(errorOf([&] { output.NewPage(); }), QStringLiteral("Illegal call to NewPage"));
    QCOMPARE(errorOf([&] { output.BeginDoc(); }), QStringLiteral("RepPrinter not ready"));
    QVERIFY(output.GetPage(1));
    QVERIFY(!output.GetPage(0));
    QVERIFY(!output.GetPage(2));

    TRepPrinter unfinished;
    unfinished.BeginDoc();
    unfinished.SaveToFile(path("never.rpf"));
    QVERIFY2(!QFile::exists(path("never.rpf")), "only a finished document is saved");
}

void TestTRepPageStore::abortedStoreCanStillBeSavedAndLoaded()
{
    TRepPrinter output;
    output.BeginDoc();
    for (int page = 1; page <= 3; ++page) {
        output.NewPage();
        drawTestPage(output, page);
    }
    output.AbortDoc();
    QCOMPARE(output.status(), TRepStatus::Finished);
    output.SaveToFile(path("aborted.rpf"));
    TRepPrinter loaded;
    loaded.LoadFromFile(path("aborted.rpf"));
    QCOMPARE(loaded.pageCount(), 3);
}

void TestTRepPageStore::conversionsRoundHalvesToEven()
{
    TRepPrinter output;
    output.BeginDoc();
    QCOMPARE(output.ScaleX, 96 / 254.0);
    QCOMPARE(output.XPos(254), 96);
    QCOMPARE(output.YSize(2540), 960);
    output.ScaleX = output.ScaleY = 1;
    output.DeviceOffsetX = 10;
    output.DeviceOffsetY = 20;
    QCOMPARE(output.XPos(10), 0); // the first printable column
    QCOMPARE(output.XPos(10.5), 0);
    QCOMPARE(output.XPos(11.5), 2);
    QCOMPARE(output.YPos(22.5), 2);
    QCOMPARE(output.XSize(3.5), 4);
    QCOMPARE(output.YSize(-2.5), -2);
}

void TestTRepPageStore::paperValuesFollowOrientation()
{
    TRepPrinter output;
    output.setPaperSize(TRepPaperSize::Letter);
    QCOMPARE(output.PaperWidth(), 2159);
    QCOMPARE(output.PaperLength(), 2794);
    output.setOrientation(TRepOrientation::poLandscape);
    QCOMPARE(output.PaperWidthValue(), 2794);
    QCOMPARE(output.PaperLengthValue(), 2159);
    QCOMPARE(output.PaperWidth(), 2159);
    output.setPaperSize(TRepPaperSize::Env9);
    QCOMPARE(output.PaperLengthValue(), 984); // 98.43 mm
    output.setPaperSize(TRepPaperSize::Custom);
    output.setCustomPaperWidth(1000);
    output.setCustomPaperLength(1500);
    QCOMPARE(output.PaperWidthValue(), 1500);
    QCOMPARE(output.PaperLengthValue(), 1000);

    // Each fixed size's recorded sheet has the table's size in pixels.
    output.setOrientation(TRepOrientation::poPortrait);
    output.setPaperSize(TRepPaperSize::A3);
    produceTestDocument(output, 1);
    QCOMPARE(output.GetPage(1)->SheetSize(), QSize(nearest(2970 * 96 / 254.0), nearest(4200 * 96 / 254.0)));
}

void TestTRepPageStore::clientAndMasterReceiveTheirMessages()
{
    MessageLog client;
    MessageLog master;
    TRepPrinter output;
    output.setClient(&client);
    output.setMaster(&master);
    output.BeginDoc();
    output.NewPage();
    output.SetProgress(50);
    output.NewPage();
    QVERIFY2(client.messages.isEmpty(), "progress and pages are posted, not sent");
    output.EndDoc(); // processes the pending messages
    const QList<std::pair<int, qintptr>> expected{
        {ProgressMessage, 50}, {PageAvailableMessage, 1}, {PageAvailableMessage, 2}};
    QCOMPARE(client.messages.mid(0, 3), expected);
    QCoreApplication::processEvents();
    QCOMPARE(client.messages.last(), (std::pair<int, qintptr>(PageAvailableMessage, 2)));
    QCOMPARE(output.pagesAvailable(), 2);

    output.ClosePreview();
    QCOMPARE(master.messages, (QList<std::pair<int, qintptr>>{{PreviewClosedMessage, qintptr(&output)}}));
    output.Print();
    QCOMPARE(master.messages.size(), 1);
    QCoreApplication::processEvents();
    QCOMPARE(master.messages.last(), (std::pair<int, qintptr>(PrintRequestMessage, qintptr(&output))));

    // Printing a loaded file does not ask the report to run again.
    output.SaveToFile(path("print.rpf"));
    output.LoadFromFile(path("print.rpf"));
    output.setPrintToFile(path("print.pdf"));
    output.Print();
    QVERIFY(QFile::exists(path("print.pdf")));
    QCoreApplication::processEvents();
    QCOMPARE(master.messages.size(), 2);
}

void TestTRepPageStore::closingThePreviewWhileProducingCancels()
{
    TRepPrinter output;
    int afterPreview = 0;
    output.AfterPreview = [&] { ++afterPreview; };
    output.setShowingPreview(true);
    output.BeginDoc();
    output.NewPage();
    output.setShowingPreview(false);
    QVERIFY(output.cancelled());
    QCOMPARE(afterPreview, 1);
}

QTEST_MAIN(TestTRepPageStore)
#include "tst_TRepPageStore.moc"
