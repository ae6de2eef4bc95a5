// The desktop's side of the outside components: the launcher's programs, the help window, the
// sounds, the message boxes, the file and folder dialogs and the single-instance hand-over.
#include "job/script.h"
#include "support/fakes.h"
#include "support/small_mount.h"
#include "system/free_space.h"
#include "system/paths.h"
#include "system/storage_disks.h"
#include "ui/help_window.h"
#include "ui/qt_platform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTextBrowser>
#include <QUuid>
#include <QtTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace kesto;
using kesto::test::SmallMount;
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

QString uniqueName()
{
    return QStringLiteral("kesto32-test-") + QUuid::createUuid().toString(QUuid::Id128);
}

} // namespace

class LinkCatcher : public QObject {
    Q_OBJECT
public slots:
    void open(const QUrl &url) { opened << url; }

public:
    QList<QUrl> opened;
};

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
        // The programs themselves are started by the tests below; these are the edges.
        row("Notepad.exe /home/ann/my files/a b.nfo", LaunchAction::Editor,
            "/home/ann/my files/a b.nfo");
        row("Notepad.exe /tmp/odd name  ", LaunchAction::Editor, "/tmp/odd name ");
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
        QTest::newRow("created file") << "my docs/a b;$(x).nfo"
                                      << "" << false;
        QTest::newRow("sample") << "sample"
                                << "" << false;
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
        QtLauncher launcher;
        launcher.start(QStringLiteral("notepad.exe ") +
                           (shortForm ? paths::GetShortFileName(path) : path),
                       WindowMode::ShowNoActivate);
        if (sample)
            QVERIFY(QFile::remove(path)); // as the numbering test may do right away
        const QString shown = seen + QFileInfo(path).fileName();
        QTRY_VERIFY(QFileInfo(shown).size() > 0);
        QCOMPARE(test::readAll(shown), QByteArray("  003/012\r\n"));
    }

    void linksOpenWithoutTheirPrefix()
    {
        LinkCatcher catcher;
        for (const char *scheme : {"mailto", "http"})
            QDesktopServices::setUrlHandler(QLatin1String(scheme), &catcher, "open");
        QtLauncher launcher;
        launcher.start(QStringLiteral("webdial.exe >mailto:a@example.org"),
                       WindowMode::ShowNoActivate);
        launcher.start(QStringLiteral("webdial.exe $http://example.org/k/"),
                       WindowMode::ShowNormal);
        for (const char *scheme : {"mailto", "http"})
            QDesktopServices::unsetUrlHandler(QLatin1String(scheme));
        QCOMPARE(catcher.opened, (QList<QUrl>{QUrl(QStringLiteral("mailto:a@example.org")),
                                              QUrl(QStringLiteral("http://example.org/k/"))}));
    }

    void helpViewerOpensTheContents()
    {
        QtHelp help;
        QtLauncher launcher(&help);
        launcher.start(QStringLiteral("winhelp.exe /opt/k/kesto32.hlp"),
                       WindowMode::ShowNoActivate);
        HelpWindow *window = help.window();
        QVERIFY(window && window->isVisible() &&
                window->testAttribute(Qt::WA_ShowWithoutActivating));
        QCOMPARE(window->browser()->source(), HelpWindow::contentsPage());
        QVERIFY(!window->browser()->toPlainText().trimmed().isEmpty());
        QVERIFY(!window->indexPanel()->isVisible());
        // The system help call reuses the one window and takes the focus.
        help.systemHelp(QStringLiteral("/opt/k/Kesto32.HLP"), HelpCommand::Contents);
        QCOMPARE(help.window(), window);
        QVERIFY(!window->testAttribute(Qt::WA_ShowWithoutActivating));
    }

    void finderFiltersTheIndex()
    {
        QtHelp help;
        help.systemHelp(QStringLiteral("/opt/k/Kesto32.HLP"), HelpCommand::Finder);
        HelpWindow *window = help.window();
        QListWidget *list = window->topicList();
        QVERIFY(window->indexPanel()->isVisible());
        const QList<HelpTopic> topics = HelpWindow::indexTopics();
        QCOMPARE(list->count(), topics.size());
        const auto shownTopics = [list] {
            QStringList shown;
            for (int row = 0; row < list->count(); ++row) {
                if (!list->item(row)->isHidden())
                    shown << list->item(row)->text();
            }
            return shown;
        };
        const QString word = topics.last().title.split(QLatin1Char(' ')).constFirst();
        QTest::keyClicks(window->searchField(), word.toUpper());
        const QStringList shown = shownTopics();
        QVERIFY(!shown.isEmpty() && shown.size() < topics.size());
        for (const QString &title : shown)
            QVERIFY(title.contains(word, Qt::CaseInsensitive));

        QTest::keyClick(window->searchField(), Qt::Key_Return);
        const QListWidgetItem *opened = list->currentItem();
        QVERIFY(opened && opened->text().contains(word, Qt::CaseInsensitive));
        QCOMPARE(window->browser()->source().toString(QUrl::RemoveFragment),
                 opened->data(Qt::UserRole).toUrl().toString(QUrl::RemoveFragment));
        // Opening the finder again starts with the whole index.
        help.systemHelp(QStringLiteral("/opt/k/Kesto32.HLP"), HelpCommand::Finder);
        QVERIFY(window->searchField()->text().isEmpty());
        QCOMPARE(shownTopics().size(), topics.size());
    }

    void soundsPreferTheProgramDirectory()
    {
        TestSession ts;
        const QString own = ts.appDir() + QStringLiteral("/type.wav");
        QCOMPARE(QtSound::sourceFor(own), QUrl(QStringLiteral("qrc:/sounds/type.wav")));
        ts.writeFile(QStringLiteral("app/type.wav"), "RIFF");
        QCOMPARE(QtSound::sourceFor(own), QUrl::fromLocalFile(own));
        QVERIFY(QtSound::sourceFor(ts.appDir() + QStringLiteral("/silence.wav")).isEmpty());
    }

    void messageBoxesShowWhatTheyAreGiven()
    {
        const int okCancel = QMessageBox::Ok | QMessageBox::Cancel;
        const std::tuple<Icon, Buttons, bool, int, int> boxes[] = {
            {Icon::Stop, Buttons::Ok, false, QMessageBox::Critical, QMessageBox::Ok},
            {Icon::Exclamation, Buttons::OkCancel, true, QMessageBox::Warning, okCancel},
            {Icon::None, Buttons::Ok, false, QMessageBox::NoIcon, QMessageBox::Ok}};
        for (const auto &[icon, buttons, pressCancel, qtIcon, qtButtons] : boxes) {
            QString seen;
            whenShown<QMessageBox>([&, cancel = pressCancel](QMessageBox *box) {
                seen = QStringLiteral("%1|%2|%3|%4")
                           .arg(box->text(), box->windowTitle())
                           .arg(box->icon())
                           .arg(int(box->standardButtons()));
                box->button(cancel ? QMessageBox::Cancel : QMessageBox::Ok)->click();
            });
            const Answer answer = QtMessageBoxes().show(QStringLiteral("Overwrite?"),
                                                        QStringLiteral("Kesto32"), icon, buttons);
            QCOMPARE(answer == Answer::Ok, !pressCancel);
            QCOMPARE(seen, QStringLiteral("Overwrite?|Kesto32|%1|%2").arg(qtIcon).arg(qtButtons));
        }
    }

    void nameFiltersBecomeQtFilters()
    {
        const std::pair<const char *, const char *> filters[] = {
            {"Script (*.kst)|*.kst|", "Script (*.kst)"},
            {"Skip file (*.*)|*.*|", "Skip file (*)"},
            {"File_id.diz (file_id.diz)|file_id.diz|", "File_id.diz (file_id.diz)"},
            {"Texts|*.txt;*.diz|All|*.*|", "Texts (*.txt *.diz);;All (*)"},
            {"", ""}};
        for (const auto &[pairs, qtFilters] : filters)
            QCOMPARE(qtNameFilters(QLatin1String(pairs)), QLatin1String(qtFilters));
    }

    void openDialogIsSetUpAndAnswers()
    {
        TestSession ts;
        const QString nfo = ts.writeFile(QStringLiteral("src/about.nfo"), "x");
        const QString diz = ts.writeFile(QStringLiteral("src/file_id.diz"), "x");
        QString title, directory, name;
        QStringList filters;
        const auto nameBox = [](QFileDialog *dialog) {
            return dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->text();
        };
        whenShown<QFileDialog>([&](QFileDialog *dialog) {
            name = nameBox(dialog);
            title = dialog->windowTitle();
            directory = dialog->directory().absolutePath();
            filters = dialog->nameFilters();
            QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog));
            dialog->selectFile(nfo);
            static_cast<QDialog *>(dialog)->accept();
        });
        QtDialogs dialogs;
        // The start folder may name a file: the dialog opens beside it.
        QCOMPARE(
            dialogs.openFile({QStringLiteral("Add *.nfo"), QStringLiteral("A nfo (*.nfo)|*.nfo|"),
                              QStringLiteral("*.nfo"), diz}),
            std::optional<QString>(nfo));
        QCOMPARE(title, QStringLiteral("Add *.nfo"));
        QCOMPARE(directory, QFileInfo(diz).absolutePath());
        QCOMPARE(filters, QStringList{QStringLiteral("A nfo (*.nfo)")});
        QCOMPARE(name, QStringLiteral("*.nfo")); // the first name, as given

        // Accepting a wildcard lists what matches; the dialog stays open.
        whenShown<QFileDialog>([&](QFileDialog *dialog) {
            name = nameBox(dialog);
            static_cast<QDialog *>(dialog)->accept();
            QVERIFY(dialog->isVisible());
            QCOMPARE(dialog->selectedNameFilter(), QStringLiteral("*.kst"));
            dialog->reject();
        });
        QCOMPARE(dialogs.saveFile(ScriptDialogSetup(QStringLiteral("Save script"), ts.appDir())),
                 std::nullopt);
        QCOMPARE(name, QStringLiteral("*.kst"));
    }

    // The folder picker shows the highlighted folder, or a warning where the program's real
    // free-space reading finds the drive unusable.
    void folderPickerWarnsOfAnUnusableDrive_data()
    {
        QTest::addColumn<QString>("kind");
        for (const char *kind : {"ordinary", "proc", "full"})
            QTest::newRow(kind) << kind;
    }
    void folderPickerWarnsOfAnUnusableDrive()
    {
        QFETCH(QString, kind);
        TestSession ts;
        const QString start = ts.path(QStringLiteral("tree/"));
        QString folder = ts.path(QStringLiteral("Some Folder"));
        QDir().mkpath(folder);
        std::unique_ptr<SmallMount> mount;
        if (kind == QLatin1String("proc")) {
            folder = QStringLiteral("/proc/self");
        } else if (kind == QLatin1String("full")) {
            mount = std::make_unique<SmallMount>(folder, QStringLiteral("64k"));
            if (!mount->mounted)
                QSKIP("cannot mount a small file system here");
            QFile filler(folder + QStringLiteral("/filler"));
            QVERIFY(filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
            while (filler.write(QByteArray(4096, 'x')) == 4096) {
            }
        }
        StorageDiskInfo disks;
        QtDialogs dialogs;
        dialogs.folderStatus = [&disks](const QString &path) {
            return FolderPickerSelectionChanged(disks, path);
        };
        QString title, before, status;
        whenShown<QFileDialog>([&](QFileDialog *dialog) {
            title = dialog->windowTitle();
            auto *label = dialog->findChild<QLabel *>(QStringLiteral("folderStatus"));
            before = label->text();
            emit dialog->currentChanged(folder);
            status = label->text();
            emit dialog->currentChanged(QString()); // nothing highlighted: the text stays
            QCOMPARE(label->text(), status);
            static_cast<QDialog *>(dialog)->accept();
        });
        const auto chosen = dialogs.pickFolder(QStringLiteral("Source directory"), start);
        QCOMPARE(title, QStringLiteral("Source directory"));
        QCOMPARE(before, QDir::cleanPath(start));
        QCOMPARE(status, kind == QLatin1String("ordinary") ? folder : "Invalid drive");
        QVERIFY(chosen && QDir::cleanPath(*chosen) == QDir::cleanPath(start));
        whenShown<QFileDialog>([](QFileDialog *dialog) { dialog->reject(); });
        QCOMPARE(dialogs.pickFolder(QStringLiteral("Choose"), start), std::nullopt);
    }

    void secondInstanceRaisesTheFirst()
    {
        const QString name = uniqueName();
        auto first = std::make_unique<LocalSingleInstance>(name);
        int activations = 0;
        first->onActivate = [&] { ++activations; };
        QVERIFY(!first->anotherRunning());
        LocalSingleInstance second(name);
        QVERIFY(second.anotherRunning());
        second.activateOther();
        QTRY_COMPARE(activations, 1);
        // The answers are those of the start, even after the other has come up.
        QVERIFY(!first->anotherRunning());
        QVERIFY(second.anotherRunning());
        first.reset();
        QVERIFY(!LocalSingleInstance(name).anotherRunning());
    }

    void staleSocketDoesNotBlockTheFirstInstance()
    {
        const QString name = uniqueName();
        // A socket file without a listener, as a crashed program leaves it.
        const QByteArray socketPath = QFile::encodeName(QDir::tempPath() + QLatin1Char('/') + name);
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(fd >= 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        QVERIFY(size_t(socketPath.size()) < sizeof address.sun_path);
        std::memcpy(address.sun_path, socketPath.constData(), size_t(socketPath.size()));
        QCOMPARE(::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
        ::close(fd);
        QVERIFY(QFileInfo::exists(QFile::decodeName(socketPath)));
        LocalSingleInstance first(name);
        QVERIFY(!first.anotherRunning());
        QVERIFY(LocalSingleInstance(name).anotherRunning());
    }
};

QTEST_MAIN(QtPlatformTest)
#include "test_qt_platform.moc"
