#include "errors/Exception.h"

#include <cxxabi.h>
#include <cstdlib>
#include <memory>
#include <typeinfo>

// Not inline, so that the return address is the code that raised the error.
__attribute__((noinline)) Exception::Exception(const QString& message)
    : m_message(message), m_utf8(message.toUtf8()), m_address(__builtin_return_address(0))
{
}

Exception::~Exception() = default;

QString Exception::className() const
{
    const char* mangled = typeid(*this).name();
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> demangled(
        abi::__cxa_demangle(mangled, nullptr, nullptr, &status), std::free);
    return QString::fromLatin1(status == 0 && demangled ? demangled.get() : mangled);
}
