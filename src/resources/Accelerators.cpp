#include "resources/Accelerators.h"

#include "resources/CommandIds.h"

namespace resources {

const std::vector<framework::Accelerator>& MainAccelerators() {
    static const std::vector<framework::Accelerator> keys = {
        {Qt::CTRL | Qt::Key_N, ids::FileNew},         {Qt::CTRL | Qt::Key_O, ids::FileOpen},
        {Qt::CTRL | Qt::Key_S, ids::FileSave},        {Qt::CTRL | Qt::Key_Z, ids::EditUndo},
        {Qt::ALT | Qt::Key_Backspace, ids::EditUndo}, {Qt::CTRL | Qt::Key_X, ids::EditCut},
        {Qt::SHIFT | Qt::Key_Delete, ids::EditCut},   {Qt::CTRL | Qt::Key_C, ids::EditCopy},
        {Qt::CTRL | Qt::Key_Insert, ids::EditCopy},   {Qt::CTRL | Qt::Key_V, ids::EditPaste},
        {Qt::SHIFT | Qt::Key_Insert, ids::EditPaste}, {QKeyCombination(Qt::Key_F6), ids::NextPane},
        {Qt::SHIFT | Qt::Key_F6, ids::PrevPane},      {Qt::Key_Home, ids::ViewFrameAll},
    };
    // Redo: Ctrl+Y, and Ctrl+Shift+Z as other programs have it.
    static const std::vector<framework::Accelerator> table = [] {
        std::vector<framework::Accelerator> all = keys;
        all.push_back({Qt::CTRL | Qt::Key_Y, ids::EditRedo});
        all.push_back({Qt::CTRL | Qt::SHIFT | Qt::Key_Z, ids::EditRedo});
        return all;
    }();
    return table;
}

} // namespace resources
