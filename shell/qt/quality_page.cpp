#include "shell/qt/quality_page.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include "shell/qt/action_set.h"
#include "shell/settings_model.h"

namespace vx {

namespace {
constexpr const char* kStepTexts[] = {"<<", "<", ">", ">>"};
constexpr int kStepDeltas[] = {-10, -1, 1, 10};
}  // namespace

QualityPage::QualityPage(const QualitySettings& live, int startKind, std::function<void(const QualitySettings&)> apply,
                         QWidget* parent)
    : QWidget(parent),
      copy_(live),
      kind_(qualityPageKind(startKind)),
      apply_(std::move(apply)),
      kinds_(new QButtonGroup(this)),
      box_(new QGroupBox),
      firstLabel_(new QLabel),
      secondLabel_(new QLabel),
      first_(new QLineEdit),
      second_(new QLineEdit),
      count_(new QLabel(toQString(kCountLabelTemplate))),
      streams_(new QCheckBox("Vector Streams")) {
    setObjectName("quality_page");
    auto* kindColumn = new QVBoxLayout;
    kindColumn->setSpacing(0);
    for (const QualityKind& k : qualityKinds()) {
        auto* radio = new QRadioButton(toQString(k.radioText));
        kinds_->addButton(radio, k.kind);
        kindColumn->addWidget(radio);
    }
    kindColumn->addStretch();
    connect(kinds_, &QButtonGroup::idClicked, this, [this](int kind) { showKind(kind); });

    auto* values = new QGridLayout(box_);
    values->setContentsMargins(6, 4, 6, 4);
    values->setHorizontalSpacing(2);
    values->setVerticalSpacing(2);
    QLabel* labels[2] = {firstLabel_, secondLabel_};
    QLineEdit* fields[2] = {first_, second_};
    for (int row = 0; row < 2; ++row) {
        fields[row]->setReadOnly(true);
        fields[row]->setFixedWidth(fields[row]->fontMetrics().horizontalAdvance("0000000") + 8);
        values->addWidget(labels[row], row, 0);
        values->addWidget(fields[row], row, 1);
        for (int k = 0; k < 4; ++k) {
            auto* step = new QPushButton(kStepTexts[k]);
            step->setAutoDefault(false);
            step->setFixedWidth(step->fontMetrics().horizontalAdvance("<<") + 14);
            connect(step, &QPushButton::clicked, this, [this, row, k] {
                stepQualityValue(copy_, kind_, row == 1, kStepDeltas[k]);
                refresh();
            });
            steps_[row][k] = step;
            values->addWidget(step, row, 2 + k);
        }
    }
    values->addWidget(count_, 2, 0, 1, 6);
    values->addWidget(streams_, 3, 0, 1, 6);
    connect(streams_, &QCheckBox::clicked, this, [this] {
        copy_.vectorStreams = copy_.vectorStreams ? 0 : 1;
        refresh();
    });

    auto* presets = new QHBoxLayout;
    presets->setSpacing(2);
    const std::pair<const char*, Preset> presetButtons[] = {{"Low", Preset::Low}, {"Med", Preset::Med}, {"High", Preset::High}};
    for (const auto& [text, preset] : presetButtons) {
        auto* button = new QPushButton(text);
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, preset = preset] {
            applyQualityPreset(copy_, kind_, preset);
            refresh();
        });
        presets->addWidget(button);
    }
    auto* applyButton = new QPushButton("Apply");
    applyButton->setAutoDefault(false);
    connect(applyButton, &QPushButton::clicked, this, [this] {
        if (apply_) apply_(copy_);
    });
    presets->addSpacing(8);
    presets->addWidget(applyButton);

    auto* right = new QVBoxLayout;
    right->addWidget(box_);
    right->addLayout(presets);
    right->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(kindColumn);
    layout->addLayout(right, 1);
    refresh();
}

void QualityPage::showKind(int kind) {
    kind_ = qualityPageKind(kind);
    refresh();
}

void QualityPage::refresh() {
    const QualityKind& info = qualityKindInfo(kind_);
    if (QAbstractButton* radio = kinds_->button(kind_)) radio->setChecked(true);
    box_->setTitle(toQString(info.title));
    firstLabel_->setText(toQString(info.firstLabel));
    first_->setText(QString::number(*firstQualityValue(copy_, kind_)));
    bool hasSecond = !info.secondLabel.empty();
    secondLabel_->setText(hasSecond ? toQString(info.secondLabel) : QString("Var 2:"));
    std::int32_t* second = secondQualityValue(copy_, kind_);
    second_->setText(second ? QString::number(*second) : QString());
    for (QWidget* w : {static_cast<QWidget*>(secondLabel_), static_cast<QWidget*>(second_)}) w->setEnabled(hasSecond);
    for (QPushButton* step : steps_[1]) step->setEnabled(hasSecond);
    streams_->setChecked(copy_.vectorStreams != 0);
    count_->setText(toQString(evaluationCountLabel(copy_, kind_)));
}

QPushButton* QualityPage::namedButton(const QString& text) const {
    for (QPushButton* b : findChildren<QPushButton*>())
        if (b->text() == text) return b;
    return nullptr;
}

}  // namespace vx
