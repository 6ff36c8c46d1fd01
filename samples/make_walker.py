#!/usr/bin/env python3
"""Writes samples/walker.x: a jointed figure of thirteen rigid parts with shaded,
coloured box meshes and a looping walk keyed every two ticks from 0 to 96 (49 key times).

Run: python3 samples/make_walker.py [OUT]   (default: samples/walker.x next to this script)
The file is text .x, the format Pavrix saves, with CR LF line ends.
"""
import math
import os
import sys

# name, parent, joint offset from the parent, box (min, max) in the part's own space, colour
PARTS = [
    ("Hips", None, (0.0, 2.5, 0.0), ((-0.45, -0.25, -0.25), (0.45, 0.2, 0.25)), "pelvis"),
    ("Chest", "Hips", (0.0, 0.2, 0.0), ((-0.55, 0.0, -0.3), (0.55, 1.2, 0.3)), "shirt"),
    ("Head", "Chest", (0.0, 1.25, 0.0), ((-0.3, 0.0, -0.3), (0.3, 0.65, 0.3)), "skin"),
    ("UpperArm_L", "Chest", (-0.7, 1.1, 0.0), ((-0.14, -0.9, -0.14), (0.14, 0.0, 0.14)), "shirt"),
    ("LowerArm_L", "UpperArm_L", (0.0, -0.9, 0.0), ((-0.12, -0.85, -0.12), (0.12, 0.0, 0.12)), "skin"),
    ("UpperArm_R", "Chest", (0.7, 1.1, 0.0), ((-0.14, -0.9, -0.14), (0.14, 0.0, 0.14)), "shirt"),
    ("LowerArm_R", "UpperArm_R", (0.0, -0.9, 0.0), ((-0.12, -0.85, -0.12), (0.12, 0.0, 0.12)), "skin"),
    ("UpperLeg_L", "Hips", (-0.25, -0.25, 0.0), ((-0.18, -1.1, -0.18), (0.18, 0.0, 0.18)), "trousers"),
    ("LowerLeg_L", "UpperLeg_L", (0.0, -1.1, 0.0), ((-0.15, -1.05, -0.15), (0.15, 0.0, 0.15)), "trousers"),
    ("Foot_L", "LowerLeg_L", (0.0, -1.05, 0.0), ((-0.15, -0.12, -0.4), (0.15, 0.0, 0.12)), "shoe"),
    ("UpperLeg_R", "Hips", (0.25, -0.25, 0.0), ((-0.18, -1.1, -0.18), (0.18, 0.0, 0.18)), "trousers"),
    ("LowerLeg_R", "UpperLeg_R", (0.0, -1.1, 0.0), ((-0.15, -1.05, -0.15), (0.15, 0.0, 0.15)), "trousers"),
    ("Foot_R", "LowerLeg_R", (0.0, -1.05, 0.0), ((-0.15, -0.12, -0.4), (0.15, 0.0, 0.12)), "shoe"),
]

MATERIALS = {  # diffuse RGBA, specular power, specular RGB
    "pelvis": ((0.20, 0.25, 0.45, 1.0), 12.0, (0.3, 0.3, 0.3)),
    "shirt": ((0.85, 0.35, 0.20, 1.0), 8.0, (0.2, 0.2, 0.2)),
    "skin": ((0.95, 0.78, 0.62, 1.0), 20.0, (0.4, 0.4, 0.4)),
    "trousers": ((0.22, 0.30, 0.55, 1.0), 6.0, (0.1, 0.1, 0.1)),
    "shoe": ((0.25, 0.18, 0.12, 1.0), 30.0, (0.5, 0.5, 0.5)),
}

CYCLE = 96  # ticks per stride pair
STEP = 2    # ticks between keys


def quat_about_x(angle):
    """(s, x, y, z) of a turn about +x, as the file stores it."""
    return (math.cos(angle / 2), math.sin(angle / 2), 0.0, 0.0)


def quat_about_z(angle):
    return (math.cos(angle / 2), 0.0, 0.0, math.sin(angle / 2))


def quat_mul(a, b):
    s1, x1, y1, z1 = a
    s2, x2, y2, z2 = b
    return (s1 * s2 - x1 * x2 - y1 * y2 - z1 * z2,
            s1 * x2 + s2 * x1 + y1 * z2 - z1 * y2,
            s1 * y2 + s2 * y1 + z1 * x2 - x1 * z2,
            s1 * z2 + s2 * z1 + x1 * y2 - y1 * x2)


def pose(name, t):
    """Rotation of a part at tick t (radians about its joint)."""
    phase = 2 * math.pi * t / CYCLE
    swing = math.sin(phase)
    side = 1.0 if name.endswith("_L") else -1.0
    if name.startswith("UpperLeg"):
        return quat_about_x(0.45 * side * swing)
    if name.startswith("LowerLeg"):
        # The knee bends while the leg swings back and straightens as it reaches forward.
        return quat_about_x(-0.55 * max(0.0, -side * math.sin(phase - 0.6)))
    if name.startswith("Foot"):
        return quat_about_x(0.15 * side * math.cos(phase))
    if name.startswith("UpperArm"):
        spread = quat_about_z(0.12 * side)
        return quat_mul(spread, quat_about_x(-0.4 * side * swing))
    if name.startswith("LowerArm"):
        return quat_about_x(-0.35 - 0.15 * side * swing)
    if name == "Chest":
        return quat_about_x(0.05 + 0.03 * math.cos(2 * phase))
    if name == "Head":
        return quat_about_x(-0.05 * math.cos(2 * phase))
    return (1.0, 0.0, 0.0, 0.0)


def box_mesh(lo, hi):
    """Eight corners, six quads, one normal per face (flat shading)."""
    (x0, y0, z0), (x1, y1, z1) = lo, hi
    v = [(x0, y0, z0), (x1, y0, z0), (x1, y1, z0), (x0, y1, z0),
         (x0, y0, z1), (x1, y0, z1), (x1, y1, z1), (x0, y1, z1)]
    # Corners clockwise seen from outside (left-handed, front faces clockwise).
    faces = [((0, 3, 2, 1), (0, 0, -1)), ((4, 5, 6, 7), (0, 0, 1)),
             ((0, 4, 7, 3), (-1, 0, 0)), ((1, 2, 6, 5), (1, 0, 0)),
             ((3, 7, 6, 2), (0, 1, 0)), ((0, 1, 5, 4), (0, -1, 0))]
    return v, faces


def sep(i, n):
    return "," if i < n - 1 else ";"


def write(out):
    children = {}
    for part in PARTS:
        children.setdefault(part[1], []).append(part)
    lines = ["xof 0303txt 0032", "", "Header {", " 1;", " 0;", " 1;", "}"]

    def frame(part, level):
        name, _, offset, (lo, hi), material = part
        ind = " " * level
        lines.extend(["", f"{ind}Frame {name} {{", f"{ind} FrameTransformMatrix {{"])
        rows = [(1, 0, 0, 0), (0, 1, 0, 0), (0, 0, 1, 0), (offset[0], offset[1], offset[2], 1)]
        for i, r in enumerate(rows):
            tail = "," if i < 3 else ";;"
            lines.append(f"{ind}  " + ",".join(f"{c:f}" for c in r) + tail)
        lines.append(f"{ind} }}")
        verts, faces = box_mesh(lo, hi)
        i2 = ind + "  "
        lines.extend(["", f"{ind} Mesh {{", f"{i2}{len(verts)};"])
        lines.extend([f"{i2}{x:f};{y:f};{z:f};{sep(i, len(verts))}" for i, (x, y, z) in enumerate(verts)])
        lines.append(f"{i2}{len(faces)};")
        for i, (idx, _) in enumerate(faces):
            lines.append(f"{i2}4;" + ",".join(map(str, idx)) + (";," if i < len(faces) - 1 else ";;"))
        colour, power, specular = MATERIALS[material]
        i3 = i2 + " "
        lines.extend(["", f"{i2}MeshMaterialList {{", f"{i3}1;", f"{i3}1;", f"{i3}0;;", "",
                      f"{i3}Material {{",
                      f"{i3} " + ";".join(f"{c:f}" for c in colour) + ";;",
                      f"{i3} {power:f};",
                      f"{i3} " + ";".join(f"{c:f}" for c in specular) + ";;",
                      f"{i3} 0.000000;0.000000;0.000000;;",
                      f"{i3}}}", f"{i2}}}"])
        lines.extend(["", f"{i2}MeshNormals {{", f"{i3}{len(faces)};"])
        lines.extend([f"{i3}{n[0]:f};{n[1]:f};{n[2]:f};{sep(i, len(faces))}" for i, (_, n) in enumerate(faces)])
        lines.append(f"{i3}{len(faces)};")
        lines.extend([f"{i3}4;{i},{i},{i},{i};" + (";" if i == len(faces) - 1 else ",")
                  for i in range(len(faces))])
        lines.extend([f"{i2}}}", f"{ind} }}"])
        for child in children.get(name, []):
            frame(child, level + 1)
        lines.append(f"{ind}}}")

    for root in children[None]:
        frame(root, 0)

    times = list(range(0, CYCLE + 1, STEP))
    lines.extend(["", "AnimationSet Walk {"])
    for name, *_ in PARTS:
        lines.extend(["", f" Animation Anim_{name} {{", f"  {{{name}}}",
                      "  AnimationOptions {", "   0;", "   1;", "  }",
                      "  AnimationKey {", "   0;", f"   {len(times)};"])
        for i, t in enumerate(times):
            q = pose(name, t % CYCLE)
            lines.append(f"   {t}; 4; " + ", ".join(f"{c:f}" for c in q) + ";;" + sep(i, len(times)))
        lines.append("  }")
        if name == "Hips":
            lines.extend(["  AnimationKey {", "   2;", f"   {len(times)};"])
            for i, t in enumerate(times):
                bob = 2.5 + 0.06 * math.cos(4 * math.pi * t / CYCLE)
                lines.append(f"   {t}; 3; 0.000000, {bob:f}, 0.000000;;" + sep(i, len(times)))
            lines.append("  }")
        lines.append(" }")
    lines.append("}")
    with open(out, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("ascii"))


if __name__ == "__main__":
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "walker.x")
    write(target)
