#pragma once
// The thin bar between the output and the input pane. Dragging it reports
// the pointer's position; the tab area turns that into the input height.
#include <QFrame>

namespace vx {

class SplitterBar : public QFrame {
    Q_OBJECT
public:
    explicit SplitterBar(QWidget* parent = nullptr);

Q_SIGNALS:
    void dragged(QPoint globalPosition);
    void released();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    bool dragging_ = false;
};

}  // namespace vx
