#include "cli/ResaveEdits.h"

#include <cfloat>
#include <cmath>
#include <string_view>

#include <QString>
#include <QStringList>

#include "cli/HeadlessBatchHost.h"
#include "commands/BatchCommand.h"
#include "platform/framework/DataExchange.h"
#include "scene/CAnimationData.h"
#include "scene/SceneDocument.h"
#include "session/EditContext.h"

namespace cli {

namespace {

// Reads "X,Y,Z" as the scale dialogs read their edits: three decimal numbers.
bool ParseFactors(const std::string& text, ScaleFactors* factors) {
    const QStringList parts = QString::fromStdString(text).split(QLatin1Char(','));
    if (parts.size() != 3) {
        return false;
    }
    float values[3];
    for (int i = 0; i < 3; ++i) {
        double value = 0;
        if (!framework::DataExchange::ParseReal(parts[i], &value) || std::fabs(value) > FLT_MAX) {
            return false;
        }
        values[i] = static_cast<float>(value);
    }
    *factors = {values[0], values[1], values[2]};
    return true;
}

} // namespace

const char* ResaveEdits::Usage() {
    return "  EDIT, run in the order given before the save, each as the editor's command with\n"
           "  its questions answered yes:\n"
           "    --model-scale X,Y,Z             Change Model Scale (position keys unchanged)\n"
           "    --model-scale-with-keys X,Y,Z   Change Model Scale, position keys scaled too\n"
           "    --position-key-scale X,Y,Z      Change All Position Key Scale\n"
           "    --delete-position-keys          Delete All Position Key\n"
           "    --double-length                 Change Animation Pace (length x2)\n"
           "    --first-key-zero                Move First Key Time Zero\n"
           "    --reset-orientation             Reset Orientation\n"
           "    --reverse                       Reverse Rotate, Position, Scale\n"
           "  Factors closer to 0 than 0.01 become 0.01 (or -0.01), as in the editor's dialogs.\n";
}

int ResaveEdits::Parse(std::span<const std::string> args, std::size_t* index, std::string* why) {
    static constexpr struct {
        std::string_view name;
        Kind kind;
        bool takesFactors;
    } kOptions[] = {
        {"--model-scale", Kind::ModelScale, true},
        {"--model-scale-with-keys", Kind::ModelScaleWithKeys, true},
        {"--position-key-scale", Kind::PositionKeyScale, true},
        {"--delete-position-keys", Kind::DeletePositionKeys, false},
        {"--double-length", Kind::DoubleLength, false},
        {"--first-key-zero", Kind::FirstKeyZero, false},
        {"--reset-orientation", Kind::ResetOrientation, false},
        {"--reverse", Kind::Reverse, false},
    };
    const std::string& arg = args[*index];
    for (const auto& option : kOptions) {
        if (arg != option.name) {
            continue;
        }
        Edit edit{option.kind, {}};
        if (option.takesFactors) {
            if (*index + 1 >= args.size()) {
                *why = arg + " needs three factors X,Y,Z";
                return 0;
            }
            const std::string& value = args[++*index];
            if (!ParseFactors(value, &edit.factors)) {
                *why = arg + ": '" + value + "' is not three numbers X,Y,Z";
                return 0;
            }
        }
        m_edits.push_back(edit);
        return 1;
    }
    return -1;
}

void ResaveEdits::Run(const scene::SceneDocument& doc, std::ostream& err) const {
    if (m_edits.empty()) {
        return;
    }
    session::EditContext context(doc);
    HeadlessBatchHost host(context, err);
    // The editor builds the key-time list when a file is opened; the commands read it.
    if (context.currentAnimation != nullptr) {
        context.currentAnimation->UpdateTotalKeyTimeBuffer();
    }
    for (const Edit& edit : m_edits) {
        switch (edit.kind) {
        case Kind::ModelScale:
        case Kind::ModelScaleWithKeys:
            host.SetScaleAnswer(edit.factors, edit.kind == Kind::ModelScaleWithKeys ? 1 : 0);
            BatchCommand(host, BatchCommand::Kind::ChangeModelScale).Execute(context);
            break;
        case Kind::PositionKeyScale:
            host.SetScaleAnswer(edit.factors, 0);
            BatchCommand(host, BatchCommand::Kind::ChangeAllPositionKeyScale).Execute(context);
            break;
        case Kind::DeletePositionKeys:
            BatchCommand(host, BatchCommand::Kind::DeleteAllPositionKey).Execute(context);
            break;
        case Kind::DoubleLength:
            BatchCommand(host, BatchCommand::Kind::ChangeAnimationPace).Execute(context);
            break;
        case Kind::FirstKeyZero:
            BatchCommand(host, BatchCommand::Kind::MoveFirstKeyTimeZero).Execute(context);
            break;
        case Kind::ResetOrientation:
            BatchCommand(host, BatchCommand::Kind::ResetOrientation).Execute(context);
            break;
        case Kind::Reverse:
            BatchCommand(host, BatchCommand::Kind::ReverseRotatePositionScale).Execute(context);
            break;
        }
    }
}

} // namespace cli
