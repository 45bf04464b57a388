#pragma once
// Every command of the main window with its number, its menu item (text
// with "&" mnemonic and the key after a tab), its keys and its toolbar
// button. The menu, the keys and the toolbar all lead to one dispatcher.
#include <span>
#include <string_view>

#include "vexalo_version.h"

namespace vx {

enum CommandId : int {
    kCmdClearHistory = 32779,
    kCmdOpenBatch = 32797,
    kCmdSaveInput = 32782,
    kCmdSaveOutput = 32781,
    kCmdExport = 32788,
    kCmdSaveUserData = 32795,
    kCmdLoadUserData = 32796,
    kCmdExit = 105,
    kCmdCloseTab = 32787,
    kCmdCloseOtherTabs = 32829,
    kCmdRecalculate = 32786,
    kCmdZoomIn = 32814,
    kCmdZoomOut = 32815,
    kCmdDisplaySettings = 32774,
    kCmdQualitySettings = 32773,
    kCmdManageUserData = 32820,
    kCmdSyntaxHighlighting = 32833,
    kCmdShowHelp = 32824,
    kCmdAbout = 32825,
    kCmdStop = 32840,
    kCmdResetView = 32841,
};

// Toolbar button numbers; 0 marks a separator in the toolbar order.
enum ToolbarButton : int {
    kBtnSeparator = 0,
    kBtnClearHistory = 200,
    kBtnOpenBatch = 201,
    kBtnSaveOrExport = 202,
    kBtnDisplaySettings = 225,
    kBtnCloseTab = 226,
    kBtnZoomIn = 227,
    kBtnZoomOut = 228,
    kBtnRecalculate = 229,  // has a number but no button
    kBtnManageUserData = 230,
    kBtnShowHelp = 231,
    kBtnCloseOtherTabs = 232,
    kBtnStop = 233,
    kBtnResetView = 234,
};

enum class Menu { File, Options, Help };

struct CommandInfo {
    CommandId id;
    Menu menu;
    std::string_view menuText;  // "&Clear History\tCtrl+Del"
    int button;                 // toolbar button number, 0 for none
    bool separatorBefore;       // menu separator above this item
};

// In menu order.
std::span<const CommandInfo> commandTable();
const CommandInfo* findCommand(CommandId id);
// The menu item text before the tab, and the key text after it ("" when none).
std::string_view menuLabel(const CommandInfo& info);
std::string_view menuKeys(const CommandInfo& info);

// Left to right, separators as kBtnSeparator.
std::span<const int> toolbarOrder();

// What button 202 does.
enum SaveButtonMode : int { kSaveButtonExport = 0, kSaveButtonSaveOutput = 2, kSaveButtonNothing = 3 };

// The tooltip of a toolbar button; button 202's depends on the mode.
std::string_view toolbarTooltip(int button, int saveButtonMode);
// The command a toolbar button leads to in a mode; 0 when it does nothing.
int toolbarCommand(int button, int saveButtonMode);

constexpr std::string_view kProductName = "Vexalo";
constexpr std::string_view kVersionText = VX_VERSION_TEXT;

}  // namespace vx
