#pragma once

#include <QKeyCombination>

#include "platform/framework/CommandId.h"

namespace framework {

/// One entry of an accelerator table: a key with its modifiers and the command it sends.
/// Accelerator commands are checked against their command state before they are routed.
struct Accelerator {
    QKeyCombination keys;
    CommandId id = 0;
};

} // namespace framework
