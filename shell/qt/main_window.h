#pragma once
// The program's one top-level window: menus, toolbar, the tab area with
// the output and input panes or a plot, and the status bar. It starts the
// engine (user data first, then the locked start-up definitions), runs
// every command, and saves the user data when it closes.
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>

#include "engine/engine.h"
#include "plot/settings.h"
#include "plot/plot_registry.h"
#include "shell/plot_tabs.h"
#include "shell/qt/action_set.h"
#include "shell/qt/help_window.h"
#include "shell/qt/input_highlighter.h"
#include "shell/qt/pane_area.h"
#include "shell/qt/pane_output_sink.h"
#include "shell/qt/qt_plot_host.h"
#include "shell/qt/settings_sheet.h"
#include "shell/qt/statement_runner.h"
#include "shell/qt/user_data_dialog.h"
#include "shell/shell_controller.h"
#include "shell/shell_view.h"

namespace vx {

enum class FileChoice { OpenBatch, SaveInput, SaveOutput, ExportObj, ExportImage };

struct MainWindowOptions {
    QString dataDir;  // where vxopts.vxd and vxdata.vxd live
    // Shows an error message box; tests replace it to keep running.
    std::function<void(QWidget* owner, const QString& text)> errorBox;
    // Asks the user for a file; an empty answer means cancelled.
    std::function<QString(QWidget* owner, FileChoice choice, const QString& folder)> chooseFile;
    // The window's place, the splitter, the input text and the last folder
    // of a file dialog, kept from one run to the next. Empty: the user's
    // configuration folder ($XDG_CONFIG_HOME/vexalo/desktop.ini).
    QString windowSettingsPath;
};

class MainWindow : public QMainWindow, public ShellView {
    Q_OBJECT
public:
    explicit MainWindow(MainWindowOptions options, QWidget* parent = nullptr);
    ~MainWindow() override;

    void runCommand(int commandId);
    // Shift+Enter: the whole input pane on the statement thread.
    void submitInput();
    // A batch file on the statement thread, like a submission.
    void runBatch(const QString& path);
    void saveUserData();
    void loadUserData();
    bool saveInputTo(const QString& path);
    bool saveOutputTo(const QString& path);
    void setSyntaxHighlighting(bool on);
    QString inputHistoryPath() const;

    // No statement thread and no worker runs.
    bool isIdle() const { return !engine_.working.load() && !runner_.busy(); }
    Engine& engine() { return engine_; }
    OutputPane* outputPane() const { return area_->outputPane(); }
    InputPane* inputPane() const { return area_->inputPane(); }
    PaneArea* paneArea() const { return area_; }
    ActionSet* actions() const { return actions_; }
    QString statusText() const { return status_->text(); }
    SettingsSheet* settingsSheet() const { return sheet_; }
    UserDataDialog* userDataDialog() const { return userData_; }
    HelpWindow* helpWindow() const { return help_; }
    DisplaySettings& displaySettings() { return registry_.display; }
    QualitySettings& qualitySettings() { return registry_.quality; }
    PlotRegistry& plotRegistry() { return registry_; }
    bool syntaxHighlighting() const { return highlighting_; }
    ShellController& controller() { return controller_; }

    // The tab strip as the plot registry changes it (through QtPlotHost).
    void addPlotTab(int position, const QString& title);
    void removePlotTab(int position);

    // ShellView
    int tabCount() const override;
    int selectedTab() const override;
    void selectTab(int index) override;
    void setCommandEnabled(CommandId command, bool enabled) override;
    void setButtonEnabled(int button, bool enabled) override;
    void setSaveButtonMode(int mode) override;
    void showPlotArea(bool plot) override;
    void setStatusText(std::string_view text) override;
    void appendOutput(std::string_view text) override;
    void repaintPlot() override;
    void showKindOnQualityPage(int kind) override;
    bool statementRunning() const override { return runner_.busy(); }

protected:
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    void buildWindow();
    void startEngine();
    void shutdown();
    void print(const QString& text);
    void showError(const QString& text);
    QString chooseFile(FileChoice choice);
    bool savePane(const QString& path, const QString& text);
    void openBatch();
    void saveInput();
    void saveOutput();
    void exportObj();
    void openSettings(int page);
    void openUserData();
    void openHelp();
    void showAbout();
    void toggleHighlighting();
    void loadInputHistory();
    void saveInputHistory();
    // Size, position, splitter, input text and last folder of the last run,
    // or a comfortable first size on this screen.
    void restoreWindowState();
    void saveWindowState();
    // While a statement runs: the Stop control, and the status bar saying
    // how long it has been working.
    void showWorking();
    // Sets `working` and runs the body on the statement thread.
    void startStatement(std::function<void()> body);

    MainWindowOptions options_;
    Engine engine_;
    PlotRegistry& registry_;
    RegistryPlotTabs plotTabs_;
    QtPlotHost plotHost_;
    bool highlighting_ = true;
    ShellController controller_;
    ActionSet* actions_ = nullptr;
    PaneArea* area_ = nullptr;
    QLabel* status_ = nullptr;
    InputHighlighter* highlighter_ = nullptr;
    std::unique_ptr<PaneOutputSink> sink_;
    QPointer<SettingsSheet> sheet_;
    QPointer<UserDataDialog> userData_;
    QPointer<HelpWindow> help_;
    QString lastFolder_;  // empty: the user's Documents or Pictures folder
    int restoredInputHeight_ = -1;  // applied once the window has its size
    bool shutDown_ = false;
    bool historyErrorShown_ = false;
    std::vector<CatalogName> names_;  // the names as they were when last idle  // one message, not one per submission
    QElapsedTimer statementClock_;
    QString statusBeforeWorking_;
    QString workingText_;  // what showWorking() last put in the status bar
    StatementRunner runner_{engine_};  // last: joined before the rest goes
};

}  // namespace vx
