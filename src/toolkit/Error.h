// The toolkit's error class, and the text rule of the standard error box.
#pragma once

#include <exception>
#include <string>

// An error meant for the user: its message is shown as it stands.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    const std::string& Message() const { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

// A stream could not give the bytes asked of it.
class EReadError : public Exception {
public:
    using Exception::Exception;
};

// The system could not supply a resource (a timer, a window).
class EOutOfResources : public Exception {
public:
    using Exception::Exception;
};

// The message as the standard error box shows it: a period is appended when
// the last character sorts after ".".
std::string ErrorBoxText(const std::string& message);

// A value could not be converted or assigned.
class EConvertError : public Exception {
public:
    using Exception::Exception;
};

// A file operation failed; ErrorCode is the system's error code.
class EInOutError : public Exception {
public:
    explicit EInOutError(int errorCode);
    int ErrorCode;
};
