#pragma once

#include "data/Exceptions.h"

// Errors of the report output: a misuse of the output object or a prepared
// report file that cannot be read.
class ERepError : public Exception {
public:
    using Exception::Exception;
};
