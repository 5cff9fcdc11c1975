#pragma once

#include <QKeySequence>
#include <QString>
#include <optional>
#include <span>

#include "canvas/tool_registry.h"
#include "shell/command_id.h"

namespace rek {

// One command: its toolbar button and its keys. The texts are the Japanese originals; what the
// window shows is their translation (commandTooltip, commandHint).
struct CommandInfo {
    CommandId id;
    const char* tooltip = "";
    int imageIndex = 0;        // cell in the toolbar image strip
    bool startsGroup = false;  // a separator stands before the button
    QKeySequence keys = {};    // empty for toolbar-only commands
    QKeySequence alternateKeys = {};
    bool checkable = false;
    bool repeats = false;  // holding the key repeats the command
    // The tool this command chooses; its button is checked while the tool is in use.
    std::optional<ToolMode> tool = std::nullopt;
    // The status bar's hint while the command's mode is on: a tool, a sub-mode, the replay.
    const char* hint = nullptr;
};

// Every command once, in toolbar order from left to right.
std::span<const CommandInfo> commandTable();
// The entry of a command, and the entry that chooses a tool.
const CommandInfo& commandInfo(CommandId id);
const CommandInfo& commandForTool(ToolMode mode);

// The tooltip and the status hint (empty for a command without one) in the chosen language.
QString commandTooltip(const CommandInfo& command);
QString commandHint(const CommandInfo& command);

}  // namespace rek
