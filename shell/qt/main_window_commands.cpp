// The command dispatcher of the main window and the commands that talk to
// files and dialogs.
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSaveFile>
#include <QStandardPaths>

#include "plot/obj_export.h"
#include "shell/qt/main_window.h"
#include "vexalo_version.h"

namespace vx {

void MainWindow::runCommand(int commandId) {
    switch (commandId) {
        case kCmdClearHistory:
            area_->outputPane()->clear();
            print("History cleared.\r\n");
            break;
        case kCmdOpenBatch: openBatch(); break;
        case kCmdSaveInput: saveInput(); break;
        case kCmdSaveOutput: saveOutput(); break;
        case kCmdExport: exportObj(); break;
        case kCmdSaveUserData: saveUserData(); break;
        case kCmdLoadUserData: loadUserData(); break;
        case kCmdExit: close(); break;
        case kCmdCloseTab: controller_.closeSelectedTab(); break;
        case kCmdCloseOtherTabs: controller_.closeOtherTabs(); break;
        case kCmdRecalculate: controller_.recalculate(); break;
        case kCmdStop: controller_.stop(); break;
        case kCmdZoomIn: controller_.zoomIn(); break;
        case kCmdZoomOut: controller_.zoomOut(); break;
        case kCmdResetView: controller_.resetView(); break;
        case kCmdDisplaySettings: openSettings(0); break;
        case kCmdQualitySettings: openSettings(1); break;
        case kCmdManageUserData: openUserData(); break;
        case kCmdSyntaxHighlighting: toggleHighlighting(); break;
        case kCmdShowHelp: openHelp(); break;
        case kCmdAbout: showAbout(); break;
        default: break;
    }
}

QString MainWindow::chooseFile(FileChoice choice) {
    // Never the program's folder: it is not writable once installed.
    QString folder = lastFolder_;
    if (folder.isEmpty()) {
        auto where = choice == FileChoice::ExportImage ? QStandardPaths::PicturesLocation
                                                       : QStandardPaths::DocumentsLocation;
        folder = QStandardPaths::writableLocation(where);
        if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::homePath();
    }
    if (options_.chooseFile) {
        QString path = options_.chooseFile(this, choice, folder);
        if (!path.isEmpty()) lastFolder_ = QFileInfo(path).absolutePath();
        return path;
    }
    QFileDialog dialog(this);
    dialog.setDirectory(folder);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    switch (choice) {
        case FileChoice::OpenBatch:
            dialog.setAcceptMode(QFileDialog::AcceptOpen);
            dialog.setFileMode(QFileDialog::ExistingFile);
            dialog.setNameFilters({"vxs (*.vxs)", "All (*.*)"});
            dialog.setDefaultSuffix("vxs");
            break;
        case FileChoice::SaveInput:
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setNameFilters({"vxs (*.vxs)", "All (*.*)"});
            dialog.setDefaultSuffix("vxs");
            break;
        case FileChoice::SaveOutput:
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setNameFilters({"txt (*.txt)", "All (*.*)"});
            dialog.setDefaultSuffix("txt");
            break;
        case FileChoice::ExportObj:
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setNameFilters({"obj (*.obj)", "All (*.*)"});
            dialog.setDefaultSuffix("obj");
            break;
        case FileChoice::ExportImage:
            dialog.setAcceptMode(QFileDialog::AcceptSave);
            dialog.setNameFilters({"png (*.png)", "All (*.*)"});
            dialog.setDefaultSuffix("png");
            break;
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    QString path = dialog.selectedFiles().first();
    lastFolder_ = QFileInfo(path).absolutePath();
    return path;
}

void MainWindow::openBatch() {
    QString path = chooseFile(FileChoice::OpenBatch);
    if (!path.isEmpty()) runBatch(path);
}

bool MainWindow::savePane(const QString& path, const QString& text) {
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(text.toUtf8());
        if (file.commit()) return true;
    }
    status_->setText("Could not write file");
    showError(QString("Error writing '%1': %2").arg(path, file.errorString()));
    return false;
}

bool MainWindow::saveInputTo(const QString& path) {
    if (!savePane(path, area_->inputPane()->toPlainText())) return false;
    status_->setText("Wrote input successfully");
    return true;
}

bool MainWindow::saveOutputTo(const QString& path) {
    if (!savePane(path, area_->outputPane()->toPlainText())) return false;
    status_->setText("Wrote output successfully");
    return true;
}

void MainWindow::saveInput() {
    QString path = chooseFile(FileChoice::SaveInput);
    if (!path.isEmpty()) saveInputTo(path);
}

void MainWindow::saveOutput() {
    QString path = chooseFile(FileChoice::SaveOutput);
    if (!path.isEmpty()) saveOutputTo(path);
}

void MainWindow::exportObj() {
    int slot = plotTabs_.shownPlot();
    if (!isExportableKind(plotTabs_.kindOfSlot(slot))) {
        status_->setText(kCannotExport);
        return;
    }
    QString path = chooseFile(FileChoice::ExportObj);
    if (path.isEmpty()) return;
    // The writer sets the status texts ("Writing OBJ file...", then the outcome).
    exportPlotObj(registry_, slot, path.toStdString());
}

void MainWindow::openSettings(int page) {
    if (!sheet_) {
        sheet_ = new SettingsSheet(
            registry_.display, registry_.quality, controller_.qualityPageStartKind(), [this] { repaintPlot(); },
            [this](const QualitySettings& copy) { controller_.applyQuality(copy); }, this);
    }
    sheet_->openPage(page);
}

void MainWindow::openUserData() {
    if (!userData_) {
        userData_ = new UserDataDialog(engine_, [this](const QString& text) { print(text); }, this);
        userData_->show();
    }
    userData_->raise();
    userData_->activateWindow();
}

void MainWindow::openHelp() {
    if (!help_) help_ = new HelpWindow(this);
    help_->show();
    help_->raise();
    help_->activateWindow();
}

void MainWindow::showAbout() {
    QMessageBox::about(this, "About Vexalo", "<b>Vexalo</b><br>" VX_VERSION_TEXT);
}

}  // namespace vx
