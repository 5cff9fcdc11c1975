#include "model/command_id.h"

#include <gtest/gtest.h>

#include <vector>

#include "model/selection.h"
#include "model_test_support.h"

namespace rek {
namespace {

ButtonState at(const std::array<ButtonState, kCommandCount>& states, CommandId id) {
    return states[static_cast<std::size_t>(id)];
}

TEST(CommandForAccelerator, MapsTheKeyTable) {
    EXPECT_EQ(commandForAccelerator(1111), CommandId::Open);
    EXPECT_EQ(commandForAccelerator(40006), CommandId::SelectAll);
    EXPECT_EQ(commandForAccelerator(40008), CommandId::MoveSelection);
    EXPECT_EQ(commandForAccelerator(40016), CommandId::ScaleSelection);
    EXPECT_EQ(commandForAccelerator(40019), CommandId::FilledCircleMode);
    EXPECT_EQ(commandForAccelerator(40020), CommandId::FilledRectMode);
    EXPECT_EQ(commandForAccelerator(40026), CommandId::Undo);
    EXPECT_EQ(commandForAccelerator(40027), CommandId::DeleteLastVertex);
    EXPECT_EQ(commandForAccelerator(40028), CommandId::Redo);

    // Every accelerator stands for a different button.
    std::vector<int> ids{1111};
    for (int id = 40006; id <= 40028; ++id)
        ids.push_back(id);
    int mapped = 0;
    std::array<bool, kCommandCount> seen{};
    for (int id : ids) {
        if (auto command = commandForAccelerator(id)) {
            EXPECT_FALSE(seen[static_cast<std::size_t>(*command)]) << id;
            seen[static_cast<std::size_t>(*command)] = true;
            ++mapped;
        }
    }
    EXPECT_EQ(mapped, 22);
    EXPECT_FALSE(commandForAccelerator(40010).has_value());
    EXPECT_FALSE(commandForAccelerator(40025).has_value());
    EXPECT_FALSE(commandForAccelerator(4).has_value());
}

TEST(ToolbarButtonStates, ChecksFollowModeAndSwitches) {
    ToolbarInputs in;
    in.mode = ToolMode::FilledCircle;
    in.moveMode = true;
    in.wobbleEnabled = false;
    auto states = toolbarButtonStates(in);
    for (CommandId id :
         {CommandId::StraightLineMode, CommandId::CurveMode, CommandId::RectMode,
          CommandId::CircleMode, CommandId::FilledRectMode, CommandId::RangeSelectMode}) {
        EXPECT_FALSE(at(states, id).checked) << static_cast<int>(id);
    }
    EXPECT_TRUE(at(states, CommandId::FilledCircleMode).checked);
    EXPECT_TRUE(at(states, CommandId::MoveSelection).checked);
    EXPECT_FALSE(at(states, CommandId::ScaleSelection).checked);
    EXPECT_FALSE(at(states, CommandId::Wobble).checked);
    EXPECT_FALSE(at(states, CommandId::Vtr).checked);
}

TEST(ToolbarButtonStates, SelectionAndHistoryEnableTheirButtons) {
    ToolbarInputs in;
    auto states = toolbarButtonStates(in);
    EXPECT_FALSE(at(states, CommandId::MoveSelection).enabled);
    EXPECT_FALSE(at(states, CommandId::ScaleSelection).enabled);
    EXPECT_FALSE(at(states, CommandId::DeleteLines).enabled);
    EXPECT_FALSE(at(states, CommandId::Undo).enabled);
    EXPECT_FALSE(at(states, CommandId::Redo).enabled);
    EXPECT_TRUE(at(states, CommandId::New).enabled);
    EXPECT_TRUE(at(states, CommandId::SelectAll).enabled);

    // Select all on an empty drawing is enough to enable move, scale and delete.
    Model model;
    ToolState tool;
    tool.mode = ToolMode::RangeSelect;
    selectAll(model, tool);
    in.mode = tool.mode;
    in.selectionExists = model.selectionExists;
    in.canUndo = true;
    in.scaleMode = true;  // a sub-mode does not take the toolbar away
    states = toolbarButtonStates(in);
    EXPECT_TRUE(at(states, CommandId::MoveSelection).enabled);
    EXPECT_TRUE(at(states, CommandId::ScaleSelection).enabled);
    EXPECT_TRUE(at(states, CommandId::DeleteLines).enabled);
    EXPECT_TRUE(at(states, CommandId::Undo).enabled);
    EXPECT_FALSE(at(states, CommandId::Redo).enabled);
    EXPECT_TRUE(at(states, CommandId::Open).enabled);
}

TEST(ToolbarButtonStates, ReplayLeavesOnlyVtrAboutSettingsAndHistory) {
    ToolbarInputs in;
    in.vtrPlaying = true;
    in.selectionExists = true;
    in.canRedo = true;
    const auto states = toolbarButtonStates(in);
    for (int id = 0; id < kCommandCount; ++id) {
        const auto command = static_cast<CommandId>(id);
        bool expected = command == CommandId::Vtr || command == CommandId::About ||
                        command == CommandId::Settings || command == CommandId::Redo;
        EXPECT_EQ(states[id].enabled, expected) << id;
    }
    EXPECT_TRUE(at(states, CommandId::Vtr).checked);

    // When the replay ends, with a sub-mode still on, the toolbar comes back.
    in.vtrPlaying = false;
    in.moveMode = true;
    EXPECT_TRUE(at(toolbarButtonStates(in), CommandId::New).enabled);
}

}  // namespace
}  // namespace rek
