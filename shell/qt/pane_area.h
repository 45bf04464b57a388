#pragma once
// The tab area: the tab strip along the top and, below it, either the
// output pane, the splitter and the input pane (the Input tab) or the plot
// area (a plot tab), placed by the shell's layout arithmetic.
#include <QTabBar>
#include <QWidget>

#include "shell/layout.h"
#include "shell/qt/input_pane.h"
#include "shell/qt/output_pane.h"
#include "shell/qt/splitter_bar.h"

namespace vx {

class PaneArea : public QWidget {
    Q_OBJECT
public:
    explicit PaneArea(QWidget* parent = nullptr);

    QTabBar* tabBar() const { return tabBar_; }
    OutputPane* outputPane() const { return output_; }
    InputPane* inputPane() const { return input_; }
    SplitterBar* splitter() const { return splitter_; }
    QWidget* plotArea() const { return plotArea_; }
    void setPlotArea(QWidget* area);

    void showPlotArea(bool plot);
    bool plotAreaShown() const { return plotShown_; }
    int inputHeight() const { return inputHeight_; }
    void setInputHeight(int height);
    void layoutPanes();

protected:
    void resizeEvent(QResizeEvent* e) override;
    void paintEvent(QPaintEvent* e) override;

private:
    void splitterDragged(QPoint globalPosition);

    QTabBar* tabBar_;
    OutputPane* output_;
    InputPane* input_;
    SplitterBar* splitter_;
    QWidget* plotArea_ = nullptr;
    int inputHeight_ = kStartInputHeight;
    bool plotShown_ = false;
    bool dragAllowed_ = true;
};

}  // namespace vx
