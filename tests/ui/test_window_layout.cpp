// Every page's controls sit inside their page and the window, do not overlap, and show their
// whole caption, in English and in each translation; so do the list bar's items. A page's
// mnemonics are its own: no letter serves two controls.
#include "ui/translations.h"
#include "window_fixture.h"

#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyleOptionButton>

using namespace kesto;
using namespace kesto::test;

namespace {

// Controls of a page: every widget below it that is not part of another control.
QList<QWidget *> controlsOf(QWidget *page)
{
    QList<QWidget *> controls;
    for (QWidget *child : page->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->objectName().isEmpty() || child->objectName().startsWith(QLatin1String("qt_")))
            continue;
        controls << child;
        if (child->metaObject() == &QFrame::staticMetaObject ||
            child->metaObject() == &QGroupBox::staticMetaObject)
            controls << controlsOf(child);
    }
    return controls;
}

QString captionProblem(QWidget *control)
{
    const QFontMetrics metrics = control->fontMetrics();
    if (auto *label = qobject_cast<QLabel *>(control)) {
        const QRect room = label->contentsRect().adjusted(qMax(label->indent(), 0), 0, 0, 0);
        if (label->wordWrap())
            return label->heightForWidth(label->width()) > label->height() ? "wrapped too tall"
                                                                           : "";
        const QStringList lines = label->text().split(QLatin1Char('\n'));
        for (const QString &line : lines) {
            if (metrics.horizontalAdvance(line) > room.width())
                return QStringLiteral("'%1' too wide").arg(line);
        }
        return int(lines.size()) * metrics.height() > room.height() + 2 ? "text too tall" : "";
    }
    if (auto *button = qobject_cast<QPushButton *>(control)) {
        const QString caption = button->text().remove(QLatin1Char('&'));
        return metrics.horizontalAdvance(caption) + 8 > button->width() ? "caption too wide" : "";
    }
    if (auto *button = qobject_cast<QAbstractButton *>(control)) {
        // The room the style paints the caption in, beside the mark.
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const auto contents = qobject_cast<QRadioButton *>(button) ? QStyle::SE_RadioButtonContents
                                                                   : QStyle::SE_CheckBoxContents;
        const QRect room = button->style()->subElementRect(contents, &option, button);
        if (metrics.horizontalAdvance(button->text().remove(QLatin1Char('&'))) > room.width())
            return QStringLiteral("caption too wide");
        if (button->sizeHint().height() > button->height() + 2)
            return QStringLiteral("caption too tall");
    }
    return {};
}

} // namespace

class WindowLayoutTest : public QObject, public WindowFixture {
    Q_OBJECT

private slots:
    void cleanup()
    {
        closeWindow();
        ui::InstallTranslations(QLocale(QLocale::English));
    }

    void pageFitsAndReads_data()
    {
        QTest::addColumn<Page>("page");
        QTest::addColumn<QString>("language");
        for (const QString language : {"en", "de"}) {
            for (Page page : allPages)
                QTest::addRow("%s %s", qPrintable(language), qPrintable(pageName(page)))
                    << page << language;
        }
    }
    void pageFitsAndReads()
    {
        QFETCH(Page, page);
        QFETCH(QString, language);
        QCOMPARE(ui::InstallTranslations(QLocale(language)), language == "en" ? "" : language);
        openWindow(true);
        if (page == Page::About)
            showHelpGroup();
        window->showPage(page);
        QWidget *client = window->centralWidget();
        const QList<QWidget *> controls = controlsOf(window->pageWidget(page));
        QVERIFY(controls.size() >= 4);
        // The list bar's items of the group in view.
        for (QAbstractButton *item : window->listBar()->findChildren<QAbstractButton *>()) {
            QVERIFY2(!item->isVisible() ||
                         (window->listBar()->rect().contains(item->geometry()) &&
                          item->fontMetrics().horizontalAdvance(item->text()) <= item->width()),
                     qPrintable(item->text()));
        }
        QHash<QChar, QString> mnemonics;
        for (QWidget *control : controls) {
            const QString name = control->objectName();
            if (auto *button = qobject_cast<QAbstractButton *>(control)) {
                const qsizetype at = button->text().indexOf(QLatin1Char('&'));
                if (at >= 0 && at + 1 < button->text().size()) {
                    const QChar key = button->text().at(at + 1).toLower();
                    QVERIFY2(!mnemonics.contains(key),
                             qPrintable(name + " shares its mnemonic with " + mnemonics[key]));
                    mnemonics.insert(key, name);
                }
            }
            QVERIFY2(control->parentWidget()->rect().contains(control->geometry()),
                     qPrintable(name + " leaves its parent"));
            const QRect inClient(control->mapTo(client, QPoint(0, 0)), control->size());
            QVERIFY2(client->rect().contains(inClient), qPrintable(name + " leaves the window"));
            const QString problem = captionProblem(control);
            QVERIFY2(problem.isEmpty(), qPrintable(name + ": " + problem));
            for (QWidget *other : controls) {
                QVERIFY2(other == control || other->parentWidget() != control->parentWidget() ||
                             !control->geometry().intersects(other->geometry()),
                         qPrintable(name + " overlaps " + other->objectName()));
            }
        }
    }
};

QTEST_MAIN(WindowLayoutTest)
#include "test_window_layout.moc"
