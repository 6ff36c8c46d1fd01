#pragma once

// A large text .x file as an exporter writes one: a root frame holding `parts` part frames,
// each with a mesh of a rows × columns vertex grid bent into a tube (positions, normals,
// texture coordinates, one material), and one animation set with a rotation, scale and
// position track per part. The numbers have six decimals, as exporters print them.

#include <cmath>
#include <cstdio>
#include <string>

namespace bench {

struct LargeXFileShape {
    int parts = 40;
    int rows = 100;   ///< vertices along a part
    int columns = 50; ///< vertices around it
    int keys = 800;   ///< keys per track
};

namespace detail {

inline void Append(std::string* out, const char* format, double a, double b, double c) {
    char line[160];
    const int n = std::snprintf(line, sizeof line, format, a, b, c);
    out->append(line, std::size_t(n));
}

inline void AppendMesh(std::string* out, int part, const LargeXFileShape& shape) {
    const int vertices = shape.rows * shape.columns;
    const int faces = (shape.rows - 1) * (shape.columns - 1) * 2;
    const double kTau = 6.283185307179586;
    char line[128];
    std::snprintf(line, sizeof line, "  Mesh Part%02dMesh {\n   %d;\n", part, vertices);
    out->append(line);
    for (int r = 0; r < shape.rows; ++r) {
        for (int c = 0; c < shape.columns; ++c) {
            const double angle = kTau * c / (shape.columns - 1);
            const double radius = 30.0 + 5.0 * std::sin(r * 0.37 + part);
            Append(out, "   %.6f;%.6f;%.6f;", radius * std::cos(angle), 2.5 * r - 125.0,
                   radius * std::sin(angle));
            out->append(r + 1 == shape.rows && c + 1 == shape.columns ? ";\n" : ",\n");
        }
    }
    std::snprintf(line, sizeof line, "   %d;\n", faces);
    const std::string faceCount = line;
    std::string faceList;
    for (int r = 0; r + 1 < shape.rows; ++r) {
        for (int c = 0; c + 1 < shape.columns; ++c) {
            const int v = r * shape.columns + c;
            const bool last = r + 2 == shape.rows && c + 2 == shape.columns;
            std::snprintf(line, sizeof line, "   3;%d,%d,%d;,\n   3;%d,%d,%d;%s\n", v,
                          v + shape.columns, v + 1, v + 1, v + shape.columns, v + shape.columns + 1,
                          last ? ";" : ",");
            faceList += line;
        }
    }
    out->append(faceCount);
    out->append(faceList);
    std::snprintf(line, sizeof line, "   MeshNormals {\n    %d;\n", vertices);
    out->append(line);
    for (int r = 0; r < shape.rows; ++r) {
        for (int c = 0; c < shape.columns; ++c) {
            const double angle = kTau * c / (shape.columns - 1);
            Append(out, "    %.6f;%.6f;%.6f;", std::cos(angle), 0.0, std::sin(angle));
            out->append(r + 1 == shape.rows && c + 1 == shape.columns ? ";\n" : ",\n");
        }
    }
    out->append(faceCount);
    out->append(faceList);
    out->append("   }\n");
    std::snprintf(line, sizeof line, "   MeshTextureCoords {\n    %d;\n", vertices);
    out->append(line);
    for (int r = 0; r < shape.rows; ++r) {
        for (int c = 0; c < shape.columns; ++c) {
            std::snprintf(line, sizeof line, "    %.6f;%.6f;%s\n", double(c) / (shape.columns - 1),
                          double(r) / (shape.rows - 1),
                          r + 1 == shape.rows && c + 1 == shape.columns ? ";" : ",");
            out->append(line);
        }
    }
    out->append("   }\n");
    std::snprintf(line, sizeof line, "   MeshMaterialList {\n    1;\n    %d;\n", faces);
    out->append(line);
    for (int f = 0; f < faces; ++f) {
        out->append(f + 1 == faces ? "    0;\n" : "    0,\n");
    }
    out->append("    Material {\n     0.800000;0.700000;0.600000;1.000000;;\n     5.000000;\n"
                "     0.100000;0.100000;0.100000;;\n     0.000000;0.000000;0.000000;;\n"
                "    }\n   }\n  }\n");
}

inline void AppendTrack(std::string* out, int type, int part, const LargeXFileShape& shape) {
    char line[256];
    std::snprintf(line, sizeof line, "  AnimationKey {\n   %d;\n   %d;\n", type, shape.keys);
    out->append(line);
    for (int k = 0; k < shape.keys; ++k) {
        const double t = k * 0.05 + part;
        const char* end = k + 1 == shape.keys ? ";;\n" : ";,\n";
        if (type == 0) {
            std::snprintf(line, sizeof line, "   %d;4;%.6f,%.6f,%.6f,%.6f;%s", k * 10,
                          std::cos(t * 0.5), std::sin(t * 0.5), 0.0, 0.0, end);
        } else if (type == 1) {
            std::snprintf(line, sizeof line, "   %d;3;%.6f,%.6f,%.6f;%s", k * 10, 1.0, 1.0, 1.0,
                          end);
        } else {
            std::snprintf(line, sizeof line, "   %d;3;%.6f,%.6f,%.6f;%s", k * 10, std::sin(t) * 0.1,
                          part * 0.1, 0.0, end);
        }
        out->append(line);
    }
    out->append("  }\n");
}

} // namespace detail

/// The whole file's text.
inline std::string MakeLargeXFile(const LargeXFileShape& shape = {}) {
    std::string out = "xof 0303txt 0032\n\nFrame Root {\n FrameTransformMatrix {\n"
                      "  1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,"
                      "0.000000,0.000000,0.000000,1.000000,0.000000,0.000000,0.000000,"
                      "0.000000,1.000000;;\n }\n";
    char line[256];
    for (int part = 0; part < shape.parts; ++part) {
        std::snprintf(line, sizeof line,
                      " Frame Part%02d {\n  FrameTransformMatrix {\n"
                      "   1.000000,0.000000,0.000000,0.000000,0.000000,1.000000,0.000000,"
                      "0.000000,0.000000,0.000000,1.000000,0.000000,%.6f,0.000000,0.000000,"
                      "1.000000;;\n  }\n",
                      part, part * 8.0);
        out += line;
        detail::AppendMesh(&out, part, shape);
        out += " }\n";
    }
    out += "}\n\nAnimationSet Walk {\n";
    for (int part = 0; part < shape.parts; ++part) {
        std::snprintf(line, sizeof line, " Animation AnimPart%02d {\n  {Part%02d}\n", part, part);
        out += line;
        for (int type = 0; type < 3; ++type) {
            detail::AppendTrack(&out, type, part, shape);
        }
        out += " }\n";
    }
    out += "}\n";
    return out;
}

} // namespace bench
