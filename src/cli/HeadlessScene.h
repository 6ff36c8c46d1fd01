#pragma once

#include <memory>
#include <ostream>

#include "platform/NonCopyable.h"
#include "platform/rm/Context.h"
#include "scene/SceneContext.h"
#include "scene/SceneDocument.h"
#include "scene/SceneMessages.h"

namespace cli {

/// The scene the editor's main frame would provide, made for one command and taken down
/// with it: the shared factory, the object store publishing its libraries, a scene frame,
/// and the scene's own messages routed to the error stream. Whatever was published
/// before is put back afterwards.
class HeadlessScene : private platform::NonCopyable {
public:
    explicit HeadlessScene(std::ostream& err);
    ~HeadlessScene();

    scene::SceneDocument document;

private:
    rm::Context* m_previousD3drm;
    rm::Ref<rm::Context> m_d3drm;
    std::unique_ptr<CObjectStore> m_store;
    rm::Ref<rm::Frame> m_sceneFrame;
    scene::MessageHook m_previousHook;
};

} // namespace cli
