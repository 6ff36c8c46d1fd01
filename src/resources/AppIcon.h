#pragma once

#include <QIcon>
#include <QImage>

namespace resources {

/// The application icon (resource 128): a jointed figure beside a key diamond, drawn in
/// code at 16, 32 and 48 pixels.
QIcon AppIcon();
/// The icon drawn at `size` × `size` pixels.
QImage AppIconImage(int size);

} // namespace resources
