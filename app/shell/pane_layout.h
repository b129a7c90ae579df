// Placement of the description panel and the tree in the content area.
#pragma once

struct PaneRect {
    int left, top, right, bottom;
};

struct PanePlacement {
    PaneRect panel;
    PaneRect tree;
};

// The content area holds two panes of equal height (integer half), one pixel
// apart. Layout value 0 puts the panel above; any other value the tree.
PanePlacement splitContentArea(const PaneRect& content, unsigned long layoutValue);
