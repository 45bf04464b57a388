#include "shell/qt/main_window.h"

#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QSaveFile>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QStatusBar>
#include <QTimer>

#include "engine/session.h"
#include "engine/name_catalog.h"
#include "engine/startup.h"
#include "shell/qt/icon_painter.h"
#include "shell/qt/plot_area.h"
#include "shell/qt/plot_gl_widget.h"
#include "shell/standard_library.h"
#include "shell/user_data_files.h"

namespace vx {

namespace {

constexpr int kWorkingTick = 200;  // ms between looks at the working flag
constexpr int kWorkingQuiet = 500;  // ms a statement runs before the status bar says so

// Courier New at 10 points, or the closest fixed-pitch face installed.
QFont paneFont() {
    QFont font("Courier New", 10, QFont::Normal);
    font.setStyleHint(QFont::TypeWriter, QFont::PreferMatch);
    font.setFixedPitch(true);
    return font;
}

}  // namespace

MainWindow::MainWindow(MainWindowOptions options, QWidget* parent)
    : QMainWindow(parent),
      options_(std::move(options)),
      registry_(vx::plotRegistry(engine_)),
      plotTabs_(registry_),
      plotHost_(this),
      controller_(engine_, *this, plotTabs_, registry_.display, registry_.quality) {
    buildWindow();
    startEngine();
    restoreWindowState();
}

MainWindow::~MainWindow() { shutdown(); }

void MainWindow::buildWindow() {
    setWindowTitle("Vexalo");
    setWindowIcon(IconPainter::applicationIcon());

    area_ = new PaneArea(this);
    setCentralWidget(area_);
    area_->tabBar()->addTab(IconPainter::inputTabIcon(), "Input");
    actions_ = new ActionSet(this);
    connect(actions_, &ActionSet::commandTriggered, this, &MainWindow::runCommand);

    QFont font = paneFont();
    for (QPlainTextEdit* pane : {static_cast<QPlainTextEdit*>(area_->outputPane()),
                                 static_cast<QPlainTextEdit*>(area_->inputPane())}) {
        pane->setFont(font);
        pane->document()->setDefaultFont(font);
        QPalette palette = pane->palette();
        palette.setColor(QPalette::Base, Qt::white);
        palette.setColor(QPalette::Text, Qt::black);
        pane->setPalette(palette);
    }

    bool glFailed = false;
    area_->setPlotArea(createPlotArea(area_, registry_, engine_, glFailed));
    if (glFailed) {
        // The program goes on without plots; this box has no icon.
        QMessageBox box(QMessageBox::NoIcon, "Error", "Could not initialize OpenGL window!", QMessageBox::Ok, this);
        if (options_.errorBox)
            options_.errorBox(this, box.text());
        else
            box.exec();
    }
    addExportImageAction(actions_->menu(Menu::File), actions_->menuItem(kCmdSaveUserData),
                         actions_->menuItem(kCmdCloseTab), area_->plotArea(),
                         [this] { return chooseFile(FileChoice::ExportImage); });

    status_ = new QLabel("Vexalo");
    status_->setObjectName("status_text");
    statusBar()->addWidget(status_, 1);
    statusBar()->setSizeGripEnabled(true);

    highlighter_ = new InputHighlighter(this);
    highlighter_->setDocument(area_->inputPane()->document());
    connect(area_->inputPane(), &InputPane::submitRequested, this, &MainWindow::submitInput);
    // A running statement may be changing the stores: its names wait.
    area_->inputPane()->setNameSources(
        [this] {
            if (isIdle()) names_ = catalogNames(engine_);
            return names_;
        },
        [this](std::string_view name) { return callTip(isIdle() ? &engine_ : nullptr, name); });
    connect(area_->tabBar(), &QTabBar::currentChanged, this, [this](int index) {
        plotHost_.noteSelected(index);
        controller_.tabChanged(index);
    });

    controller_.enterInputState();
    area_->inputPane()->setFocus();
    auto* workingTimer = new QTimer(this);
    connect(workingTimer, &QTimer::timeout, this, &MainWindow::showWorking);
    workingTimer->start(kWorkingTick);
    showWorking();
    sink_ = std::make_unique<PaneOutputSink>(area_->outputPane(),
                                             [this](const QString& text) { status_->setText(text); });
}

void MainWindow::startEngine() {
    installStandardLibrary();
    registry_.setHost(&plotHost_);
    area_->layoutPanes();
    loadUserData();
    loadInputHistory();
    runStartupDefinitions(engine_);
    engine_.output = sink_.get();
    print("Vexalo is finished loading.\n");
    print("Press F1 for help getting started.\n\n");
    status_->setText("Press Shift+Enter to submit input.");
}

void MainWindow::closeEvent(QCloseEvent* e) {
    shutdown();
    // The program ends with its window: the help, settings and user-data
    // windows go with it.
    for (QWidget* w : {static_cast<QWidget*>(help_.data()), static_cast<QWidget*>(sheet_.data()),
                       static_cast<QWidget*>(userData_.data())})
        if (w) w->close();
    e->accept();
}

void MainWindow::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    // The pane area knows its height only now; earlier the limits would cut
    // the restored splitter position.
    if (restoredInputHeight_ >= 0) area_->setInputHeight(restoredInputHeight_);
    restoredInputHeight_ = -1;
}

void MainWindow::shutdown() {
    if (shutDown_) return;
    shutDown_ = true;
    saveWindowState();
    runner_.stop();
    if (engine_.working.load()) engine_.abortRequested.store(1);
    registry_.waitForWorker();
    saveUserData();
    // The registry outlives the window's widgets: it must not call back.
    registry_.setHost(nullptr);
    engine_.output = nullptr;
}

void MainWindow::print(const QString& text) { area_->outputPane()->appendText(text); }

void MainWindow::showError(const QString& text) {
    if (options_.errorBox)
        options_.errorBox(this, text);
    else
        QMessageBox::critical(this, "Error", text);
}

void MainWindow::showWorking() {
    bool working = engine_.working.load() != 0;
    actions_->menuItem(kCmdStop)->setEnabled(working);
    actions_->button(kBtnStop)->setEnabled(working);
    if (runner_.busy() && statementClock_.isValid()) {
        qint64 ms = statementClock_.elapsed();
        if (ms < kWorkingQuiet) return;
        if (workingText_.isEmpty() || status_->text() != workingText_) statusBeforeWorking_ = status_->text();
        workingText_ = QString("Working... %1 s (press Esc or Stop to stop)").arg(ms / 1000);
        status_->setText(workingText_);
        return;
    }
    statementClock_.invalidate();
    if (!workingText_.isEmpty() && status_->text() == workingText_) status_->setText(statusBeforeWorking_);
    workingText_.clear();
}

void MainWindow::startStatement(std::function<void()> body) {
    engine_.working.store(1);
    statementClock_.start();
    runner_.start(std::move(body));
    showWorking();  // Stop at once, not at the next tick
}

void MainWindow::submitInput() {
    if (!isIdle()) {
        print("Error: Already Working\r\n");
        return;
    }
    QString text = area_->inputPane()->toPlainText();
    std::string bytes = text.toStdString();
    area_->inputPane()->history().add(bytes);
    saveInputHistory();
    // The statement thread will stop at this statement's check: point at it.
    if (std::optional<StatementSpan> failing = firstFailingCheck(bytes)) {
        auto position = [&bytes](size_t offset) {
            return static_cast<int>(QString::fromUtf8(bytes.data(), static_cast<qsizetype>(offset)).size());
        };
        area_->inputPane()->selectRange(position(failing->begin), position(failing->end));
    }
    bool highlighted = highlighting_;
    PaneOutputSink* sink = sink_.get();
    Engine* engine = &engine_;
    startStatement([engine, sink, text, highlighted] {
        sink->appendEcho(text, highlighted);
        submitText(*engine, text.toStdString());
    });
}

void MainWindow::runBatch(const QString& path) {
    if (!isIdle()) {
        print("Error: Already Working\r\n");
        return;
    }
    Engine* engine = &engine_;
    std::string file = path.toStdString();
    statementClock_.start();
    runner_.start([engine, file] { runBatchFile(*engine, file); });
    showWorking();
}

void MainWindow::saveUserData() {
    if (engine_.working.load()) {
        // The stores are being changed by the running worker.
        print("Error: Already Working\r\n");
        return;
    }
    Options options;
    options.syntaxHighlighting = highlighting_ ? 1 : 0;
    options.display = registry_.display;
    options.quality = registry_.quality;
    std::string error = saveUserDataFiles(options_.dataDir.toStdString(), options, engine_.stores);
    if (error.empty()) {
        status_->setText("Successfully saved user data");
        return;
    }
    status_->setText("Could not save user data");
    showError(QString("Error saving user data: ") + QString::fromStdString(error));
}

void MainWindow::loadUserData() {
    if (engine_.working.load()) {
        print("Error: Already Working\r\n");
        return;
    }
    print("Reading user data...\n");
    UserDataLoad load = loadUserDataFiles(options_.dataDir.toStdString(), engine_.stores,
                                          [this](const std::string& line) { print(QString::fromStdString(line)); });
    if (load.options) {
        registry_.display = load.options->display;
        registry_.quality = load.options->quality;
        setSyntaxHighlighting(load.options->syntaxHighlighting != 0);
        if (sheet_) sheet_->displayPage()->refresh();
        repaintPlot();
    }
    if (!load.data.error.empty()) showError(QString::fromStdString(load.data.error));
    print("Finished reading user data\n");
    status_->setText("Finished reading user data");
}

QString MainWindow::inputHistoryPath() const { return QDir(options_.dataDir).filePath(kInputHistoryFile); }

void MainWindow::loadInputHistory() {
    QFile file(inputHistoryPath());
    if (!file.open(QIODevice::ReadOnly)) return;  // none yet
    QByteArray text = file.readAll();
    area_->inputPane()->history() = InputHistory::parse(std::string_view(text.constData(), static_cast<size_t>(text.size())));
}

void MainWindow::saveInputHistory() {
    QDir().mkpath(options_.dataDir);
    QSaveFile file(inputHistoryPath());
    if (file.open(QIODevice::WriteOnly)) {
        file.write(QByteArray::fromStdString(area_->inputPane()->history().serialize()));
        if (file.commit()) return;
    }
    if (historyErrorShown_) return;
    historyErrorShown_ = true;
    print(QString("Error saving input history: %1\n").arg(file.errorString()));
}

void MainWindow::setSyntaxHighlighting(bool on) {
    highlighting_ = on;
    actions_->menuItem(kCmdSyntaxHighlighting)->setChecked(on);
    // Without a document the highlighter removes its colours: plain black text.
    highlighter_->setDocument(on ? area_->inputPane()->document() : nullptr);
    if (on) highlighter_->rehighlight();
}

void MainWindow::toggleHighlighting() {
    setSyntaxHighlighting(!highlighting_);
    status_->setText(highlighting_ ? "Syntax highlighting enabled" : "Syntax highlighting disabled");
}

// Tabs as the plot registry sees them. Changes made here do not run the
// tab-change steps, except when the selected tab goes away.
void MainWindow::addPlotTab(int position, const QString& title) {
    QSignalBlocker block(area_->tabBar());
    area_->tabBar()->insertTab(position, IconPainter::plotTabIcon(), title);
}

void MainWindow::removePlotTab(int position) {
    QTabBar* tabs = area_->tabBar();
    if (position <= 0 || position >= tabs->count()) return;
    if (position == tabs->currentIndex()) {
        selectTab(0);
        controller_.tabChanged(0);
    }
    QSignalBlocker block(tabs);
    tabs->removeTab(position);
    tabs->update();
}

int MainWindow::tabCount() const { return area_->tabBar()->count(); }
int MainWindow::selectedTab() const { return area_->tabBar()->currentIndex(); }

void MainWindow::selectTab(int index) {
    QSignalBlocker block(area_->tabBar());
    area_->tabBar()->setCurrentIndex(index);
    plotHost_.noteSelected(area_->tabBar()->currentIndex());
}

void MainWindow::setCommandEnabled(CommandId command, bool enabled) { actions_->menuItem(command)->setEnabled(enabled); }

void MainWindow::setButtonEnabled(int button, bool enabled) {
    if (actions_->hasButton(button)) actions_->button(button)->setEnabled(enabled);
}

void MainWindow::setSaveButtonMode(int mode) { actions_->setSaveButtonMode(mode); }

void MainWindow::showPlotArea(bool plot) { area_->showPlotArea(plot); }

void MainWindow::setStatusText(std::string_view text) { status_->setText(toQString(text)); }

void MainWindow::appendOutput(std::string_view text) { print(toQString(text)); }

void MainWindow::repaintPlot() {
    if (QWidget* plot = area_->plotArea()) {
        if (auto* standIn = qobject_cast<PlotArea*>(plot))
            standIn->requestRepaint();
        else
            plot->update();
    }
}

void MainWindow::showKindOnQualityPage(int kind) {
    if (sheet_) sheet_->qualityPage()->showKind(kind);
}

}  // namespace vx
