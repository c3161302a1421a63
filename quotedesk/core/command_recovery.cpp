#include "quotedesk/core/command_recovery.h"

namespace qd::core {

void afterFailedCommand(QdState &g)
{
    for (qd::grid::FlexGrid &sheet : g.Grid1)
        sheet.setRedraw(true);
    if (g.ui)
        g.UI().setMousePointer(0);
}

} // namespace qd::core
