#include "help_window.h"

#include "qt_platform.h"
#include "translations.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

namespace kesto {

namespace {
constexpr int TargetRole = Qt::UserRole;

// ":/help/de/contents.html" in a German window, ":/help/contents.html" in English; the links of
// a page lead to pages of its own language.
QString helpFile(const QString &name)
{
    initUiResources();
    const QString language = ui::TranslationLanguage();
    const QString translated = QStringLiteral(":/help/%1/%2").arg(language, name);
    if (!language.isEmpty() && QFile::exists(translated))
        return translated;
    return QStringLiteral(":/help/") + name;
}
} // namespace

QUrl HelpWindow::contentsPage()
{
    return QUrl(QStringLiteral("qrc") + helpFile(QStringLiteral("contents.html")));
}

QUrl HelpWindow::indexPage()
{
    return QUrl(QStringLiteral("qrc") + helpFile(QStringLiteral("index.html")));
}

QList<HelpTopic> HelpWindow::indexTopics()
{
    QFile file(helpFile(QStringLiteral("index.html")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QTextDocument document;
    document.setHtml(QString::fromUtf8(file.readAll()));

    // A link may be cut into several fragments by its formatting; consecutive fragments of
    // one link make one topic.
    QList<HelpTopic> result;
    QString lastHref;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            const QString href = format.isAnchor() ? format.anchorHref() : QString();
            if (href.isEmpty()) {
                lastHref.clear();
                continue;
            }
            if (href == lastHref && !result.isEmpty())
                result.last().title += fragment.text();
            else
                result.append({fragment.text(), indexPage().resolved(QUrl(href))});
            lastHref = href;
        }
        lastHref.clear();
    }
    for (HelpTopic &topic : result)
        topic.title = topic.title.simplified();
    result.removeIf([](const HelpTopic &topic) { return topic.title.isEmpty(); });
    return result;
}

HelpWindow::HelpWindow(QWidget *owner) : QWidget(owner, Qt::Window)
{
    setWindowTitle(tr("Kesto32 Help"));
    resize(760, 540);

    auto *contentsButton = new QPushButton(tr("&Contents"));
    auto *indexButton = new QPushButton(tr("&Index"));
    auto *backButton = new QPushButton(tr("&Back"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(contentsButton);
    buttons->addWidget(indexButton);
    buttons->addWidget(backButton);
    buttons->addStretch();

    finder = new QWidget;
    search = new QLineEdit;
    search->setClearButtonEnabled(true);
    search->setPlaceholderText(tr("Search the index"));
    topics = new QListWidget;
    auto *finderLayout = new QVBoxLayout(finder);
    finderLayout->setContentsMargins(0, 0, 0, 0);
    finderLayout->addWidget(new QLabel(tr("Type a word to look for:")));
    finderLayout->addWidget(search);
    finderLayout->addWidget(topics);
    for (const HelpTopic &topic : indexTopics()) {
        auto *item = new QListWidgetItem(topic.title, topics);
        item->setData(TargetRole, topic.target);
    }

    pages = new QTextBrowser;
    pages->setOpenExternalLinks(true);

    auto *splitter = new QSplitter;
    splitter->addWidget(finder);
    splitter->addWidget(pages);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({240, 520});

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(splitter);

    connect(contentsButton, &QPushButton::clicked, this, &HelpWindow::showContents);
    connect(indexButton, &QPushButton::clicked, this, &HelpWindow::showFinder);
    connect(backButton, &QPushButton::clicked, pages, &QTextBrowser::backward);
    connect(pages, &QTextBrowser::backwardAvailable, backButton, &QPushButton::setEnabled);
    connect(search, &QLineEdit::textChanged, this, &HelpWindow::filterTopics);
    connect(search, &QLineEdit::returnPressed, this, &HelpWindow::openFirstVisibleTopic);
    connect(topics, &QListWidget::itemActivated, this, &HelpWindow::openTopic);
    connect(topics, &QListWidget::itemClicked, this, &HelpWindow::openTopic);
    backButton->setEnabled(false);
    finder->hide();
}

void HelpWindow::showContents()
{
    finder->hide();
    pages->setSource(contentsPage());
}

void HelpWindow::showFinder()
{
    finder->show();
    search->clear();
    filterTopics({});
    pages->setSource(indexPage());
    search->setFocus();
}

void HelpWindow::filterTopics(const QString &text)
{
    const QString wanted = text.trimmed();
    QListWidgetItem *first = nullptr;
    for (int row = 0; row < topics->count(); ++row) {
        QListWidgetItem *item = topics->item(row);
        const bool match = item->text().contains(wanted, Qt::CaseInsensitive);
        item->setHidden(!match);
        if (match && !first)
            first = item;
    }
    topics->setCurrentItem(first);
}

void HelpWindow::openTopic(QListWidgetItem *item)
{
    if (item)
        pages->setSource(item->data(TargetRole).toUrl());
}

void HelpWindow::openFirstVisibleTopic()
{
    QListWidgetItem *current = topics->currentItem();
    if (current && !current->isHidden())
        openTopic(current);
}

} // namespace kesto
