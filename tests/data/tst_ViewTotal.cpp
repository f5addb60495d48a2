#include "TestDatabase.h"
#include "data/DataModel.h"
#include "data/DataSource.h"
#include "data/Exceptions.h"
#include "data/Field.h"
#include "data/ViewTotal.h"

#include <QtTest>

// The total of the sales view covers every line of every customer, adds the
// amounts exactly as currency, and leaves the view at its end. Its controls
// hear of that once, not on every line: reloading them on every step cost a
// frozen program ten seconds over a million lines.
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
        int changes = 0;
        TDataSource controls(&owner);
        controls.SetDataSet(views.penjualan.Penjualan);
        controls.OnDataChange = [&](TField*) { ++changes; };
        QCOMPARE(TotalJumlahHarga(views.penjualan.Penjualan), QStringLiteral("82501"));
        QVERIFY(views.penjualan.Penjualan->Eof());
        QCOMPARE(changes, 1);
        QCOMPARE(views.penjualan.PenjualanNoPesanan->AsString(), QStringLiteral("12"));
    }

    // Rounding to four decimals is exact, from the double's own value, ties
    // to even; an amount beyond the currency range is an error, not a wrong
    // amount (a quantity typed as 1E12 once made the total negative).
    void currencyRoundsExactlyAndRefusesOverflow()
    {
        QCOMPARE(Currency::fromDouble(0.12345).units, 1235);   // a little above the tie
        QCOMPARE(Currency::fromDouble(0.03125).units, 312);    // an exact tie: to even
        QCOMPARE(Currency::fromDouble(-0.03135).units, -314);
        QCOMPARE(Currency::fromDouble(922337203685477.5).units, Q_INT64_C(9223372036854775000));
        QVERIFY_THROWS_EXCEPTION(EConvertError, Currency::fromDouble(9.3e14));
        QVERIFY_THROWS_EXCEPTION(EConvertError, Currency::fromDouble(qInf()));

        TestDatabase db;
        db.addCustomer(QStringLiteral("P001"), QStringLiteral("Toko Satu"));
        db.addLine(1, QStringLiteral("P001"), 41000, 1e12);
        QObject owner;
        DataModel::AllViews views = DataModel::SetupAll(&owner);
        QVERIFY_THROWS_EXCEPTION(EConvertError, TotalJumlahHarga(views.penjualan.Penjualan));
        QVERIFY(!views.penjualan.Penjualan->ControlsDisabled()); // the controls hear again after a failed loop
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
