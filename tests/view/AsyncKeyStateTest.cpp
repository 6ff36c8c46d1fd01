#include "view/AsyncKeyState.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

void Send(QWidget& target, QEvent::Type type, int key, bool autoRepeat = false) {
    QKeyEvent event(type, key, Qt::NoModifier, QString(), autoRepeat);
    QCoreApplication::sendEvent(&target, &event);
}

TEST(AsyncKeyStateTest, FollowsPressAndReleaseButNotAutoRepeat) {
    AsyncKeyState& keys = AsyncKeyState::Instance();
    QWidget target;
    EXPECT_EQ(keys.IsKeyDown(Qt::Key_F), 0);
    Send(target, QEvent::KeyPress, Qt::Key_F);
    EXPECT_EQ(keys.IsKeyDown(Qt::Key_F), 1);
    EXPECT_EQ(keys.IsKeyDown(Qt::Key_G), 0);
    Send(target, QEvent::KeyRelease, Qt::Key_F, true);
    Send(target, QEvent::KeyPress, Qt::Key_F, true);
    EXPECT_EQ(keys.IsKeyDown(Qt::Key_F), 1);
    Send(target, QEvent::KeyRelease, Qt::Key_F);
    EXPECT_EQ(keys.IsKeyDown(Qt::Key_F), 0);
}

TEST(AsyncKeyStateTest, ForgetsKeysWhenTheApplicationLosesTheFocus) {
    AsyncKeyState& keys = AsyncKeyState::Instance();
    keys.SetKeyDown(Qt::Key_F, true);
    QEvent deactivate(QEvent::ApplicationDeactivate);
    QCoreApplication::sendEvent(QCoreApplication::instance(), &deactivate);
    EXPECT_EQ(keys.IsKeyDown(Qt::Key_F), 0);
}

} // namespace
