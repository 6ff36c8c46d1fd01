#include "resources/MainFrameResources.h"

#include "resources/Accelerators.h"
#include "resources/AppIcon.h"
#include "resources/MainMenu.h"
#include "resources/ResourceIds.h"
#include "resources/Strings.h"

namespace resources {

framework::FrameResources MainFrameResources() {
    framework::FrameResources resources;
    resources.id = res::MainFrame;
    resources.menu = MainMenu();
    resources.accelerators = MainAccelerators();
    resources.icon = AppIcon();
    resources.documentString = DocumentString();
    resources.strings = &Strings();
    return resources;
}

} // namespace resources
