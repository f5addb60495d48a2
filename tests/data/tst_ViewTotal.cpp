#include "TestDatabase.h"
#include "data/DataModel.h"
#include "data/ViewTotal.h"

#include <QtTest>

// The total of the sales view covers every line of every customer, adds the
// amounts exactly as currency, and leaves the view at its end.
class tst_ViewTotal : public QObject {
    Q_OBJECT

private slots:
    void totalsEveryLineOfEveryCustomer()
    {
        TestDatabase db;
        db.addCustomer(QStringLiteral("P001"), QStringLiteral("Toko Satu"));
        db.addCustomer(QStringLiteral("P002"), QStringLiteral("Toko Dua"));
        // Ten amounts of 0.1 add to exactly 1 only when summed as currency.
        for (int i = 1; i <= 10; ++i)
            db.addLine(i, i % 2 ? QStringLiteral("P001") : QStringLiteral("P002"), 0.1, 1);
        db.addLine(11, QStringLiteral("P002"), 27500, 3);
        db.addLine(12, QStringLiteral("P001")); // no price: counts as 0

        QObject owner;
        DataModel::AllViews views = DataModel::SetupAll(&owner);
        QCOMPARE(TotalJumlahHarga(views.penjualan.Penjualan), QStringLiteral("82501"));
        QVERIFY(views.penjualan.Penjualan->Eof());
    }

    void emptyTableTotalsZero()
    {
        TestDatabase db;
        QObject owner;
        DataModel::AllViews views = DataModel::SetupAll(&owner);
        QCOMPARE(TotalJumlahHarga(views.penjualan.Penjualan), QStringLiteral("0"));
    }
};

QTEST_GUILESS_MAIN(tst_ViewTotal)
#include "tst_ViewTotal.moc"
