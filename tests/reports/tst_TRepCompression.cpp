#include "reports/ERepError.h"
#include "reports/PageRecorder.h"
#include "reports/TRepCompression.h"

#include <QPainter>
#include <QRandomGenerator>
#include <QtTest>

class TestTRepCompression : public QObject {
    Q_OBJECT

private slots:
    void firstBitsFollowTheInitialTree();
    void roundTripsEdgeInputs_data();
    void roundTripsEdgeInputs();
    void roundTripsARecordedPage();
    void repeatedBytesShrink();
    void damagedInputIsRejected();
    void randomInputNeverCrashes();
};

// Worked by hand from the initial tree: byte 65 is leaf 321, reached from the
// root by left, right, left, left, left, left, right, left (0x42 with the
// bits filled from the lowest). Splaying leaf 321 lifts it to depth 4 on the
// path right, right, right, left (0x07). Byte 0 is leaf 256, seven lefts and a
// right; byte 255 is leaf 511 under the extra level of node 255: nine lefts.
void TestTRepCompression::firstBitsFollowTheInitialTree()
{
    QCOMPARE(TRepCompression::compress("A").toHex(), QByteArray("0100000042"));
    QCOMPARE(TRepCompression::compress("AA").toHex(), QByteArray("020000004207"));
    QCOMPARE(TRepCompression::compress(QByteArray(1, '\0')).toHex(), QByteArray("0100000080"));
    QCOMPARE(TRepCompression::compress(QByteArray(1, '\xff')).toHex(), QByteArray("010000000000"));
    QCOMPARE(TRepCompression::compress(QByteArray()).toHex(), QByteArray("00000000"));
}

void TestTRepCompression::roundTripsEdgeInputs_data()
{
    QTest::addColumn<QByteArray>("plain");
    QTest::newRow("empty") << QByteArray();
    QTest::newRow("one byte") << QByteArray("x");
    QTest::newRow("one zero byte") << QByteArray(1, '\0');
    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(char(i));
    QTest::newRow("all 256 values") << all;
    QByteArray allBackwards = all;
    std::reverse(allBackwards.begin(), allBackwards.end());
    QTest::newRow("all 256 values backwards, twice") << allBackwards + allBackwards;
    QTest::newRow("long run of 0xff") << QByteArray(100000, '\xff');
    QTest::newRow("long run then a change") << QByteArray(5000, 'a') + QByteArray(5000, 'b') + all;
    QByteArray random(70000, '\0');
    QRandomGenerator generator(7);
    for (char& c : random)
        c = char(generator.bounded(256));
    QTest::newRow("random") << random;
}

void TestTRepCompression::roundTripsEdgeInputs()
{
    QFETCH(QByteArray, plain);
    QCOMPARE(TRepCompression::decompress(TRepCompression::compress(plain)), plain);
}

void TestTRepCompression::roundTripsARecordedPage()
{
    PageRecorder recorder;
    recorder.StartPage(QSize(794, 1123), 96);
    {
        QPainter painter(&recorder);
        painter.setFont(QFont(QStringLiteral("Arial"), 10));
        for (int line = 0; line < 60; ++line)
            painter.drawText(50, 40 + line * 18, QStringLiteral("Line %1 of a recorded page").arg(line));
        painter.drawRect(20, 20, 700, 1080);
    }
    const QByteArray plain = recorder.TakePage();
    const QByteArray coded = TRepCompression::compress(plain);
    QCOMPARE(TRepCompression::decompress(coded), plain);
    QVERIFY2(coded.size() < plain.size(), "a page of drawing commands codes smaller");
}

void TestTRepCompression::repeatedBytesShrink()
{
    // After splaying, a byte that keeps coming needs far fewer than 8 bits.
    const QByteArray coded = TRepCompression::compress(QByteArray(8000, 'z'));
    QVERIFY(coded.size() < 4 + 8000 / 3);
}

void TestTRepCompression::damagedInputIsRejected()
{
    const QByteArray coded = TRepCompression::compress(QByteArray("a prepared report page"));
    QVERIFY_THROWS_EXCEPTION(ERepError, TRepCompression::decompress(coded.left(3)));
    QVERIFY_THROWS_EXCEPTION(ERepError, TRepCompression::decompress(coded.left(coded.size() - 4)));
    QByteArray lying = coded;
    lying[0] = char(0xff); // a length far beyond what the bits hold
    lying[1] = char(0xff);
    QVERIFY_THROWS_EXCEPTION(ERepError, TRepCompression::decompress(lying));
}

void TestTRepCompression::randomInputNeverCrashes()
{
    QRandomGenerator generator(11);
    for (int round = 0; round < 500; ++round) {
        QByteArray coded(4 + int(generator.bounded(64)), '\0');
        for (char& c : coded)
            c = char(generator.bounded(256));
        coded[2] = coded[3] = '\0'; // keep the announced length small
        try {
            const QByteArray plain = TRepCompression::decompress(coded);
            QCOMPARE(quint32(plain.size()), qFromLittleEndian<quint32>(coded.constData()));
        } catch (const ERepError&) {
        }
    }
}

QTEST_MAIN(TestTRepCompression)
#include "tst_TRepCompression.moc"
