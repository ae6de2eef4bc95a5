// The desktop's side of the outside components: the launcher's programs, the help window, the
// message boxes, the file and folder dialogs and the single-instance hand-over.
#include "job/script.h"
#include "support/fakes.h"
#include "system/free_space.h"
#include "system/paths.h"
#include "system/storage_disks.h"
#include "ui/help_window.h"
#include "ui/qt_platform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTextBrowser>
#include <QTreeView>
#include <QUuid>
#include <QtTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace kesto;
using kesto::test::TestSession;

Q_DECLARE_METATYPE(kesto::LaunchAction::Kind)

namespace {

// Runs check on the next modal dialog as soon as it is shown.
template <typename Dialog> void whenShown(std::function<void(Dialog *)> check)
{
    QTimer::singleShot(0, qApp, [check] {
        if (auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget()))
            check(dialog);
        else
            QTest::qFail("no dialog shown", __FILE__, __LINE__);
    });
}

// Sets environment variables for its life, then puts back what was there.
class Environment {
public:
    void set(const char *name, const QByteArray &value)
    {
        saved.append({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
        qputenv(name, value);
    }
    ~Environment()
    {
        for (const auto &[name, value, wasSet] : saved)
            wasSet ? qputenv(name, value) : qunsetenv(name);
    }

private:
    QList<std::tuple<const char *, QByteArray, bool>> saved;
};

} // namespace

class QtPlatformTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { initUiResources(); }

    void commandLinesMapToActions_data()
    {
        QTest::addColumn<QString>("commandLine");
        QTest::addColumn<LaunchAction::Kind>("kind");
        QTest::addColumn<QString>("argument");
        const auto row = [](const char *line, LaunchAction::Kind kind, const char *argument) {
            QTest::newRow(line) << line << kind << argument;
        };
        row("Notepad.exe /home/ann/my files/a b.nfo", LaunchAction::Editor,
            "/home/ann/my files/a b.nfo");
        row("Notepad.exe /tmp/odd name  ", LaunchAction::Editor, "/tmp/odd name ");
        row("webdial.exe >mailto:a@example.org", LaunchAction::Link, "mailto:a@example.org");
        row("webdial.exe $http://example.org/k/", LaunchAction::Link, "http://example.org/k/");
        row("webdial.exe >", LaunchAction::None, "");
        row("calc.exe 1+1", LaunchAction::None, "");
    }
    void commandLinesMapToActions()
    {
        QFETCH(QString, commandLine);
        QFETCH(LaunchAction::Kind, kind);
        QFETCH(QString, argument);
        const LaunchAction action = launchActionFor(commandLine);
        QCOMPARE(action.kind, kind);
        QCOMPARE(action.argument, argument);
    }

    void editorComesFromTheEnvironment()
    {
        const QString path = QStringLiteral("/tmp/a b;$(rm x).diz");
        Environment environment;
        environment.set("KESTO32_EDITOR", "gedit --new-window");
        environment.set("VISUAL", "kate");
        QCOMPARE(editorCommand(path), (QStringList{"gedit", "--new-window", path}));
        environment.set("KESTO32_EDITOR", "");
        QCOMPARE(editorCommand(path), (QStringList{"kate", path}));
        environment.set("VISUAL", "");
        QCOMPARE(editorCommand(path), (QStringList{"xdg-open", path}));
    }

    // The editor gets the file as one argument: a created file named as it stands, and the
    // numbering sample (deleted right after the start) as a copy that outlives it, also when its
    // name comes in its command-line form.
    void editorReceivesTheFile_data()
    {
        QTest::addColumn<QString>("file");      // below the session's root; "sample": the sample
        QTest::addColumn<QString>("systemDir"); // empty: the session's own
        QTest::addColumn<bool>("shortForm");
        QTest::newRow("created file") << "my docs/a b;$(x).nfo" << QString() << false;
        QTest::newRow("sample") << "sample" << QString() << false;
        QTest::newRow("sample below a blank, short form") << "sample"
                                                          << "my sys" << true;
    }
    void editorReceivesTheFile()
    {
        QFETCH(QString, file);
        QFETCH(QString, systemDir);
        QFETCH(bool, shortForm);
        TestSession ts;
        Environment environment;
        const QString seen = ts.path(QStringLiteral("seen/"));
        environment.set("KESTO32_EDITOR", QFile::encodeName(QStringLiteral("cp -t ") + seen));
        if (!systemDir.isEmpty())
            environment.set("KESTO32_SYSTEM_DIR", QFile::encodeName(ts.path(systemDir)));
        const bool sample = file == QLatin1String("sample");
        const QString path =
            sample ? paths::systemFile(QStringLiteral("~kesto.diz")) : ts.path(file);
        QFile text(path);
        QVERIFY(text.open(QIODevice::WriteOnly) && text.write("  003/012\r\n") == 11);
        text.close();
        QtLauncher launcher; // its copy of the sample lives as long as it does
        launcher.start(QStringLiteral("notepad.exe ") +
                           (shortForm ? paths::GetShortFileName(path) : path),
                       WindowMode::ShowNoActivate);
        if (sample)
            QVERIFY(QFile::remove(path)); // as the numbering test may do right away
        const QString shown = seen + QFileInfo(path).fileName();
        QTRY_VERIFY(QFileInfo(shown).size() > 0);
        QCOMPARE(test::readAll(shown), QByteArray("  003/012\r\n"));
    }

    // An editor that cannot start says so and names the command tried.
    void editorThatCannotStartSaysSo()
    {
        TestSession ts;
        Environment environment;
        environment.set("KESTO32_EDITOR", "no-such-editor-here --wait");
        const QString file = ts.writeFile(QStringLiteral("about.nfo"), "x");
        QtLauncher launcher;
        launcher.setMessages(&ts.messages);
        launcher.start(QStringLiteral("notepad.exe ") + file, WindowMode::ShowNoActivate);
        QCOMPARE(ts.messages.shown.size(), 1);
        QCOMPARE(ts.messages.shown[0].text, QStringLiteral("The editor could not be started"));
        QVERIFY2(ts.messages.shown[0].reason.contains("no-such-editor-here --wait " + file),
                 qPrintable(ts.messages.shown[0].reason));
    }

    // The help program opens the contents without taking the focus; the index request opens
    // the finder, whose search field filters the topics and opens the first one on Return.
    void helpShowsContentsOrFinder()
    {
        QtHelp help;
        QtLauncher(&help).start(QStringLiteral("winhelp.exe /opt/k/kesto32.hlp"),
                                WindowMode::ShowNoActivate);
        HelpWindow *window = help.window();
        QVERIFY(window->isVisible() && window->testAttribute(Qt::WA_ShowWithoutActivating));
        QCOMPARE(window->browser()->source(), HelpWindow::contentsPage());
        QVERIFY(!window->indexPanel()->isVisible());

        help.systemHelp(QStringLiteral("/opt/k/Kesto32.HLP"), HelpCommand::Finder);
        QCOMPARE(help.window(), window);
        QVERIFY(window->indexPanel()->isVisible());
        QListWidget *list = window->topicList();
        const QString word = HelpWindow::indexTopics().last().title.section(QLatin1Char(' '), 0, 0);
        QTest::keyClicks(window->searchField(), word.toUpper());
        int shown = 0;
        for (int row = 0; row < list->count(); ++row) {
            const QListWidgetItem *item = list->item(row);
            QVERIFY(item->isHidden() || item->text().contains(word, Qt::CaseInsensitive));
            shown += item->isHidden() ? 0 : 1;
        }
        QVERIFY(shown > 0 && shown < list->count());
        QTest::keyClick(window->searchField(), Qt::Key_Return);
        const QListWidgetItem *opened = list->currentItem();
        QVERIFY(opened && opened->text().contains(word, Qt::CaseInsensitive));
        QCOMPARE(window->browser()->source().toString(QUrl::RemoveFragment),
                 opened->data(Qt::UserRole).toUrl().toString(QUrl::RemoveFragment));
    }

    void messageBoxesShowWhatTheyAreGiven()
    {
        const int okCancel = QMessageBox::Ok | QMessageBox::Cancel;
        // The reason stands beneath the text, which stays as given.
        const std::tuple<Icon, Buttons, bool, int, int, const char *> boxes[] = {
            {Icon::Stop, Buttons::Ok, false, QMessageBox::Critical, QMessageBox::Ok, ""},
            {Icon::Exclamation, Buttons::OkCancel, true, QMessageBox::Warning, okCancel,
             "/out/tool001.zip"}};
        for (const auto &[icon, buttons, pressCancel, qtIcon, qtButtons, reason] : boxes) {
            QString seen;
            whenShown<QMessageBox>([&, cancel = pressCancel](QMessageBox *box) {
                seen = QStringLiteral("%1|%2|%3|%4|%5")
                           .arg(box->text(), box->windowTitle())
                           .arg(box->icon())
                           .arg(int(box->standardButtons()))
                           .arg(box->informativeText());
                box->button(cancel ? QMessageBox::Cancel : QMessageBox::Ok)->click();
            });
            const Answer answer =
                QtMessageBoxes().show(QStringLiteral("Overwrite?"), QStringLiteral("Kesto32"), icon,
                                      buttons, QLatin1String(reason));
            QCOMPARE(answer == Answer::Ok, !pressCancel);
            QCOMPARE(seen, QStringLiteral("Overwrite?|Kesto32|%1|%2|%3")
                               .arg(qtIcon)
                               .arg(qtButtons)
                               .arg(QLatin1String(reason)));
        }
    }

    void nameFiltersBecomeQtFilters()
    {
        const std::pair<const char *, const char *> filters[] = {
            {"Script (*.kst)|*.kst|", "Script (*.kst)"},
            {"Skip file (*.*)|*.*|", "Skip file (*)"},
            {"Texts|*.txt;*.diz|All|*.*|", "Texts (*.txt *.diz);;All (*)"},
            {"", ""}};
        for (const auto &[pairs, qtFilters] : filters)
            QCOMPARE(qtNameFilters(QLatin1String(pairs)), QLatin1String(qtFilters));
    }

    // The dialog opens beside a start folder that names a file, with the first name given; a
    // wildcard accepted there lists what matches and the dialog stays open.
    void fileDialogTakesAWildcardAsAFilter()
    {
        TestSession ts;
        const QString nfo = ts.writeFile(QStringLiteral("src/about.nfo"), "x");
        const QString diz = ts.writeFile(QStringLiteral("src/file_id.diz"), "x");
        QString directory, name;
        const auto nameBox = [](QFileDialog *dialog) {
            return dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->text();
        };
        whenShown<QFileDialog>([&](QFileDialog *dialog) {
            name = nameBox(dialog);
            directory = dialog->directory().absolutePath();
            dialog->selectFile(nfo);
            static_cast<QDialog *>(dialog)->accept();
        });
        QtDialogs dialogs;
        QCOMPARE(
            dialogs.openFile({QStringLiteral("Add *.nfo"), QStringLiteral("A nfo (*.nfo)|*.nfo|"),
                              QStringLiteral("*.nfo"), diz}),
            std::optional<QString>(nfo));
        QCOMPARE(directory, QFileInfo(diz).absolutePath());
        QCOMPARE(name, QStringLiteral("*.nfo"));

        whenShown<QFileDialog>([&](QFileDialog *dialog) {
            static_cast<QDialog *>(dialog)->accept();
            QVERIFY(dialog->isVisible());
            QCOMPARE(dialog->selectedNameFilter(), QStringLiteral("*.kst"));
            dialog->reject();
        });
        RunState state;
        state.ScriptPath = ts.appDir() + QStringLiteral("/job.kst");
        QCOMPARE(dialogs.saveFile(ScriptDialogSetup(QStringLiteral("Save script"), state)),
                 std::nullopt);

        // The filter reads as written, the name column holds a 40-character name, and the
        // dialog's own "no file" button answers an empty path, which is no cancel.
        QString filterShown;
        int nameColumn = 0, fortyChars = 0;
        whenShown<QFileDialog>([&](QFileDialog *dialog) {
            filterShown =
                dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"))->currentText();
            const auto *view = dialog->findChild<QTreeView *>(QStringLiteral("treeView"));
            nameColumn = view->header()->sectionSize(0);
            fortyChars = view->fontMetrics().horizontalAdvance(QString(40, QLatin1Char('n')));
            dialog->findChild<QPushButton *>(QStringLiteral("noneButton"))->click();
        });
        FileDialogSetup skipFile{QStringLiteral("Add skip file"),
                                 QStringLiteral("Skip file (*.*)|*.*|"), QStringLiteral("*.*"),
                                 ts.path(QStringLiteral("src"))};
        skipFile.noneCaption = QStringLiteral("&Remove");
        QCOMPARE(dialogs.openFile(skipFile), std::optional<QString>(QString()));
        QCOMPARE(filterShown, QStringLiteral("Skip file (*.*)"));
        QVERIFY2(nameColumn > fortyChars, qPrintable(QString::number(nameColumn)));
    }

    // The folder picker shows the highlighted folder, or a warning where the program's real
    // free-space reading finds the drive unusable.
    void folderPickerWarnsOfAnUnusableDrive()
    {
        TestSession ts;
        const QString start = ts.path(QStringLiteral("tree/"));
        const QString folder = ts.path(QStringLiteral("Some Folder"));
        QDir().mkpath(folder);
        StorageDiskInfo disks;
        QtDialogs dialogs;
        dialogs.folderStatus = [&disks](const QString &path) {
            return FolderPickerSelectionChanged(disks, path);
        };
        QStringList status;
        whenShown<QFileDialog>([&](QFileDialog *dialog) {
            auto *label = dialog->findChild<QLabel *>(QStringLiteral("folderStatus"));
            for (const QString &highlighted : {folder, QStringLiteral("/proc/self"), QString()}) {
                emit dialog->currentChanged(highlighted); // nothing highlighted: the text stays
                status << label->text();
            }
            static_cast<QDialog *>(dialog)->accept();
        });
        const auto chosen = dialogs.pickFolder(QStringLiteral("Source directory"), start);
        QCOMPARE(status, (QStringList{folder, "Invalid drive", "Invalid drive"}));
        QVERIFY(chosen && QDir::cleanPath(*chosen) == QDir::cleanPath(start));
    }
};

QTEST_MAIN(QtPlatformTest)
#include "test_qt_platform.moc"
