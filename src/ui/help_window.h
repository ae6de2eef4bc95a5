#pragma once
// The program's own help: HTML pages compiled into the program, a contents page and an index
// of topics with a search field.
#include <QList>
#include <QUrl>
#include <QWidget>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTextBrowser;

namespace kesto {

struct HelpTopic {
    QString title;
    QUrl target;
};

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget *owner = nullptr);

    static QUrl contentsPage();
    static QUrl indexPage();
    // The links of the index page, in page order.
    static QList<HelpTopic> indexTopics();

    void showContents();
    // The index beside the pages, search field emptied and focused.
    void showFinder();

    QTextBrowser *browser() const { return pages; }
    QLineEdit *searchField() const { return search; }
    QListWidget *topicList() const { return topics; }
    QWidget *indexPanel() const { return finder; }

private:
    void filterTopics(const QString &text);
    void openTopic(QListWidgetItem *item);
    void openFirstVisibleTopic();

    QTextBrowser *pages = nullptr;
    QWidget *finder = nullptr;
    QLineEdit *search = nullptr;
    QListWidget *topics = nullptr;
};

} // namespace kesto
