// What a command of the main program may leave behind when it stops half way through a failure:
// sheets whose drawing is switched off, the hourglass. The command guard (platform/qt) runs this
// before it shows the failure, so that the program goes on as the user knows it.
#pragma once

#include <functional>

#include "quotedesk/core/qd_state.h"

namespace qd::core {

// Every sheet drawn again and the mouse pointer back to normal.
void afterFailedCommand(QdState &g);
// The same as the recovery a form hands to the command guard.
inline std::function<void()> failedCommandRecovery(QdState &g)
{
    return [&g] { afterFailedCommand(g); };
}

} // namespace qd::core
