#include "plot/plot_host.h"

#include <algorithm>

namespace vx {

int HeadlessPlotHost::tabCount() {
    std::lock_guard lock(mutex_);
    return static_cast<int>(tabs_.size());
}

void HeadlessPlotHost::insertTab(int position, std::string_view title) {
    std::lock_guard lock(mutex_);
    position = std::clamp(position, 0, static_cast<int>(tabs_.size()));
    tabs_.insert(tabs_.begin() + position, std::string(title));
    // A tab strip keeps the selected page when a tab is inserted before it.
    if (position <= selected_ && tabs_.size() > 1) ++selected_;
}

void HeadlessPlotHost::removeTab(int position) {
    std::lock_guard lock(mutex_);
    if (position < 0 || position >= static_cast<int>(tabs_.size())) return;
    tabs_.erase(tabs_.begin() + position);
    if (selected_ > position) --selected_;
    else if (selected_ == position) selected_ = 0;
}

int HeadlessPlotHost::selectedTab() {
    std::lock_guard lock(mutex_);
    return selected_;
}

void HeadlessPlotHost::selectTab(int position) {
    std::lock_guard lock(mutex_);
    if (position >= 0 && position < static_cast<int>(tabs_.size())) selected_ = position;
}

void HeadlessPlotHost::setStatusText(std::string_view text) {
    {
        std::lock_guard lock(mutex_);
        statusHistory_.emplace_back(text);
    }
    if (onStatus) onStatus(text);
}

void HeadlessPlotHost::appendOutput(std::string_view text) {
    {
        std::lock_guard lock(mutex_);
        output_ += text;
    }
    if (onOutput) onOutput(text);
}

void HeadlessPlotHost::repaintPlot() {
    std::lock_guard lock(mutex_);
    ++repaints_;
}

std::vector<std::string> HeadlessPlotHost::tabs() const {
    std::lock_guard lock(mutex_);
    return tabs_;
}

std::string HeadlessPlotHost::status() const {
    std::lock_guard lock(mutex_);
    return statusHistory_.empty() ? std::string() : statusHistory_.back();
}

std::vector<std::string> HeadlessPlotHost::statusHistory() const {
    std::lock_guard lock(mutex_);
    return statusHistory_;
}

std::string HeadlessPlotHost::output() const {
    std::lock_guard lock(mutex_);
    return output_;
}

int HeadlessPlotHost::repaints() const {
    std::lock_guard lock(mutex_);
    return repaints_;
}

void HeadlessPlotHost::clearLog() {
    std::lock_guard lock(mutex_);
    statusHistory_.clear();
    output_.clear();
    repaints_ = 0;
}

}  // namespace vx
