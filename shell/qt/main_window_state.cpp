// What the main window keeps from one run to the next: its place and size,
// the splitter, the text being edited and the folder of the last file
// dialog. The user data files do not hold these: they are the window's.
#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>

#include "shell/qt/main_window.h"

namespace vx {

namespace {

constexpr QSize kComfortable(1000, 700);
constexpr QSize kSmallest(800, 560);

std::unique_ptr<QSettings> windowSettings(const QString& path) {
    if (!path.isEmpty()) return std::make_unique<QSettings>(path, QSettings::IniFormat);
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "vexalo", "desktop");
}

}  // namespace

void MainWindow::restoreWindowState() {
    std::unique_ptr<QSettings> settings = windowSettings(options_.windowSettingsPath);
    if (!restoreGeometry(settings->value("window/geometry").toByteArray())) {
        // First start: 1000 x 700, or 80 % of a small screen, never below 800 x 560.
        QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry()
                                                        : QRect(QPoint(0, 0), kComfortable);
        QSize size = kComfortable.boundedTo(screen.size() * 0.8).expandedTo(kSmallest);
        resize(size);
        move(screen.center() - QPoint(size.width() / 2, size.height() / 2));
    }
    bool ok = false;
    int inputHeight = settings->value("window/inputHeight").toInt(&ok);
    if (ok) restoredInputHeight_ = inputHeight;
    if (settings->contains("input/text")) area_->inputPane()->setPlainText(settings->value("input/text").toString());
    QString folder = settings->value("files/lastFolder").toString();
    if (!folder.isEmpty() && QDir(folder).exists()) lastFolder_ = folder;
}

void MainWindow::saveWindowState() {
    std::unique_ptr<QSettings> settings = windowSettings(options_.windowSettingsPath);
    settings->setValue("window/geometry", saveGeometry());
    settings->setValue("window/inputHeight", area_->inputHeight());
    settings->setValue("input/text", area_->inputPane()->toPlainText());
    if (!lastFolder_.isEmpty()) settings->setValue("files/lastFolder", lastFolder_);
    settings->sync();
}

}  // namespace vx
