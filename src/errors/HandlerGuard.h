#pragma once

#include "errors/Exception.h"

#include <functional>
#include <utility>

// Every event handler is entered through guarded(): an error that the handler
// does not catch ends the handler and goes to the error reporter installed by
// the application (its default error report), never into Qt's event dispatch.

using ErrorReporter = std::function<void(const Exception&)>;

// Installs the reporter; returns the previous one. Without one, errors are
// written to standard error.
ErrorReporter setErrorReporter(ErrorReporter reporter);
void reportError(const Exception& error);
// Reports an exception caught by catch (...) or as std::exception.
void reportCurrentException();

template <class Handler>
void guarded(Handler&& handler) noexcept
{
    try {
        std::forward<Handler>(handler)();
    } catch (...) {
        reportCurrentException();
    }
}
