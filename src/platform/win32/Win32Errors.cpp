// Win32 only. The named error numbers are the system's own.
#include "platform/Errors.h"

#include <windows.h>

static_assert(platform::errorFileNotFound == ERROR_FILE_NOT_FOUND);
static_assert(platform::errorPathNotFound == ERROR_PATH_NOT_FOUND);
static_assert(platform::errorTooManyOpenFiles == ERROR_TOO_MANY_OPEN_FILES);
static_assert(platform::errorAccessDenied == ERROR_ACCESS_DENIED);
static_assert(platform::errorInvalidHandle == ERROR_INVALID_HANDLE);
static_assert(platform::errorNotEnoughMemory == ERROR_NOT_ENOUGH_MEMORY);
static_assert(platform::errorGenFailure == ERROR_GEN_FAILURE);
static_assert(platform::errorSharingViolation == ERROR_SHARING_VIOLATION);
static_assert(platform::errorHandleEof == ERROR_HANDLE_EOF);
static_assert(platform::errorInvalidParameter == ERROR_INVALID_PARAMETER);
static_assert(platform::errorInsufficientBuffer == ERROR_INSUFFICIENT_BUFFER);
static_assert(platform::errorNoMoreItems == ERROR_NO_MORE_ITEMS);
