// Draws a laid-out payment order on any QPainter: the printer, a PDF page or the preview.
#pragma once

#include "formlayout.h"

class QPainter;
class QPaintDevice;

namespace render {

// Draws the frame, the boxes, the 33 captions and then the 45 fields of layout. On the
// screen the edge of the sheet is drawn too and lines are 1 pixel wide; on paper they are
// 4 device pixels. Texts stand with the top of their cell at their place.
void paintForm(QPainter& painter, const FormLayout& layout);

} // namespace render
