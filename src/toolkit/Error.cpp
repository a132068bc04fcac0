// The standard error box's text rule.
#include "toolkit/Error.h"

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
    case 2: return "File not found";
    case 3: return "Path not found";
    case 4: return "Too many open files";
    case 5: return "File access denied";
    case 38: return "Read beyond end of file";
    default: return "I/O error " + std::to_string(code);
    }
}

} // namespace

EInOutError::EInOutError(int errorCode) : Exception(inOutErrorText(errorCode)), ErrorCode(errorCode) {}
