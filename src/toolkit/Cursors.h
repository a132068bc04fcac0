// The application-wide cursor table: the cursor each cursor number shows,
// for every control of the program. UI thread only.
#pragma once

#include "platform/Ui.h"

#include <map>
#include <set>
#include <string>

enum TCursor : int { crDefault = 0, crArrow = -2, crHandPoint = -21 };

class TCursors {
public:
    explicit TCursors(platform::IUi& ui) : ui_(ui) {}

    // The system cursor behind a number, unless one was installed under it.
    platform::CursorHandle Cursor(TCursor cursor) const;
    // Installs a cursor resource of the program under a number. Each resource
    // is loaded once: later calls change nothing, and a resource that cannot
    // be loaded leaves the number's cursor as it was.
    void InstallOnce(TCursor cursor, const std::string& resourceName);

private:
    platform::IUi& ui_;
    std::map<TCursor, platform::CursorHandle> installed_;
    std::set<std::string> loaded_;
};
