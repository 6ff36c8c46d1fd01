#include "platform/rm/XFileLoader.h"

#include "platform/rm/AnimationSet.h"
#include "platform/rm/Frame.h"
#include "platform/rm/MeshBuilder.h"

namespace rm {

namespace {
thread_local std::string t_lastMessage;
} // namespace

const std::string& GetLastLoadMessage() {
    return t_lastMessage;
}

HRESULT Frame::Load(const char* fileName) {
    t_lastMessage = std::string(fileName ? fileName : "(null)") + ": the reader is not built yet";
    return D3DRMERR_FILENOTFOUND;
}

HRESULT MeshBuilder::Load(const char* fileName) {
    t_lastMessage = std::string(fileName ? fileName : "(null)") + ": the reader is not built yet";
    return D3DRMERR_FILENOTFOUND;
}

HRESULT AnimationSet::Load(const char* fileName, Frame* /*parent*/) {
    t_lastMessage = std::string(fileName ? fileName : "(null)") + ": the reader is not built yet";
    return D3DRMERR_FILENOTFOUND;
}

} // namespace rm
