#pragma once
// The main window over a session of fakes, and the helpers that the window tests share.
#include "support/fakes.h"
#include "ui/list_bar.h"
#include "ui/main_window.h"
#include "ui/pages/about_page.h"

#include <QAbstractButton>
#include <QtTest>

Q_DECLARE_METATYPE(kesto::Page)

namespace kesto::test {

inline const Page allPages[] = {Page::Source, Page::Skip,  Page::Diz,  Page::Nfo,
                                Page::Zip,    Page::Kesto, Page::About};

class WindowFixture {
public:
    // The links are shown whatever addresses the build was configured with.
    WindowFixture()
    {
        ui::AuthorEmail = QStringLiteral("kesto32@example.org");
        ui::AuthorWebPage = QStringLiteral("https://kesto32.example.org");
    }
    std::unique_ptr<TestSession> ts = std::make_unique<TestSession>();
    std::unique_ptr<ui::MainWindow> window;

    // A new window on the session: through its start-up, or only shown.
    void openWindow(bool load = false, const QString &commandLine = {})
    {
        window = std::make_unique<ui::MainWindow>(ts->session, commandLine);
        ts->session.svc.window = window.get();
        if (!load) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        } else {
            window->MainWindowLoad();
        }
    }
    void closeWindow()
    {
        window.reset();
        ts.reset(); // before the next one: a session sets and restores the environment
        ts = std::make_unique<TestSession>();
    }

    template <class Widget = QWidget> Widget *child(const QString &name) const
    {
        auto *widget = window->findChild<Widget *>(name);
        if (!widget)
            qFatal("no control %s", qPrintable(name));
        return widget;
    }

    void clickItem(const QString &item) const
    {
        QAbstractButton *button = window->listBar()->itemButton(item);
        QVERIFY2(button && !button->isHidden(), qPrintable(item));
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void showHelpGroup() const
    {
        QTest::mouseClick(window->listBar()->groupButton(1), Qt::LeftButton);
    }

    QList<Page> visiblePages() const
    {
        QList<Page> visible;
        for (Page page : allPages) {
            if (!window->pageWidget(page)->isHidden())
                visible << page;
        }
        return visible;
    }
};

// Options and check boxes react to clicks on their mark and caption only.
inline void tick(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(6, button->height() / 2));
}

} // namespace kesto::test
