#include "job/script.h"
#include "support/fakes.h"
#include "system/paths.h"
#include "ui/help_window.h"
#include "ui/qt_platform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDesktopServices>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocalServer>
#include <QMessageBox>
#include <QTextBrowser>
#include <QUuid>
#include <QtTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

using namespace kesto;
using kesto::test::TestSession;

Q_DECLARE_METATYPE(kesto::LaunchAction::Kind)
Q_DECLARE_METATYPE(kesto::Icon)
Q_DECLARE_METATYPE(kesto::Buttons)

namespace {

// Runs check on the next modal dialog as soon as it is shown.
template <typename Dialog> void whenShown(std::function<void(Dialog *)> check)
{
    QTimer::singleShot(0, qApp, [check] {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        if (!dialog) {
            QTest::qFail("no dialog shown", __FILE__, __LINE__);
            return;
        }
        check(dialog);
    });
}

class EnvironmentGuard {
public:
    explicit EnvironmentGuard(std::initializer_list<const char *> names)
    {
        for (const char *name : names)
            saved.append({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
    }
    ~EnvironmentGuard()
    {
        for (const auto &[name, value, set] : saved) {
            if (set)
                qputenv(name, value);
            else
                qunsetenv(name);
        }
    }

private:
    struct Saved {
        const char *name;
        QByteArray value;
        bool set;
    };
    QList<Saved> saved;
};

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
        QTest::newRow("sample in editor")
            << "notepad.exe /home/ann/.cache/kesto32/~kesto.diz" << LaunchAction::Editor
            << "/home/ann/.cache/kesto32/~kesto.diz";
        QTest::newRow("created file, trailing blank")
            << "Notepad.exe /opt/k/temp/file_id.diz " << LaunchAction::Editor
            << "/opt/k/temp/file_id.diz";
        QTest::newRow("blanks inside the path")
            << "Notepad.exe /home/ann/my files/a b.nfo" << LaunchAction::Editor
            << "/home/ann/my files/a b.nfo";
        QTest::newRow("only one trailing blank goes")
            << "Notepad.exe /tmp/odd name  " << LaunchAction::Editor << "/tmp/odd name ";
        QTest::newRow("help viewer")
            << "winhelp.exe /opt/k/kesto32.hlp" << LaunchAction::HelpViewer << "/opt/k/kesto32.hlp";
        QTest::newRow("mail link") << "webdial.exe >mailto:author@example.org" << LaunchAction::Link
                                   << "mailto:author@example.org";
        QTest::newRow("web link") << "webdial.exe $http://example.org/kesto/" << LaunchAction::Link
                                  << "http://example.org/kesto/";
        QTest::newRow("prefix alone") << "webdial.exe >" << LaunchAction::None << "";
        QTest::newRow("unknown program") << "calc.exe 1+1" << LaunchAction::None << "";
        QTest::newRow("empty") << "" << LaunchAction::None << "";
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

    void editorComesFromTheEnvironment_data()
    {
        QTest::addColumn<QByteArray>("ownEditor");
        QTest::addColumn<QByteArray>("visual");
        QTest::addColumn<QStringList>("command");
        const QString path = QStringLiteral("/tmp/a b;$(rm x).diz");
        QTest::newRow("own editor with options")
            << QByteArray("gedit --new-window") << QByteArray("vim")
            << QStringList{"gedit", "--new-window", path};
        QTest::newRow("visual") << QByteArray() << QByteArray("kate") << QStringList{"kate", path};
        QTest::newRow("desktop default")
            << QByteArray() << QByteArray() << QStringList{"xdg-open", path};
    }

    void editorComesFromTheEnvironment()
    {
        QFETCH(QByteArray, ownEditor);
        QFETCH(QByteArray, visual);
        QFETCH(QStringList, command);
        EnvironmentGuard guard{"KESTO32_EDITOR", "VISUAL"};
        qputenv("KESTO32_EDITOR", ownEditor);
        qputenv("VISUAL", visual);
        QCOMPARE(editorCommand(QStringLiteral("/tmp/a b;$(rm x).diz")), command);
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
        EnvironmentGuard guard{"KESTO32_EDITOR", "KESTO32_SYSTEM_DIR"};
        const QString seen = ts.path(QStringLiteral("seen/"));
        qputenv("KESTO32_EDITOR", QFile::encodeName(QStringLiteral("cp -t ") + seen));
        if (!systemDir.isEmpty())
            qputenv("KESTO32_SYSTEM_DIR", QFile::encodeName(ts.path(systemDir)));
        const bool sample = file == QLatin1String("sample");
        const QString path =
            sample ? paths::systemFile(QStringLiteral("~kesto.diz")) : ts.path(file);
        {
            QFile text(path);
            QVERIFY(text.open(QIODevice::WriteOnly));
            text.write("  003/012\r\n");
        }

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
        QDesktopServices::setUrlHandler(QStringLiteral("mailto"), &catcher, "open");
        QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");
        QtLauncher launcher;
        launcher.start(QStringLiteral("webdial.exe >mailto:author@example.org"),
                       WindowMode::ShowNoActivate);
        launcher.start(QStringLiteral("webdial.exe $http://example.org/kesto/"),
                       WindowMode::ShowNormal);
        QDesktopServices::unsetUrlHandler(QStringLiteral("mailto"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("http"));
        QCOMPARE(catcher.opened, QList<QUrl>({QUrl(QStringLiteral("mailto:author@example.org")),
                                              QUrl(QStringLiteral("http://example.org/kesto/"))}));
    }

    void helpViewerOpensTheContents()
    {
        QtHelp help;
        QtLauncher launcher(&help);
        launcher.start(QStringLiteral("winhelp.exe /opt/k/kesto32.hlp"),
                       WindowMode::ShowNoActivate);
        HelpWindow *window = help.window();
        QVERIFY(window);
        QVERIFY(window->isVisible());
        QVERIFY(window->testAttribute(Qt::WA_ShowWithoutActivating));
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
        QVERIFY(window->indexPanel()->isVisible());
        const QList<HelpTopic> topics = HelpWindow::indexTopics();
        QVERIFY(topics.size() >= 2);
        QCOMPARE(window->topicList()->count(), topics.size());

        const HelpTopic wanted = topics.last();
        const QString word = wanted.title.split(QLatin1Char(' ')).constFirst();
        QTest::keyClicks(window->searchField(), word.toUpper());
        int shown = 0;
        for (int row = 0; row < window->topicList()->count(); ++row) {
            const QListWidgetItem *item = window->topicList()->item(row);
            if (!item->isHidden()) {
                ++shown;
                QVERIFY(item->text().contains(word, Qt::CaseInsensitive));
            }
        }
        QVERIFY(shown >= 1);
        QVERIFY(shown < topics.size());

        QTest::keyClick(window->searchField(), Qt::Key_Return);
        const QListWidgetItem *opened = window->topicList()->currentItem();
        QVERIFY(opened && opened->text().contains(word, Qt::CaseInsensitive));
        QCOMPARE(window->browser()->source().toString(QUrl::RemoveFragment),
                 opened->data(Qt::UserRole).toUrl().toString(QUrl::RemoveFragment));

        // Opening the finder again starts with the whole index.
        help.systemHelp(QStringLiteral("/opt/k/Kesto32.HLP"), HelpCommand::Finder);
        QVERIFY(window->searchField()->text().isEmpty());
        for (int row = 0; row < window->topicList()->count(); ++row)
            QVERIFY(!window->topicList()->item(row)->isHidden());
    }

    void soundsPreferTheProgramDirectory()
    {
        TestSession ts;
        const QString own = ts.appDir() + QStringLiteral("/type.wav");
        QCOMPARE(QtSound::sourceFor(own), QUrl(QStringLiteral("qrc:/sounds/type.wav")));
        ts.writeFile(QStringLiteral("app/type.wav"), "RIFF");
        QCOMPARE(QtSound::sourceFor(own), QUrl::fromLocalFile(own));
        QCOMPARE(QtSound::sourceFor(ts.appDir() + QStringLiteral("/whoosh.wav")),
                 QUrl(QStringLiteral("qrc:/sounds/whoosh.wav")));
        QVERIFY(QtSound::sourceFor(ts.appDir() + QStringLiteral("/silence.wav")).isEmpty());
    }

    void compiledInSoundsArePlayableWaves_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"type.wav", "whoosh.wav", "thunder.wav", "kst.wav"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void compiledInSoundsArePlayableWaves()
    {
        QFETCH(QString, name);
        QFile file(QStringLiteral(":/sounds/") + name);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray wave = file.readAll();
        QVERIFY(wave.size() > 44 && wave.size() < 100'000);
        QCOMPARE(wave.mid(0, 4), QByteArray("RIFF"));
        QCOMPARE(wave.mid(8, 8), QByteArray("WAVEfmt "));
        const auto u16 = [&](int at) {
            return quint16(uchar(wave[at])) | quint16(uchar(wave[at + 1])) << 8;
        };
        QCOMPARE(u16(20), 1); // PCM
        QCOMPARE(u16(22), 1); // mono
    }

    void messageBoxesShowWhatTheyAreGiven_data()
    {
        QTest::addColumn<Icon>("icon");
        QTest::addColumn<Buttons>("buttons");
        QTest::addColumn<int>("qtIcon");
        QTest::addColumn<bool>("pressCancel");
        QTest::addColumn<bool>("answeredOk");
        QTest::newRow("stop") << Icon::Stop << Buttons::Ok << int(QMessageBox::Critical) << false
                              << true;
        QTest::newRow("exclamation, ok")
            << Icon::Exclamation << Buttons::OkCancel << int(QMessageBox::Warning) << false << true;
        QTest::newRow("exclamation, cancel")
            << Icon::Exclamation << Buttons::OkCancel << int(QMessageBox::Warning) << true << false;
        QTest::newRow("no icon") << Icon::None << Buttons::Ok << int(QMessageBox::NoIcon) << false
                                 << true;
    }

    void messageBoxesShowWhatTheyAreGiven()
    {
        QFETCH(Icon, icon);
        QFETCH(Buttons, buttons);
        QFETCH(int, qtIcon);
        QFETCH(bool, pressCancel);
        QFETCH(bool, answeredOk);
        QString seenText, seenTitle;
        int seenIcon = -1;
        QMessageBox::StandardButtons seenButtons;
        whenShown<QMessageBox>([&](QMessageBox *box) {
            seenText = box->text();
            seenTitle = box->windowTitle();
            seenIcon = box->icon();
            seenButtons = box->standardButtons();
            box->button(pressCancel ? QMessageBox::Cancel : QMessageBox::Ok)->click();
        });
        QtMessageBoxes boxes;
        const Answer answer =
            boxes.show(QStringLiteral("Overwrite?"), QStringLiteral("Kesto32"), icon, buttons);
        QCOMPARE(answer == Answer::Ok, answeredOk);
        QCOMPARE(seenText, QStringLiteral("Overwrite?"));
        QCOMPARE(seenTitle, QStringLiteral("Kesto32"));
        QCOMPARE(seenIcon, qtIcon);
        QCOMPARE(seenButtons, buttons == Buttons::OkCancel
                                  ? QMessageBox::Ok | QMessageBox::Cancel
                                  : QMessageBox::StandardButtons(QMessageBox::Ok));
    }

    void nameFiltersBecomeQtFilters_data()
    {
        QTest::addColumn<QString>("pairs");
        QTest::addColumn<QString>("filters");
        QTest::newRow("script") << "Script (*.kst)|*.kst|"
                                << "Script (*.kst)";
        QTest::newRow("every name") << "Skip file (*.*)|*.*|"
                                    << "Skip file (*)";
        QTest::newRow("one name") << "File_id.diz (file_id.diz)|file_id.diz|"
                                  << "File_id.diz (file_id.diz)";
        QTest::newRow("two entries, two patterns") << "Texts|*.txt;*.diz|All|*.*|"
                                                   << "Texts (*.txt *.diz);;All (*)";
        QTest::newRow("no filter") << ""
                                   << "";
    }

    void nameFiltersBecomeQtFilters()
    {
        QFETCH(QString, pairs);
        QFETCH(QString, filters);
        QCOMPARE(qtNameFilters(pairs), filters);
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
        const auto chosen =
            dialogs.openFile({QStringLiteral("Add *.nfo"), QStringLiteral("A nfo (*.nfo)|*.nfo|"),
                              QStringLiteral("*.nfo"), diz});
        QCOMPARE(chosen, std::optional<QString>(nfo));
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

    void folderPickerFollowsTheHighlightedFolder()
    {
        TestSession ts;
        const QString start = ts.path(QStringLiteral("tree/"));
        const QString highlighted = ts.path(QStringLiteral("tree/sub/x"));
        QString title, statusBefore, statusAfter;
        whenShown<QFileDialog>([&](QFileDialog *dialog) {
            title = dialog->windowTitle();
            auto *status = dialog->findChild<QLabel *>(QStringLiteral("folderStatus"));
            QVERIFY(status);
            statusBefore = status->text();
            emit dialog->currentChanged(QFileInfo(highlighted).absolutePath());
            statusAfter = status->text();
            emit dialog->currentChanged(QString()); // nothing highlighted: the text stays
            QCOMPARE(status->text(), statusAfter);
            static_cast<QDialog *>(dialog)->accept();
        });
        QtDialogs dialogs;
        dialogs.folderStatus = [](const QString &path) {
            return path.endsWith(QLatin1String("sub")) ? QStringLiteral("Invalid drive")
                                                       : path.toLower();
        };
        const auto chosen = dialogs.pickFolder(QStringLiteral("Choose the source"), start);
        QCOMPARE(title, QStringLiteral("Choose the source"));
        QCOMPARE(statusBefore, QDir::cleanPath(start).toLower());
        QCOMPARE(statusAfter, QStringLiteral("Invalid drive"));
        QVERIFY(chosen.has_value());
        QCOMPARE(QDir::cleanPath(*chosen), QDir::cleanPath(start));

        whenShown<QFileDialog>([](QFileDialog *dialog) { dialog->reject(); });
        QCOMPARE(dialogs.pickFolder(QStringLiteral("Choose"), start), std::nullopt);
    }

    void secondInstanceRaisesTheFirst()
    {
        const QString name =
            QStringLiteral("kesto32-test-") + QUuid::createUuid().toString(QUuid::Id128);
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
        LocalSingleInstance third(name);
        QVERIFY(!third.anotherRunning());
    }

    void staleSocketDoesNotBlockTheFirstInstance()
    {
        const QString name =
            QStringLiteral("kesto32-test-") + QUuid::createUuid().toString(QUuid::Id128);
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
        LocalSingleInstance second(name);
        QVERIFY(second.anotherRunning());
    }
};

QTEST_MAIN(QtPlatformTest)
#include "test_qt_platform.moc"
