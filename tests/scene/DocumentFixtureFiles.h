#pragma once

// Small text .x files for the document's open and save sequences, written into a scratch
// folder by the tests that use them.

#include <filesystem>
#include <fstream>
#include <string>

namespace testing_document {

/// A model and its animation set in one file: "FRAME1_Body" (working base name "Body")
/// with a one-triangle mesh, its children "Arm" and an unnamed frame; the set "Walk" moves
/// "Arm" with rotation keys at 0 and 10 and a position key at 10.
inline constexpr char kWalkerFile[] = R"(xof 0303txt 0032

Frame FRAME1_Body {
 FrameTransformMatrix {
  1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.5,0.0,1.0;;
 }
 Mesh BodyMesh {
  3;
  0.0;0.0;0.0;,
  1.0;0.0;0.0;,
  0.0;1.0;0.0;;
  1;
  3;0,1,2;;
 }
 Frame Arm {
  FrameTransformMatrix {
   1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,2.0,0.0,0.0,1.0;;
  }
 }
 Frame {
  FrameTransformMatrix {
   1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,3.0,1.0;;
  }
 }
}

AnimationSet Walk {
 Animation AnimArm {
  {Arm}
  AnimationKey {
   0;
   2;
   0;4;1.0,0.0,0.0,0.0;;,
   10;4;0.707107,0.0,0.707107,0.0;;;
  }
  AnimationKey {
   2;
   1;
   10;3;1.0,2.0,3.0;;;
  }
 }
}
)";

/// The same parts ("Body", "Arm") with other transforms and no animation set.
inline constexpr char kStatueFile[] = R"(xof 0303txt 0032

Frame Body {
 FrameTransformMatrix {
  1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0;;
 }
 Frame Arm {
  FrameTransformMatrix {
   1.0,0.0,0.0,0.0,0.0,1.0,0.0,0.0,0.0,0.0,1.0,0.0,5.0,0.0,0.0,1.0;;
  }
 }
}
)";

/// Only an animation set, "Wave", moving "Arm" with rotation keys at 0 and 20.
inline constexpr char kWaveFile[] = R"(xof 0303txt 0032

AnimationSet Wave {
 Animation AnimArm {
  {Arm}
  AnimationKey {
   0;
   2;
   0;4;1.0,0.0,0.0,0.0;;,
   20;4;0.0,1.0,0.0,0.0;;;
  }
 }
}
)";

/// Writes text to folder/name and returns the path.
inline std::string WriteFixture(const std::filesystem::path& folder, const char* name,
                                const char* text) {
    const std::string path = (folder / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

} // namespace testing_document
