#pragma once

// The texts a scripted message box was shown, as UTF-8, for comparing with literals.

#include <string>
#include <vector>

#include "platform/framework/ScriptedMessageBox.h"

inline std::vector<std::string> Utf8Texts(const framework::ScriptedMessageBox& box) {
    std::vector<std::string> texts;
    for (const auto& question : box.Asked()) {
        texts.push_back(question.text.toStdString());
    }
    return texts;
}
