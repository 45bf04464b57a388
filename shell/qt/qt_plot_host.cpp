#include "shell/qt/qt_plot_host.h"

#include <QMetaObject>
#include <algorithm>
#include <QThread>

#include "shell/qt/main_window.h"

namespace vx {

QtPlotHost::QtPlotHost(MainWindow* window) : window_(window) {}

// On the window's thread the change happens now; from any other thread it
// is queued behind the changes sent before it.
template <typename F>
void QtPlotHost::onWindow(F&& f) {
    MainWindow* window = window_.data();
    if (!window) return;
    if (QThread::currentThread() == window->thread())
        f(window);
    else
        QMetaObject::invokeMethod(
            window, [window, f = std::forward<F>(f)] { f(window); }, Qt::QueuedConnection);
}

int QtPlotHost::tabCount() {
    std::lock_guard lock(mutex_);
    return static_cast<int>(tabs_.size());
}

void QtPlotHost::insertTab(int position, std::string_view title) {
    {
        std::lock_guard lock(mutex_);
        position = std::clamp(position, 1, static_cast<int>(tabs_.size()));
        tabs_.insert(tabs_.begin() + position, std::string(title));
        if (selected_ >= position) ++selected_;
    }
    QString text = QString::fromUtf8(title.data(), static_cast<qsizetype>(title.size()));
    onWindow([position, text](MainWindow* w) { w->addPlotTab(position, text); });
}

void QtPlotHost::removeTab(int position) {
    {
        std::lock_guard lock(mutex_);
        if (position <= 0 || position >= static_cast<int>(tabs_.size())) return;
        tabs_.erase(tabs_.begin() + position);
        if (selected_ == position)
            selected_ = 0;
        else if (selected_ > position)
            --selected_;
    }
    onWindow([position](MainWindow* w) { w->removePlotTab(position); });
}

int QtPlotHost::selectedTab() {
    std::lock_guard lock(mutex_);
    return selected_;
}

void QtPlotHost::selectTab(int position) {
    {
        std::lock_guard lock(mutex_);
        if (position < 0 || position >= static_cast<int>(tabs_.size())) return;
        selected_ = position;
    }
    onWindow([position](MainWindow* w) {
        w->selectTab(position);
        w->controller().tabChanged(position);
    });
}

void QtPlotHost::noteSelected(int position) {
    std::lock_guard lock(mutex_);
    selected_ = position;
}

void QtPlotHost::setStatusText(std::string_view text) {
    std::string shown(text);
    if (text == kPrecalculationFailed) {
        // The worker has just printed its message to the output pane, which
        // the plot tab hides: the status bar says it too.
        std::lock_guard lock(mutex_);
        std::string message = lastOutput_;
        while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
        if (!message.empty()) shown += "  " + message;
    }
    onWindow([shown](MainWindow* w) { w->setStatusText(shown); });
}

void QtPlotHost::appendOutput(std::string_view text) {
    std::string copy(text);
    {
        std::lock_guard lock(mutex_);
        lastOutput_ = copy;
    }
    onWindow([copy](MainWindow* w) { w->appendOutput(copy); });
}

void QtPlotHost::repaintPlot() {
    onWindow([](MainWindow* w) { w->repaintPlot(); });
}

}  // namespace vx
