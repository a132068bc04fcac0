// Mouse buttons, the shift-state set, and the mouse events that carry them.
#pragma once

#include "toolkit/Events.h"

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// The shift-state set: one bit per member, in this order.
using TShiftState = unsigned;
enum TShiftStateMember : unsigned {
    ssShift = 1u << 0,
    ssAlt = 1u << 1,
    ssCtrl = 1u << 2,
    ssLeft = 1u << 3,
    ssRight = 1u << 4,
    ssMiddle = 1u << 5,
    ssDouble = 1u << 6,
};

using TMouseEvent = TEvent<TMouseButton /*Button*/, TShiftState /*Shift*/, int /*X*/, int /*Y*/>;
using TMouseMoveEvent = TEvent<TShiftState /*Shift*/, int /*X*/, int /*Y*/>;
