#include "errors/HandlerGuard.h"

#include <cstdio>

namespace {
ErrorReporter& reporter()
{
    static ErrorReporter current;
    return current;
}
}

ErrorReporter setErrorReporter(ErrorReporter newReporter)
{
    return std::exchange(reporter(), std::move(newReporter));
}

void reportError(const Exception& error)
{
    if (reporter())
        reporter()(error);
    else if (!dynamic_cast<const EAbort*>(&error))
        std::fprintf(stderr, "%s\n", error.what());
}

void reportCurrentException()
{
    try {
        throw;
    } catch (const Exception& error) {
        reportError(error);
    } catch (const std::exception& error) {
        reportError(Exception(QString::fromLocal8Bit(error.what())));
    } catch (...) {
        reportError(Exception(QStringLiteral("Unknown error")));
    }
}
