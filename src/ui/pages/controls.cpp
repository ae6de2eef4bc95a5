#include "controls.h"

#include <QCheckBox>
#include <QEnterEvent>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

namespace kesto::ui {

namespace {

class PathDisplay : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        drawFrame(&painter);
        const QRect area = contentsRect().adjusted(indent(), 0, -indent(), 0);
        painter.setPen(palette().color(foregroundRole()));
        painter.drawText(area, int(alignment()),
                         fontMetrics().elidedText(text(), Qt::ElideMiddle, area.width()));
    }
    void enterEvent(QEnterEvent *event) override
    {
        setToolTip(text());
        QLabel::enterEvent(event);
    }
};

} // namespace

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry,
                  Qt::Alignment alignment)
{
    auto *label = named(new QLabel(text, parent), name, geometry);
    // Labels show file names: never let one be taken for markup.
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(alignment);
    return label;
}

QLabel *makePanel(QWidget *parent, const char *name, const QRect &geometry, Qt::Alignment alignment)
{
    QLabel *panel = makeLabel(parent, name, QString(), geometry, alignment);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setIndent(3);
    return panel;
}

QLabel *makePathDisplay(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *display = named(new PathDisplay(parent), name, geometry);
    display->setTextFormat(Qt::PlainText);
    display->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    display->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    display->setIndent(3);
    return display;
}

QFrame *makeFrame(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *frame = named(new QFrame(parent), name, geometry);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    return frame;
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &text,
                        const QRect &geometry)
{
    return named(new QPushButton(text, parent), name, geometry);
}

QRadioButton *makeOption(QWidget *parent, const char *name, const QString &text,
                         const QRect &geometry)
{
    auto *option = named(new QRadioButton(text, parent), name, geometry);
    option->setAutoExclusive(false);
    return option;
}

QCheckBox *makeCheck(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    return named(new QCheckBox(text, parent), name, geometry);
}

QLineEdit *makeEdit(QWidget *parent, const char *name, const QRect &geometry)
{
    return named(new QLineEdit(parent), name, geometry);
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

void setEditText(QLineEdit *edit, const QString &text)
{
    if (edit->text() != text)
        edit->setText(text);
}

PageFrame::PageFrame(QWidget *parent, const char *name, int left, int top, int width, int height)
    : QFrame(parent)
{
    named(this, name, twipsRect(left, top, width, height));
    hide();
}

} // namespace kesto::ui
