// The standard error box's text rule.
#include "toolkit/Error.h"

#include "platform/Errors.h"

std::string ErrorBoxText(const std::string& message)
{
    // Characters compare as unsigned bytes, so every non-ASCII ending gets a period too.
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + '.';
    return message;
}

namespace {

std::string inOutErrorText(int code)
{
    switch (code) {
    case platform::errorFileNotFound: return "File not found";
    case platform::errorPathNotFound: return "Path not found";
    case platform::errorTooManyOpenFiles: return "Too many open files";
    case platform::errorAccessDenied: return "File access denied";
    case platform::errorHandleEof: return "Read beyond end of file";
    default: return "I/O error " + std::to_string(code);
    }
}

} // namespace

EInOutError::EInOutError(int errorCode) : Exception(inOutErrorText(errorCode)), ErrorCode(errorCode) {}
