#include "resources/ToolBars.h"

#include "resources/CommandIds.h"
#include "resources/ResourceIds.h"
#include "resources/ToolBarIcons.h"

namespace resources {

namespace {

framework::ToolBarResource Make(int id, std::vector<framework::CommandId> items) {
    framework::ToolBarResource resource;
    resource.id = id;
    resource.buttonSize = ToolBarIcons::Size();
    resource.bitmap = ToolBarIcons::Bitmap(items);
    resource.items = std::move(items);
    return resource;
}

} // namespace

framework::ToolBarResource MainToolBar() {
    return Make(res::MainFrame, {ids::FileNew,
                                 ids::FileOpen,
                                 ids::InsertCharacter,
                                 ids::ChangeModel,
                                 ids::ChangeAnimation,
                                 ids::FileSave,
                                 0,
                                 ids::DeleteKeyFrame,
                                 ids::CopyKeyFrame,
                                 ids::PasteKeyFrame,
                                 0,
                                 ids::DeletePartsKeyFrame,
                                 ids::CopyPartsKeyFrame,
                                 ids::PastePartsKeyFrame,
                                 0,
                                 ids::EditCut,
                                 ids::EditCopy,
                                 ids::EditPaste,
                                 0,
                                 ids::Manual,
                                 ids::AppAbout});
}

framework::ToolBarResource AnimationToolBar() {
    return Make(res::AnimationToolBar, {ids::AnimationPlayAll,
                                        0,
                                        ids::AnimationFirst,
                                        ids::AnimationBackStep,
                                        ids::StopAnimation,
                                        ids::PlayAnimation,
                                        ids::AnimationForwardStep,
                                        ids::AnimationLast,
                                        0,
                                        ids::KeyFrameLeft,
                                        ids::KeyFrameRight,
                                        0,
                                        ids::AddKeyFrame,
                                        ids::AddLastKeyFrame,
                                        0,
                                        ids::EditPartsAnimationKey,
                                        ids::ChangeModelScale,
                                        ids::DeleteAllPositionKey,
                                        ids::ChangeAllPositionKeyScale,
                                        ids::ChangeAnimationPace,
                                        ids::SkinOn,
                                        ids::ResetOrientation,
                                        ids::MoveFirstKeyTimeZero,
                                        ids::ReverseRotatePositionScale,
                                        0,
                                        ids::ViewOnionSkin});
}

framework::ToolBarResource PartsToolBar() {
    return Make(res::PartsToolBar,
                {ids::SelectParts, ids::SetParent, ids::SetChild, 0, ids::PartsButton32827});
}

} // namespace resources
