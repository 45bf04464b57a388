#pragma once
// The modeless "Vexalo Settings" sheet with its Display and Quality pages.
#include <QDialog>
#include <QTabWidget>

#include "shell/qt/display_page.h"
#include "shell/qt/quality_page.h"

namespace vx {

class SettingsSheet : public QDialog {
    Q_OBJECT
public:
    SettingsSheet(DisplaySettings& display, const QualitySettings& quality, int startKind,
                  std::function<void()> repaint, std::function<void(const QualitySettings&)> apply,
                  QWidget* owner);

    // Shows page 0 (Display) or 1 (Quality) and takes the focus.
    void openPage(int page);
    DisplayPage* displayPage() const { return display_; }
    QualityPage* qualityPage() const { return quality_; }
    QTabWidget* pages() const { return pages_; }

private:
    void fitPage(int page);
    void placeOnScreen();

    QTabWidget* pages_;
    DisplayPage* display_;
    QualityPage* quality_;
    bool placed_ = false;
};

}  // namespace vx
