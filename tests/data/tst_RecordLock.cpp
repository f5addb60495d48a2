// The record lock between two views and between two processes, and a crash
// in the middle of posting: the test program runs itself as the child.

#include "Outcome.h"
#include "TestDatabase.h"

#include "data/DataModel.h"

#include <QCoreApplication>
#include <QProcess>
#include <QtTest>

#include <csignal>
#include <cstdio>

namespace {

bool isLockError(const std::function<void()>& operation)
{
    return engineCodeOf(operation) == EngineCode::RecordLocked;
}

// Child: edits line 1 through Penjualan and holds it until killed.
int holdLock()
{
    QObject owner;
    auto v = DataModel::SetupPenjualan(&owner);
    v.Penjualan->Open();
    v.Penjualan->FindByKey({QStringLiteral("No Pesanan")}, 1.0);
    v.Penjualan->Edit();
    std::puts("locked");
    std::fflush(stdout);
    for (int c = 0; (c = std::getchar()) != EOF;) {}
    return 0;
}

// Child: posts new lines one by one, reporting each after its Post returned.
int postForever()
{
    QObject owner;
    auto v = DataModel::SetupPenjualan(&owner);
    v.Penjualan->Open();
    for (int number = 1;; ++number) {
        v.Penjualan->Insert();
        v.PenjualanNoPesanan->SetAsReal(number);
        v.PenjualanKodePelanggan->SetAsString(QStringLiteral("P001"));
        v.PenjualanHargaSatuan->SetAsReal(2500);
        v.Penjualan->Post();
        std::printf("%d\n", number);
        std::fflush(stdout);
    }
}

}

class TestRecordLock : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { PWANGSA_SKIP_WITHOUT_SERVER(); }
    void init()
    {
        m_db = std::make_unique<TestDatabase>();
        m_db->addCustomer(QStringLiteral("P001"), QStringLiteral("A"));
        m_db->addLine(1, QStringLiteral("P001"), 1000, 1);
        m_db->addLine(2, QStringLiteral("P001"), 1000, 1);
    }
    void cleanup() { m_db.reset(); }

    void twoViewsOfOneProcess()
    {
        QObject owner;
        const auto views = DataModel::SetupAll(&owner);
        const auto& b = views.barang;
        const auto& s = views.penjualan;
        b.Barang->Edit();  // line 1
        b.BarangBanyakBarang->SetAsReal(5);
        QVERIFY(isLockError([&] { s.Penjualan->Edit(); }));
        QCOMPARE(s.Penjualan->State(), dsBrowse);
        QVERIFY(isLockError([&] { s.Penjualan->Delete(); }));
        QCOMPARE(m_db->count(QStringLiteral("DataBarang")), 2);
        s.Penjualan->Next();  // line 2 is free
        s.Penjualan->Edit();
        s.Penjualan->Cancel();
        b.Barang->Post();  // releases the lock
        s.Penjualan->First();
        s.Penjualan->Edit();
        QCOMPARE(s.PenjualanBanyakBarang->AsReal(), 5.0);  // re-read with the lock
        s.Penjualan->Delete();
        QCOMPARE(m_db->count(QStringLiteral("DataBarang")), 1);
    }

    void twoProcessesAndADeadHolder()
    {
        QObject owner;
        QProcess* child = startSelf(&owner, QStringLiteral("--hold-lock"));
        QVERIFY(child->waitForReadyRead(20000));
        QCOMPARE(child->readLine().trimmed(), QByteArray("locked"));
        auto s = DataModel::SetupPenjualan(&owner);
        s.Penjualan->Open();
        QVERIFY(isLockError([&] { s.Penjualan->Edit(); }));
        QVERIFY(isLockError([&] { s.Penjualan->Delete(); }));
        QCOMPARE(m_db->count(QStringLiteral("DataBarang")), 2);
        ::kill(pid_t(child->processId()), SIGKILL);
        QVERIFY(child->waitForFinished(20000));
        // The dead holder's lock is gone (a server notices the closed connection a moment later).
        QTRY_VERIFY_WITH_TIMEOUT(!isLockError([&] { s.Penjualan->Edit(); }), 10000);
        QCOMPARE(s.Penjualan->State(), dsEdit);
        s.Penjualan->Cancel();
    }

    void killedWhilePosting()
    {
        m_db->exec(QStringLiteral("DELETE FROM \"DataBarang\""));
        QObject owner;
        QProcess* child = startSelf(&owner, QStringLiteral("--post-forever"));
        QByteArray reported;
        while (reported.count('\n') < 300 && child->waitForReadyRead(20000))
            reported += child->readAllStandardOutput();
        ::kill(pid_t(child->processId()), SIGKILL);
        QVERIFY(child->waitForFinished(20000));
        reported += child->readAllStandardOutput();
        QList<QByteArray> lines = reported.split('\n');
        lines.removeLast();  // text after the last line break is not a complete report
        QVERIFY(lines.size() >= 300);
        if (!m_db->isPostgres())
            QCOMPARE(m_db->exec(QStringLiteral("PRAGMA integrity_check")), QVariantList{QStringLiteral("ok")});
        const QSet<int> stored = [&] {
            QSet<int> numbers;
            for (const QVariant& value : m_db->exec(QStringLiteral("SELECT \"No Pesanan\" FROM \"DataBarang\"")))
                numbers.insert(value.toInt());
            return numbers;
        }();
        for (const QByteArray& line : lines)
            QVERIFY2(stored.contains(line.toInt()), line.constData());
        // The file opens through a view and takes new posts.
        auto s = DataModel::SetupPenjualan(&owner);
        s.Penjualan->Open();
        s.Penjualan->Last();
        s.Penjualan->Insert();
        s.PenjualanNoPesanan->SetAsReal(1e6);
        s.Penjualan->Post();
    }

private:
    std::unique_ptr<TestDatabase> m_db;
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc > 1 && qstrcmp(argv[1], "--hold-lock") == 0)
        return holdLock();
    if (argc > 1 && qstrcmp(argv[1], "--post-forever") == 0)
        return postForever();
    TestRecordLock test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_RecordLock.moc"
