// The three views together: Barang following Pelanggan, settling of the
// detail when the master moves, the two views of one table seeing each
// other's posts, and the events a data source passes to its links.

#include "TestDatabase.h"

#include "data/ComponentRegistry.h"
#include "data/DataModel.h"

#include <QtTest>

namespace {

// A link that records what reaches it.
class RecordingLink : public TFieldDataLink {
public:
    QStringList events;
    QString pending;

    RecordingLink()
    {
        OnDataChange = [this] { events << QStringLiteral("data:") + (Field() ? Field()->AsString() : QString()); };
        OnEditingChange = [this] { events << QStringLiteral("editing:%1").arg(Editing()); };
        OnUpdateData = [this] { Field()->SetAsString(pending); };
    }
};

}

class TestMasterDetail : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PWANGSA_SKIP_WITHOUT_SERVER(); }
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        m_db->addCustomer(QStringLiteral("P001"), QStringLiteral("A"));
        m_db->addCustomer(QStringLiteral("P003"), QStringLiteral("C"));
        m_db->addLine(1, QStringLiteral("P001"), 1000, 2);
        m_db->addLine(2, QStringLiteral("P003"), 1500, 4);
        m_db->addLine(3, QStringLiteral("P001"), 2000, 1);
        m_owner = std::make_unique<QObject>();
        // Window creation order: the customer window, then the goods and sales windows.
        m_p = DataModel::SetupPelanggan(m_owner.get());
        m_p.Pelanggan->Open();
        m_b = DataModel::SetupBarang(m_owner.get());
        m_b.Barang->Open();
        m_s = DataModel::SetupPenjualan(m_owner.get());
        m_s.Penjualan->Open();
    }
    void cleanup()
    {
        m_owner.reset();
        m_db.reset();
    }

    void detailFollowsMaster()
    {
        QCOMPARE(m_b.Barang->MasterSource(), m_p.dsPelanggan);
        QCOMPARE(m_b.Barang->RecordCount(), 2);
        QCOMPARE(m_b.BarangNoPesanan->AsReal(), 1.0);
        m_b.Barang->Next();
        QCOMPARE(m_b.BarangNoPesanan->AsReal(), 3.0);
        m_p.Pelanggan->Next();
        QCOMPARE(m_b.BarangKodePelanggan->AsString(), QStringLiteral("P003"));
        QCOMPARE(m_b.Barang->RecordCount(), 1);
        QVERIFY(m_b.Barang->Bof());
        // A new customer record: the detail shows the lines without a customer (none).
        m_p.Pelanggan->Insert();
        QVERIFY(m_b.Barang->IsEmpty());
        m_p.Pelanggan->Cancel();
        QCOMPARE(m_b.BarangKodePelanggan->AsString(), QStringLiteral("P003"));
    }

    // A line inserted through Barang starts with the customer's code, gets its
    // amount as price x quantity, and shows in Penjualan once it re-reads.
    void insertThroughDetailSeenByOtherView()
    {
        m_p.Pelanggan->Next();  // P003
        m_b.Barang->Insert();
        QCOMPARE(m_b.BarangKodePelanggan->AsString(), QStringLiteral("P003"));
        QVERIFY(!m_b.Barang->Modified());
        m_b.BarangNoPesanan->SetAsReal(9);
        m_b.BarangHargaSatuan->SetAsReal(2500);
        QCOMPARE(m_b.BarangJumlahHarga->AsReal(), 0.0);
        m_b.BarangBanyakBarang->SetAsReal(12);
        QCOMPARE(m_b.BarangJumlahHarga->AsReal(), 30000.0);
        m_b.Barang->Post();
        QCOMPARE(m_b.Barang->RecordCount(), 2);
        QVERIFY(!m_s.Penjualan->FindByKey({QStringLiteral("No Pesanan")}, 10.0));
        m_s.Penjualan->Refresh();
        QVERIFY(m_s.Penjualan->FindByKey({QStringLiteral("No Pesanan")}, 9.0));
        QCOMPARE(m_s.PenjualanKodePelanggan->AsString(), QStringLiteral("P003"));
        QVERIFY(m_s.PenjualanTanggal->ValueIsNull());
        QCOMPARE(m_s.PenjualanJumlahHarga->AsCurrency().toDouble(), m_b.BarangJumlahHarga->AsReal());
        // And back: a sale set through Penjualan reaches Barang after its re-read.
        m_s.Penjualan->Edit();
        m_s.PenjualanNoFaktur->SetAsString(QStringLiteral("F001"));
        m_s.Penjualan->Post();
        m_b.Barang->Refresh();
        QCOMPARE(m_b.BarangNoFaktur->AsString(), QStringLiteral("F001"));
    }

    void masterMoveSettlesDetail()
    {
        // An inserted line with nothing written is cancelled.
        m_b.Barang->Insert();
        m_p.Pelanggan->Next();
        QCOMPARE(m_b.Barang->State(), dsBrowse);
        QCOMPARE(m_db->count(QStringLiteral("DataBarang")), 3);
        // A modified one is posted first.
        m_b.Barang->Insert();
        m_b.BarangNoPesanan->SetAsReal(20);
        m_p.Pelanggan->First();
        QCOMPARE(m_db->count(QStringLiteral("DataBarang")), 4);
        QCOMPARE(m_p.PelangganKodePelanggan->AsString(), QStringLiteral("P001"));
        // A key violation there stops the move.
        m_b.Barang->Insert();
        m_b.BarangNoPesanan->SetAsReal(2);
        QVERIFY_THROWS_EXCEPTION(EDBEngineError, m_p.Pelanggan->Next());
        QCOMPARE(m_p.PelangganKodePelanggan->AsString(), QStringLiteral("P001"));
        QCOMPARE(m_b.Barang->State(), dsInsert);
        // The goods view's handler confirmed: the line is discarded, EAbort.
        m_b.Barang->OnPostError = [](TDataSet* d, EDatabaseError& e, TDataAction& a) {
            DataModel::BarangPostError(d, e, a, [](const QString&) { return true; });
        };
        QVERIFY_THROWS_EXCEPTION(EAbort, m_b.Barang->Post());
        QCOMPARE(m_b.Barang->State(), dsBrowse);
        QCOMPARE(m_db->count(QStringLiteral("DataBarang")), 4);
    }

    void dataSourceEvents()
    {
        RecordingLink link;
        link.ControlName = QStringLiteral("DBEdit1");
        link.SetFieldName(QStringLiteral("nama pelanggan"));  // names compared without regard to case
        link.SetDataSource(m_p.dsPelanggan);
        QVERIFY(link.Active());
        QCOMPARE(link.Field(), m_p.PelangganNamaPelanggan);
        link.events.clear();
        m_p.Pelanggan->Next();
        QCOMPARE(link.events, QStringList{QStringLiteral("data:C")});
        link.events.clear();
        QVERIFY(link.Edit());  // AutoEdit puts the view into edit state
        QCOMPARE(m_p.Pelanggan->State(), dsEdit);
        QVERIFY(link.events.contains(QStringLiteral("editing:1")));
        link.pending = QStringLiteral("CITRA");
        link.Modify();
        m_p.Pelanggan->Post();  // the link writes its pending text first
        QCOMPARE(m_p.PelangganNamaPelanggan->AsString(), QStringLiteral("CITRA"));
        QVERIFY(link.events.contains(QStringLiteral("editing:0")));
        // A write reaches the links of that field and of the recomputed amount.
        RecordingLink amount;
        amount.SetFieldName(QStringLiteral("Jumlah Harga"));
        amount.SetDataSource(m_b.dsBarang);
        QVERIFY(!amount.Editing());
        m_b.Barang->Edit();
        QVERIFY(!amount.Editing());  // a calculated field can't be edited by a control
        amount.events.clear();
        m_b.BarangBanyakBarang->SetAsReal(10);
        QCOMPARE(amount.events, QStringList{QStringLiteral("data:15000")});
        m_b.Barang->Cancel();
        // A name the view doesn't have.
        RecordingLink wrong;
        wrong.ControlName = QStringLiteral("DBEdit9");
        wrong.SetFieldName(QStringLiteral("Kota"));
        try {
            wrong.SetDataSource(m_p.dsPelanggan);
            QFAIL("no error");
        } catch (const EDatabaseError& error) {
            QCOMPARE(error.message(), QStringLiteral("DBEdit9: Field 'Kota' not found"));
        }
    }

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<QObject> m_owner;
    DataModel::PelangganView m_p{};
    DataModel::BarangView m_b{};
    DataModel::PenjualanView m_s{};
};

QTEST_GUILESS_MAIN(TestMasterDetail)
#include "tst_MasterDetail.moc"
