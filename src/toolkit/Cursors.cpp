// The cursor table.
#include "toolkit/Cursors.h"

platform::CursorHandle TCursors::Cursor(TCursor cursor) const
{
    if (auto it = installed_.find(cursor); it != installed_.end())
        return it->second;
    return cursor == crHandPoint ? ui_.handCursor() : ui_.arrowCursor();
}

void TCursors::InstallOnce(TCursor cursor, const std::string& resourceName)
{
    if (!loaded_.insert(resourceName).second)
        return;
    // A loaded cursor resource is shared by the system: it is never freed.
    if (platform::CursorHandle handle = ui_.loadCursor(resourceName); handle != platform::CursorHandle{})
        installed_[cursor] = handle;
}
