#pragma once

#include <QString>

#include "commands/CopiedKeys.h"

/// The keys "Copy Parts Key Frame" took from one part at one key time for "Paste Parts Key
/// Frame": their values (so a paste can land on another part) and the time and part name
/// the paste's question names. Lives as long as the main frame.
struct CopiedPartKeys {
    /// One part's keys, each at offset 0.
    CopiedKeys keys;
    /// The key time they were copied at.
    int time = 0;
    QString partName;
};
