#include "icons.h"

#include <QPainter>
#include <QPainterPath>

#include <cmath>

namespace kesto::ui {

namespace {

constexpr int side = 32; // drawn large, shown small: the icon engine scales down cleanly

QPixmap canvas()
{
    QPixmap pixmap(side, side);
    pixmap.fill(Qt::transparent);
    return pixmap;
}

void drawSheet(QPainter &p, const QColor &paper)
{
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(paper);
    p.drawRect(7, 3, 18, 26);
    p.setPen(QPen(QColor(90, 90, 90), 2));
    for (int y = 9; y <= 23; y += 5)
        p.drawLine(11, y, 21, y);
}

void drawDisc(QPainter &p, const QColor &fill, const QString &glyph)
{
    p.setPen(QPen(Qt::black, 2));
    p.setBrush(fill);
    p.drawEllipse(3, 3, 26, 26);
    QFont font = p.font();
    font.setPixelSize(20);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(3, 3, 26, 26), Qt::AlignCenter, glyph);
}

} // namespace

QIcon listItemIcon(const QString &item)
{
    QPixmap pixmap = canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    if (item == QLatin1String("Source")) {
        p.setPen(QPen(Qt::black, 2));
        p.setBrush(QColor(240, 200, 60));
        QPainterPath folder;
        folder.moveTo(3, 8);
        folder.lineTo(12, 8);
        folder.lineTo(15, 11);
        folder.lineTo(29, 11);
        folder.lineTo(29, 27);
        folder.lineTo(3, 27);
        folder.closeSubpath();
        p.drawPath(folder);
    } else if (item == QLatin1String("Skip")) {
        p.setPen(QPen(QColor(200, 30, 30), 4));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(5, 5, 22, 22);
        p.drawLine(9, 23, 23, 9);
    } else if (item == QLatin1String("Diz")) {
        drawSheet(p, Qt::white);
    } else if (item == QLatin1String("Nfo")) {
        drawSheet(p, QColor(210, 230, 255));
    } else if (item == QLatin1String("Zip")) {
        p.setPen(QPen(Qt::black, 2));
        p.setBrush(QColor(150, 110, 70));
        p.drawRect(4, 8, 24, 18);
        p.setPen(QPen(QColor(230, 230, 230), 2));
        for (int y = 10; y <= 24; y += 4)
            p.drawLine(14, y, 18, y);
    } else if (item == QLatin1String("Kesto!")) {
        p.setPen(QPen(Qt::black, 2));
        p.setBrush(QColor(250, 210, 0));
        p.drawPolygon(QPolygon({{18, 2}, {6, 18}, {15, 18}, {12, 30}, {26, 12}, {17, 12}}));
    } else if (item == QLatin1String("Help")) {
        drawDisc(p, QColor(30, 90, 200), QStringLiteral("?"));
    } else if (item == QLatin1String("About")) {
        drawDisc(p, QColor(30, 140, 60), QStringLiteral("i"));
    }
    p.end();
    return QIcon(pixmap);
}

QPixmap bannerPicture()
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(250, 210, 0));
    p.drawPolygon(QPolygon({{9, 1}, {3, 9}, {7, 9}, {6, 15}, {13, 6}, {9, 6}}));
    return pixmap;
}

QCursor logoCursor()
{
    QPixmap pixmap = canvas();
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(Qt::white, 1.5));
    p.setBrush(Qt::black);
    p.drawPolygon(QPolygonF({{1, 1}, {1, 19}, {6, 14}, {10, 22}, {13, 21}, {9, 13}, {16, 13}}));
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(250, 210, 0));
    QPolygonF star;
    for (int point = 0; point < 10; ++point) {
        const double radius = point % 2 == 0 ? 7.0 : 3.0;
        const double angle = M_PI / 2 + point * M_PI / 5;
        star << QPointF(23 + radius * std::cos(angle), 9 - radius * std::sin(angle));
    }
    p.drawPolygon(star);
    p.end();
    return QCursor(pixmap, 1, 1);
}

} // namespace kesto::ui
