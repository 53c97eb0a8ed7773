#pragma once
// The gallery for reviewers: every window and dialog of the program rendered into a
// folder as PNG files, with sample content. Offscreen where there is no display; on an
// X display each picture also comes as NAME-screen.png, cut from the screen with the
// frame and title bar the window manager drew.
#include <QString>

class QWidget;

// Renders every page into dir (created when missing); answers the exit status: 0, or
// 1 when a picture could not be written.
int runGallery(const QString& dir);

// For the pages: writes window as dir/name.png (and name-screen.png on X11). The
// window is shown first when it is hidden.
void saveGalleryPicture(QWidget* window, const QString& dir, const QString& name);
// For the pages of modal dialogs: the next modal dialog opened is pictured as
// dir/name.png and then closed with its close box, so the call that opened it returns.
void pictureNextModal(const QString& dir, const QString& name);
