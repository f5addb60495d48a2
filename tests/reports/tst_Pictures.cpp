// Every picture the windows use must be compiled in under the name they ask for,
// at the size their layout relies on.

#include "reports/Pictures.h"

#include <QtTest>

class tst_Pictures : public QObject {
    Q_OBJECT

private slots:
    void fixedSizes_data();
    void fixedSizes();
    void faceFitsItsSmallestButton_data();
    void faceFitsItsSmallestButton();
    void unknownNamesGiveNullImages();
};

void tst_Pictures::fixedSizes_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QSize>("size");
    QTest::newRow("logo") << Pictures::logo() << QSize(146, 149);
    QTest::newRow("background") << Pictures::background() << QSize(353, 90);
    QTest::newRow("stone") << Pictures::stone() << QSize(100, 100);
    QTest::newRow("window icon") << Pictures::windowIcon() << QSize(32, 32);
    QTest::newRow("desktop icon") << Pictures::desktopIcon() << QSize(256, 256);
    QTest::newRow("close") << Pictures::closeIcon() << QSize(24, 24);
    for (int i = 0; i <= 10; ++i)
        QTest::newRow(qPrintable(QStringLiteral("tool bar %1").arg(i))) << Pictures::toolbarIcon(i) << QSize(24, 24);
}

void tst_Pictures::fixedSizes()
{
    QFETCH(QImage, image);
    QFETCH(QSize, size);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), size);
}

void tst_Pictures::faceFitsItsSmallestButton_data()
{
    QTest::addColumn<QImage>("image");
    QTest::addColumn<QSize>("button");
    QTest::newRow("Simpan") << Pictures::buttonFace(QStringLiteral("Simpan")) << QSize(89, 30);
    QTest::newRow("&Simpan") << Pictures::buttonFace(QStringLiteral("&Simpan")) << QSize(89, 30);
    QTest::newRow("Tambah") << Pictures::buttonFace(QStringLiteral("Tambah")) << QSize(97, 33);
    QTest::newRow("Hapus") << Pictures::buttonFace(QStringLiteral("Hapus")) << QSize(81, 33);
    QTest::newRow("Keluar") << Pictures::buttonFace(QStringLiteral("Keluar")) << QSize(89, 30);
    QTest::newRow("Cetak Harian") << Pictures::buttonFace(QStringLiteral("Cetak Harian")) << QSize(137, 33);
    QTest::newRow("Preview") << Pictures::buttonFace(QStringLiteral("Preview")) << QSize(97, 33);
    QTest::newRow("Print") << Pictures::buttonFace(QStringLiteral("Print")) << QSize(73, 33);
    QTest::newRow("Batal") << Pictures::buttonFace(QStringLiteral("Batal")) << QSize(81, 33);
    QTest::newRow("arrow left") << Pictures::arrowLeft() << QSize(89, 33);
    QTest::newRow("arrow right") << Pictures::arrowRight() << QSize(89, 33);
}

// A face drawn centred must leave about 3 pixels of the button on every side.
void tst_Pictures::faceFitsItsSmallestButton()
{
    QFETCH(QImage, image);
    QFETCH(QSize, button);
    QVERIFY(!image.isNull());
    QVERIFY2(image.width() <= button.width() - 6 && image.height() <= button.height() - 6,
             qPrintable(QStringLiteral("%1x%2").arg(image.width()).arg(image.height())));
    QVERIFY(image.hasAlphaChannel());
}

void tst_Pictures::unknownNamesGiveNullImages()
{
    QVERIFY(Pictures::buttonFace(QStringLiteral("Ubah")).isNull());
    QVERIFY(Pictures::buttonFace(QString()).isNull());
    QVERIFY(Pictures::toolbarIcon(-1).isNull());
    QVERIFY(Pictures::toolbarIcon(11).isNull());
}

QTEST_GUILESS_MAIN(tst_Pictures)
#include "tst_Pictures.moc"
