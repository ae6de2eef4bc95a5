#pragma once
// The page list on the left: groups of items, one group open at a time. It marks the item of the
// page in view; from the keyboard the arrow keys move a cursor over the items (opening the
// other group when they cross into it) and Enter or Space clicks the item under it.
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
    // text names the item in the calls below and in listItemClick; label, when given, is what
    // the user reads.
    void addItem(int group, const QString &text, const QIcon &icon, const QString &label = {});
    int currentGroup() const { return current_; }
    // Marks the item of the page in view (none for an unknown text) and puts the cursor on it.
    void setCurrentItem(const QString &text);
    QString currentItem() const;
    // The item under the keyboard cursor.
    QString cursorItem() const;
    // For tests and pictures: the clickable parts.
    QAbstractButton *groupButton(int group) const;
    QAbstractButton *itemButton(const QString &text) const;

signals:
    void listItemClick(const QString &itemText);
    void groupClick(int groupClicked, int previousGroup);

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    struct Group {
        QPushButton *header = nullptr;
        QList<QToolButton *> items;
    };
    void openGroup(int group);
    void arrange();
    QList<QToolButton *> allItems() const;
    int groupOf(const QToolButton *item) const;
    void moveCursor(int step);
    void showCursor();

    QList<Group> groups_;
    int current_ = 0;
    QToolButton *cursor_ = nullptr;
};

} // namespace kesto::ui
