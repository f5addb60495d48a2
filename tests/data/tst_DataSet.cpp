// The dataset layer over a real SQLite file: states, operations and their
// messages, navigation flags, field access, post errors, search and index.

#include "Outcome.h"
#include "TestDatabase.h"

#include "data/DataModel.h"
#include "data/LocaleSettings.h"

#include <QtTest>

class TestDataSet : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PWANGSA_SKIP_WITHOUT_SERVER(); }
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        m_owner = std::make_unique<QObject>();
    }
    void cleanup()
    {
        m_owner.reset();
        m_db.reset();
    }

    void opensInBrowseOnFirstRecord()
    {
        m_db->addCustomer(QStringLiteral("P002"), QStringLiteral("B"));
        m_db->addCustomer(QStringLiteral("P001"), QStringLiteral("A"));
        auto v = DataModel::SetupPelanggan(m_owner.get());
        v.Pelanggan->Open();
        QCOMPARE(v.Pelanggan->State(), dsBrowse);
        QVERIFY(v.Pelanggan->Bof());
        QVERIFY(!v.Pelanggan->Eof());
        QCOMPARE(v.PelangganKodePelanggan->AsString(), QStringLiteral("P001"));
        QCOMPARE(v.Pelanggan->RecordCount(), 2);
    }

    void emptyViewOperations()
    {
        auto v = DataModel::SetupPelanggan(m_owner.get());
        TTable* t = v.Pelanggan;
        t->Open();
        QVERIFY(t->Bof() && t->Eof());
        QCOMPARE(messageOf([&] { t->Post(); }), QStringLiteral("Pelanggan: Dataset not in edit or insert mode"));
        QCOMPARE(messageOf([&] { t->Delete(); }),
                 QStringLiteral("Pelanggan: Cannot perform this operation on an empty dataset"));
        QCOMPARE(messageOf([&] { v.PelangganNamaPelanggan->SetAsString(QStringLiteral("X")); }),
                 QStringLiteral("Pelanggan: Dataset not in edit or insert mode"));
        t->Next();
        t->Prior();
        t->Cancel();
        t->Edit();  // an empty view starts a new record
        QCOMPARE(t->State(), dsInsert);
        t->Delete();  // discards it
        QCOMPARE(t->State(), dsBrowse);
        QCOMPARE(m_db->count(QStringLiteral("DataPelanggan")), 0);
        QVERIFY(!t->FindByKey({QStringLiteral("Kode Pelanggan")}, QStringLiteral("P0"),
                              int(TLocateOption::loPartialKey)));
        QCOMPARE(messageOf([&] { t->FieldNamed(QStringLiteral("Kota")); }),
                 QStringLiteral("Pelanggan: Field 'Kota' not found"));
        t->Close();
        QCOMPARE(messageOf([&] { t->Delete(); }),
                 QStringLiteral("Pelanggan: Cannot perform this operation on a closed dataset"));
    }

    void navigationFlags()
    {
        m_db->exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 600) "
                                  "INSERT INTO \"DataBarang\" (\"No Pesanan\") SELECT i FROM n"));
        auto v = DataModel::SetupPenjualan(m_owner.get());
        TTable* t = v.Penjualan;
        t->Open();
        int visited = 0;
        double sum = 0;
        for (t->First(); !t->Eof(); t->Next()) {
            ++visited;
            sum += v.PenjualanNoPesanan->AsReal();
        }
        QCOMPARE(visited, 600);
        QCOMPARE(sum, 600.0 * 601 / 2);
        QCOMPARE(v.PenjualanNoPesanan->AsReal(), 600.0);  // stays on the last record
        t->Next();
        QVERIFY(t->Eof());
        QCOMPARE(v.PenjualanNoPesanan->AsReal(), 600.0);
        int back = 0;
        for (; !t->Bof(); t->Prior())
            ++back;
        QCOMPARE(back, 600);
        QCOMPARE(v.PenjualanNoPesanan->AsReal(), 1.0);
        t->Last();
        QVERIFY(t->Eof());
        QCOMPARE(v.PenjualanNoPesanan->AsReal(), 600.0);
        QVERIFY(t->BufferedRecordCount() <= 1024);  // the window stays bounded
    }

    void insertPostCancelDelete()
    {
        m_db->addCustomer(QStringLiteral("P001"), QStringLiteral("A"));
        m_db->addCustomer(QStringLiteral("P003"), QStringLiteral("C"));
        auto v = DataModel::SetupPelanggan(m_owner.get());
        TTable* t = v.Pelanggan;
        t->Open();
        t->Next();  // on P003
        t->Insert();
        QCOMPARE(t->State(), dsInsert);
        QVERIFY(!t->Modified());
        v.PelangganKodePelanggan->SetAsString(QStringLiteral("P002XYZ"));  // cut to four characters
        QVERIFY(t->Modified());
        t->Cancel();
        QCOMPARE(v.PelangganKodePelanggan->AsString(), QStringLiteral("P003"));  // current before Insert
        t->Insert();
        v.PelangganKodePelanggan->SetAsString(QStringLiteral("P002XYZ"));
        v.PelangganNamaPelanggan->SetAsString(QStringLiteral("BUDI"));
        t->Post();
        QCOMPARE(t->State(), dsBrowse);
        QCOMPARE(v.PelangganKodePelanggan->AsString(), QStringLiteral("P002"));
        QVERIFY(!t->Bof() && !t->Eof());
        QCOMPARE(m_db->exec(QStringLiteral("SELECT \"Nama Pelanggan\" FROM \"DataPelanggan\" WHERE \"Kode Pelanggan\"='P002'")),
                 QVariantList{QStringLiteral("BUDI")});
        // Editing and cancelling keeps the stored values.
        t->Edit();
        v.PelangganNamaPelanggan->SetAsString(QStringLiteral("ANI"));
        t->Cancel();
        QCOMPARE(v.PelangganNamaPelanggan->AsString(), QStringLiteral("BUDI"));
        // Deleting moves to the next record, or the previous one at the end.
        t->Delete();
        QCOMPARE(v.PelangganKodePelanggan->AsString(), QStringLiteral("P003"));
        t->Delete();
        QCOMPARE(v.PelangganKodePelanggan->AsString(), QStringLiteral("P001"));
        t->Delete();
        QVERIFY(t->IsEmpty() && t->Bof() && t->Eof());
        QCOMPARE(m_db->count(QStringLiteral("DataPelanggan")), 0);
    }

    void fieldAccessAndConversions()
    {
        m_db->addLine(1, QStringLiteral("P001"), 2500, 3);
        auto v = DataModel::SetupPenjualan(m_owner.get());
        v.Penjualan->Open();
        QCOMPARE(v.PenjualanJumlahHarga->AsReal(), 7500.0);
        QCOMPARE(v.PenjualanJumlahHarga->DisplayText(), QStringLiteral("7500"));
        QVERIFY(v.PenjualanTanggal->ValueIsNull());
        QCOMPARE(v.PenjualanTanggal->AsString(), QString());
        QCOMPARE(messageOf([&] { v.PenjualanJumlahHarga->SetAsReal(1); }),
                 QStringLiteral("Penjualan: Dataset not in edit or insert mode"));
        v.Penjualan->Edit();
        QCOMPARE(messageOf([&] { v.PenjualanHargaSatuan->SetAsString(QStringLiteral("12x")); }),
                 QStringLiteral("'12x' is not a valid floating point value for field 'Harga Satuan'"));
        QVERIFY_THROWS_EXCEPTION(EConvertError, v.PenjualanTanggal->SetAsString(QStringLiteral("31/31/2004")));
        v.PenjualanHargaSatuan->SetAsString(QString());
        QVERIFY(v.PenjualanHargaSatuan->ValueIsNull());
        QCOMPARE(v.PenjualanJumlahHarga->AsReal(), 0.0);  // recomputed at once
        QCOMPARE(v.PenjualanJumlahHarga->DisplayText(), QString());
        v.PenjualanTanggal->SetAsDate(QDate(2004, 1, 5));
        v.PenjualanKodePelanggan->SetAsString(QStringLiteral("P0012345"));
        v.Penjualan->Post();
        QCOMPARE(m_db->exec(QStringLiteral("SELECT \"Tanggal\" || '|' || \"Kode Pelanggan\" FROM \"DataBarang\"")),
                 QVariantList{QStringLiteral("2004-01-05|P00123")});
        // Currency: four decimals, ties to even (1/32 and 3/32 are exact halves).
        v.Penjualan->Edit();
        v.PenjualanHargaSatuan->SetAsReal(0.03125);
        QCOMPARE(v.PenjualanHargaSatuan->AsCurrency().units, 312);
        v.PenjualanHargaSatuan->SetAsReal(0.09375);
        QCOMPARE(v.PenjualanHargaSatuan->AsCurrency().units, 938);
        v.PenjualanHargaSatuan->Clear();
        QCOMPARE(v.PenjualanHargaSatuan->AsCurrency().units, 0);
        v.Penjualan->Cancel();
    }

    // A duplicate key through Pelanggan: message, new record discarded, EAbort.
    void postErrorDeleteThenAbort()
    {
        m_db->addCustomer(QStringLiteral("P001"), QStringLiteral("A"));
        m_db->addCustomer(QStringLiteral("P002"), QStringLiteral("B"));
        auto v = DataModel::SetupPelanggan(m_owner.get());
        QStringList shown;
        v.Pelanggan->OnPostError = [&](TDataSet* d, EDatabaseError& e, TDataAction& a) {
            DataModel::PelangganPostError(d, e, a, [&](const QString& text) { shown << text; });
        };
        v.Pelanggan->Open();
        v.Pelanggan->Next();
        v.Pelanggan->Insert();
        v.PelangganKodePelanggan->SetAsString(QStringLiteral("P001"));
        QVERIFY_THROWS_EXCEPTION(EAbort, v.Pelanggan->Post());
        QCOMPARE(shown, QStringList{QStringLiteral("Kode Barang ada yang sama")});
        QCOMPARE(v.Pelanggan->State(), dsBrowse);
        QCOMPARE(v.PelangganKodePelanggan->AsString(), QStringLiteral("P002"));
        QCOMPARE(m_db->count(QStringLiteral("DataPelanggan")), 2);
        // An edited stored record that collides stays open for correction;
        // the stored record is untouched, and a corrected key posts.
        v.Pelanggan->Edit();
        v.PelangganKodePelanggan->SetAsString(QStringLiteral("P001"));
        QVERIFY_THROWS_EXCEPTION(EAbort, v.Pelanggan->Post());
        QCOMPARE(v.Pelanggan->State(), dsEdit);
        QCOMPARE(v.PelangganKodePelanggan->AsString(), QStringLiteral("P001"));
        QCOMPARE(m_db->exec(QStringLiteral("SELECT \"Nama Pelanggan\" FROM \"DataPelanggan\" WHERE \"Kode Pelanggan\" = 'P002'")),
                 QVariantList{QStringLiteral("B")});
        v.PelangganKodePelanggan->SetAsString(QStringLiteral("P003"));
        v.Pelanggan->Post();
        QCOMPARE(m_db->exec(QStringLiteral("SELECT \"Kode Pelanggan\" FROM \"DataPelanggan\" ORDER BY 1")),
                 QVariantList({QStringLiteral("P001"), QStringLiteral("P003")}));
    }

    void postErrorAbortAloneAndNoHandler()
    {
        m_db->addLine(7, QStringLiteral("P001"));
        auto v = DataModel::SetupPenjualan(m_owner.get());
        v.Penjualan->Open();
        v.Penjualan->Insert();
        v.PenjualanNoPesanan->SetAsReal(7);
        try {
            v.Penjualan->Post();
            QFAIL("no error");
        } catch (const EDBEngineError& error) {
            QCOMPARE(error.ErrorCode(), DBIERR_KEYVIOL);
            QCOMPARE(error.ErrorCount(), 2);
            QCOMPARE(error.Errors(1).NativeCode, m_db->nativeKeyViolation());
            // The field in a plain line, not the storage's constraint text.
            QCOMPARE(error.message(), QStringLiteral("Key violation.\nField: No Pesanan."));
        }
        QCOMPARE(v.Penjualan->State(), dsInsert);
        QCOMPARE(v.PenjualanNoPesanan->AsReal(), 7.0);
        // The goods view's handler: answered without deleting, it only aborts.
        v.Penjualan->OnPostError = [](TDataSet* d, EDatabaseError& e, TDataAction& a) {
            DataModel::BarangPostError(d, e, a, [](const QString&) { return false; });
        };
        QVERIFY_THROWS_EXCEPTION(EAbort, v.Penjualan->Post());
        QCOMPARE(v.Penjualan->State(), dsInsert);
        // A retry after the handler fixed the key succeeds.
        v.Penjualan->OnPostError = [&](TDataSet*, EDatabaseError&, TDataAction& a) {
            v.PenjualanNoPesanan->SetAsReal(8);
            a = daRetry;
        };
        v.Penjualan->Post();
        QCOMPARE(m_db->count(QStringLiteral("DataBarang")), 2);
        QCOMPARE(v.PenjualanNoPesanan->AsReal(), 8.0);
    }

    void findByKey()
    {
        m_db->addCustomer(QStringLiteral("P001"), QStringLiteral("A"));
        m_db->addCustomer(QStringLiteral("P010"), QStringLiteral("B"));
        m_db->addCustomer(QStringLiteral("Q001"), QStringLiteral("C"));
        auto v = DataModel::SetupPelanggan(m_owner.get());
        TTable* t = v.Pelanggan;
        t->Open();
        const QStringList key{QStringLiteral("Kode Pelanggan")};
        QVERIFY(t->FindByKey(key, QStringLiteral("Q001")));
        QVERIFY(!t->Bof() && !t->Eof());
        QVERIFY(!t->FindByKey(key, QStringLiteral("P002")));
        QCOMPARE(v.PelangganKodePelanggan->AsString(), QStringLiteral("Q001"));  // unchanged
        QVERIFY(!t->FindByKey(key, QStringLiteral("p010")));
        QVERIFY(t->FindByKey(key, QStringLiteral("p010"), int(TLocateOption::loCaseInsensitive)));
        QCOMPARE(v.PelangganKodePelanggan->AsString(), QStringLiteral("P010"));
        // Beyond a to z letters keep their case, alike on both engines.
        m_db->addCustomer(QStringLiteral("é01"), QStringLiteral("D"));
        t->Refresh();
        QVERIFY(t->FindByKey(key, QStringLiteral("é01"), int(TLocateOption::loCaseInsensitive)));
        QCOMPARE(v.PelangganKodePelanggan->AsString(), QStringLiteral("é01"));
        QVERIFY(t->FindByKey(key, QStringLiteral("é0"),
                             int(TLocateOption::loCaseInsensitive) | int(TLocateOption::loPartialKey)));
        QVERIFY(!t->FindByKey(key, QStringLiteral("É01"), int(TLocateOption::loCaseInsensitive)));
        QVERIFY(t->FindByKey(key, QStringLiteral("P0  "), int(TLocateOption::loPartialKey)));
        QCOMPARE(v.PelangganKodePelanggan->AsString(), QStringLiteral("P001"));
        QVERIFY(!t->FindByKey(key, QStringLiteral("P02"), int(TLocateOption::loPartialKey)));
        // On another index: Penjualan (key order) searched by customer code.
        m_db->addLine(2, QStringLiteral("P010"));
        m_db->addLine(1, QStringLiteral("P020"));
        m_db->addLine(3, QStringLiteral("P010"));
        auto p = DataModel::SetupPenjualan(m_owner.get());
        p.Penjualan->Open();
        QVERIFY(p.Penjualan->FindByKey(key, QStringLiteral("P010")));
        QCOMPARE(p.PenjualanNoPesanan->AsReal(), 2.0);
        p.Penjualan->Next();
        QCOMPARE(p.PenjualanNoPesanan->AsReal(), 3.0);
    }

    void indexNameSettlesAndSwitches()
    {
        m_db->addLine(1, QStringLiteral("P002"));
        m_db->addLine(2, QStringLiteral("P001"));
        auto v = DataModel::SetupPenjualan(m_owner.get());
        TTable* t = v.Penjualan;
        t->Open();
        t->Edit();
        v.PenjualanNoFaktur->SetAsString(QStringLiteral("F1"));
        t->SetIndexName(QString());  // the same name: only settles
        QCOMPARE(t->State(), dsBrowse);
        QCOMPARE(m_db->exec(QStringLiteral("SELECT \"No Faktur\" FROM \"DataBarang\" WHERE \"No Pesanan\"=1")),
                 QVariantList{QStringLiteral("F1")});
        t->SetIndexName(QStringLiteral("Kode Pelanggan"));
        QCOMPARE(v.PenjualanNoPesanan->AsReal(), 1.0);  // stays current
        t->First();
        QCOMPARE(v.PenjualanKodePelanggan->AsString(), QStringLiteral("P001"));
        try {
            t->SetIndexName(QStringLiteral("Nama"));
            QFAIL("no error");
        } catch (const EDBEngineError& error) {
            QCOMPARE(error.ErrorCode(), EngineCode::NoSuchIndex);
        }
        QCOMPARE(t->IndexName(), QStringLiteral("Kode Pelanggan"));
    }

    // Texts follow the locale: decimal separator, short date order, masks.
    void fieldTexts()
    {
        LocaleSettings settings;
        settings.DecimalSeparator = QLatin1Char(',');
        settings.ShortDateFormat = QStringLiteral("dd/mm/yyyy");
        const ScopedLocaleSettings scope(settings);
        m_db->addCustomer(QStringLiteral("P001"), QStringLiteral("A"));
        m_db->exec(QStringLiteral("UPDATE \"DataPelanggan\" SET \"No Telepon\" = '(021)555-1234'"));
        m_db->addLine(1, QStringLiteral("P001"), 27500.5, 1);
        auto p = DataModel::SetupPelanggan(m_owner.get());
        p.Pelanggan->Open();
        QCOMPARE(p.PelangganNoTelepon->DisplayText(), QStringLiteral("(021)555-1234"));
        QCOMPARE(p.PelangganNoTelepon->EditText(), QStringLiteral("(021)555-1234"));
        QVERIFY(p.PelangganNoTelepon->IsValidChar(QLatin1Char('x')));
        QCOMPARE(p.PelangganNoTelepon->DisplayWidth(), 14);
        auto v = DataModel::SetupPenjualan(m_owner.get());
        v.Penjualan->Open();
        QCOMPARE(v.PenjualanHargaSatuan->AsString(), QStringLiteral("27500,5"));
        QCOMPARE(v.PenjualanJumlahHarga->DisplayText(), QStringLiteral("27500,5"));
        QCOMPARE(v.PenjualanHargaSatuan->Alignment(), TAlignment::taRightJustify);
        QVERIFY(v.PenjualanHargaSatuan->IsValidChar(QLatin1Char(',')));
        QVERIFY(!v.PenjualanHargaSatuan->IsValidChar(QLatin1Char('.')));
        QVERIFY(!v.PenjualanJumlahHarga->CanModify());
        v.Penjualan->Edit();
        v.PenjualanBanyakBarang->SetAsString(QStringLiteral("1,5"));
        QCOMPARE(v.PenjualanBanyakBarang->AsReal(), 1.5);
        v.PenjualanTanggal->SetAsString(QStringLiteral("05/01/2004"));
        QCOMPARE(v.PenjualanTanggal->AsDate(), QDate(2004, 1, 5));
        QCOMPARE(v.PenjualanTanggal->AsString(), QStringLiteral("05/01/2004"));
        v.Penjualan->Post();
        QCOMPARE(m_db->exec(QStringLiteral("SELECT \"Tanggal\" FROM \"DataBarang\"")), QVariantList{QStringLiteral("2004-01-05")});
    }

    void openFailures()
    {
        auto open = [&](const std::function<void(TTable*)>& prepare) {
            QObject owner;
            auto v = DataModel::SetupBarang(&owner);
            prepare(v.Barang);
            const QString text = messageOf([&] { v.Barang->Open(); });
            if (v.Barang->Active())
                return QStringLiteral("opened");
            return text;
        };
        QCOMPARE(open([](TTable* t) { t->SetDatabaseName(QStringLiteral("Lain")); }),
                 QStringLiteral("Unknown database alias: Lain"));
        QVERIFY(open([](TTable* t) { t->SetTableName(QStringLiteral("Data.DB")); })
                    .startsWith(QStringLiteral("Table does not exist")));
        m_db->exec(QStringLiteral("DROP INDEX \"Kode Pelanggan\""));
        QVERIFY(open([](TTable*) {}).startsWith(QStringLiteral("Index does not exist")));
        m_db->exec(QStringLiteral("ALTER TABLE \"DataBarang\" DROP COLUMN \"Total Jumlah\""));
        QCOMPARE(open([](TTable* t) { t->SetIndexName(QString()); }),
                 QStringLiteral("Barang: Field 'Total Jumlah' not found"));
        m_db->exec(QStringLiteral("ALTER TABLE \"DataBarang\" ADD COLUMN \"Total Jumlah\" TEXT"));
        QCOMPARE(open([](TTable* t) { t->SetIndexName(QString()); }),
                 QStringLiteral("Barang: Type mismatch for field 'Total Jumlah', expecting: Float actual: String"));
        closeAllDatabases();
        if (!m_db->isPostgres()) {
            QFile::remove(m_db->path());
            QCOMPARE(open([](TTable*) {}), QStringLiteral("Database file not found: ") + m_db->path());
            return;
        }
        // The server's own message follows the connection that failed.
        TestServer::dropDatabase(m_db->alias().dbname);
        const QString text = open([](TTable*) {});
        QVERIFY2(text.startsWith(QStringLiteral("Cannot connect to the database ") + m_db->path() + QLatin1Char('\n')),
                 qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("does not exist")), qPrintable(text));
    }

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<QObject> m_owner;
};

QTEST_GUILESS_MAIN(TestDataSet)
#include "tst_DataSet.moc"
