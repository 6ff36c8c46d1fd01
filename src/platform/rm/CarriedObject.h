#pragma once

#include <string>
#include <vector>

namespace rm {

/// A data object of a .x file that this library does not interpret (an exporter's
/// ObjectMatrixComment, VertexDuplicationIndices, DeclData, a user engine's own template),
/// kept on the frame or mesh builder that held it so a save can write it back as it was.
struct CarriedObject {
    /// The object's template (its keyword as the file writes it).
    std::string templateName;
    /// The object in text form, from its keyword through its closing brace, lines ending in
    /// '\n' and without the indentation of its first line; a binary file's object is
    /// written out as text.
    std::string text;
    /// The template declarations a reader needs for it, in file order: its own template's
    /// and those of the non-standard templates that one uses, as the file declares them
    /// (or as the format defines them, for standard templates the file leaves undeclared).
    std::vector<std::string> declarations;
};

} // namespace rm
