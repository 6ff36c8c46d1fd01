#include "app/BarTemplates.h"

#include "app/BarControlIds.h"
#include "platform/framework/Translate.h"
#include "resources/ResourceIds.h"

namespace {

using Control = framework::ControlTemplate;
using Kind = Control::Kind;

Control Label(const char* text, QRect rect, int id = -1) {
    return Control::Make(Kind::Static, id, text, rect);
}

// The entries are shown in the interface language.
Control Combo(int id, std::initializer_list<const char*> entries, QRect rect, unsigned style = 0) {
    QStringList items;
    for (const char* entry : entries) {
        items.push_back(framework::Tr(entry));
    }
    return Control::Make(Kind::ComboBox, id, "", rect, style, std::move(items));
}

} // namespace

framework::DialogTemplate ControlPanelTemplate() {
    constexpr unsigned kToggle = Control::PushLike;
    framework::DialogTemplate panel;
    panel.id = resources::res::ControlPanel;
    panel.size = QSize(72, 288);
    panel.controls = {
        Label(QT_TRANSLATE_NOOP("Pavrix", "Operation Mode"), QRect(4, 4, 64, 8)),
        Control::Make(Kind::RadioButton, ctl::ParentChild,
                      QT_TRANSLATE_NOOP("Pavrix", "Parent-Child"), QRect(4, 14, 64, 14),
                      Control::Group | kToggle),
        Control::Make(Kind::RadioButton, ctl::Animation, QT_TRANSLATE_NOOP("Pavrix", "Animation"),
                      QRect(4, 29, 64, 14), kToggle),

        Label(QT_TRANSLATE_NOOP("Pavrix", "Camera View"), QRect(4, 50, 64, 8)),
        Combo(ctl::CameraView,
              {QT_TRANSLATE_NOOP("Pavrix", "User"), QT_TRANSLATE_NOOP("Pavrix", "Flont"),
               QT_TRANSLATE_NOOP("Pavrix", "Back"), QT_TRANSLATE_NOOP("Pavrix", "Left"),
               QT_TRANSLATE_NOOP("Pavrix", "Right"), QT_TRANSLATE_NOOP("Pavrix", "Top"),
               QT_TRANSLATE_NOOP("Pavrix", "Bottom")},
              QRect(4, 60, 64, 90), Control::Group),
        Control::Make(Kind::PushButton, ctl::Center, QT_TRANSLATE_NOOP("Pavrix", "Center"),
                      QRect(4, 76, 64, 14)),

        Label(QT_TRANSLATE_NOOP("Pavrix", "Mouse Function"), QRect(4, 97, 64, 8)),
        Label(QT_TRANSLATE_NOOP("Pavrix", "plase"), QRect(8, 107, 60, 8)),
        // One radio group of four: the second label sits inside it without ending it.
        Control::Make(Kind::RadioButton, ctl::MoveModel, QT_TRANSLATE_NOOP("Pavrix", "Move"),
                      QRect(4, 116, 64, 14), Control::Group | kToggle),
        Label(QT_TRANSLATE_NOOP("Pavrix", "animation"), QRect(8, 134, 60, 8),
              ctl::SecondGroupLabel),
        Control::Make(Kind::RadioButton, ctl::MovePart, QT_TRANSLATE_NOOP("Pavrix", "Move"),
                      QRect(4, 143, 64, 14), kToggle),
        Control::Make(Kind::RadioButton, ctl::Rotate, QT_TRANSLATE_NOOP("Pavrix", "Rotate"),
                      QRect(4, 158, 64, 14), kToggle),
        Control::Make(Kind::RadioButton, ctl::Zoom, QT_TRANSLATE_NOOP("Pavrix", "Zoom"),
                      QRect(4, 173, 64, 14), kToggle | Control::Disabled),

        Control::Make(Kind::CheckBox, ctl::AxisX, "X", QRect(4, 192, 15, 14),
                      Control::Group | kToggle),
        Control::Make(Kind::CheckBox, ctl::AxisY, "Y", QRect(20, 192, 15, 14), kToggle),
        Control::Make(Kind::CheckBox, ctl::AxisZ, "Z", QRect(36, 192, 15, 14), kToggle),
        Control::Make(Kind::CheckBox, ctl::AxisNegative, "-", QRect(53, 192, 15, 14), kToggle),

        Label(QT_TRANSLATE_NOOP("Pavrix", "Animation Name"), QRect(4, 213, 64, 8)),
        Combo(ctl::AnimationName, {}, QRect(4, 222, 64, 90)),
        Label(QT_TRANSLATE_NOOP("Pavrix", "Model Name"), QRect(4, 239, 64, 8)),
        Control::Make(Kind::Edit, ctl::ModelName, "", QRect(4, 248, 64, 12), Control::ReadOnly),
        Label(QT_TRANSLATE_NOOP("Pavrix", "Part Name"), QRect(4, 265, 64, 8)),
        Control::Make(Kind::Edit, ctl::PartName, "", QRect(4, 274, 64, 12), Control::ReadOnly),
    };
    return panel;
}

framework::DialogTemplate AnimationBarTemplate() {
    framework::DialogTemplate bar;
    bar.id = resources::res::AnimationBar;
    bar.size = QSize(330, 38);
    bar.controls = {
        Label(QT_TRANSLATE_NOOP("Pavrix", "Time"), QRect(4, 5, 18, 8)),
        Control::Make(Kind::Edit, ctl::Time, "", QRect(24, 3, 36, 12)),
        Label(QT_TRANSLATE_NOOP("Pavrix", "Key No"), QRect(66, 5, 26, 8)),
        Control::Make(Kind::Edit, ctl::KeyNo, "", QRect(93, 3, 26, 12), Control::ReadOnly),
        Label(QT_TRANSLATE_NOOP("Pavrix", "Length"), QRect(126, 5, 24, 8)),
        Control::Make(Kind::Edit, ctl::Length, "", QRect(151, 3, 28, 12), Control::Number),
        Control::Make(Kind::PushButton, ctl::ChangeLength, QT_TRANSLATE_NOOP("Pavrix", "-> Change"),
                      QRect(182, 2, 42, 14)),
        Label(QT_TRANSLATE_NOOP("Pavrix", "Play Speed"), QRect(232, 5, 40, 8)),
        Combo(ctl::PlaySpeed, {"1/120", "1/90", "1/60", "1/30", "1/15", "1/10"},
              QRect(274, 3, 48, 90)),

        Label(QT_TRANSLATE_NOOP("Pavrix", "Min"), QRect(4, 23, 16, 8)),
        Control::Make(Kind::Edit, ctl::Min, "", QRect(24, 21, 36, 12), Control::ReadOnly),
        Label(QT_TRANSLATE_NOOP("Pavrix", "Max"), QRect(66, 23, 16, 8)),
        Control::Make(Kind::Edit, ctl::Max, "", QRect(83, 21, 36, 12), Control::ReadOnly),
        Control::Make(Kind::TrackBar, ctl::TimeSlider, "", QRect(124, 20, 198, 16)),
    };
    return bar;
}
