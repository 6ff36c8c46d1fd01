#pragma once

#include <cstdint>

/// Clears `records` (a list of the names read for scene objects, each object's application
/// data pointing at its record's payload), first setting to 0 the application data of each
/// of `objects` that points into the list, so no object keeps a freed pointer.
template <typename Objects, typename Records>
void ClearLinkedRecords(const Objects& objects, Records& records) {
    for (const auto& object : objects) {
        for (auto* e = records.Head(); e; e = e->Next()) {
            if (object->GetAppData() == reinterpret_cast<std::uintptr_t>(&e->Payload())) {
                object->SetAppData(0);
            }
        }
    }
    records.Clear();
}
