#include "platform/rm/XFileOpenScope.h"

#include <memory>
#include <optional>

#include "platform/rm/Implementation/XFileReader.h"

namespace rm {

namespace {

struct SharedRead {
    XFileIdentity identity;
    std::shared_ptr<XFileDocument> document;
};

struct ScopeState {
    int depth = 0;
    std::optional<SharedRead> shared;
};

thread_local ScopeState t_scope;

} // namespace

XFileOpenScope::XFileOpenScope() {
    ++t_scope.depth;
}

XFileOpenScope::~XFileOpenScope() {
    if (--t_scope.depth == 0) {
        t_scope.shared.reset();
    }
}

HRESULT AcquireXFileDocument(const char* fileName, XFileReadOptions options,
                             std::shared_ptr<XFileDocument>* document, std::string* message) {
    if (t_scope.depth > 0 && t_scope.shared) {
        XFileIdentity now;
        const HRESULT hr = IdentifyXFile(fileName, &now, message);
        if (Failed(hr)) {
            return hr;
        }
        const SharedRead& shared = *t_scope.shared;
        if (shared.identity == now && (!options.readMeshes || shared.document->hasMeshData)) {
            *document = shared.document;
            message->clear();
            return D3DRM_OK;
        }
    }
    auto read = std::make_shared<XFileDocument>();
    XFileIdentity identity;
    const HRESULT hr = ReadXFile(fileName, read.get(), message, options, &identity);
    if (Failed(hr)) {
        return hr;
    }
    if (t_scope.depth > 0) {
        t_scope.shared = SharedRead{identity, read};
    }
    *document = std::move(read);
    return D3DRM_OK;
}

} // namespace rm
