// Names the instances of a contract suite after their worlds ("Fake", "Posix", "Win32").
#pragma once

#include <string>

struct WorldNames {
    template <typename World>
    static std::string GetName(int)
    {
        return World::name;
    }
};
