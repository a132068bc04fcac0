// The standard error box's text rule.
#include "toolkit/Error.h"

std::string ErrorBoxText(const std::string& message)
{
    // Characters compare as unsigned bytes, so every non-ASCII ending gets a period too.
    if (!message.empty() && static_cast<unsigned char>(message.back()) > '.')
        return message + '.';
    return message;
}
