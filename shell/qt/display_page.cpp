#include "shell/qt/display_page.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "shell/qt/action_set.h"
#include "shell/settings_model.h"

namespace vx {

namespace {

QGroupBox* group(const QString& title, std::initializer_list<QWidget*> items) {
    auto* box = new QGroupBox(title);
    auto* layout = new QVBoxLayout(box);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->setSpacing(0);
    for (QWidget* w : items) layout->addWidget(w);
    layout->addStretch();
    return box;
}

}  // namespace

DisplayPage::DisplayPage(DisplaySettings& settings, std::function<void()> repaint, QWidget* parent)
    : QWidget(parent), settings_(settings), repaint_(std::move(repaint)), lighting_(new QButtonGroup(this)) {
    setObjectName("display_page");
    QCheckBox* antiAlias = addCheck("Anti-Alias", "antiAlias", &DisplaySettings::antiAlias);
    QCheckBox* constrain = addCheck("Constrain Proportions", "constrainProportions", &DisplaySettings::constrainProportions);
    QCheckBox* axes2D = addCheck("Axes", "axes2D", &DisplaySettings::axes2D);
    QCheckBox* color2D = addCheck("Color", "color2D", &DisplaySettings::color2D);
    QCheckBox* grid = addCheck("Grid", "grid", &DisplaySettings::grid);
    QCheckBox* axes3D = addCheck("Axes", "axes3D", &DisplaySettings::axes3D);
    QCheckBox* color3D = addCheck("Color", "color3D", &DisplaySettings::color3D);
    QCheckBox* solid = addCheck("Solid", "solid", &DisplaySettings::solid);
    QCheckBox* heads = addCheck("Heads", "vectorHeads", &DisplaySettings::vectorHeads);
    QCheckBox* vectorColor = addCheck("Color", "vectorColor", &DisplaySettings::vectorColor);

    QWidget* lightingButtons[3];
    const char* lightingNames[] = {"None", "Flat", "Smooth"};
    for (int k = 0; k < 3; ++k) {
        auto* button = new QRadioButton(lightingNames[k]);
        button->setObjectName(QString("lighting") + lightingNames[k]);
        lighting_->addButton(button, k);
        lightingButtons[k] = button;
    }
    connect(lighting_, &QButtonGroup::idClicked, this, [this](int id) {
        if (refreshing_) return;
        settings_.lighting = id;
        changed();
    });

    auto* columns = new QHBoxLayout;
    columns->setSpacing(4);
    auto* left = new QVBoxLayout;
    left->addWidget(group("General", {antiAlias, constrain}));
    auto* pairs = new QHBoxLayout;
    pairs->addWidget(group("2D Options", {axes2D, color2D}));
    pairs->addWidget(group("Vector Opts", {heads, vectorColor}));
    left->addLayout(pairs);
    columns->addLayout(left);
    columns->addWidget(group("3D Options", {grid, axes3D, color3D, solid}));
    columns->addWidget(group("Lighting", {lightingButtons[0], lightingButtons[1], lightingButtons[2]}));

    auto* sliders = new QGridLayout;
    sliders->setVerticalSpacing(0);
    sliders->addWidget(addSlider("Opacity: ", "opacity", &DisplaySettings::opacity, false), 0, 0);
    sliders->addWidget(addSlider("Intensity: ", "intensity", &DisplaySettings::intensity, false), 0, 1);
    sliders->addWidget(addSlider("Zoom: ", "zoom", &DisplaySettings::zoom, false), 1, 0);
    sliders->addWidget(addSlider("FOV: ", "fov", &DisplaySettings::fov, true), 1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(2);
    layout->addLayout(columns);
    layout->addLayout(sliders);
    refresh();
}

QCheckBox* DisplayPage::addCheck(const QString& text, const QString& name, std::int32_t DisplaySettings::*field) {
    auto* box = new QCheckBox(text);
    box->setObjectName(name);
    connect(box, &QCheckBox::toggled, this, [this, field](bool on) {
        if (refreshing_) return;
        settings_.*field = on ? 1 : 0;
        changed();
    });
    checks_.push_back({box, field});
    return box;
}

QWidget* DisplayPage::addSlider(const QString& text, const QString& name, std::int32_t DisplaySettings::*field,
                                bool degrees) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* slider = new QSlider(Qt::Horizontal);
    slider->setObjectName(name);
    SliderRange range = degrees ? kFovSlider : kPercentSlider;
    slider->setRange(range.minimum, range.maximum);
    slider->setSingleStep(range.lineStep);
    slider->setPageStep(range.pageStep);
    auto* label = new QLabel;
    label->setObjectName(name + "Label");
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance("100%") + 2);
    layout->addWidget(new QLabel(text));
    layout->addWidget(slider, 1);
    layout->addWidget(label);
    connect(slider, &QSlider::valueChanged, this, [this, field, label, degrees](int value) {
        label->setText(toQString(degrees ? fovLabel(value) : percentLabel(value)));
        if (refreshing_) return;
        settings_.*field = value;
        changed();
    });
    sliders_.push_back({slider, label, field, degrees});
    return row;
}

void DisplayPage::refresh() {
    refreshing_ = true;
    for (const Check& c : checks_) c.box->setChecked(settings_.*c.field != 0);
    if (QAbstractButton* b = lighting_->button(settings_.lighting)) b->setChecked(true);
    for (const Slider& s : sliders_) {
        s.slider->setValue(settings_.*s.field);
        int shown = s.slider->value();
        s.label->setText(toQString(s.degrees ? fovLabel(shown) : percentLabel(shown)));
    }
    refreshing_ = false;
}

void DisplayPage::showEvent(QShowEvent* e) {
    refresh();
    QWidget::showEvent(e);
}

void DisplayPage::changed() {
    if (repaint_) repaint_();
}

QCheckBox* DisplayPage::checkBox(const QString& name) const { return findChild<QCheckBox*>(name); }
QSlider* DisplayPage::slider(const QString& name) const { return findChild<QSlider*>(name); }
QLabel* DisplayPage::valueLabel(const QString& name) const { return findChild<QLabel*>(name + "Label"); }

}  // namespace vx
