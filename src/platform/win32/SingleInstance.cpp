// Win32 only. The single-copy mark.
#include "platform/win32/SingleInstance.h"

SingleInstance::SingleInstance(const char* name)
    : mutex_(::CreateMutexA(nullptr, FALSE, name)), first_(!mutex_ || ::GetLastError() != ERROR_ALREADY_EXISTS)
{
}
