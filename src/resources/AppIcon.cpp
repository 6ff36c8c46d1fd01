#include "resources/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace resources {

QImage AppIconImage(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    // Drawn on a 32-unit grid and scaled, so every size shows the same picture.
    p.scale(size / 32.0, size / 32.0);

    // A rounded tile so the icon reads on light and dark backgrounds alike.
    p.setPen(QPen(QColor(20, 40, 90), 1.5));
    p.setBrush(QColor(70, 110, 190));
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);

    // The figure: head, spine, one raised arm, one bent leg; joints as dots.
    const QPointF head(12, 7), neck(12, 11), hip(12, 19), hand(20, 9), elbow(17, 12);
    const QPointF otherHand(6, 15), knee(16, 23), foot(16, 29), otherFoot(8, 29);
    p.setPen(QPen(QColor(250, 250, 250), 2.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    QPainterPath body;
    body.moveTo(neck);
    body.lineTo(hip);
    body.moveTo(neck);
    body.lineTo(elbow);
    body.lineTo(hand);
    body.moveTo(neck);
    body.lineTo(otherHand);
    body.moveTo(hip);
    body.lineTo(knee);
    body.lineTo(foot);
    body.moveTo(hip);
    body.lineTo(otherFoot);
    p.drawPath(body);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(250, 250, 250));
    p.drawEllipse(head, 3.2, 3.2);
    p.setBrush(QColor(255, 210, 60));
    for (const QPointF& joint : {neck, hip, elbow, knee}) {
        p.drawEllipse(joint, 1.6, 1.6);
    }

    // The key diamond.
    p.setPen(QPen(QColor(120, 72, 0), 1.2));
    p.setBrush(QColor(236, 176, 0));
    p.drawPolygon(QPolygonF({QPointF(25, 17), QPointF(30, 22), QPointF(25, 27), QPointF(20, 22)}));
    return image;
}

QIcon AppIcon() {
    QIcon icon;
    for (int size : {16, 32, 48}) {
        icon.addPixmap(QPixmap::fromImage(AppIconImage(size)));
    }
    return icon;
}

} // namespace resources
