#pragma once
// Renders the run-time input, list and folder dialogs with sample content for review.
#include <QString>

// Writes one PNG per dialog into dir (which must exist): the client area under a drawn
// title strip holding the window's caption, as the window would appear.
void renderInputDialogsGallery(const QString& dir);
