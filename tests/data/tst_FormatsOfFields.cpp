// The display and edit text of the views' fields, which go through the masks
// and formats: float fields, the "###.##" amount, dates and masked strings.

#include "TestDatabase.h"

#include "data/DataModel.h"
#include "data/LocaleSettings.h"

#include <QtTest>

class TestFormatsOfFields : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        m_locale.emplace(LocaleSettings::fromLocale(QLocale::c()));
        m_db = std::make_unique<TestDatabase>();
        m_owner = std::make_unique<QObject>();
    }
    void cleanup()
    {
        m_owner.reset();
        m_db.reset();
        m_locale.reset();
    }

    void numbersFollowTheFormatAndTheLocale();
    void datesFollowTheShortDateOrder();
    void maskedStringsDisplayAligned();

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<QObject> m_owner;
    std::optional<ScopedLocaleSettings> m_locale;
};

void TestFormatsOfFields::numbersFollowTheFormatAndTheLocale()
{
    m_db->addLine(1, QStringLiteral("P001"), 2500.5, 11);
    m_db->addLine(2, QStringLiteral("P001"));
    auto v = DataModel::SetupPenjualan(m_owner.get());
    v.Penjualan->Open();
    QCOMPARE(v.PenjualanJumlahHarga->DisplayText(), QStringLiteral("27505.5"));
    QCOMPARE(v.PenjualanHargaSatuan->DisplayText(), QStringLiteral("2500.5"));
    QCOMPARE(v.PenjualanHargaSatuan->EditText(), QStringLiteral("2500.5"));

    LocaleSettings comma = localeSettings();
    comma.DecimalSeparator = QLatin1Char(',');
    setLocaleSettings(comma);
    QCOMPARE(v.PenjualanJumlahHarga->DisplayText(), QStringLiteral("27505,5"));
    QCOMPARE(v.PenjualanHargaSatuan->AsString(), QStringLiteral("2500,5"));
    v.Penjualan->Edit();
    v.PenjualanHargaSatuan->SetAsString(QStringLiteral("0,125"));
    QCOMPARE(v.PenjualanJumlahHarga->DisplayText(), QStringLiteral("1,38"));
    v.Penjualan->Cancel();

    v.Penjualan->Next(); // no unit price: an empty amount, not "0"
    QCOMPARE(v.PenjualanJumlahHarga->DisplayText(), QString());
}

void TestFormatsOfFields::datesFollowTheShortDateOrder()
{
    m_db->addLine(1, QStringLiteral("P001"));
    auto v = DataModel::SetupPenjualan(m_owner.get());
    v.Penjualan->Open();
    v.Penjualan->Edit();
    v.PenjualanTanggal->SetAsString(QStringLiteral("1/5/2004"));
    QCOMPARE(v.PenjualanTanggal->AsDate(), QDate(2004, 1, 5));
    QCOMPARE(v.PenjualanTanggal->DisplayText(), QStringLiteral("1/5/04"));

    LocaleSettings dayFirst = localeSettings();
    dayFirst.ShortDateFormat = QStringLiteral("dd/mm/yyyy");
    setLocaleSettings(dayFirst);
    QCOMPARE(v.PenjualanTanggal->EditText(), QStringLiteral("05/01/2004"));
    v.PenjualanTanggal->SetAsString(QStringLiteral(" 7/ 2/2004")); // as the date mask reads it
    QCOMPARE(v.PenjualanTanggal->AsDate(), QDate(2004, 2, 7));
    try {
        v.PenjualanTanggal->SetAsString(QStringLiteral("31/02/2004"));
        QFAIL("an invalid date was taken");
    } catch (const EConvertError& e) {
        QCOMPARE(e.message(), QStringLiteral("'31/02/2004' is not a valid date"));
    }
    QCOMPARE(v.PenjualanTanggal->AsDate(), QDate(2004, 2, 7));
    v.Penjualan->Cancel();
}

void TestFormatsOfFields::maskedStringsDisplayAligned()
{
    m_db->addLine(1, QStringLiteral("P01"));
    m_db->exec(QStringLiteral("INSERT INTO DataPelanggan (\"Kode Pelanggan\", \"No Telepon\") VALUES (?, ?)"),
               {QStringLiteral("P001"), QStringLiteral("(021)555-1234")});
    auto p = DataModel::SetupPelanggan(m_owner.get());
    p.Pelanggan->Open();
    QCOMPARE(p.PelangganNoTelepon->DisplayText(), QStringLiteral("(021)555-1234"));
    QCOMPARE(p.PelangganNoTelepon->EditText(), QStringLiteral("(021)555-1234"));
    auto v = DataModel::SetupPenjualan(m_owner.get());
    v.Penjualan->Open();
    QCOMPARE(v.PenjualanKodePelanggan->DisplayText(), QStringLiteral("P01 "));
    QCOMPARE(v.PenjualanKodePelanggan->EditText(), QStringLiteral("P01"));
}

QTEST_GUILESS_MAIN(TestFormatsOfFields)
#include "tst_FormatsOfFields.moc"
