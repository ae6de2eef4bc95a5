#pragma once
// The page list on the left: groups of items, one group open at a time.
#include <QFrame>
#include <QIcon>
#include <QList>

class QAbstractButton;
class QPushButton;
class QToolButton;

namespace kesto::ui {

class ListBar : public QFrame {
    Q_OBJECT
public:
    explicit ListBar(QWidget *parent = nullptr);

    // Returns the group's identity, its index.
    int addGroup(const QString &caption);
    void addItem(int group, const QString &text, const QIcon &icon);
    int currentGroup() const { return current_; }
    // For tests and pictures: the clickable parts.
    QAbstractButton *groupButton(int group) const;
    QAbstractButton *itemButton(const QString &text) const;

signals:
    void listItemClick(const QString &itemText);
    void groupClick(int groupClicked, int previousGroup);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    struct Group {
        QPushButton *header = nullptr;
        QList<QToolButton *> items;
    };
    void openGroup(int group);
    void arrange();

    QList<Group> groups_;
    int current_ = 0;
};

} // namespace kesto::ui
