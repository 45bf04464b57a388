#pragma once
// The Display page of the settings sheet: check boxes, lighting buttons and
// sliders that change the display settings at once and repaint the plot.
#include <QButtonGroup>
#include <QCheckBox>
#include <QLabel>
#include <QSlider>
#include <QWidget>
#include <functional>
#include <vector>

#include "plot/settings.h"

namespace vx {

class DisplayPage : public QWidget {
    Q_OBJECT
public:
    DisplayPage(DisplaySettings& settings, std::function<void()> repaint, QWidget* parent = nullptr);

    // Shows the current settings (they change outside the page, e.g. by Zoom In).
    void refresh();

    QCheckBox* checkBox(const QString& objectName) const;
    QSlider* slider(const QString& objectName) const;
    QLabel* valueLabel(const QString& objectName) const;
    QButtonGroup* lighting() const { return lighting_; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    struct Check {
        QCheckBox* box;
        std::int32_t DisplaySettings::*field;
    };
    struct Slider {
        QSlider* slider;
        QLabel* label;
        std::int32_t DisplaySettings::*field;
        bool degrees;
    };

    QCheckBox* addCheck(const QString& text, const QString& name, std::int32_t DisplaySettings::*field);
    QWidget* addSlider(const QString& text, const QString& name, std::int32_t DisplaySettings::*field, bool degrees);
    void changed();

    DisplaySettings& settings_;
    std::function<void()> repaint_;
    std::vector<Check> checks_;
    std::vector<Slider> sliders_;
    QButtonGroup* lighting_;
    bool refreshing_ = false;
};

}  // namespace vx
