#include "platform/framework/View.h"

#include "platform/framework/Document.h"
#include "platform/framework/FrameWindow.h"
#include "platform/framework/IMessageBox.h"
#include "platform/framework/UiServices.h"

namespace framework {

View::View(QWidget* parent) : QWidget(parent) {}

View::~View() {
    if (m_document != nullptr) {
        m_document->RemoveView(this);
    }
}

FrameWindow* View::GetParentFrame() const {
    for (QWidget* parent = parentWidget(); parent != nullptr; parent = parent->parentWidget()) {
        if (auto* frame = dynamic_cast<FrameWindow*>(parent)) {
            return frame;
        }
    }
    return nullptr;
}

void View::OnInitialUpdate() {
    update();
}

int View::MessageBox(const QString& text, const QString& caption, unsigned style) {
    return UiServices::MessageBoxes().Show(
        this, text, caption.isEmpty() ? UiServices::AppTitle() : caption, style);
}

} // namespace framework
