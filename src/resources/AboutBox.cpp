#include "resources/AboutBox.h"

#include <QCoreApplication>

#include "platform/framework/MessageBoxCodes.h"
#include "resources/AppIcon.h"
#include "resources/ResourceIds.h"

namespace resources {

framework::DialogTemplate AboutBoxTemplate() {
    using Control = framework::ControlTemplate;
    using Kind = Control::Kind;
    framework::DialogTemplate dialog;
    dialog.id = res::AboutBox;
    dialog.title = QCoreApplication::translate("Pavrix", "ﾊﾞｰｼﾞｮﾝ情報");
    dialog.size = QSize(159, 111);

    Control icon;
    icon.kind = Kind::Icon;
    icon.id = AboutIconId;
    icon.rect = QRect(11, 17, 20, 20);
    icon.icon = AppIcon();

    Control version;
    version.kind = Kind::Static;
    version.id = AboutVersionTextId;
    version.text = QStringLiteral("Pavrix Prototype Ver.0.73");
    version.rect = QRect(40, 22, 112, 8);

    Control ok;
    ok.kind = Kind::DefPushButton;
    ok.id = framework::IdOk;
    ok.text = QCoreApplication::translate("Pavrix", "OK");
    ok.rect = QRect(55, 88, 50, 14);
    ok.style = Control::Group;

    dialog.controls = {icon, version, ok};
    return dialog;
}

std::unique_ptr<framework::Dialog> CreateAboutBox(QWidget* parent) {
    return std::make_unique<framework::Dialog>(AboutBoxTemplate(), parent);
}

} // namespace resources
