#include "cli/InOutArguments.h"

#include <vector>

namespace cli {

bool InOutArguments::Parse(std::span<const std::string> args, std::string* why) {
    std::vector<std::string> files;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--animation") {
            if (hasAnimation) {
                *why = "--animation is given twice";
                return false;
            }
            if (i + 1 >= args.size()) {
                *why = m_syntax.animationNeeds;
                return false;
            }
            animation = args[++i];
            hasAnimation = true;
        } else if (const int taken = ParseOption(args, &i, why); taken >= 0) {
            if (taken == 0) {
                return false;
            }
        } else if (arg.size() > m_syntax.optionPrefix.size() &&
                   arg.starts_with(m_syntax.optionPrefix)) {
            *why = "unknown option '" + arg + "'";
            return false;
        } else {
            files.push_back(arg);
        }
    }
    if (files.size() != 2) {
        *why = m_syntax.filesNeeded;
        return false;
    }
    in = files[0];
    out = files[1];
    return true;
}

} // namespace cli
