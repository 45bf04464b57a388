#include "shell/qt/splitter_bar.h"

#include <QMouseEvent>

namespace vx {

SplitterBar::SplitterBar(QWidget* parent) : QFrame(parent) {
    setObjectName("move_bar");
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setCursor(Qt::SizeVerCursor);
}

void SplitterBar::mousePressEvent(QMouseEvent* e) {
    dragging_ = e->button() == Qt::LeftButton;
}

void SplitterBar::mouseMoveEvent(QMouseEvent* e) {
    if (!dragging_) return;
    if (!(e->buttons() & Qt::LeftButton)) {
        dragging_ = false;
        Q_EMIT released();
        return;
    }
    Q_EMIT dragged(e->globalPosition().toPoint());
}

void SplitterBar::mouseReleaseEvent(QMouseEvent*) {
    if (!dragging_) return;
    dragging_ = false;
    Q_EMIT released();
}

}  // namespace vx
