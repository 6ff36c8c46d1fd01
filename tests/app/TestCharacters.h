#pragma once

// Small text .x characters written by the tests themselves, so that key times, positions
// and shared vertices are exactly what a test needs.
//
// The character: a "Body" box (edges 1, centred on its frame) at (x, 0, 0) and an "Arm"
// box hanging from it: the Arm frame sits on the Body's top face and its box goes up from
// there, so the Arm's four bottom corners lie on the Body's four top corners (a morphing
// skin welds them). The animation turns the Arm about z by 0.01 radian per key-time unit,
// with a key at each of the given times (Body keys at the same times hold it still).

#include <cmath>
#include <string>
#include <vector>

#include <QDir>
#include <QFile>
#include <QString>

namespace shell_test {

/// Turn of the Arm at key time t, in radians about z.
inline float ArmAngleAt(float time) {
    return 0.01f * time;
}

inline std::string BoxMesh(const char* indent, float y0, float y1) {
    std::string text = std::string(indent) + "Mesh {\r\n";
    const float x0 = -0.5f, x1 = 0.5f, z0 = -0.5f, z1 = 0.5f;
    const float corners[8][3] = {{x0, y0, z0}, {x1, y0, z0}, {x1, y1, z0}, {x0, y1, z0},
                                 {x0, y0, z1}, {x1, y0, z1}, {x1, y1, z1}, {x0, y1, z1}};
    text += std::string(indent) + " 8;\r\n";
    for (int i = 0; i < 8; ++i) {
        text += std::string(indent) + " " + std::to_string(corners[i][0]) + ";" +
                std::to_string(corners[i][1]) + ";" + std::to_string(corners[i][2]) + ";" +
                (i < 7 ? "," : ";") + "\r\n";
    }
    text += std::string(indent) + " 6;\r\n";
    const char* faces[6] = {"0,3,2,1", "4,5,6,7", "0,4,7,3", "1,2,6,5", "3,7,6,2", "0,1,5,4"};
    for (int i = 0; i < 6; ++i) {
        text += std::string(indent) + " 4;" + faces[i] + (i < 5 ? ";," : ";;") + "\r\n";
    }
    text += std::string(indent) + "}\r\n";
    return text;
}

inline std::string FrameMatrix(const char* indent, float x, float y, float z) {
    return std::string(indent) + "FrameTransformMatrix {\r\n" + indent +
           " 1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0," + std::to_string(x) + "," +
           std::to_string(y) + "," + std::to_string(z) + ",1.0;;\r\n" + indent + "}\r\n";
}

inline std::string RotationKeys(const char* frame, const std::vector<float>& times, bool turn,
                                float rate = 0.01f) {
    std::string text = std::string(" Animation {\r\n  {") + frame +
                       "}\r\n  AnimationOptions {\r\n   1;\r\n   1;\r\n  }\r\n" +
                       "  AnimationKey {\r\n   0;\r\n   " + std::to_string(times.size()) + ";\r\n";
    for (std::size_t i = 0; i < times.size(); ++i) {
        const float half = turn ? rate * times[i] * 0.5f : 0.0f;
        text += "   " + std::to_string(static_cast<int>(times[i])) + "; 4; " +
                std::to_string(std::cos(half)) + ", 0.0, 0.0, " + std::to_string(std::sin(half)) +
                ";;" + (i + 1 < times.size() ? "," : ";") + "\r\n";
    }
    text += "  }\r\n }\r\n";
    return text;
}

/// The character's frames, its Body at (x, 0, 0): the Body and the Arm in it, each with its
/// box.
inline std::string CharacterFrames(float x = 0.0f) {
    std::string text = "Frame Body {\r\n";
    text += FrameMatrix(" ", x, 0.0f, 0.0f);
    text += BoxMesh(" ", -0.5f, 0.5f);
    text += " Frame Arm {\r\n";
    text += FrameMatrix("  ", 0.0f, 0.5f, 0.0f);
    text += BoxMesh("  ", 0.0f, 1.0f);
    return text + " }\r\n}\r\n";
}

/// One animation set of a character written by WriteCharacterSets: its name, its key
/// times, and how fast it turns the Arm (radians about z per key-time unit).
struct SetOfKeys {
    std::string name;
    std::vector<float> times;
    float rate = 0.01f;
};

/// The character (its Body at (x, 0, 0)) with several animation sets, in this order, and
/// the file's tick rate (AnimTicksPerSecond) when `ticksPerSecond` is not 0.
inline QString WriteCharacterSets(const QString& dir, const QString& name,
                                  const std::vector<SetOfKeys>& sets, unsigned ticksPerSecond = 0,
                                  float x = 0.0f) {
    std::string text = "xof 0303txt 0032\r\n\r\n";
    if (ticksPerSecond != 0) {
        text += "AnimTicksPerSecond {\r\n " + std::to_string(ticksPerSecond) + ";\r\n}\r\n";
    }
    text += CharacterFrames(x);
    for (const SetOfKeys& set : sets) {
        text += "\r\nAnimationSet " + set.name + " {\r\n";
        text += RotationKeys("Body", set.times, false);
        text += RotationKeys("Arm", set.times, true, set.rate);
        text += "}\r\n";
    }
    const QString path = QDir(dir).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        return QString();
    }
    file.write(text.data(), static_cast<qint64>(text.size()));
    return path;
}

/// Writes the character into `dir` as `name` and returns its path: one animation set
/// "Turn" with a key at each of the key times; with none the file holds the model only.
inline QString WriteCharacter(const QString& dir, const QString& name,
                              const std::vector<float>& keyTimes, float x = 0.0f) {
    std::vector<SetOfKeys> sets;
    if (!keyTimes.empty()) {
        sets.push_back({"Turn", keyTimes});
    }
    return WriteCharacterSets(dir, name, sets, 0, x);
}

} // namespace shell_test
