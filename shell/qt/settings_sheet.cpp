#include "shell/qt/settings_sheet.h"

#include <QGuiApplication>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

namespace vx {

namespace {
// Page sizes: the sheet grows or shrinks with the page shown.
const QSize kPageSizes[] = {QSize(395, 185), QSize(350, 170)};
}  // namespace

SettingsSheet::SettingsSheet(DisplaySettings& display, const QualitySettings& quality, int startKind,
                             std::function<void()> repaint, std::function<void(const QualitySettings&)> apply,
                             QWidget* owner)
    : QDialog(owner),
      pages_(new QTabWidget(this)),
      display_(new DisplayPage(display, std::move(repaint))),
      quality_(new QualityPage(quality, startKind, std::move(apply))) {
    setObjectName("settings_sheet");
    setWindowTitle("Vexalo Settings");
    // A tool window of its own beside the main window (Qt::Tool includes
    // Qt::Window: clearing it would make the sheet a child drawn inside).
    setWindowFlags(Qt::Tool);
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    pages_->addTab(display_, "Display");
    pages_->addTab(quality_, "Quality");
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(pages_);
    connect(pages_, &QTabWidget::currentChanged, this, &SettingsSheet::fitPage);
    // Escape closes the sheet wherever the focus is inside it.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &QWidget::close);
}

void SettingsSheet::placeOnScreen() {
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    // The top-left corner of the screen, the whole sheet in view.
    QRect available = screen->availableGeometry();
    QSize frame = frameGeometry().size() - geometry().size();
    resize(size().boundedTo(available.size() - frame));
    move(available.topLeft());
}

void SettingsSheet::fitPage(int page) {
    if (page < 0 || page > 1) return;
    QWidget* shown = pages_->widget(page);
    QWidget* other = pages_->widget(1 - page);
    // A page is at least its own size; the hidden one must not hold the sheet open wider.
    other->setMinimumSize(0, 0);
    other->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    shown->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
    shown->setMinimumSize(kPageSizes[page].expandedTo(shown->minimumSizeHint()));
    pages_->adjustSize();
    adjustSize();
    if (!placed_) {
        placeOnScreen();
        placed_ = true;
    }
}

void SettingsSheet::openPage(int page) {
    display_->refresh();
    pages_->setCurrentIndex(page);
    fitPage(page);
    show();
    raise();
    activateWindow();
}

}  // namespace vx
