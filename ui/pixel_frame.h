// Black frames around the board and the selection pictures, filled rather
// than stroked. A stroked line on a whole pixel straddles two device pixels
// on a scaled screen: it leaves a seam on one side of what it frames and eats
// into the other. A filled rectangle of whole pixels covers exactly its own
// device pixels at every scale.
#pragma once

#include <QColor>
#include <QPainter>
#include <QRect>

namespace quellon {

// A frame `width` pixels thick along the inside of `outer`.
inline void fillFrame(QPainter& painter, const QRect& outer, int width, const QColor& colour)
{
    painter.fillRect(QRect(outer.left(), outer.top(), outer.width(), width), colour);
    painter.fillRect(QRect(outer.left(), outer.bottom() - width + 1, outer.width(), width), colour);
    painter.fillRect(QRect(outer.left(), outer.top(), width, outer.height()), colour);
    painter.fillRect(QRect(outer.right() - width + 1, outer.top(), width, outer.height()), colour);
}

}  // namespace quellon
