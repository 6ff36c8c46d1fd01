#include "resources/ToolBarIcons.h"

#include <functional>
#include <map>
#include <utility>

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

#include "resources/CommandIds.h"

namespace resources {

namespace {

// The faces are drawn on a 16 × 15 grid without antialiasing, so every line lands on
// whole pixels and stays sharp at the size the bar shows it.
const QColor kInk(0, 0, 0);
const QColor kPaper(255, 255, 255);
const QColor kGold(236, 176, 0);
const QColor kGoldEdge(120, 72, 0);
const QColor kGreen(0, 150, 0);
const QColor kRed(210, 0, 0);
const QColor kBlue(0, 72, 200);
const QColor kGrey(96, 96, 96);
const QColor kFolder(244, 204, 72);
const QColor kFolderEdge(140, 100, 0);
const QColor kSkin(240, 176, 144);

void Line(QPainter& p, int x1, int y1, int x2, int y2, const QColor& color, int width = 1) {
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
    p.drawLine(x1, y1, x2, y2);
}

void Box(QPainter& p, int x, int y, int w, int h, const QColor& fill, const QColor& edge) {
    p.fillRect(x, y, w, h, edge);
    if (w > 2 && h > 2) {
        p.fillRect(x + 1, y + 1, w - 2, h - 2, fill);
    }
}

void Polygon(QPainter& p, const QPolygon& shape, const QColor& fill, const QColor& edge) {
    p.setPen(QPen(edge, 1));
    p.setBrush(fill);
    p.drawPolygon(shape);
    p.setBrush(Qt::NoBrush);
}

void Diamond(QPainter& p, int cx, int cy, int r) {
    Polygon(
        p,
        QPolygon({QPoint(cx, cy - r), QPoint(cx + r, cy), QPoint(cx, cy + r), QPoint(cx - r, cy)}),
        kGold, kGoldEdge);
}

void Plus(QPainter& p, int cx, int cy) {
    // Arms two pixels thick and seven long, on a white rim so it reads over anything.
    p.fillRect(cx - 4, cy - 2, 9, 4, kPaper);
    p.fillRect(cx - 2, cy - 4, 4, 9, kPaper);
    p.fillRect(cx - 3, cy - 1, 7, 2, kGreen);
    p.fillRect(cx - 1, cy - 3, 2, 7, kGreen);
}

void Cross(QPainter& p, int x, int y) {
    // A 5 × 5 red X with strokes two pixels wide.
    for (int i = 0; i < 5; ++i) {
        const int width = i < 4 ? 2 : 1;
        p.fillRect(x + i, y + i, width, 1, kRed);
        p.fillRect(x + 4 - i - (width - 1), y + i, width, 1, kRed);
    }
}

// Triangles `width` pixels deep from the flat side at `x` (left or right pointing) and
// 2 × `half` + 1 pixels tall around `cy`.
void TriangleRight(QPainter& p, int x, int cy, int half, int width, const QColor& color) {
    Polygon(p, QPolygon({QPoint(x, cy - half), QPoint(x + width, cy), QPoint(x, cy + half)}), color,
            color.darker(160));
}

void TriangleLeft(QPainter& p, int x, int cy, int half, int width, const QColor& color) {
    Polygon(p,
            QPolygon({QPoint(x + width, cy - half), QPoint(x, cy), QPoint(x + width, cy + half)}),
            color, color.darker(160));
}

void ArrowRight(QPainter& p, int x1, int x2, int y, const QColor& color) {
    Line(p, x1, y, x2, y, color);
    Line(p, x2 - 2, y - 2, x2, y, color);
    Line(p, x2 - 2, y + 2, x2, y, color);
}

void ArrowLeft(QPainter& p, int x1, int x2, int y, const QColor& color) {
    Line(p, x1, y, x2, y, color);
    Line(p, x1 + 2, y - 2, x1, y, color);
    Line(p, x1 + 2, y + 2, x1, y, color);
}

void Figure(QPainter& p, int x, int y, const QColor& color) {
    // A jointed figure 7 wide, 13 high, from (x, y).
    p.fillRect(x + 2, y, 3, 3, color);           // head
    Line(p, x + 3, y + 3, x + 3, y + 8, color);  // spine
    Line(p, x, y + 5, x + 6, y + 5, color);      // arms
    Line(p, x + 3, y + 8, x + 1, y + 12, color); // legs
    Line(p, x + 3, y + 8, x + 5, y + 12, color);
}

void Page(QPainter& p, int x, int y, int w, int h) {
    Polygon(p,
            QPolygon({QPoint(x, y), QPoint(x + w - 4, y), QPoint(x + w, y + 4),
                      QPoint(x + w, y + h), QPoint(x, y + h)}),
            kPaper, kInk);
    Line(p, x + w - 4, y, x + w - 4, y + 4, kInk);
    Line(p, x + w - 4, y + 4, x + w, y + 4, kInk);
}

void Clipboard(QPainter& p, int x, int y, int w, int h) {
    Box(p, x, y + 1, w, h - 1, QColor(200, 150, 90), QColor(110, 70, 20));
    Box(p, x + w / 2 - 2, y, 5, 3, QColor(190, 190, 190), kInk);
}

void Bone(QPainter& p, int x1, int y1, int x2, int y2) {
    Line(p, x1, y1, x2, y2, kGrey, 2);
    p.fillRect(x1 - 1, y1 - 1, 3, 3, kBlue);
    p.fillRect(x2 - 1, y2 - 1, 3, 3, kBlue);
}

void MoveArrows(QPainter& p, int cx, int cy, int r) {
    Line(p, cx - r, cy, cx + r, cy, kBlue);
    Line(p, cx, cy - r, cx, cy + r, kBlue);
    Line(p, cx - r + 1, cy - 1, cx - r + 1, cy + 1, kBlue);
    Line(p, cx + r - 1, cy - 1, cx + r - 1, cy + 1, kBlue);
    Line(p, cx - 1, cy - r + 1, cx + 1, cy - r + 1, kBlue);
    Line(p, cx - 1, cy + r - 1, cx + 1, cy + r - 1, kBlue);
}

void DiagonalArrow(QPainter& p, int x1, int y1, int x2, int y2) {
    // Both ends have heads: a "resize" mark from bottom left to top right.
    Line(p, x1, y1, x2, y2, kBlue);
    Line(p, x1, y1, x1 + 3, y1, kBlue);
    Line(p, x1, y1, x1, y1 - 3, kBlue);
    Line(p, x2, y2, x2 - 3, y2, kBlue);
    Line(p, x2, y2, x2, y2 + 3, kBlue);
}

void Tree(QPainter& p, bool parentMarked, bool childMarked) {
    Line(p, 6, 3, 6, 11, kInk);
    Box(p, 4, 1, 5, 5, parentMarked ? kBlue : kPaper, kInk);
    Box(p, 4, 9, 5, 5, childMarked ? kBlue : kPaper, kInk);
}

using Painter = std::function<void(QPainter&)>;

const std::map<framework::CommandId, Painter>& Faces() {
    static const std::map<framework::CommandId, Painter> faces = {
        // Tool bar 128.
        {ids::FileNew, [](QPainter& p) { Page(p, 3, 1, 10, 13); }},
        {ids::FileOpen,
         [](QPainter& p) {
             Box(p, 1, 3, 6, 3, kFolder, kFolderEdge);
             Box(p, 1, 5, 12, 9, kFolder, kFolderEdge);
             Polygon(p, QPolygon({QPoint(4, 8), QPoint(15, 8), QPoint(12, 13), QPoint(1, 13)}),
                     kFolder.lighter(115), kFolderEdge);
         }},
        {ids::InsertCharacter,
         [](QPainter& p) {
             Figure(p, 1, 1, kGrey);
             Plus(p, 12, 10);
         }},
        {ids::ChangeModel,
         [](QPainter& p) {
             Figure(p, 1, 1, kGrey);
             ArrowRight(p, 9, 15, 4, kBlue);
             ArrowLeft(p, 9, 15, 10, kBlue);
         }},
        {ids::ChangeAnimation,
         [](QPainter& p) {
             Line(p, 0, 12, 8, 12, kInk);
             Diamond(p, 2, 8, 2);
             Diamond(p, 6, 4, 2);
             ArrowRight(p, 9, 15, 4, kBlue);
             ArrowLeft(p, 9, 15, 10, kBlue);
         }},
        {ids::FileSave,
         [](QPainter& p) {
             Box(p, 1, 1, 14, 13, kBlue, QColor(0, 30, 100));
             Box(p, 4, 1, 8, 6, kPaper, QColor(0, 30, 100));
             Box(p, 4, 9, 8, 5, QColor(190, 190, 190), QColor(0, 30, 100));
             p.fillRect(9, 10, 2, 3, QColor(0, 30, 100));
         }},
        {ids::DeleteKeyFrame,
         [](QPainter& p) {
             Diamond(p, 6, 6, 5);
             Cross(p, 10, 9);
         }},
        {ids::CopyKeyFrame,
         [](QPainter& p) {
             Diamond(p, 5, 5, 4);
             Diamond(p, 10, 9, 4);
         }},
        {ids::PasteKeyFrame,
         [](QPainter& p) {
             Clipboard(p, 1, 1, 10, 13);
             Diamond(p, 11, 9, 4);
         }},
        {ids::DeletePartsKeyFrame,
         [](QPainter& p) {
             Bone(p, 2, 2, 8, 8);
             Diamond(p, 4, 11, 2);
             Cross(p, 10, 9);
         }},
        {ids::CopyPartsKeyFrame,
         [](QPainter& p) {
             Bone(p, 2, 2, 7, 7);
             Bone(p, 8, 7, 13, 12);
             Diamond(p, 12, 3, 2);
         }},
        {ids::PastePartsKeyFrame,
         [](QPainter& p) {
             Clipboard(p, 1, 1, 10, 13);
             Bone(p, 8, 6, 13, 12);
         }},
        {ids::EditCut,
         [](QPainter& p) {
             Line(p, 5, 1, 9, 8, kGrey);
             Line(p, 10, 1, 6, 8, kGrey);
             p.setPen(QPen(kInk, 1));
             p.drawEllipse(2, 8, 4, 5);
             p.drawEllipse(9, 8, 4, 5);
         }},
        {ids::EditCopy,
         [](QPainter& p) {
             Page(p, 1, 1, 8, 9);
             Page(p, 6, 4, 8, 10);
         }},
        {ids::EditPaste,
         [](QPainter& p) {
             Clipboard(p, 1, 1, 10, 13);
             Page(p, 7, 5, 7, 9);
         }},
        {ids::Manual,
         [](QPainter& p) {
             Box(p, 2, 1, 11, 13, kBlue, QColor(0, 30, 100));
             p.fillRect(12, 2, 2, 11, kPaper);
             Line(p, 5, 4, 10, 4, kPaper);
             Line(p, 5, 7, 10, 7, kPaper);
             Line(p, 5, 10, 8, 10, kPaper);
         }},
        {ids::AppAbout,
         [](QPainter& p) {
             p.setPen(QPen(QColor(0, 30, 100), 1));
             p.setBrush(kBlue);
             p.drawEllipse(1, 0, 13, 13);
             p.setBrush(Qt::NoBrush);
             p.fillRect(7, 3, 2, 2, kPaper);
             p.fillRect(7, 6, 2, 5, kPaper);
         }},

        // Tool bar 132.
        {ids::AnimationPlayAll,
         [](QPainter& p) {
             TriangleRight(p, 1, 5, 4, 6, kGreen.lighter(150));
             TriangleRight(p, 5, 8, 6, 9, kGreen);
         }},
        {ids::AnimationFirst,
         [](QPainter& p) {
             p.fillRect(2, 3, 2, 9, kInk);
             TriangleLeft(p, 4, 7, 4, 5, kInk);
             TriangleLeft(p, 9, 7, 4, 5, kInk);
         }},
        {ids::AnimationBackStep,
         [](QPainter& p) {
             TriangleLeft(p, 2, 7, 5, 7, kInk);
             p.fillRect(11, 2, 2, 11, kInk);
         }},
        {ids::StopAnimation, [](QPainter& p) { p.fillRect(4, 3, 8, 8, QColor(40, 40, 40)); }},
        {ids::PlayAnimation, [](QPainter& p) { TriangleRight(p, 3, 7, 6, 10, kGreen); }},
        {ids::AnimationForwardStep,
         [](QPainter& p) {
             p.fillRect(3, 2, 2, 11, kInk);
             TriangleRight(p, 6, 7, 5, 7, kInk);
         }},
        {ids::AnimationLast,
         [](QPainter& p) {
             TriangleRight(p, 1, 7, 4, 5, kInk);
             TriangleRight(p, 6, 7, 4, 5, kInk);
             p.fillRect(12, 3, 2, 9, kInk);
         }},
        {ids::KeyFrameLeft,
         [](QPainter& p) {
             TriangleLeft(p, 0, 7, 3, 3, kInk);
             Diamond(p, 10, 7, 5);
         }},
        {ids::KeyFrameRight,
         [](QPainter& p) {
             Diamond(p, 5, 7, 5);
             TriangleRight(p, 12, 7, 3, 3, kInk);
         }},
        {ids::AddKeyFrame,
         [](QPainter& p) {
             Diamond(p, 6, 6, 5);
             Plus(p, 12, 11);
         }},
        {ids::AddLastKeyFrame,
         [](QPainter& p) {
             Line(p, 0, 7, 9, 7, kInk);
             Diamond(p, 2, 7, 2);
             Diamond(p, 7, 7, 2);
             p.fillRect(9, 3, 1, 9, kInk);
             Plus(p, 12, 7);
         }},
        {ids::EditPartsAnimationKey,
         [](QPainter& p) {
             Diamond(p, 5, 9, 4);
             // A pencil writing towards the key.
             Polygon(p, QPolygon({QPoint(10, 9), QPoint(14, 3), QPoint(15, 5), QPoint(11, 11)}),
                     kFolder, kFolderEdge);
             Polygon(p, QPolygon({QPoint(10, 9), QPoint(11, 11), QPoint(9, 13)}), kInk, kInk);
         }},
        {ids::ChangeModelScale,
         [](QPainter& p) {
             Figure(p, 0, 1, kGrey);
             DiagonalArrow(p, 8, 13, 14, 3);
         }},
        {ids::DeleteAllPositionKey,
         [](QPainter& p) {
             MoveArrows(p, 6, 6, 5);
             Cross(p, 10, 9);
         }},
        {ids::ChangeAllPositionKeyScale,
         [](QPainter& p) {
             MoveArrows(p, 5, 5, 4);
             DiagonalArrow(p, 9, 14, 15, 8);
         }},
        {ids::ChangeAnimationPace,
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.setBrush(kPaper);
             p.drawEllipse(1, 0, 13, 13);
             p.setBrush(Qt::NoBrush);
             Line(p, 7, 6, 7, 2, kInk);
             Line(p, 7, 6, 11, 6, kRed);
         }},
        {ids::SkinOn,
         [](QPainter& p) {
             QPainterPath limb;
             limb.moveTo(3, 12);
             limb.lineTo(6, 5);
             limb.lineTo(13, 4);
             p.setPen(QPen(kSkin, 5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
             p.drawPath(limb);
             Line(p, 3, 12, 6, 5, kGrey);
             Line(p, 6, 5, 13, 4, kGrey);
             p.fillRect(5, 4, 3, 3, kBlue);
         }},
        {ids::ResetOrientation,
         [](QPainter& p) {
             Figure(p, 4, 1, kGrey);
             p.setPen(QPen(kBlue, 1));
             p.drawArc(0, 1, 15, 13, 30 * 16, 120 * 16);
             Line(p, 1, 4, 1, 7, kBlue);
             Line(p, 1, 7, 4, 7, kBlue);
         }},
        {ids::MoveFirstKeyTimeZero,
         [](QPainter& p) {
             p.setPen(QPen(kInk, 1));
             p.drawEllipse(0, 3, 4, 8);
             ArrowLeft(p, 6, 10, 7, kBlue);
             Diamond(p, 12, 7, 3);
         }},
        {ids::ReverseRotatePositionScale,
         [](QPainter& p) {
             p.setPen(QPen(kBlue, 1));
             p.drawArc(3, 0, 9, 8, 0, 180 * 16);
             Line(p, 12, 5, 10, 3, kBlue);
             Line(p, 12, 5, 14, 3, kBlue);
             ArrowLeft(p, 1, 14, 11, kInk);
             Line(p, 12, 9, 14, 11, kInk);
             Line(p, 12, 13, 14, 11, kInk);
         }},
        {ids::ViewOnionSkin,
         [](QPainter& p) {
             // A figure between a warm ghost before it and a cool one after it.
             for (const auto& [x, color] :
                  {std::pair(1, kRed), std::pair(11, kBlue), std::pair(6, kInk)}) {
                 p.fillRect(x + 1, 1, 3, 3, color);
                 Line(p, x + 2, 4, x + 2, 9, color);
                 Line(p, x, 6, x + 4, 6, color);
                 Line(p, x + 2, 9, x, 13, color);
                 Line(p, x + 2, 9, x + 4, 13, color);
             }
         }},

        // Tool bar 143.
        {ids::SelectParts,
         [](QPainter& p) {
             Polygon(p,
                     QPolygon({QPoint(4, 0), QPoint(4, 12), QPoint(7, 9), QPoint(9, 14),
                               QPoint(11, 13), QPoint(9, 8), QPoint(13, 8)}),
                     kPaper, kInk);
         }},
        {ids::SetParent,
         [](QPainter& p) {
             Tree(p, true, false);
             Line(p, 12, 3, 12, 12, kGreen);
             Line(p, 10, 5, 12, 3, kGreen);
             Line(p, 14, 5, 12, 3, kGreen);
         }},
        {ids::SetChild,
         [](QPainter& p) {
             Tree(p, false, true);
             Line(p, 12, 2, 12, 11, kGreen);
             Line(p, 10, 9, 12, 11, kGreen);
             Line(p, 14, 9, 12, 11, kGreen);
         }},
        {ids::PartsButton32827,
         [](QPainter& p) {
             Line(p, 3, 3, 3, 11, kInk);
             Line(p, 3, 7, 11, 7, kInk);
             Line(p, 3, 11, 11, 11, kInk);
             Box(p, 1, 1, 5, 4, kBlue, kInk);
             Box(p, 10, 5, 5, 4, kPaper, kInk);
             Box(p, 10, 9, 5, 4, kPaper, kInk);
         }},
    };
    return faces;
}

void UnknownFace(QPainter& p) {
    p.setPen(QPen(kInk, 1));
    p.drawRect(1, 0, 13, 14);
    Line(p, 5, 3, 10, 3, kInk);
    Line(p, 10, 3, 10, 6, kInk);
    Line(p, 10, 6, 7, 8, kInk);
    Line(p, 7, 8, 7, 9, kInk);
    p.fillRect(7, 11, 1, 1, kInk);
}

} // namespace

QSize ToolBarIcons::Size() {
    return {16, 15};
}

int ToolBarIcons::HasIcon(framework::CommandId id) {
    return Faces().count(id) != 0 ? 1 : 0;
}

QImage ToolBarIcons::Icon(framework::CommandId id) {
    QImage image(Size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const auto& faces = Faces();
    const auto found = faces.find(id);
    if (found != faces.end()) {
        found->second(painter);
    } else {
        UnknownFace(painter);
    }
    return image;
}

QImage ToolBarIcons::Bitmap(const std::vector<framework::CommandId>& items) {
    int cells = 0;
    for (framework::CommandId id : items) {
        if (id != 0) {
            ++cells;
        }
    }
    const QSize cell = Size();
    QImage bitmap(cell.width() * cells, cell.height(), QImage::Format_ARGB32_Premultiplied);
    bitmap.fill(Qt::transparent);
    QPainter painter(&bitmap);
    int x = 0;
    for (framework::CommandId id : items) {
        if (id == 0) {
            continue;
        }
        painter.drawImage(x, 0, Icon(id));
        x += cell.width();
    }
    return bitmap;
}

} // namespace resources
