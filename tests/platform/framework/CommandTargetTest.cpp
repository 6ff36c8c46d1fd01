#include "platform/framework/CommandTarget.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

using framework::CCmdUI;
using framework::CommandId;
using framework::CommandTarget;
using framework::Notification;

namespace {

class Target : public CommandTarget {
public:
    using CommandTarget::MapCommand;
    using CommandTarget::MapCommandRange;
    using CommandTarget::MapNotify;
    using CommandTarget::MapUpdate;
    using CommandTarget::MapUpdateRange;

    void OnStop() { log.push_back("stop"); }

    std::vector<std::string> log;
};

TEST(CommandTargetTest, TheFirstMatchingEntryRunsAndNoOther) {
    Target target;
    target.MapCommand(100, [&] { target.log.push_back("first"); });
    target.MapCommand(100, [&] { target.log.push_back("second"); });
    target.MapCommandRange(
        90, 110, [&](CommandId id) { target.log.push_back("range " + std::to_string(id)); });

    EXPECT_EQ(target.OnCmdMsg(100), 1);
    EXPECT_EQ(target.OnCmdMsg(95), 1);
    EXPECT_EQ(target.OnCmdMsg(110), 1);
    EXPECT_EQ(target.OnCmdMsg(111), 0);
    EXPECT_EQ(target.OnCmdMsg(89), 0);
    EXPECT_EQ(target.log, (std::vector<std::string>{"first", "range 95", "range 110"}));
}

TEST(CommandTargetTest, MemberFunctionEntriesCallTheirObject) {
    Target target;
    target.MapCommand(32793, &Target::OnStop);
    EXPECT_EQ(target.OnCmdMsg(32793), 1);
    EXPECT_EQ(target.log, std::vector<std::string>{"stop"});
}

TEST(CommandTargetTest, NotificationEntriesListenOnlyToTheirCode) {
    // 1012 is a check box on one bar and a read-only edit on another: the edit's change
    // notification must not run the check box's click handler.
    Target target;
    target.MapCommand(1012, [&] { target.log.push_back("clicked"); });
    target.MapNotify(1005, Notification::SelChange, [&] { target.log.push_back("speed"); });

    EXPECT_EQ(target.OnCmdMsg(1012, Notification::EditChange), 0);
    EXPECT_EQ(target.OnCmdMsg(1005, Notification::Clicked), 0);
    EXPECT_EQ(target.OnCmdMsg(1005, Notification::SelEndOk), 0);
    EXPECT_EQ(target.OnCmdMsg(1005, Notification::SelChange), 1);
    EXPECT_EQ(target.OnCmdMsg(1012, Notification::Clicked), 1);
    EXPECT_EQ(target.log, (std::vector<std::string>{"speed", "clicked"}));
    EXPECT_EQ(target.HasHandler(1012), 1);
    EXPECT_EQ(target.HasHandler(1012, Notification::EditChange), 0);
}

TEST(CommandTargetTest, UpdateEntriesFillTheStateAndMayPassTheUpdateOn) {
    Target target;
    target.MapUpdate(5, [](CCmdUI& ui) { ui.SetCheck(1); });
    target.MapUpdateRange(10, 20, [](CCmdUI& ui) { ui.Enable(ui.GetId() % 2 == 0); });
    target.MapUpdate(30, [](CCmdUI& ui) { ui.ContinueRouting(); });

    CCmdUI checked(5);
    EXPECT_EQ(target.OnUpdateCmdMsg(checked), 1);
    EXPECT_TRUE(checked.IsCheckChanged());
    EXPECT_EQ(checked.GetCheck(), 1);
    EXPECT_FALSE(checked.IsEnableChanged());

    CCmdUI odd(11);
    EXPECT_EQ(target.OnUpdateCmdMsg(odd), 1);
    EXPECT_TRUE(odd.IsEnableChanged());
    EXPECT_FALSE(odd.IsEnabled());

    CCmdUI passed(30);
    EXPECT_EQ(target.OnUpdateCmdMsg(passed), 0);
    CCmdUI none(40);
    EXPECT_EQ(target.OnUpdateCmdMsg(none), 0);
    EXPECT_EQ(target.HasUpdateHandler(12), 1);
    EXPECT_EQ(target.HasUpdateHandler(21), 0);
}

TEST(CommandTargetTest, AHandlerMayExtendItsOwnMap) {
    Target target;
    target.MapCommand(1, [&] {
        for (CommandId id = 2; id < 50; ++id) {
            target.MapCommand(id, [&] { target.log.push_back("added"); });
        }
        target.log.push_back("one");
    });
    EXPECT_EQ(target.OnCmdMsg(1), 1);
    EXPECT_EQ(target.OnCmdMsg(49), 1);
    EXPECT_EQ(target.log, (std::vector<std::string>{"one", "added"}));
}

} // namespace
