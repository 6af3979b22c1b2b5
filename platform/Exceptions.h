// The framework's exception kinds. Every error the framework raises is an
// Exception carrying the text shown to the user by the standard display.
#pragma once

#include <stdexcept>
#include <string>

namespace platform {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    const std::string& Message() const noexcept { return FMessage; }
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    std::string FMessage;
};

#define PLATFORM_EXCEPTION(Name, Base) \
    class Name : public Base {          \
    public:                             \
        using Base::Base;               \
    }

PLATFORM_EXCEPTION(EConvertError, Exception);
PLATFORM_EXCEPTION(EInvalidCast, Exception);
PLATFORM_EXCEPTION(ERangeError, Exception);
PLATFORM_EXCEPTION(EListError, Exception);
PLATFORM_EXCEPTION(EOutOfResources, Exception);
PLATFORM_EXCEPTION(EInvalidOperation, Exception);
PLATFORM_EXCEPTION(EComponentError, Exception);
PLATFORM_EXCEPTION(EFilerError, Exception);
PLATFORM_EXCEPTION(EReadError, EFilerError);
PLATFORM_EXCEPTION(EClassNotFound, EFilerError);
PLATFORM_EXCEPTION(EPropertyError, Exception);
PLATFORM_EXCEPTION(EResNotFound, Exception);
PLATFORM_EXCEPTION(EStreamError, Exception);
PLATFORM_EXCEPTION(EFOpenError, EStreamError);
PLATFORM_EXCEPTION(EFCreateError, EStreamError);
PLATFORM_EXCEPTION(EInvalidGraphic, Exception);
PLATFORM_EXCEPTION(EInvalidGraphicOperation, Exception);
PLATFORM_EXCEPTION(ERegistryException, Exception);

#undef PLATFORM_EXCEPTION

// Formats like the C library's sprintf, into a string.
std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace platform
