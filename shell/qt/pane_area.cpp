#include "shell/qt/pane_area.h"

#include <QPainter>
#include <QStyleOptionTabWidgetFrame>

namespace vx {

namespace {
constexpr int kTabStripHeight = 24;  // the panes start at y 25, one pixel below
}

PaneArea::PaneArea(QWidget* parent)
    : QWidget(parent),
      tabBar_(new QTabBar(this)),
      output_(new OutputPane(this)),
      input_(new InputPane(this)),
      splitter_(new SplitterBar(this)) {
    tabBar_->setDrawBase(false);
    tabBar_->setExpanding(false);
    tabBar_->setIconSize(QSize(16, 16));
    tabBar_->setUsesScrollButtons(true);
    output_->setObjectName("output_pane");
    input_->setObjectName("input_pane");
    connect(splitter_, &SplitterBar::dragged, this, &PaneArea::splitterDragged);
    connect(splitter_, &SplitterBar::released, this, [this] { dragAllowed_ = true; });
}

void PaneArea::setPlotArea(QWidget* area) {
    plotArea_ = area;
    plotArea_->setParent(this);
    plotArea_->setVisible(plotShown_);
    layoutPanes();
}

void PaneArea::showPlotArea(bool plot) {
    plotShown_ = plot;
    output_->setVisible(!plot);
    input_->setVisible(!plot);
    splitter_->setVisible(!plot);
    if (plotArea_) plotArea_->setVisible(plot);
    if (plot && plotArea_) plotArea_->setFocus();
    if (!plot) input_->setFocus();
}

void PaneArea::setInputHeight(int height) {
    inputHeight_ = height;
    layoutPanes();
}

void PaneArea::layoutPanes() {
    PaneLayout l = vx::layoutPanes(width(), height(), inputHeight_);
    inputHeight_ = l.inputHeight;
    auto place = [](QWidget* w, const PaneRect& r) {
        if (w) w->setGeometry(r.x, r.y, std::max(r.width, 0), std::max(r.height, 0));
    };
    tabBar_->setGeometry(2, 0, std::max(width() - 4, 0), kTabStripHeight);
    place(output_, l.output);
    place(splitter_, l.splitter);
    place(input_, l.input);
    place(plotArea_, l.plot);
}

void PaneArea::resizeEvent(QResizeEvent*) { layoutPanes(); }

void PaneArea::paintEvent(QPaintEvent*) {
    // The page frame below the tab strip, as a tab control draws it.
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = QRect(0, kTabStripHeight - 1, width(), height() - kTabStripHeight + 1);
    frame.tabBarSize = tabBar_->size();
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

void PaneArea::splitterDragged(QPoint globalPosition) {
    // The drag ends when the pointer leaves the tab area.
    if (!dragAllowed_) return;
    if (!rect().contains(mapFromGlobal(globalPosition))) {
        dragAllowed_ = false;
        return;
    }
    int inputBottom = input_->mapToGlobal(QPoint(0, input_->height())).y();
    setInputHeight(draggedInputHeight(inputBottom, globalPosition.y()));
}

}  // namespace vx
