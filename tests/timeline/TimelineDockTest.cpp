// The timeline dock as a user works it, with real mouse and key events on the sample walker:
// keys chosen, moved, deleted, copied and pasted on the key sheet, saved and read back; the
// part tree and the view's selection following each other; the Time field.

#include "timeline/TimelineDock.h"

#include <cmath>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "app/BarControlIds.h"
#include "app/ShellFixture.h"
#include "commands/UndoHistory.h"
#include "platform/framework/Document.h"
#include "platform/rm/AnimationSet.h"
#include "resources/CommandIds.h"
#include "scene/CAnimationData.h"
#include "scene/CModelData.h"
#include "session/EditContext.h"
#include "timeline/KeySheet.h"
#include "timeline/PartTree.h"

namespace {

using timeline::Channel;
using timeline::KeySheet;
using timeline::PartTree;
using timeline::TimelineDock;

/// Every key of the current set by (part, key type, time): its value.
using KeyTable = std::map<std::tuple<std::string, std::uint32_t, float>, std::vector<float>>;

KeyTable ReadKeys(const session::EditContext& context) {
    KeyTable table;
    for (const auto& animation : context.currentAnimation->Set()->Animations()) {
        const rm::Ref<rm::Frame> frame = animation->GetFrame();
        std::string name = frame ? frame->Name() : std::string();
        name = name.substr(0, name.rfind('@'));
        for (const rm::AnimationKey& key : animation->Keys()) {
            const rm::Quaternion& q = key.dqRotateKey;
            table[{name, key.dwKeyType, key.dvTime}] =
                key.dwKeyType == 1 ? std::vector<float>{q.s, q.v.x, q.v.y, q.v.z}
                                   : std::vector<float>{key.dvPositionKey.x, key.dvPositionKey.y,
                                                        key.dvPositionKey.z};
        }
    }
    return table;
}

class TimelineDockTest : public shell_test::ShellFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(StartWith(dir));
        frame->resize(1280, 960);
        frame->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frame));
        ASSERT_EQ(OpenFile(QString::fromStdString(shell_test::SampleWalker())), 1);
        ASSERT_NE(Context().currentAnimation, nullptr);
        dock = frame->GetTimeline();
        ASSERT_NE(dock, nullptr);
        ASSERT_TRUE(dock->isVisible());
        QCoreApplication::processEvents();
        // Ten pixels a time unit from time 0 on: keys two units apart are easy to hit.
        Sheet().Axis().Frame(0, (Sheet().width() - 48) / 10.0, Sheet().width());
        Sheet().update();
    }

    KeySheet& Sheet() { return dock->Sheet(); }
    PartTree& Tree() { return dock->Tree(); }

    /// The row item of the part named `name` (its channel row with `channel`).
    QTreeWidgetItem* Row(const char* name, Channel channel = Channel::Part) {
        for (const timeline::PartRow& row : Tree().Parts()) {
            if (row.name == QLatin1String(name)) {
                if (channel == Channel::Part) {
                    Tree().scrollToItem(row.item);
                    return row.item;
                }
                if (row.channels[0]->isHidden()) {
                    Tree().ToggleChannels(Tree().IndexOf(row.frame.Get()));
                }
                QTreeWidgetItem* item = row.channels[int(channel) - 1];
                Tree().scrollToItem(item);
                return item;
            }
        }
        ADD_FAILURE() << "no row " << name;
        return nullptr;
    }
    rm::Frame* Part(const char* name) {
        const int index = PartTree::PartIndexOf(Row(name));
        return index >= 0 ? Tree().Parts()[std::size_t(index)].frame.Get() : nullptr;
    }
    QPoint Mark(const char* name, float time, Channel channel = Channel::Part) {
        const QPoint point = Sheet().MarkCentre(Row(name, channel), time);
        EXPECT_GE(point.x(), 0);
        return point;
    }
    /// A left drag on the sheet from `from` to `to` in steps, as a hand would make it.
    void Drag(QPoint from, QPoint to, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mousePress(&Sheet(), Qt::LeftButton, modifiers, from);
        for (int step = 1; step <= 6; ++step) {
            QTest::mouseMove(&Sheet(), from + (to - from) * step / 6);
        }
        QTest::mouseRelease(&Sheet(), Qt::LeftButton, modifiers, to);
    }
    /// Saves to a new file in the test's folder and opens it again.
    void SaveAndReopen() {
        const QString path = dir.filePath(QStringLiteral("saved%1.x").arg(++saves));
        ASSERT_EQ(frame->GetActiveDocument()->DoSave(path, 0), 1);
        ASSERT_EQ(OpenFile(path), 1);
        ASSERT_NE(Context().currentAnimation, nullptr);
    }
    int Pixels(float units) {
        return static_cast<int>(std::lround(units * Sheet().Axis().Scale()));
    }

    QTemporaryDir dir;
    int saves = 0;
    TimelineDock* dock = nullptr;
};

TEST_F(TimelineDockTest, AKeyDraggedFrom10To15IsTheOnlyKeyMovedInTheSavedFile) {
    const KeyTable before = ReadKeys(Context());
    const QPoint key = Mark("UpperArm_L", 10);
    QTest::mouseClick(&Sheet(), Qt::LeftButton, {}, key);
    EXPECT_EQ(dock->Selection().Count(), 1u);
    EXPECT_EQ(Context().selection.Part(), Part("UpperArm_L"))
        << "the key's part is selected in the view";

    Drag(key, key + QPoint(Pixels(5), 0));
    EXPECT_EQ(frame->History()->UndoText(), QStringLiteral("キーの移動"));
    EXPECT_TRUE(frame->GetActiveDocument()->IsModified());
    SaveAndReopen();

    KeyTable expected = before;
    const auto moved = expected.extract({"UpperArm_L", 1, 10.0f});
    ASSERT_FALSE(moved.empty());
    expected[{"UpperArm_L", 1, 15.0f}] = moved.mapped();
    const KeyTable after = ReadKeys(Context());
    EXPECT_EQ(after, expected);
    // The key-time list holds the new time.
    const auto& times = Context().currentAnimation->KeyTimeList();
    EXPECT_TRUE(std::binary_search(times.begin(), times.end(), 15.0f));
}

TEST_F(TimelineDockTest, AMoveThatWouldLandOnANeighbourStopsBeforeIt) {
    struct Case {
        float to;       // where the pointer lets go
        float expected; // where the key ends
    };
    // Keys lie every two units; 0 is taken and nothing goes below it.
    for (const Case& c : {Case{12, 11}, Case{8, 9}, Case{13, 13}, Case{-6, 1}}) {
        const KeyTable before = ReadKeys(Context());
        const QPoint key = Mark("LowerArm_R", 10);
        QTest::mouseClick(&Sheet(), Qt::LeftButton, {}, key);
        Drag(key, key + QPoint(Pixels(c.to - 10), 0));
        const KeyTable after = ReadKeys(Context());
        EXPECT_EQ(after.count({"LowerArm_R", 1, 10.0f}), 0u) << "to " << c.to;
        ASSERT_EQ(after.count({"LowerArm_R", 1, c.expected}), 1u) << "to " << c.to;
        EXPECT_EQ(after.at({"LowerArm_R", 1, c.expected}), before.at({"LowerArm_R", 1, 10.0f}));
        EXPECT_EQ(after.size(), before.size());
        ASSERT_EQ(frame->History()->Undo(), 1);
        EXPECT_EQ(ReadKeys(Context()), before) << "one undo takes the move back";
    }
}

TEST_F(TimelineDockTest, BoxChosenKeysOfThreePartsPasteAt50AndOneUndoTakesThemAway) {
    const KeyTable before = ReadKeys(Context());
    const char* const parts[] = {"Chest", "Head", "UpperArm_L"};
    // From the empty space just before 20 in the first row to just after it in the third.
    const QPoint first = Mark(parts[0], 20) - QPoint(Pixels(0.7f), 0);
    const QPoint last = Mark(parts[2], 20) + QPoint(Pixels(0.7f), 0);
    Drag(first, last);
    ASSERT_EQ(dock->Selection().Count(), 3u);
    QTest::keyClick(&Sheet(), Qt::Key_C, Qt::ControlModifier);
    ASSERT_EQ(dock->Copied().entries.size(), 3u);

    // Go to 50 by typing it into the Time field.
    auto* time = qobject_cast<QLineEdit*>(Bar().GetDlgItem(ctl::Time));
    ASSERT_NE(time, nullptr);
    time->selectAll();
    QTest::keyClicks(time, QStringLiteral("50"));
    QTest::keyClick(time, Qt::Key_Return);
    ASSERT_EQ(Context().currentTime, 50.0f);

    Sheet().setFocus();
    QTest::keyClick(&Sheet(), Qt::Key_V, Qt::ControlModifier);
    const KeyTable pasted = ReadKeys(Context());
    KeyTable expected = before;
    for (const char* part : parts) {
        expected[{part, 1, 50.0f}] = before.at({part, 1, 20.0f});
    }
    EXPECT_EQ(pasted, expected);
    EXPECT_EQ(dock->Selection().Count(), 3u) << "the pasted keys are chosen";

    QTest::keyClick(&Sheet(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(ReadKeys(Context()), before);
    EXPECT_FALSE(frame->History()->CanUndo());
}

TEST_F(TimelineDockTest, DeleteTakesTheChosenKeysOfOneChannelOnly) {
    const KeyTable before = ReadKeys(Context());
    QTest::mouseClick(&Sheet(), Qt::LeftButton, {}, Mark("Hips", 30, Channel::Position));
    QTest::mouseClick(&Sheet(), Qt::LeftButton, Qt::ControlModifier,
                      Mark("Hips", 34, Channel::Position));
    ASSERT_EQ(dock->Selection().Count(), 2u);
    QTest::keyClick(&Sheet(), Qt::Key_Delete);
    KeyTable expected = before;
    expected.erase({"Hips", 3, 30.0f});
    expected.erase({"Hips", 3, 34.0f});
    SaveAndReopen();
    EXPECT_EQ(ReadKeys(Context()), expected);
}

TEST_F(TimelineDockTest, TreeAndViewFollowEachOther) {
    // A click on a name selects the part in the view and shows its name in the panel.
    QTreeWidgetItem* head = Row("Head");
    QTest::mouseClick(Tree().viewport(), Qt::LeftButton, {}, Tree().visualItemRect(head).center());
    EXPECT_EQ(Context().selection.Part(), Part("Head"));
    EXPECT_EQ(Panel().GetDlgItemText(ctl::PartName), QStringLiteral("Head"));

    // A pick in the view highlights the row once the loop has gone round.
    rm::Frame* foot = Part("Foot_R");
    view->Interaction().SelectPart(foot, nullptr);
    frame->Tick();
    EXPECT_EQ(Tree().currentItem(), Row("Foot_R"));
    EXPECT_EQ(Panel().GetDlgItemText(ctl::PartName), QStringLiteral("Foot_R"));

    // The search keeps the matches and the parts above them.
    QTest::keyClicks(&dock->SearchField(), QStringLiteral("lowerarm"));
    std::vector<std::string> shown;
    for (const timeline::PartRow& row : Tree().Parts()) {
        if (!row.item->isHidden()) {
            shown.push_back(row.name.toStdString());
        }
    }
    EXPECT_EQ(shown, (std::vector<std::string>{"Hips", "Chest", "UpperArm_L", "LowerArm_L",
                                               "UpperArm_R", "LowerArm_R"}));
}

TEST_F(TimelineDockTest, RulerClicksAndTypedTimesStayWithinTheKeyRange) {
    QTest::mouseClick(&Sheet(), Qt::LeftButton, {},
                      QPoint(static_cast<int>(Sheet().Axis().ToX(37)), 4));
    EXPECT_EQ(Context().currentTime, 37.0f);
    EXPECT_EQ(Context().keyTime, 37u);

    auto* time = qobject_cast<QLineEdit*>(Bar().GetDlgItem(ctl::Time));
    for (const char* typed : {"500", "-1", "abc"}) {
        ui.messageBox.Push(framework::IdOk);
        time->selectAll();
        QTest::keyClicks(time, QString::fromLatin1(typed));
        QTest::keyClick(time, Qt::Key_Return);
        EXPECT_EQ(Context().currentTime, 37.0f) << typed;
        EXPECT_EQ(time->text(), QStringLiteral("37.00")) << typed;
    }
    EXPECT_EQ(ui.messageBox.Asked().size(), 3u);
}

TEST_F(TimelineDockTest, TheDockIsShownAndHiddenFromTheViewMenu) {
    EXPECT_EQ(Menu(resources::ids::ViewTimeline), 1);
    EXPECT_FALSE(dock->isVisible());
    EXPECT_EQ(Menu(resources::ids::ViewTimeline), 1);
    EXPECT_TRUE(dock->isVisible());
    EXPECT_EQ(frame->dockWidgetArea(dock), Qt::BottomDockWidgetArea);
}

TEST_F(TimelineDockTest, SelectPartsShowsTheDockWithItsSearchFieldReadyForTyping) {
    QTest::keyClicks(&dock->SearchField(), QStringLiteral("head"));
    EXPECT_EQ(Menu(resources::ids::ViewTimeline), 1);
    ASSERT_FALSE(dock->isVisible());
    frame->activateWindow();
    EXPECT_EQ(Menu(resources::ids::SelectParts), 1);
    EXPECT_TRUE(dock->isVisible());
    EXPECT_TRUE(dock->SearchField().hasFocus());
    EXPECT_EQ(dock->SearchField().selectedText(), QStringLiteral("head"))
        << "what was typed before is chosen, so typing replaces it";
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("foot"));
    EXPECT_EQ(dock->SearchField().text(), QStringLiteral("foot"));
}

TEST_F(TimelineDockTest, ItsPlaceAndWhetherItShowsAreKeptForTheNextRun) {
    frame->addDockWidget(Qt::TopDockWidgetArea, dock);
    Stop();
    ASSERT_TRUE(Start());
    ASSERT_NE(frame->GetTimeline(), nullptr);
    EXPECT_EQ(frame->dockWidgetArea(frame->GetTimeline()), Qt::TopDockWidgetArea);
    EXPECT_FALSE(frame->GetTimeline()->isHidden());

    EXPECT_EQ(Menu(resources::ids::ViewTimeline), 1);
    Stop();
    ASSERT_TRUE(Start());
    EXPECT_TRUE(frame->GetTimeline()->isHidden());
}

} // namespace
