#include "platform/rm/Implementation/GlDrawTextures.h"

#include <epoxy/gl.h>

namespace rm {

void GlDrawTextures::Create() {
    glGenSamplers(2, m_samplers);
    for (int i = 0; i < 2; ++i) {
        const GLint filter = i ? GL_LINEAR : GL_NEAREST;
        glSamplerParameteri(m_samplers[i], GL_TEXTURE_MIN_FILTER, filter);
        glSamplerParameteri(m_samplers[i], GL_TEXTURE_MAG_FILTER, filter);
        glSamplerParameteri(m_samplers[i], GL_TEXTURE_WRAP_S, GL_REPEAT);
        glSamplerParameteri(m_samplers[i], GL_TEXTURE_WRAP_T, GL_REPEAT);
    }
}

unsigned GlDrawTextures::Get(Texture* texture) {
    if (!texture || !texture->HasImage()) {
        return 0;
    }
    Entry& entry = m_entries[texture];
    if (entry.name && entry.generation == texture->Generation()) {
        return entry.name;
    }
    if (!entry.name) {
        entry.texture = texture;
        glGenTextures(1, &entry.name);
    }
    glBindTexture(GL_TEXTURE_2D, entry.name);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    // Rows arrive top first and texture coordinate v grows downwards, so the first row
    // belongs at t = 0 as it is.
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, texture->Width(), texture->Height(), 0, GL_RGBA,
                 GL_UNSIGNED_BYTE, texture->Pixels().data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAX_LEVEL, 0);
    entry.generation = texture->Generation();
    return entry.name;
}

void GlDrawTextures::Sweep() {
    for (auto it = m_entries.begin(); it != m_entries.end();) {
        if (it->second.texture->RefCount() == 1) {
            glDeleteTextures(1, &it->second.name);
            it = m_entries.erase(it);
        } else {
            ++it;
        }
    }
}

void GlDrawTextures::Clear() {
    for (auto& [texture, entry] : m_entries) {
        glDeleteTextures(1, &entry.name);
    }
    m_entries.clear();
    if (m_samplers[0]) {
        glDeleteSamplers(2, m_samplers);
        m_samplers[0] = m_samplers[1] = 0;
    }
}

} // namespace rm
