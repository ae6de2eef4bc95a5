#include "marquee.h"

#include "icons.h"

#include <QPainter>
#include <QTimerEvent>

namespace kesto::ui {

namespace {
const QString pictureTag = QStringLiteral("<IMG 1>");
constexpr int stepMs = 40;
} // namespace

Marquee::Marquee(QWidget *parent) : QFrame(parent), picture_(bannerPicture())
{
    // A styled panel: a plain sunken panel's light sides vanish against the white field.
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void Marquee::setText(const QString &text)
{
    text_ = text;
    offset_ = 0;
    update();
}

int Marquee::lineWidth() const
{
    int width = 0;
    const QStringList parts = text_.split(pictureTag);
    for (int i = 0; i < parts.size(); ++i) {
        width += fontMetrics().horizontalAdvance(parts[i]);
        if (i + 1 < parts.size())
            width += picture_.width();
    }
    return width;
}

void Marquee::paintEvent(QPaintEvent *event)
{
    QFrame::paintEvent(event);
    QPainter painter(this);
    const QRect area = contentsRect();
    painter.setClipRect(area);
    const QFontMetrics metrics = fontMetrics();
    const int baseline = area.top() + (area.height() + metrics.ascent() - metrics.descent()) / 2;
    int x = area.right() + 1 - offset_;
    const QStringList parts = text_.split(pictureTag);
    for (int i = 0; i < parts.size(); ++i) {
        painter.drawText(x, baseline, parts[i]);
        x += metrics.horizontalAdvance(parts[i]);
        if (i + 1 < parts.size()) {
            painter.drawPixmap(x, area.top() + (area.height() - picture_.height()) / 2, picture_);
            x += picture_.width();
        }
    }
}

void Marquee::showEvent(QShowEvent *event)
{
    QFrame::showEvent(event);
    // Each showing starts the line at the right edge.
    offset_ = 0;
    timer_.start(stepMs, this);
}

void Marquee::hideEvent(QHideEvent *event)
{
    QFrame::hideEvent(event);
    timer_.stop();
}

void Marquee::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != timer_.timerId()) {
        QFrame::timerEvent(event);
        return;
    }
    // One pass runs from the right edge until the whole line has left on the left.
    offset_ = (offset_ + 1) % (contentsRect().width() + lineWidth() + 1);
    update();
}

} // namespace kesto::ui
