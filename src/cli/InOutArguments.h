#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>

namespace cli {

/// The arguments of a command that reads one file (or folder) and writes another:
/// `IN OUT [--animation X]`, with options of the command's own among them (ParseOption).
class InOutArguments {
public:
    /// How a command words its arguments.
    struct Syntax {
        /// The message when --animation ends the line ("--animation needs a file").
        const char* animationNeeds;
        /// The message when there are not exactly two files.
        const char* filesNeeded;
        /// What starts an option: an argument beginning so (and longer) that no one takes
        /// is an unknown option, not a file.
        std::string_view optionPrefix;
    };

    explicit InOutArguments(const Syntax& syntax) : m_syntax(syntax) {}

    /// Reads `args`; false with the reason in *why when they are wrong.
    bool Parse(std::span<const std::string> args, std::string* why);

    std::string in;
    std::string out;
    std::string animation;
    bool hasAnimation = false;

protected:
    ~InOutArguments() = default;

    /// An option of the command's own at args[*i]: -1 when it is none of them, 0 when it is
    /// one but wrong (the reason in *why), 1 when taken (*i left on its last argument).
    virtual int ParseOption(std::span<const std::string> args, std::size_t* i,
                            std::string* why) = 0;

private:
    Syntax m_syntax;
};

} // namespace cli
