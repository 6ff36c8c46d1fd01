#include "resources/Accelerators.h"

#include <iterator>
#include <vector>

#include <QKeySequence>
#include <gtest/gtest.h>

namespace {

TEST(AcceleratorsTest, TheTableHasEveryKeyAndNothingElse) {
    struct Case {
        QKeyCombination keys;
        framework::CommandId id;
    };
    const Case expected[] = {
        {Qt::CTRL | Qt::Key_N, 57600},        {Qt::CTRL | Qt::Key_O, 57601},
        {Qt::CTRL | Qt::Key_S, 57603},        {Qt::CTRL | Qt::Key_Z, 57643},
        {Qt::ALT | Qt::Key_Backspace, 57643}, {Qt::CTRL | Qt::Key_X, 57635},
        {Qt::SHIFT | Qt::Key_Delete, 57635},  {Qt::CTRL | Qt::Key_C, 57634},
        {Qt::CTRL | Qt::Key_Insert, 57634},   {Qt::CTRL | Qt::Key_V, 57637},
        {Qt::SHIFT | Qt::Key_Insert, 57637},  {QKeyCombination(Qt::Key_F6), 57680},
        {Qt::SHIFT | Qt::Key_F6, 57681},      {QKeyCombination(Qt::Key_Home), 32841},
    };
    const Case redo[] = {{Qt::CTRL | Qt::Key_Y, 57644}, {Qt::CTRL | Qt::SHIFT | Qt::Key_Z, 57644}};
    std::vector<Case> all(std::begin(expected), std::end(expected));
    all.insert(all.end(), std::begin(redo), std::end(redo));
    const std::vector<framework::Accelerator>& table = resources::MainAccelerators();
    ASSERT_EQ(table.size(), all.size());
    for (const Case& c : all) {
        int matches = 0;
        for (const framework::Accelerator& accelerator : table) {
            if (accelerator.keys == c.keys) {
                ++matches;
                EXPECT_EQ(accelerator.id, c.id) << QKeySequence(c.keys).toString().toStdString();
            }
        }
        EXPECT_EQ(matches, 1) << QKeySequence(c.keys).toString().toStdString();
    }
}

} // namespace
