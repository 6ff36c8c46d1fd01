#pragma once

#include "commands/BatchCommand.h"

/// "Skin On" (32829): after a Yes/No question the current model switches its morphing
/// skin on for good (meshes instead of mesh builders, every part back to its rest
/// orientation, the vertices that different parts share are welded). The document is not
/// marked modified: the skin is not saved. It cannot be taken back, and the edit
/// history before it is forgotten.
class SkinOnCommand : public BatchCommand {
public:
    using BatchCommand::BatchCommand;

protected:
    const Recipe& GetRecipe() const override;
    Outcome Apply(session::EditContext& context) override;
};
