// pwangsa-admin over real files: init with and without demonstration data,
// refusing to overwrite, the operator account and its password hash, passwd,
// and clear errors for bad input.

#include "AdminProcess.h"
#include "TestDatabase.h"

#include "data/DataModel.h"
#include "data/OperatorAccount.h"
#include "data/Pbkdf2.h"

#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

#include "TemporaryHome.h"

using Run = AdminRun;

class TestAdmin : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        useTemporaryHome(*m_dir);
    }
    void cleanup()
    {
        closeAllDatabases();
        m_dir.reset();
    }

    void pbkdf2KnownVectors()
    {
        QCOMPARE(pbkdf2Sha256("passwd", "salt", 1, 64).toHex(),
                 QByteArray("55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc"
                            "49ca9cccf179b645991664b39d77ef317c71b845b1e30bd509112041d3a19783"));
        QCOMPARE(pbkdf2Sha256("Password", "NaCl", 80000, 64).toHex(),
                 QByteArray("4ddcd8f60b98be21830cee5ef22701f9641a4418d04c0414aeff08876b34ab56"
                            "a1d425a1225833549adb841b51c9b3176a272bdebba1d078478f62b397f33c8d"));
    }

    void initDemo()
    {
        const Run result = admin({QStringLiteral("init"), QStringLiteral("--demo")});
        QCOMPARE(result.code, 0);
        QVERIFY(result.out.contains(QStringLiteral("ADMIN")));
        const auto alias = AliasConfig::find(QStringLiteral("Dor"));
        QVERIFY(alias);
        QCOMPARE(alias->path, AliasConfig::defaultDatabasePath());
        QVERIFY(OperatorAccount::accepts(QStringLiteral("ADMIN"), QStringLiteral("wangsa")));
        QVERIFY(!OperatorAccount::accepts(QStringLiteral("ADMIN"), QStringLiteral("wangsa ")));
        QVERIFY(!OperatorAccount::accepts(QStringLiteral("admin"), QStringLiteral("wangsa")));
        QCOMPARE(OperatorAccount::name(), QStringLiteral("ADMIN"));
        QVERIFY(!readFile(alias->path).contains("wangsa"));  // only a salted hash is stored

        QObject owner;
        const auto views = DataModel::SetupAll(&owner);
        const auto& p = views.pelanggan;
        const auto& s = views.penjualan;
        QCOMPARE(p.Pelanggan->RecordCount(), 20);
        const QRegularExpression phone(QStringLiteral("^\\(\\d{3}\\)\\d{3}-\\d{4}$"));
        for (p.Pelanggan->First(); !p.Pelanggan->Eof(); p.Pelanggan->Next()) {
            QVERIFY(phone.match(p.PelangganNoTelepon->AsString()).hasMatch());
            QCOMPARE(p.PelangganNamaPelanggan->AsString(), p.PelangganNamaPelanggan->AsString().toUpper());
            QVERIFY(!p.PelangganAlamat->ValueIsNull());
        }
        QCOMPARE(p.PelangganKodePelanggan->AsString(), QStringLiteral("P020"));
        QCOMPARE(s.Penjualan->RecordCount(), 200);
        const QHash<QString, double> prices{{QStringLiteral("BOTOL A"), 18000}, {QStringLiteral("BOTOL B"), 19000},
                                            {QStringLiteral("GENGGAM"), 27500}, {QStringLiteral("KALENG"), 41000}};
        QSet<QString> types;
        int sold = 0;
        for (s.Penjualan->First(); !s.Penjualan->Eof(); s.Penjualan->Next()) {
            types.insert(s.PenjualanJenisBarang->AsString());
            QCOMPARE(s.PenjualanHargaSatuan->AsReal(), prices.value(s.PenjualanJenisBarang->AsString()));
            QVERIFY(s.PenjualanBanyakBarang->AsReal() > 0);
            QCOMPARE(s.PenjualanNoFaktur->ValueIsNull(), s.PenjualanTanggal->ValueIsNull());
            sold += s.PenjualanNoFaktur->ValueIsNull() ? 0 : 1;
            QVERIFY(p.Pelanggan->FindByKey({QStringLiteral("Kode Pelanggan")}, s.PenjualanKodePelanggan->AsString()));
        }
        QCOMPARE(types.size(), 4);
        QVERIFY(sold > 60 && sold < 140);
    }

    void refusesToOverwrite()
    {
        QCOMPARE(admin({QStringLiteral("init"), QStringLiteral("--demo")}).code, 0);
        TestDatabase::exec(AliasConfig::defaultDatabasePath(), QStringLiteral("DELETE FROM DataBarang"));
        const Run again = admin({QStringLiteral("init"), QStringLiteral("--demo")});
        QCOMPARE(again.code, 1);
        QVERIFY(again.err.contains(QStringLiteral("already exists")));
        QCOMPARE(lineCount(), 0);  // untouched
        QCOMPARE(admin({QStringLiteral("init"), QStringLiteral("--demo"), QStringLiteral("--force"),
                        QStringLiteral("--lines"), QStringLiteral("1000")})
                     .code,
                 0);
        QCOMPARE(lineCount(), 1000);
        const QVariantList outside = TestDatabase::exec(
            AliasConfig::defaultDatabasePath(),
            QStringLiteral("SELECT count(*) FROM DataBarang WHERE \"Kode Pelanggan\" NOT IN "
                           "(SELECT \"Kode Pelanggan\" FROM DataPelanggan)"));
        QCOMPARE(outside.value(0).toInt(), 0);
    }

    void accountFromStdinAndPasswd()
    {
        const QString file = m_dir->filePath(QStringLiteral("kantor.sqlite"));
        // The name is kept as the login window types it: in upper case.
        Run result = admin({QStringLiteral("init"), QStringLiteral("--user"), QStringLiteral("boss"),
                            QStringLiteral("--password-stdin"), QStringLiteral("--path"), file},
                           "rahasia 1\n");
        QCOMPARE(result.code, 0);
        QCOMPARE(AliasConfig::find(QStringLiteral("Dor"))->path, file);
        QVERIFY(OperatorAccount::accepts(QStringLiteral("BOSS"), QStringLiteral("rahasia 1")));
        QVERIFY(!OperatorAccount::accepts(QStringLiteral("ADMIN"), QStringLiteral("wangsa")));
        result = admin({QStringLiteral("passwd"), QStringLiteral("--password-stdin")}, "baru\n");
        QCOMPARE(result.code, 0);
        QVERIFY(!OperatorAccount::accepts(QStringLiteral("BOSS"), QStringLiteral("rahasia 1")));
        QVERIFY(OperatorAccount::accepts(QStringLiteral("BOSS"), QStringLiteral("baru")));
        // A second alias leaves the first alone.
        QCOMPARE(admin({QStringLiteral("init"), QStringLiteral("--demo"), QStringLiteral("--alias"),
                        QStringLiteral("Lain"), QStringLiteral("--path"), m_dir->filePath(QStringLiteral("lain.sqlite"))})
                     .code,
                 0);
        QCOMPARE(AliasConfig::find(QStringLiteral("Dor"))->path, file);
        QVERIFY(AliasConfig::find(QStringLiteral("Lain")));
    }

    void badInputLosesNothing_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<int>("code");
        QTest::newRow("negative lines") << QStringList{QStringLiteral("init"), QStringLiteral("--lines"), QStringLiteral("-5")} << QByteArray() << 2;
        QTest::newRow("stdin without user") << QStringList{QStringLiteral("init"), QStringLiteral("--password-stdin")} << QByteArray("x\n") << 2;
        QTest::newRow("empty password") << QStringList{QStringLiteral("init"), QStringLiteral("--user"), QStringLiteral("A"), QStringLiteral("--password-stdin")} << QByteArray("\n") << 1;
        // Accounts the login window could never accept (16 and 10 characters at most, no blanks around).
        const auto withUser = [](const char* name) {
            return QStringList{QStringLiteral("init"), QStringLiteral("--user"), QString::fromUtf8(name),
                               QStringLiteral("--password-stdin")};
        };
        QTest::newRow("blank in name") << withUser("A ") << QByteArray("x\n") << 2;
        QTest::newRow("long name") << withUser("ABCDEFGHIJKLMNOPQ") << QByteArray("x\n") << 2;
        QTest::newRow("long password") << withUser("A") << QByteArray("12345678901\n") << 2;
        QTest::newRow("blank around password") << withUser("A") << QByteArray(" rahasia\n") << 2;
        QTest::newRow("unknown option") << QStringList{QStringLiteral("init"), QStringLiteral("--demos")} << QByteArray() << 2;
        QTest::newRow("unknown command") << QStringList{QStringLiteral("start")} << QByteArray() << 2;
        QTest::newRow("passwd without alias") << QStringList{QStringLiteral("passwd"), QStringLiteral("--password-stdin")} << QByteArray("x\n") << 1;
    }
    void badInputLosesNothing()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(int, code);
        const Run result = admin(arguments, input);
        QCOMPARE(result.code, code);
        QVERIFY(result.err.startsWith(QStringLiteral("pwangsa-admin: ")));
        QVERIFY(!QFile::exists(AliasConfig::defaultDatabasePath()));
        QVERIFY(!AliasConfig::find(QStringLiteral("Dor")));
    }

    void helpEverywhere()
    {
        QVERIFY(admin({QStringLiteral("--help")}).out.contains(QStringLiteral("passwd")));
        for (const QString& command : {QStringLiteral("init"), QStringLiteral("passwd")}) {
            const Run result = admin({command, QStringLiteral("--help")});
            QCOMPARE(result.code, 0);
            QVERIFY(result.out.startsWith(QStringLiteral("Usage: pwangsa-admin ") + command));
            QVERIFY(result.out.contains(QStringLiteral("--password-stdin")));
        }
    }

    void programHoldsNoPassword()
    {
        const QByteArray program = readFile(QStringLiteral(PWANGSA_BIN));
        QVERIFY(!program.isEmpty());
        QVERIFY(!QRegularExpression(QStringLiteral("[^pP]wangsa")).match(QString::fromLatin1(program)).hasMatch());
    }

private:
    static Run admin(const QStringList& arguments, const QByteArray& input = QByteArray())
    {
        return runAdmin(arguments, input);
    }
    static QByteArray readFile(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static int lineCount()
    {
        return TestDatabase::exec(AliasConfig::defaultDatabasePath(), QStringLiteral("SELECT count(*) FROM DataBarang"))
            .value(0)
            .toInt();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TestAdmin)
#include "tst_Admin.moc"
