#pragma once
// The pages' controls as the window's design gives them: a name, a place in twips, a caption.
#include "ui/twips.h"

#include <QFrame>
#include <QLabel>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kesto::ui {

template <class Widget> Widget *named(Widget *widget, const char *name, const QRect &geometry)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);
// A sunken 3-D panel with a one-line caption (the size display, the link panels).
QLabel *makePanel(QWidget *parent, const char *name, const QRect &geometry,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter);
// A path display: the whole path is its text (and, once the pointer comes, its tool-tip), shown
// elided in the middle so that the file name stays in view.
QLabel *makePathDisplay(QWidget *parent, const char *name, const QRect &geometry);
QFrame *makeFrame(QWidget *parent, const char *name, const QRect &geometry);
QPushButton *makeButton(QWidget *parent, const char *name, const QString &text,
                        const QRect &geometry);
// Exclusivity is kept by the handlers, from the job: a loaded job may have both options off.
QRadioButton *makeOption(QWidget *parent, const char *name, const QString &text,
                         const QRect &geometry);
QCheckBox *makeCheck(QWidget *parent, const char *name, const QString &text, const QRect &geometry);
QLineEdit *makeEdit(QWidget *parent, const char *name, const QRect &geometry);
void setTextColour(QWidget *widget, const QColor &colour);
void setEditText(QLineEdit *edit, const QString &text);

// A page: a frame at its designed place, hidden until navigation shows it.
class PageFrame : public QFrame {
public:
    PageFrame(QWidget *parent, const char *name, int left, int top, int width, int height);
};

} // namespace kesto::ui
