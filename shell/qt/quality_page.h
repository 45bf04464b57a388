#pragma once
// The Quality page of the settings sheet. It edits a working copy of the
// quality settings, one plot kind at a time; Apply hands the copy back.
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <functional>

#include "plot/settings.h"

namespace vx {

class QualityPage : public QWidget {
    Q_OBJECT
public:
    QualityPage(const QualitySettings& live, int startKind, std::function<void(const QualitySettings&)> apply,
                QWidget* parent = nullptr);

    // Selects a kind (a plot of that kind was shown) and refreshes the page.
    void showKind(int kind);
    int selectedKind() const { return kind_; }
    const QualitySettings& workingCopy() const { return copy_; }

    QString countText() const { return count_->text(); }
    QString firstValueText() const { return first_->text(); }
    QString secondValueText() const { return second_->text(); }
    bool secondValueEnabled() const { return second_->isEnabled(); }
    QString groupTitle() const { return box_->title(); }
    // "<<", "<", ">", ">>" of the first (row 0) or second (row 1) value.
    QPushButton* stepButton(int row, int index) const { return steps_[row][index]; }
    QPushButton* namedButton(const QString& text) const;
    QCheckBox* streams() const { return streams_; }
    QButtonGroup* kinds() const { return kinds_; }

private:
    void refresh();

    QualitySettings copy_;
    int kind_ = 0;
    std::function<void(const QualitySettings&)> apply_;
    QButtonGroup* kinds_;
    QGroupBox* box_;
    QLabel* firstLabel_;
    QLabel* secondLabel_;
    QLineEdit* first_;
    QLineEdit* second_;
    QPushButton* steps_[2][4];
    QLabel* count_;
    QCheckBox* streams_;
};

}  // namespace vx
