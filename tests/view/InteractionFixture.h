#pragma once

// The editor with a character open, driven by real mouse and key events sent to the 3D
// view (QTest), with scripted message boxes.

#include <string>

#include <QTest>
#include <gtest/gtest.h>

#include "app/ShellFixture.h"
#include "platform/rm/Frame.h"
#include "platform/rm/Mesh.h"
#include "platform/rm/Viewport.h"
#include "render/Direct3R.h"
#include "resources/CommandIds.h"
#include "scene/CAnimationData.h"
#include "scene/CModelData.h"
#include "scene/CPartRecord.h"
#include "session/EditContext.h"
#include "view/CDxMFCView.h"

class InteractionFixture : public shell_test::ShellFixture {
protected:
    void SetUp() override {
        ASSERT_TRUE(Start());
        ASSERT_NE(view->GetDevice(), nullptr);
        ASSERT_NE(view->GetViewport(), nullptr);
    }

    /// Opens `path` as File Open does.
    void Open(const std::string& path) {
        ui.fileDialog.Choose(QString::fromStdString(path));
        ASSERT_EQ(frame->OnCommand(resources::ids::FileOpen, framework::CommandSource::Menu), 1);
        ASSERT_NE(Context().currentAnimation, nullptr);
    }

    /// Opens the walker and steps five key frames right, onto its key at time 10 (a drag
    /// writes there without asking); the boxes shown so far are forgotten.
    void OpenWalkerAtTen() {
        ASSERT_NO_FATAL_FAILURE(Open(shell_test::SampleWalker()));
        for (int i = 0; i < 5; ++i) {
            frame->OnCmdMsg(resources::ids::KeyFrameRight);
        }
        ASSERT_EQ(Context().keyTime, 10u);
        ui.messageBox.Clear();
    }

    /// The frame of the current model whose base name is `name`.
    rm::Frame* Part(const char* name) {
        for (auto* e = Context().currentModel->PartRecords().Head(); e != nullptr; e = e->Next()) {
            if (e->Payload().baseName && *e->Payload().baseName == name) {
                return e->Payload().frame.Get();
            }
        }
        return nullptr;
    }

    /// The centre of the first visual of `part`, in world coordinates.
    static rm::Vector CentreOf(rm::Frame* part) {
        rm::Box box;
        EXPECT_FALSE(part->Visuals().empty());
        part->Visuals().front()->GetBox(&box);
        const rm::Vector local{(box.min.x + box.max.x) * 0.5f, (box.min.y + box.max.y) * 0.5f,
                               (box.min.z + box.max.z) * 0.5f};
        rm::Vector world;
        part->Transform(&world, &local);
        return world;
    }

    /// Where `world` shows through `viewport`, in view pixels.
    QPoint PointIn(rm::Viewport* viewport, const rm::Vector& world) {
        rm::Vector4 screen;
        viewport->Transform(&screen, world);
        const double ratio = view->devicePixelRatioF();
        return QPoint(static_cast<int>(screen.x / screen.w / ratio),
                      static_cast<int>(screen.y / screen.w / ratio));
    }

    /// Where the centre of the first visual of `part` shows in the view, in view pixels.
    QPoint PointOf(rm::Frame* part) { return PointIn(view->GetViewport(), CentreOf(part)); }

    void Click(QPoint point, Qt::KeyboardModifiers modifiers = {}) {
        QTest::mouseClick(view, Qt::LeftButton, modifiers, point);
    }

    /// Presses `button` at `from`, moves by `by` in `steps` moves, lets go. (A drag counts
    /// from its first move, as a hand's first twitch makes it.)
    void Drag(Qt::MouseButton button, QPoint from, QPoint by, int steps = 4,
              Qt::KeyboardModifiers modifiers = {}) {
        QTest::mousePress(view, button, modifiers, from);
        for (int i = 0; i <= steps; ++i) {
            QTest::mouseEvent(QTest::MouseMove, view, Qt::NoButton, modifiers,
                              from + by * i / steps);
        }
        QTest::mouseRelease(view, button, modifiers, from + by);
    }

    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
        QTest::keyClick(view, key, modifiers);
    }

    /// The keys of `part`'s animation at exactly `time`, of `type`.
    static std::vector<rm::AnimationKey> KeysAt(rm::Frame* part, float time, std::uint32_t type) {
        std::vector<rm::AnimationKey> keys;
        const CPartRecord* record = CPartRecord::Of(part);
        if (record == nullptr || record->animation == nullptr) {
            return keys;
        }
        for (const auto& key : record->animation->Keys()) {
            if (key.dvTime == time && key.dwKeyType == type) {
                keys.push_back(key);
            }
        }
        return keys;
    }
};
