#pragma once

#include <QKeySequence>
#include <span>

#include "model/command_id.h"

namespace rek {

struct CommandInfo {
    CommandId id;
    const char* tooltip;
    int imageIndex;     // cell in the toolbar image strip
    QKeySequence keys;  // empty for toolbar-only commands
    QKeySequence alternateKeys;
    bool checkable;
};

std::span<const CommandInfo> commandTable();
const CommandInfo& commandInfo(CommandId id);

// The toolbar from left to right; std::nullopt stands for a separator.
std::span<const std::optional<CommandId>> toolbarLayout();

}  // namespace rek
