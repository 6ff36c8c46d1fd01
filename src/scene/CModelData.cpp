#include "scene/CModelData.h"

#include <algorithm>
#include <string>
#include <string_view>

#include "platform/rm/DebugOutput.h"
#include "platform/rm/XFileLoader.h"
#include "scene/ModelFile.h"
#include "scene/PartNaming.h"
#include "scene/RecordLinks.h"
#include "scene/SceneContext.h"

CPartRecord::~CPartRecord() {
    ClearVisualNames();
    if (frame && frame->GetAppData() == reinterpret_cast<std::uintptr_t>(this)) {
        frame->SetAppData(0);
    }
}

CPartRecord* CPartRecord::Of(const rm::Frame* frame) {
    return frame ? reinterpret_cast<CPartRecord*>(frame->GetAppData()) : nullptr;
}

void CPartRecord::ClearVisualNames() {
    if (frame) {
        ClearLinkedRecords(frame->Visuals(), visualNames);
    }
    visualNames.Clear();
}

CModelData::~CModelData() {
    m_partRecords.Clear();
}

int CModelData::LoadFile(const char* path) {
    m_lastError.clear();
    if (!g_d3drm || !path || !m_root) {
        m_lastError = "no scene to load into";
        return 0;
    }
    scene::ModelFileContent content = scene::ModelFileContent::None;
    std::string frameMessage;
    if (rm::Failed(scene::LoadModelFile(m_root.Get(), path, &content, &frameMessage))) {
        m_lastError = scene::WithBareFileName(
            frameMessage.empty() ? rm::GetLastLoadMessage() : frameMessage, path);
        return 0;
    }
    rm::OutputDebugStringA(content == scene::ModelFileContent::Frames ? "LoadFrame OK.\n"
                                                                      : "LoadMesh OK.\n");
    // What the load left out (skin weights, texture images) is told, not lost silently.
    if (const std::string& warnings = rm::GetLastLoadMessage(); !warnings.empty()) {
        rm::OutputDebugStringA((warnings + '\n').c_str());
    }
    m_tempNameCount = 0;
    NamePartsAndRecord(m_root.Get());
    return 1;
}

void CModelData::RecordSubtree(rm::Frame* frame) {
    CPartRecord* record = CPartRecord::Of(frame);
    if (!record) {
        record = m_partRecords.Add();
        record->frame = frame;
        frame->SetAppData(reinterpret_cast<std::uintptr_t>(record));
    } else {
        record->animation = nullptr;
        record->baseName.reset();
        record->fileName.reset();
        record->ClearVisualNames();
    }
    if (frame->HasName()) {
        record->fileName = frame->Name();
    }
    for (const auto& visual : frame->Visuals()) {
        if (visual->HasName()) {
            CNameRecord* name = record->visualNames.Add();
            name->name = visual->Name();
            visual->SetAppData(reinterpret_cast<std::uintptr_t>(name));
        }
    }
}

int CModelData::NamePartsAndRecord(rm::Frame* frame) {
    if (!frame) {
        return 0;
    }
    // A pass over the whole model numbers unnamed frames from 1 again, so naming after a
    // save gives every frame the working name it had (animations bound by those names
    // keep matching).
    if (frame == m_root.Get()) {
        m_tempNameCount = 0;
    }
    // The file names are taken before the frame is renamed; the base name after its whole
    // subtree has been named.
    RecordSubtree(frame);
    CModelBase::NamePartsAndRecord(frame);
    CPartRecord* record = CPartRecord::Of(frame);
    if (!record) {
        return 0;
    }
    if (auto base = scene::BaseName(frame->Name())) {
        record->baseName = std::string(*base);
    }
    return 1;
}

int CModelData::RecordPartAnimations(rm::AnimationSet* set) {
    if (!set) {
        return 0;
    }
    for (const auto& animation : set->Animations()) {
        const rm::Ref<rm::Frame> frame = animation->GetFrame();
        if (CPartRecord* record = CPartRecord::Of(frame.Get())) {
            record->animation = animation.Get();
        }
    }
    return 1;
}

void CModelData::ForgetAllPartAnimations() {
    for (auto* e = m_partRecords.Head(); e; e = e->Next()) {
        e->Payload().animation = nullptr;
    }
}

void CModelData::ForgetPartAnimations(rm::AnimationSet* set) {
    if (!set) {
        return;
    }
    for (auto* e = m_partRecords.Head(); e; e = e->Next()) {
        CPartRecord& record = e->Payload();
        for (const auto& animation : set->Animations()) {
            if (record.animation == animation.Get()) {
                record.animation = nullptr;
                break;
            }
        }
    }
}

int CModelData::RestoreFileNames(rm::Frame* frame) {
    CPartRecord* record = CPartRecord::Of(frame);
    if (!record) {
        return 0;
    }
    frame->SetName(record->fileName ? record->fileName->c_str() : nullptr);
    for (const auto& visual : frame->Visuals()) {
        auto* name = reinterpret_cast<CNameRecord*>(visual->GetAppData());
        if (name) {
            visual->SetName(name->name.c_str());
            visual->SetAppData(0);
            record->visualNames.Remove(name);
        } else {
            visual->SetName(nullptr);
        }
    }
    for (const auto& child : frame->Children()) {
        RestoreFileNames(child.Get());
    }
    return 1;
}

CModelData* LoadModel(const char* fileName, std::string* error) {
    return LoadLibraryFile<CModelData>(g_modelLibrary, g_d3drm != nullptr, fileName, error,
                                       &CModelData::LoadFile);
}

int RemoveModel(CModelData* model) {
    if (!g_modelLibrary) {
        return 0;
    }
    return g_modelLibrary->Entries().Remove(model);
}
