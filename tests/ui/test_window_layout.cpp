// Every page's controls sit inside their page and the window, do not overlap, and show their
// whole caption. With KESTO_SCREENSHOT_DIR set, each page is also saved as a picture there.
#include "support/fakes.h"
#include "system/command_runner.h"
#include "system/storage_disks.h"
#include "ui/list_bar.h"
#include "ui/main_window.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QtTest>

using namespace kesto;
using namespace kesto::test;
using kesto::ui::MainWindow;

namespace {

QString caption(const QString &text)
{
    QString plain = text;
    plain.remove(QLatin1Char('&'));
    return plain;
}

// Controls of a page: every widget below it that is not part of another control.
QList<QWidget *> controlsOf(QWidget *page)
{
    QList<QWidget *> controls;
    for (QWidget *child : page->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->objectName().isEmpty() || child->objectName().startsWith(QLatin1String("qt_")))
            continue;
        controls << child;
        const bool container = child->metaObject() == &QFrame::staticMetaObject ||
                               child->metaObject() == &QGroupBox::staticMetaObject;
        if (container)
            controls << controlsOf(child);
    }
    return controls;
}

QString captionProblem(QWidget *control)
{
    const QFontMetrics metrics = control->fontMetrics();
    if (auto *label = qobject_cast<QLabel *>(control)) {
        const QRect room =
            label->contentsRect().adjusted(label->indent() > 0 ? label->indent() : 0, 0, 0, 0);
        if (label->wordWrap()) {
            if (label->heightForWidth(label->width()) > label->height())
                return QStringLiteral("wrapped text too tall");
            return {};
        }
        const QStringList lines = label->text().split(QLatin1Char('\n'));
        for (const QString &line : lines) {
            if (metrics.horizontalAdvance(line) > room.width())
                return QStringLiteral("'%1' too wide").arg(line);
        }
        if (int(lines.size()) * metrics.height() > room.height() + 2)
            return QStringLiteral("text too tall");
        return {};
    }
    if (auto *button = qobject_cast<QPushButton *>(control)) {
        if (metrics.horizontalAdvance(caption(button->text())) + 8 > button->width())
            return QStringLiteral("caption too wide");
        return {};
    }
    if (auto *button = qobject_cast<QAbstractButton *>(control)) {
        if (button->sizeHint().width() > button->width())
            return QStringLiteral("caption too wide");
        if (button->sizeHint().height() > button->height() + 2)
            return QStringLiteral("caption too tall");
    }
    return {};
}

} // namespace

class WindowLayoutTest : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        ts = std::make_unique<TestSession>();
        window = std::make_unique<MainWindow>(ts->session);
        ts->session.svc.window = window.get();
        window->MainWindowLoad();
        ts->sound.played.clear();
    }
    void cleanup()
    {
        window.reset();
        ts.reset();
    }

    void pageFitsAndReads_data()
    {
        QTest::addColumn<int>("page");
        QTest::newRow("Source") << int(Page::Source);
        QTest::newRow("Skip") << int(Page::Skip);
        QTest::newRow("Diz") << int(Page::Diz);
        QTest::newRow("Nfo") << int(Page::Nfo);
        QTest::newRow("Zip") << int(Page::Zip);
        QTest::newRow("Kesto") << int(Page::Kesto);
        QTest::newRow("About") << int(Page::About);
    }
    void pageFitsAndReads()
    {
        QFETCH(int, page);
        window->showPage(Page(page));
        QWidget *pageWidget = window->pageWidget(Page(page));
        QWidget *client = window->centralWidget();
        QVERIFY(!pageWidget->isHidden());

        const QList<QWidget *> controls = controlsOf(pageWidget);
        QVERIFY(controls.size() >= 4);
        for (QWidget *control : controls) {
            const QString name = control->objectName();
            const QRect inParent = control->parentWidget()->rect();
            QVERIFY2(inParent.contains(control->geometry()),
                     qPrintable(name + " leaves its parent"));
            const QRect inClient(control->mapTo(client, QPoint(0, 0)), control->size());
            QVERIFY2(client->rect().contains(inClient), qPrintable(name + " leaves the window"));
            const QString problem = captionProblem(control);
            QVERIFY2(problem.isEmpty(), qPrintable(name + ": " + problem));
            for (QWidget *other : controls) {
                if (other != control && other->parentWidget() == control->parentWidget()) {
                    QVERIFY2(!control->geometry().intersects(other->geometry()),
                             qPrintable(name + " overlaps " + other->objectName()));
                }
            }
        }
        saveScreenshot(QTest::currentDataTag());
    }

    void listBarShowsEveryItem()
    {
        ui::ListBar *bar = window->listBar();
        for (const char *item : {"Source", "Skip", "Diz", "Nfo", "Zip", "Kesto!"}) {
            QAbstractButton *button = bar->itemButton(QLatin1String(item));
            QVERIFY(button && !button->isHidden());
            QVERIFY(bar->rect().contains(button->geometry()));
            QVERIFY2(button->fontMetrics().horizontalAdvance(QLatin1String(item)) <=
                         button->width(),
                     item);
        }
        QTest::mouseClick(bar->groupButton(1), Qt::LeftButton);
        for (const char *item : {"Help", "About"}) {
            QAbstractButton *button = bar->itemButton(QLatin1String(item));
            QVERIFY(button && !button->isHidden());
            QVERIFY(bar->rect().contains(button->geometry()));
        }
        QVERIFY(bar->itemButton(QStringLiteral("Source"))->isHidden());
        window->showPage(Page::About);
        saveScreenshot(QStringLiteral("HelpGroup"));
    }

    void filledPagesPicture()
    {
        if (qEnvironmentVariableIsEmpty("KESTO_SCREENSHOT_DIR"))
            QSKIP("pictures only on request");
        JobSettings &job = ts->session.job;
        job.SourcePath = QStringLiteral("/home/ann/projects/a rather long source directory/src");
        job.SkipList = QStringLiteral("/home/ann/projects/src/old/*.*\r\n/home/ann/src/a.txt\r\n");
        job.DizPath = QStringLiteral("/home/ann/projects/file_id.diz");
        job.DizAutoNumber = true;
        job.DizNoneSelected = false;
        job.DizColumn = QStringLiteral("34");
        job.DizLine = QStringLiteral("3");
        job.NfoPath = QStringLiteral("/home/ann/projects/about.nfo");
        job.NfoFirstOnly = Checked;
        job.ExtraIsDirectory = true;
        job.ExtraPath = QStringLiteral("/home/ann/projects/extras");
        job.ZipDir = QStringLiteral("/srv/out");
        job.ZipName = QStringLiteral("tool");
        job.VolumeSizeSetting = 200;
        window->jobChanged();
        window->setSourceSizeText(QStringLiteral("1,234 files, 56,789,012 bytes, 12 directories"));
        window->setZipFreeSpaceText(QStringLiteral("Free space  700 M"));
        window->setSizeDisplayText(QStringLiteral("100. M"));
        window->setStatusText(QStringLiteral("tool.002"));
        window->setArchiveText(QStringLiteral("tool002.zip"));
        window->setVolumeText(QStringLiteral(" 2 of 10"));
        window->setProgress(42);
        for (Page page : {Page::Source, Page::Skip, Page::Diz, Page::Nfo, Page::Zip, Page::Kesto}) {
            window->showPage(page);
            saveScreenshot(pageName(page) + QStringLiteral("-filled"));
        }
    }

    // The example job opened as the user would, with the real drives and size tool behind it.
    void exampleJobPicture()
    {
        const QString job = qEnvironmentVariable("KESTO_EXAMPLE_JOB");
        if (qEnvironmentVariableIsEmpty("KESTO_SCREENSHOT_DIR") || job.isEmpty())
            QSKIP("pictures of the example job only on request");
        StorageDiskInfo disks;
        SystemCommandRunner runner;
        ts->session.svc.disks = &disks;
        ts->session.svc.runner = &runner;
        window = std::make_unique<MainWindow>(ts->session);
        ts->session.svc.window = window.get();
        window->MainWindowLoad();
        ts->dialogs.answers << job;
        window->open_Click();
        QVERIFY(ts->session.state.JobValid);
        for (Page page : {Page::Source, Page::Skip, Page::Diz, Page::Nfo, Page::Zip}) {
            window->showPage(page);
            saveScreenshot(QStringLiteral("example-") + pageName(page));
        }
        window->showPage(Page::Source);
        auto *drives = window->findChild<QComboBox *>(QStringLiteral("Drive1"));
        drives->showPopup();
        QWidget *list = drives->view()->window();
        QVERIFY(QTest::qWaitForWindowExposed(list));
        saveWidget(list, QStringLiteral("example-drives"));
        drives->hidePopup();
    }

    void menusPicture()
    {
        if (qEnvironmentVariableIsEmpty("KESTO_SCREENSHOT_DIR"))
            QSKIP("pictures only on request");
        for (QMenu *menu :
             {window->findChild<QMenu *>(QStringLiteral("file")),
              window->findChild<QMenu *>(QStringLiteral("helpm")), window->pageMenu()}) {
            menu->popup(window->mapToGlobal(QPoint(20, 20)));
            QVERIFY(QTest::qWaitForWindowExposed(menu));
            saveWidget(menu, QStringLiteral("menu-") + menu->objectName());
            menu->hide();
        }
        // The logo panel's pointer, four times its size over a light and a dark ground.
        const QPixmap pointer =
            window->findChild<QWidget *>(QStringLiteral("SSPanel7"))->cursor().pixmap();
        QPixmap grounds(pointer.width() * 8, pointer.height() * 4);
        grounds.fill(Qt::white);
        QPainter painter(&grounds);
        painter.fillRect(grounds.width() / 2, 0, grounds.width() / 2, grounds.height(),
                         Qt::darkGray);
        for (int x : {0, grounds.width() / 2})
            painter.drawPixmap(QRect(x, 0, pointer.width() * 4, pointer.height() * 4), pointer);
        painter.end();
        QVERIFY(grounds.save(qEnvironmentVariable("KESTO_SCREENSHOT_DIR") +
                             QStringLiteral("/logo-pointer.png")));
    }

private:
    void saveScreenshot(const QString &name) { saveWidget(window.get(), name); }
    void saveWidget(QWidget *widget, const QString &name)
    {
        const QString dir = qEnvironmentVariable("KESTO_SCREENSHOT_DIR");
        if (dir.isEmpty())
            return;
        QDir().mkpath(dir);
        QVERIFY(widget->grab().save(dir + QLatin1Char('/') + name + QStringLiteral(".png")));
    }

    std::unique_ptr<TestSession> ts;
    std::unique_ptr<MainWindow> window;
};

QTEST_MAIN(WindowLayoutTest)
#include "test_window_layout.moc"
