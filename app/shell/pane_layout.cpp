// Stacking of the two content panes.
#include "app/shell/pane_layout.h"

PanePlacement splitContentArea(const PaneRect& content, unsigned long layoutValue)
{
    const int half = (content.bottom - content.top) / 2;
    const PaneRect upper = {content.left, content.top, content.right, content.top + half};
    const PaneRect lower = {content.left, content.top + half + 1, content.right,
                            content.top + half + 1 + half};
    if (layoutValue == 0)
        return {upper, lower};
    return {lower, upper};
}
