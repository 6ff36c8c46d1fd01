#pragma once

#include <cstddef>
#include <ostream>
#include <span>
#include <string>
#include <vector>

#include "commands/BatchCommand.h"
#include "commands/PositionKeyScaling.h"
#include "commands/ScaleFactors.h"

namespace scene {
struct SceneDocument;
} // namespace scene

namespace cli {

/// The batch edits `pavrix --resave` can make before it saves, each one the editor's own
/// command run with every question answered yes (HeadlessBatchHost).
class ResaveEdits {
public:
    /// One line per edit option for the usage text.
    static const char* Usage();

    /// Takes the edit option at args[*index] (and its value, moving *index past it).
    /// Returns 1 when it was an edit option, 0 when it is a bad one (`why` says what is
    /// wrong, e.g. factors that are not three numbers), -1 when args[*index] is no edit
    /// option at all.
    int Parse(std::span<const std::string> args, std::size_t* index, std::string* why);

    bool Empty() const { return m_edits.empty(); }

    /// Runs the edits in the order given on the current character, model and animation
    /// set of `doc` (made current for the while), reporting every message on `err`.
    void Run(const scene::SceneDocument& doc, std::ostream& err) const;

private:
    /// One edit: the batch command it runs and, for the scale commands, the dialog's
    /// answer (the factors and the state of its check box).
    struct Edit {
        BatchCommand::Kind command;
        bool answersScale;
        PositionKeyScaling scalePositionKeys;
        ScaleFactors factors;
    };

    std::vector<Edit> m_edits;
};

} // namespace cli
