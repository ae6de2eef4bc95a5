#include "list_bar.h"

#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>

namespace kesto::ui {

namespace {
constexpr int headerHeight = 18;
constexpr int maxItemHeight = 40;
} // namespace

ListBar::ListBar(QWidget *parent) : QFrame(parent)
{
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setBackgroundRole(QPalette::Dark);
    setAutoFillBackground(true);
    // Greyed (while the source is measured), the captions stay readable on the dark ground:
    // halfway between their colour and the ground's.
    QPalette greyed = palette();
    const QColor text = greyed.color(QPalette::Active, QPalette::BrightText);
    const QColor ground = greyed.color(QPalette::Active, QPalette::Dark);
    const QColor between((text.red() + ground.red()) / 2, (text.green() + ground.green()) / 2,
                         (text.blue() + ground.blue()) / 2);
    for (QPalette::ColorRole role : {QPalette::BrightText, QPalette::ButtonText})
        greyed.setColor(QPalette::Disabled, role, between);
    setPalette(greyed);
    setFocusPolicy(Qt::StrongFocus);
}

int ListBar::addGroup(const QString &caption)
{
    const int index = int(groups_.size());
    Group group;
    group.header = new QPushButton(caption, this);
    group.header->setFocusPolicy(Qt::NoFocus);
    connect(group.header, &QPushButton::clicked, this, [this, index] {
        const int previous = current_;
        openGroup(index);
        emit groupClick(index, previous);
    });
    groups_.append(group);
    arrange();
    return index;
}

namespace {
// An item is known by its designed name ("Source"), whatever language its label is in.
const char *const ItemName = "itemName";

QString nameOf(const QToolButton *item)
{
    return item->property(ItemName).toString();
}
} // namespace

void ListBar::addItem(int group, const QString &text, const QIcon &icon, const QString &label)
{
    auto *item = new QToolButton(this);
    item->setProperty(ItemName, text);
    item->setText(label.isEmpty() ? text : label);
    item->setIcon(icon);
    item->setIconSize(QSize(16, 16));
    item->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    item->setAutoRaise(true);
    item->setFocusPolicy(Qt::NoFocus);
    item->setCheckable(true);
    item->setForegroundRole(QPalette::BrightText);
    connect(item, &QToolButton::clicked, this, [this, item, text] {
        // The mark follows the page in view, not the click (Help shows no page).
        item->setChecked(!item->isChecked());
        cursor_ = item;
        showCursor();
        emit listItemClick(text);
    });
    groups_[group].items.append(item);
    arrange();
}

QAbstractButton *ListBar::groupButton(int group) const
{
    return groups_.value(group).header;
}

QAbstractButton *ListBar::itemButton(const QString &text) const
{
    for (const Group &group : groups_) {
        for (QToolButton *item : group.items) {
            if (nameOf(item) == text)
                return item;
        }
    }
    return nullptr;
}

QList<QToolButton *> ListBar::allItems() const
{
    QList<QToolButton *> items;
    for (const Group &group : groups_)
        items += group.items;
    return items;
}

int ListBar::groupOf(const QToolButton *item) const
{
    for (int i = 0; i < int(groups_.size()); ++i) {
        if (groups_[i].items.contains(item))
            return i;
    }
    return -1;
}

void ListBar::setCurrentItem(const QString &text)
{
    for (QToolButton *item : allItems()) {
        item->setChecked(nameOf(item) == text);
        if (nameOf(item) == text)
            cursor_ = item;
    }
    showCursor();
}

QString ListBar::currentItem() const
{
    for (QToolButton *item : allItems()) {
        if (item->isChecked())
            return nameOf(item);
    }
    return {};
}

QString ListBar::cursorItem() const
{
    return cursor_ ? nameOf(cursor_) : QString();
}

void ListBar::moveCursor(int step)
{
    const QList<QToolButton *> items = allItems();
    if (items.isEmpty())
        return;
    const qsizetype at = cursor_ ? items.indexOf(cursor_) : -1;
    cursor_ = items.at(std::clamp<qsizetype>(at < 0 ? 0 : at + step, 0, items.size() - 1));
    const int group = groupOf(cursor_);
    if (group != current_) {
        const int previous = current_;
        openGroup(group);
        emit groupClick(group, previous);
    }
    showCursor();
}

// The cursor is drawn only while the bar has the keyboard.
void ListBar::showCursor()
{
    for (QToolButton *item : allItems())
        item->setAutoRaise(!(hasFocus() && item == cursor_));
}

void ListBar::keyPressEvent(QKeyEvent *event)
{
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Left: moveCursor(-1); break;
    case Qt::Key_Down:
    case Qt::Key_Right: moveCursor(1); break;
    case Qt::Key_Home: moveCursor(-int(allItems().size())); break;
    case Qt::Key_End: moveCursor(int(allItems().size())); break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (cursor_ && cursor_->isVisible())
            cursor_->click();
        break;
    default: QFrame::keyPressEvent(event); return;
    }
    event->accept();
}

void ListBar::focusInEvent(QFocusEvent *event)
{
    QFrame::focusInEvent(event);
    if (!cursor_ || !cursor_->isVisible()) {
        const QList<QToolButton *> open = groups_.value(current_).items;
        if (!open.isEmpty())
            cursor_ = open.first();
    }
    showCursor();
}

void ListBar::focusOutEvent(QFocusEvent *event)
{
    QFrame::focusOutEvent(event);
    showCursor();
}

void ListBar::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    arrange();
}

void ListBar::openGroup(int group)
{
    current_ = group;
    arrange();
}

// Headers up to the open group stack at the top, the rest at the bottom; the open group's
// items share the space between.
void ListBar::arrange()
{
    const QRect area = contentsRect();
    const int count = int(groups_.size());
    int top = area.top();
    for (int i = 0; i <= current_ && i < count; ++i) {
        groups_[i].header->setGeometry(area.left(), top, area.width(), headerHeight);
        top += headerHeight;
    }
    int bottom = area.bottom() + 1;
    for (int i = count - 1; i > current_; --i) {
        bottom -= headerHeight;
        groups_[i].header->setGeometry(area.left(), bottom, area.width(), headerHeight);
    }
    for (int i = 0; i < count; ++i) {
        const QList<QToolButton *> &items = groups_[i].items;
        const bool open = i == current_;
        const int itemHeight =
            items.isEmpty() ? 0 : qMin(maxItemHeight, (bottom - top) / int(items.size()));
        int y = top;
        for (QToolButton *item : items) {
            item->setVisible(open);
            if (open) {
                item->setGeometry(area.left(), y, area.width(), itemHeight);
                y += itemHeight;
            }
        }
    }
}

} // namespace kesto::ui
