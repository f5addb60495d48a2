// Hostile input through the dataset layer and the alias file: values with
// quotes, semicolons, percent signs, NUL characters and non-ASCII text are
// stored and read back unchanged (or cut to the field size) and never become
// SQL text; key searches take them literally; odd alias files give a clear
// error.

#include "TestDatabase.h"

#include "data/DataModel.h"
#include "data/SqliteEngine.h"

#include <QSqlDriver>
#include <QtTest>

#include <sqlite3.h>

namespace {

// Every value below carries this mark, so that SQL text holding a value
// would show.
const QString Mark = QStringLiteral("QZX");

// The SQL text of every statement the engine's connection runs, as prepared.
class StatementLog {
public:
    explicit StatementLog(const QString& path)
    {
        const QVariant handle = QSqlDatabase::database(QStringLiteral("pwangsa:") + path, false).driver()->handle();
        m_handle = *static_cast<sqlite3* const*>(handle.constData());
        sqlite3_trace_v2(m_handle, SQLITE_TRACE_STMT, &StatementLog::traced, this);
    }
    ~StatementLog() { sqlite3_trace_v2(m_handle, 0, nullptr, nullptr); }
    QStringList statements;

private:
    static int traced(unsigned, void* context, void*, void* sql)
    {
        static_cast<StatementLog*>(context)->statements.append(QString::fromUtf8(static_cast<const char*>(sql)));
        return 0;
    }
    sqlite3* m_handle = nullptr;
};

QString withNul()
{
    QString text = Mark + QStringLiteral("a");
    text += QChar(0);
    return text + QStringLiteral("b");
}

QString engineMessage(const std::function<void()>& action)
{
    try {
        action();
    } catch (const EDBEngineError& error) {
        return QString::number(error.ErrorCode()) + QLatin1Char(' ') + error.message();
    }
    return QString();
}

void writeAliasFile(const QByteArray& content)
{
    QDir().mkpath(QFileInfo(AliasConfig::configFile()).absolutePath());
    QFile file(AliasConfig::configFile());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

}

class TestHostileInput : public QObject {
    Q_OBJECT

private slots:
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

    void valuesRoundTripAndNeverBecomeSql_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        const QString quotes = Mark + QStringLiteral("O'Neil \"Toko\" `x`");
        const QString injection = Mark + QStringLiteral("');DROP TABLE DataBarang;--");
        const QString percent = Mark + QStringLiteral("100% _a_ %s %n \\");
        const QString foreign = Mark + QStringLiteral("Tôko Ümit 東京 🍺 ١٢٣");
        QTest::newRow("quotes") << quotes << quotes;
        QTest::newRow("semicolons and SQL") << injection << injection;
        QTest::newRow("percent, underscore, backslash") << percent << percent;
        QTest::newRow("NUL character") << withNul() << withNul();
        QTest::newRow("non-ASCII") << foreign << foreign;
        QTest::newRow("longer than the field") << Mark + QString(40, QLatin1Char('x'))
                                               << Mark + QString(27, QLatin1Char('x'));
    }
    void valuesRoundTripAndNeverBecomeSql()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        auto v = DataModel::SetupPelanggan(m_owner.get());
        v.Pelanggan->Open();
        StatementLog log(m_db->path());
        v.Pelanggan->Insert();
        v.PelangganKodePelanggan->SetAsString(QStringLiteral("H1"));
        v.PelangganAlamat->SetAsString(typed);
        v.Pelanggan->Post();
        v.Pelanggan->Edit();
        v.PelangganNoTelepon->SetAsString(typed);
        v.Pelanggan->Post();
        QVERIFY(v.Pelanggan->FindByKey({QStringLiteral("Kode Pelanggan")}, QStringLiteral("H1")));
        QVERIFY(!log.statements.isEmpty());
        for (const QString& sql : std::as_const(log.statements))
            QVERIFY2(!sql.contains(Mark), qPrintable(sql));

        QCOMPARE(m_db->exec(QStringLiteral("SELECT Alamat FROM DataPelanggan")).value(0).toString(), stored);
        QCOMPARE(m_db->exec(QStringLiteral("SELECT \"No Telepon\" FROM DataPelanggan")).value(0).toString(),
                 stored.left(14));
        QCOMPARE(m_db->count(QStringLiteral("DataBarang")), qint64(0)); // the table is still there
        m_owner = std::make_unique<QObject>();
        closeAllDatabases();
        auto fresh = DataModel::SetupPelanggan(m_owner.get());
        fresh.Pelanggan->Open();
        QCOMPARE(fresh.PelangganAlamat->AsString(), stored);
    }

    // Partial key searches take "%", "_" and characters beyond 16 bits as
    // themselves.
    void keySearchTakesValuesLiterally()
    {
        for (const QString& code : {QStringLiteral("ABC"), QStringLiteral("A%C"), QStringLiteral("A_C"),
                                    QStringLiteral("AB🍺"), QStringLiteral("🍺X"), QStringLiteral("🍺🍺")})
            m_db->addCustomer(code, code);
        auto v = DataModel::SetupPelanggan(m_owner.get());
        v.Pelanggan->Open();
        const QStringList key{QStringLiteral("Kode Pelanggan")};
        const auto found = [&](const QString& prefix, TLocateOptions options) {
            return v.Pelanggan->FindByKey(key, prefix, options | int(TLocateOption::loPartialKey))
                ? v.PelangganKodePelanggan->AsString() : QString();
        };
        QCOMPARE(found(QStringLiteral("A%"), 0), QStringLiteral("A%C"));
        QCOMPARE(found(QStringLiteral("A_"), 0), QStringLiteral("A_C"));
        QCOMPARE(found(QStringLiteral("a_"), int(TLocateOption::loCaseInsensitive)), QStringLiteral("A_C"));
        QCOMPARE(found(QStringLiteral("🍺"), 0), QStringLiteral("🍺X"));
        QCOMPARE(found(QStringLiteral("🍺🍺"), 0), QStringLiteral("🍺🍺"));
        QCOMPARE(found(QStringLiteral("AB🍺"), int(TLocateOption::loCaseInsensitive)), QStringLiteral("AB🍺"));
        QCOMPARE(found(QStringLiteral("%"), 0), QString());
    }

    // Odd alias files: the alias is not found or its file cannot be opened,
    // with a clear error naming why; nothing crashes.
    void oddAliasFiles_data()
    {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QString>("error");
        QTest::newRow("empty") << QByteArray() << QStringLiteral("10038 Unknown database alias: Dor");
        QTest::newRow("binary") << QByteArray("\x00\xff\xfe[\x01\n\x80=\x00", 10)
                                << QStringLiteral("10038 Unknown database alias: Dor");
        QTest::newRow("unclosed group") << QByteArray("[Dor\npath=/tmp\n")
                                        << QStringLiteral("10039 Database file not found: /tmp");
        QTest::newRow("other driver") << QByteArray("[Dor]\ndriver=oracle\npath=/tmp/x\n")
                                      << QStringLiteral("10038 Unsupported database driver 'oracle' for alias Dor");
        QTest::newRow("no path") << QByteArray("[Dor]\ndriver=sqlite\n")
                                 << QStringLiteral("10039 Database alias Dor names no file");
        QTest::newRow("a folder") << QByteArray("[Dor]\npath=/tmp\n")
                                  << QStringLiteral("10039 Database file not found: /tmp");
        QTest::newRow("not a database") << QByteArray("[Dor]\npath=@SELF@\n")
                                        << QStringLiteral("13059 Database error.\nThe file is not a database.");
    }
    void oddAliasFiles()
    {
        QFETCH(QByteArray, content);
        QFETCH(QString, error);
        closeAllDatabases();
        content.replace("@SELF@", QFile::encodeName(AliasConfig::configFile()));
        writeAliasFile(content);
        const QString message = engineMessage([] { openDatabase(QStringLiteral("Dor")); });
        QVERIFY2(message.startsWith(error), qPrintable(message));
    }

    // A path with blanks, quotes, semicolons, percent signs and non-ASCII
    // characters, written to the alias file, is read back as it was, and the
    // file it names opens.
    void oddDatabasePathRoundTrips()
    {
        const QString path = m_db->dir() + QStringLiteral("/Toko \"A\"; 100% [x] = 東京 #1.sqlite");
        QVERIFY(QFile::copy(m_db->path(), path));
        AliasConfig::write(QStringLiteral("Odd"), AliasConfig::Alias{QStringLiteral("sqlite"), path});
        QCOMPARE(AliasConfig::find(QStringLiteral("Odd"))->path, path);
        QCOMPARE(openDatabase(QStringLiteral("Odd"))->path(), path);
    }

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<QObject> m_owner;
};

QTEST_GUILESS_MAIN(TestHostileInput)
#include "tst_HostileInput.moc"
