#include "data/Exceptions.h"
#include "errors/HandlerGuard.h"

#include <QtTest>

class TestHandlerGuard : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void errorsReachTheReporterAndNeverEscape();
    void exceptionKnowsItsKindAndMessage();
};

void TestHandlerGuard::errorsReachTheReporterAndNeverEscape()
{
    QStringList seen;
    const auto previous = setErrorReporter([&](const Exception& e) { seen << e.className() + ':' + e.message(); });
    guarded([] { throw EDatabaseError(QStringLiteral("Pelanggan: Cannot perform this operation on a closed dataset")); });
    guarded([] { throw std::runtime_error("plain"); });
    guarded([] { throw 42; });
    guarded([] {});
    setErrorReporter(previous);
    QCOMPARE(seen, QStringList({QStringLiteral("EDatabaseError:Pelanggan: Cannot perform this operation on a closed dataset"),
                                QStringLiteral("Exception:plain"), QStringLiteral("Exception:Unknown error")}));
}

void TestHandlerGuard::exceptionKnowsItsKindAndMessage()
{
    const EDBEngineError e(DBIERR_KEYVIOL, QStringLiteral("Key violation."));
    QCOMPARE(e.ErrorCode(), 9729);
    QCOMPARE(e.className(), QStringLiteral("EDBEngineError"));
    QVERIFY(e.raiseAddress() != nullptr);
    QCOMPARE(EAbort().message(), QStringLiteral("Operation aborted"));
}

QTEST_GUILESS_MAIN(TestHandlerGuard)
#include "tst_HandlerGuard.moc"
