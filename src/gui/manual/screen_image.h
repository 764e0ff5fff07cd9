#pragma once
// Pictures of what the consultant sees, for the manual: the 80 x 25 text
// screen drawn by the window's own console painter, and a message box of
// the window drawn over it.

#include <QImage>
#include <QString>

namespace vantu::manual {

// The text screen as the window paints it, in the console font at `points`.
QImage PaintScreen(int points = 14);

// `screen` with the window's message box (caption, text) on it, centred
// across and below the middle.
QImage WithMessageBox(const QImage& screen, const QString& caption, const QString& text,
                      bool warning);

}  // namespace vantu::manual
