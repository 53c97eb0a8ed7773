#pragma once
// Placing top-level windows by their frame (border and title bar included). An X11
// window manager frames a window only after it is mapped, so right after show() the
// frame is not known yet: a placement made then is made again, once, when the frame
// the window manager reports changes. Later moves by the user are left alone.
class QWidget;

namespace plat {

// The frame's centre on the centre of the screen's work area; with outerHeight > 0 the
// window's height, frame included, is that first.
void centreFrameOnScreen(QWidget* window, int outerHeight = 0);
// Outer height outerHeight, top edge of the frame at the screen's top; the left edge
// stays.
void placeFrameAtTop(QWidget* window, int outerHeight);

}  // namespace plat
