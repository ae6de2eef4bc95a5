#include "list_bar.h"

#include <QPushButton>
#include <QToolButton>

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

void ListBar::addItem(int group, const QString &text, const QIcon &icon)
{
    auto *item = new QToolButton(this);
    item->setText(text);
    item->setIcon(icon);
    item->setIconSize(QSize(16, 16));
    item->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    item->setAutoRaise(true);
    item->setFocusPolicy(Qt::NoFocus);
    item->setForegroundRole(QPalette::BrightText);
    connect(item, &QToolButton::clicked, this, [this, text] { emit listItemClick(text); });
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
            if (item->text() == text)
                return item;
        }
    }
    return nullptr;
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
