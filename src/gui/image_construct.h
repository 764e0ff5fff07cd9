#pragma once
// The console's pictures: child labels over the grid, one per image slot
// of the console (Screen().images), at the slot's cell rectangle. The
// program draws its pictures itself; "CONSTRUCT" is a tower crane beside a
// building going up.

#include <QImage>
#include <QString>

class QWidget;

namespace vantu::gui {

// The picture of a slot name, `width` x `height` pixels; a null image for
// a name the program does not know.
QImage PaintConsoleImage(const QString& name, int width, int height);

// Creates, moves and removes the labels of `console` to match the slots.
void SyncConsoleImages(QWidget* console, int cellWidth, int cellHeight);

}  // namespace vantu::gui
