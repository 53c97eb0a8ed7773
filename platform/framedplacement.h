#pragma once
// Placing top-level windows by their frame (border and title bar included). An X11
// window manager draws the frame only when it maps the window, so the placement is made
// again each time the window is shown, just before the map, from the frame the manager
// announces for it; where no manager announces one, it is made again, once, when the
// frame Qt reports changes. Later moves by the user are left alone.
class QWidget;

namespace plat {

// The frame's centre on the centre of the screen's work area; with outerHeight > 0 the
// window's height, frame included, is that first.
void centreFrameOnScreen(QWidget* window, int outerHeight = 0);
// Outer height outerHeight, top edge of the frame at the screen's top; the left edge
// stays.
void placeFrameAtTop(QWidget* window, int outerHeight);

}  // namespace plat
