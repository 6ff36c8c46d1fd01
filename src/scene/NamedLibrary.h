#pragma once

#include <string>

#include "platform/NonCopyable.h"
#include "scene/NamedObjectList.h"
#include "scene/PartNaming.h"

/// What the model library and the animation library share: the owning list of named
/// entries and the suffix counter that keeps entry names unique (see
/// scene::MakeLibraryEntryName). The library owns every T it holds.
template <typename T>
class NamedLibrary : private platform::NonCopyable {
public:
    NamedLibrary() = default;
    virtual ~NamedLibrary() = default;

    /// The suffix counter: starts at 0, raised once for every entry whose file name was
    /// already taken, lowered again when that entry's load fails.
    int NameCounter() const { return m_nameCounter; }
    NamedObjectList<T>& Entries() { return m_entries; }
    const NamedObjectList<T>& Entries() const { return m_entries; }

    /// The name an entry for fileName gets: fileName itself when no entry has exactly
    /// that name, else the counter is raised and the name gets it as a suffix
    /// ("walk.x" -> "walk_1.x"). The result is not checked again. *counterRaised (may be
    /// null) tells whether the counter was raised.
    /// A null fileName gives "" and leaves the counter alone.
    std::string ChooseEntryName(const char* fileName, bool* counterRaised) {
        const bool taken = fileName && m_entries.FindEntryNamed(fileName) != nullptr;
        if (counterRaised) {
            *counterRaised = taken;
        }
        if (!taken) {
            return fileName ? fileName : "";
        }
        ++m_nameCounter;
        return scene::MakeLibraryEntryName(fileName, m_nameCounter);
    }

    /// Appends an entry named by ChooseEntryName and returns its payload. A null
    /// fileName gives an unnamed entry and leaves the counter alone.
    T* AddEntryFor(const char* fileName, bool* counterRaised) {
        bool raised = false;
        T* payload = fileName ? m_entries.AddNamed(ChooseEntryName(fileName, &raised).c_str())
                              : m_entries.AddNamed(nullptr);
        if (counterRaised) {
            *counterRaised = raised;
        }
        return payload;
    }

    /// Undoes AddEntryFor after a failed load: removes and destroys the entry holding
    /// payload and lowers the counter again when AddEntryFor raised it.
    void DiscardEntry(const T* payload, bool counterRaised) {
        if (counterRaised) {
            --m_nameCounter;
        }
        m_entries.Remove(payload);
    }

    /// Adds an entry for fileName and calls load(payload, fileName) (always with the file
    /// name given, not the entry name). load returns non-zero for success. On success the
    /// payload is returned (owned by the library); when load fails the entry is removed,
    /// the counter is lowered again if it was raised, and null is returned. A null
    /// fileName gives null and changes nothing.
    template <typename Load>
    T* LoadEntry(const char* fileName, Load&& load) {
        if (!fileName) {
            return nullptr;
        }
        bool raised = false;
        T* payload = AddEntryFor(fileName, &raised);
        if (!load(*payload, fileName)) {
            DiscardEntry(payload, raised);
            return nullptr;
        }
        return payload;
    }

private:
    int m_nameCounter = 0;
    NamedObjectList<T> m_entries;
};

/// Loads `fileName` into a new entry of `library` with the entry's own `load` method
/// (LoadEntry). Null without a library or scene (`sceneReady` 0), or when the load failed:
/// *error (may be null) then says why ("no scene to load into", or the entry's LastError()).
template <typename T>
T* LoadLibraryFile(NamedLibrary<T>* library, int sceneReady, const char* fileName,
                   std::string* error, int (T::*load)(const char*)) {
    if (!fileName || !sceneReady || !library) {
        if (error) {
            *error = "no scene to load into";
        }
        return nullptr;
    }
    return library->LoadEntry(fileName, [error, load](T& entry, const char* name) {
        const int ok = (entry.*load)(name);
        if (!ok && error) {
            *error = entry.LastError();
        }
        return ok;
    });
}
