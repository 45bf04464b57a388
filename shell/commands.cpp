#include "shell/commands.h"

namespace vx {
namespace {

constexpr CommandInfo kCommands[] = {
    {kCmdClearHistory, Menu::File, "&Clear History\tCtrl+Del", kBtnClearHistory, false},
    {kCmdOpenBatch, Menu::File, "&Open Batch (.vxs)...\tCtrl+O", kBtnOpenBatch, true},
    {kCmdSaveInput, Menu::File, "Save &Input (.vxs)...\tCtrl+I", 0, false},
    {kCmdSaveOutput, Menu::File, "Save Ou&tput (.txt)...\tCtrl+T", kBtnSaveOrExport, false},
    {kCmdExport, Menu::File, "&Export (.obj)...\tCtrl+E", 0, false},
    {kCmdSaveUserData, Menu::File, "&Save User Data\tCtrl+S", 0, true},
    {kCmdLoadUserData, Menu::File, "&Load User Data\tCtrl+L", 0, false},
    {kCmdExit, Menu::File, "E&xit", 0, true},
    {kCmdCloseTab, Menu::Options, "&Close Tab\tCtrl+W", kBtnCloseTab, false},
    {kCmdCloseOtherTabs, Menu::Options, "Close Other &Tabs\tCtrl+Shift+W", kBtnCloseOtherTabs, false},
    {kCmdRecalculate, Menu::Options, "&Recalculate\tCtrl+R", 0, false},
    {kCmdStop, Menu::Options, "&Stop\tEsc", kBtnStop, false},
    {kCmdZoomIn, Menu::Options, "&Zoom In\tCtrl+Up", kBtnZoomIn, true},
    {kCmdZoomOut, Menu::Options, "Zoom &Out\tCtrl+Down", kBtnZoomOut, false},
    {kCmdResetView, Menu::Options, "Reset &View\tHome", kBtnResetView, false},
    {kCmdDisplaySettings, Menu::Options, "&Display Settings...\tCtrl+D", kBtnDisplaySettings, true},
    {kCmdQualitySettings, Menu::Options, "&Quality Settings...\tCtrl+Q", 0, false},
    {kCmdManageUserData, Menu::Options, "Manage &User Data...\tCtrl+U", kBtnManageUserData, false},
    {kCmdSyntaxHighlighting, Menu::Options, "Syntax &Highlighting\tCtrl+H", 0, true},
    {kCmdShowHelp, Menu::Help, "Show &Help\tF1", kBtnShowHelp, false},
    {kCmdAbout, Menu::Help, "&About Vexalo...", 0, true},
};

constexpr int kToolbar[] = {
    kBtnClearHistory,   kBtnOpenBatch, kBtnSaveOrExport, kBtnStop,      kBtnSeparator,      kBtnDisplaySettings,
    kBtnCloseTab,       kBtnCloseOtherTabs, kBtnZoomIn,  kBtnZoomOut,   kBtnResetView,      kBtnSeparator,
    kBtnManageUserData, kBtnShowHelp,
};

}  // namespace

std::span<const CommandInfo> commandTable() { return kCommands; }

const CommandInfo* findCommand(CommandId id) {
    for (const CommandInfo& c : kCommands)
        if (c.id == id) return &c;
    return nullptr;
}

std::string_view menuLabel(const CommandInfo& info) { return info.menuText.substr(0, info.menuText.find('\t')); }

std::string_view menuKeys(const CommandInfo& info) {
    size_t tab = info.menuText.find('\t');
    return tab == std::string_view::npos ? std::string_view{} : info.menuText.substr(tab + 1);
}

std::span<const int> toolbarOrder() { return kToolbar; }

std::string_view toolbarTooltip(int button, int saveButtonMode) {
    switch (button) {
        case kBtnClearHistory: return "Clear History";
        case kBtnOpenBatch: return "Open Batch (.vxs)";
        case kBtnSaveOrExport: return saveButtonMode == kSaveButtonSaveOutput ? "Save Output (.txt)" : "Export (.obj)";
        case kBtnDisplaySettings: return "Display Settings";
        case kBtnCloseTab: return "Close Tab";
        case kBtnZoomIn: return "Zoom In";
        case kBtnZoomOut: return "Zoom Out";
        case kBtnManageUserData: return "Manage User Data";
        case kBtnShowHelp: return "Show Help";
        case kBtnCloseOtherTabs: return "Close Other Tabs";
        case kBtnStop: return "Stop";
        case kBtnResetView: return "Reset View";
        default: return {};
    }
}

int toolbarCommand(int button, int saveButtonMode) {
    switch (button) {
        case kBtnClearHistory: return kCmdClearHistory;
        case kBtnOpenBatch: return kCmdOpenBatch;
        case kBtnSaveOrExport:
            if (saveButtonMode == kSaveButtonSaveOutput) return kCmdSaveOutput;
            return saveButtonMode == kSaveButtonExport ? kCmdExport : 0;
        case kBtnDisplaySettings: return kCmdDisplaySettings;
        case kBtnCloseTab: return kCmdCloseTab;
        case kBtnZoomIn: return kCmdZoomIn;
        case kBtnZoomOut: return kCmdZoomOut;
        case kBtnRecalculate: return kCmdRecalculate;
        case kBtnManageUserData: return kCmdManageUserData;
        case kBtnShowHelp: return kCmdShowHelp;
        case kBtnCloseOtherTabs: return kCmdCloseOtherTabs;
        case kBtnStop: return kCmdStop;
        case kBtnResetView: return kCmdResetView;
        default: return 0;
    }
}

}  // namespace vx
