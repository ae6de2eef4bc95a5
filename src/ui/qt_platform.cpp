#include "qt_platform.h"

#include "help_window.h"
#include "system/command_runner.h"
#include "system/paths.h"

#include <QAudioDevice>
#include <QComboBox>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMediaDevices>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSoundEffect>
#include <QTemporaryDir>
#include <QTreeView>

#include <cstdlib>
#include <memory>

// Resources of a static library are registered by hand; the macro must be used outside any
// namespace.
static void registerUiResources()
{
    Q_INIT_RESOURCE(resources);
    Q_INIT_RESOURCE(help);
}

namespace kesto {

void initUiResources()
{
    static const bool registered = (registerUiResources(), true);
    Q_UNUSED(registered);
}

QString overridableFile(const QString &appDirPath, const QString &resourceDir)
{
    const QFileInfo own(appDirPath);
    if (own.isFile())
        return appDirPath;
    const QString compiledIn = resourceDir + QLatin1Char('/') + own.fileName();
    if (!own.fileName().isEmpty() && QFileInfo(compiledIn).isFile())
        return compiledIn;
    return {};
}

// ---- Message boxes ----------------------------------------------------------------------

Answer QtMessageBoxes::show(const QString &text, const QString &title, Icon icon, Buttons buttons,
                            const QString &reason)
{
    QMessageBox::Icon boxIcon = QMessageBox::NoIcon;
    switch (icon) {
    case Icon::Stop: boxIcon = QMessageBox::Critical; break;
    case Icon::Exclamation: boxIcon = QMessageBox::Warning; break;
    case Icon::None: break;
    }
    const auto standardButtons = buttons == Buttons::OkCancel
                                     ? QMessageBox::Ok | QMessageBox::Cancel
                                     : QMessageBox::StandardButtons(QMessageBox::Ok);
    QMessageBox box(boxIcon, title, text, standardButtons, parentWindow);
    box.setInformativeText(reason);
    box.setDefaultButton(QMessageBox::Ok);
    box.setEscapeButton(buttons == Buttons::OkCancel ? QMessageBox::Cancel : QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok ? Answer::Ok : Answer::Cancel;
}

// ---- File and folder dialogs ------------------------------------------------------------

namespace {

QString qtPatterns(const QString &patterns)
{
    QStringList result;
    for (const QString &pattern : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString trimmed = pattern.trimmed();
        result << (trimmed == QLatin1String("*.*") ? QStringLiteral("*") : trimmed);
    }
    return result.join(QLatin1Char(' '));
}

// A start folder may name a file (the description's path); the dialog opens in its folder.
QString folderOf(const QString &startDir)
{
    const QFileInfo info(startDir);
    return info.isFile() ? info.absolutePath() : startDir;
}

} // namespace

QString qtNameFilters(const QString &pairs)
{
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    const QStringList parts = pairs.split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = qtPatterns(parts[i + 1]);
        if (patterns.isEmpty())
            continue;
        // Qt reads the patterns from the description's last parentheses: replace those.
        QString description = parts[i];
        description.remove(trailingPatterns);
        if (description.isEmpty())
            description = patterns;
        filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return filters.join(QStringLiteral(";;"));
}

namespace {

// The filters as the dialog lists them: each description as written ("Skip file (*.*)"), the
// patterns that Qt applies (qtNameFilters) kept beside it.
struct ShownFilters {
    QStringList captions;
    QList<QStringList> patterns;
};

ShownFilters shownFilters(const QString &pairs)
{
    ShownFilters shown;
    const QStringList parts = pairs.split(QLatin1Char('|'));
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString patterns = qtPatterns(parts[i + 1]);
        if (patterns.isEmpty())
            continue;
        shown.captions << (parts[i].isEmpty() ? patterns : parts[i]);
        shown.patterns << patterns.split(QLatin1Char(' '));
    }
    return shown;
}

} // namespace

std::optional<QString> QtDialogs::openFile(const FileDialogSetup &setup)
{
    return runFileDialog(setup, false);
}

std::optional<QString> QtDialogs::saveFile(const FileDialogSetup &setup)
{
    return runFileDialog(setup, true);
}

namespace {

// The filter list shows the descriptions as written while the file list applies Qt's patterns:
// "*.*" must read as written and still list every name.
void showFilterCaptions(QFileDialog &dialog, const ShownFilters &shown)
{
    auto *box = dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
    if (!box || box->count() != shown.captions.size())
        return;
    for (int i = 0; i < box->count(); ++i)
        box->setItemText(i, shown.captions[i]);
}

// Room for a 40-character name in the name column, and a dialog wide enough to show it.
void widenNameColumn(QFileDialog &dialog)
{
    auto *view = dialog.findChild<QTreeView *>(QStringLiteral("treeView"));
    if (!view)
        return;
    const int nameWidth = view->fontMetrics().horizontalAdvance(QString(40, QLatin1Char('n'))) +
                          view->iconSize().width() + 24;
    view->header()->resizeSection(0, nameWidth);
    const int otherColumns = view->header()->length() - view->header()->sectionSize(0);
    const int sidebar = 160;
    dialog.resize(std::max(dialog.sizeHint().width(), nameWidth + otherColumns / 2 + sidebar + 60),
                  std::max(dialog.sizeHint().height(), 420));
}

// A wildcard in the name box ("*.kst", the dialog's first name) is no file name: accepting it
// lists the matching names instead.
class FileDialog : public QFileDialog {
public:
    using QFileDialog::QFileDialog;

    void accept() override
    {
        const auto *name = findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
        const QString text = name ? name->text().trimmed() : QString();
        if (text.contains(QLatin1Char('*')) || text.contains(QLatin1Char('?'))) {
            setNameFilter(text == QLatin1String("*.*") ? QStringLiteral("*") : text);
            return;
        }
        QFileDialog::accept();
    }
};

} // namespace

std::optional<QString> QtDialogs::runFileDialog(const FileDialogSetup &setup, bool save)
{
    FileDialog dialog(parentWindow, setup.title, folderOf(setup.startDir));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QString filters = qtNameFilters(setup.filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters.split(QStringLiteral(";;")));
    showFilterCaptions(dialog, shownFilters(setup.filter));
    if (!setup.initialName.isEmpty())
        dialog.selectFile(setup.initialName);
    widenNameColumn(dialog);

    bool noneChosen = false;
    if (!setup.noneCaption.isEmpty()) {
        if (auto *buttons = dialog.findChild<QDialogButtonBox *>(QStringLiteral("buttonBox"))) {
            QPushButton *none =
                buttons->addButton(setup.noneCaption, QDialogButtonBox::DestructiveRole);
            none->setObjectName(QStringLiteral("noneButton"));
            QObject::connect(none, &QPushButton::clicked, &dialog, [&dialog, &noneChosen] {
                noneChosen = true;
                static_cast<QDialog &>(dialog).done(QDialog::Accepted);
            });
        }
    }
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    if (noneChosen)
        return QString();
    if (dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

std::optional<QString> QtDialogs::pickFolder(const QString &prompt, const QString &startDir)
{
    QFileDialog dialog(parentWindow, prompt, folderOf(startDir));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setFileMode(QFileDialog::Directory);

    auto *status = new QLabel(&dialog);
    status->setObjectName(QStringLiteral("folderStatus"));
    status->setTextInteractionFlags(Qt::NoTextInteraction);
    if (auto *grid = qobject_cast<QGridLayout *>(dialog.layout()))
        grid->addWidget(status, grid->rowCount(), 0, 1, grid->columnCount());
    else if (dialog.layout())
        dialog.layout()->addWidget(status);

    const auto follow = [this, status](const QString &path) {
        if (path.isEmpty())
            return;
        status->setText(folderStatus ? folderStatus(path) : path);
    };
    QObject::connect(&dialog, &QFileDialog::currentChanged, status, follow);
    QObject::connect(&dialog, &QFileDialog::directoryEntered, status, follow);
    follow(dialog.directory().absolutePath());

    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

// ---- Sound ------------------------------------------------------------------------------

QtSound::QtSound()
{
    initUiResources();
}

QtSound::~QtSound()
{
    qDeleteAll(effects);
}

QUrl QtSound::sourceFor(const QString &path)
{
    const QString file = overridableFile(path, QStringLiteral(":/sounds"));
    if (file.isEmpty())
        return {};
    if (file.startsWith(QLatin1Char(':')))
        return QUrl(QStringLiteral("qrc") + file);
    return QUrl::fromLocalFile(file);
}

void QtSound::play(const QString &path)
{
    const QUrl source = sourceFor(path);
    if (source.isEmpty() || QMediaDevices::audioOutputs().isEmpty())
        return;
    const QString key = source.toString();
    QSoundEffect *effect = effects.value(key);
    if (!effect) {
        effect = new QSoundEffect;
        effect->setSource(source);
        effects.insert(key, effect);
    }
    if (effect->isLoaded()) {
        effect->play();
        return;
    }
    // Loading is asynchronous: play as soon as the sound is ready, once.
    auto connection = std::make_shared<QMetaObject::Connection>();
    *connection =
        QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect, connection] {
            if (effect->status() == QSoundEffect::Loading)
                return;
            QObject::disconnect(*connection);
            if (effect->status() == QSoundEffect::Ready)
                effect->play();
        });
}

// ---- Help -------------------------------------------------------------------------------

QtHelp::~QtHelp()
{
    delete helpWindow.data();
}

void QtHelp::systemHelp(const QString &helpFile, HelpCommand command)
{
    Q_UNUSED(helpFile);
    open(command, true);
}

void QtHelp::open(HelpCommand command, bool activate)
{
    if (!helpWindow) {
        helpWindow = new HelpWindow(ownerWindow);
        helpWindow->setAttribute(Qt::WA_DeleteOnClose);
    }
    helpWindow->setAttribute(Qt::WA_ShowWithoutActivating, !activate);
    if (command == HelpCommand::Finder)
        helpWindow->showFinder();
    else
        helpWindow->showContents();
    helpWindow->show();
    helpWindow->raise();
    if (activate)
        helpWindow->activateWindow();
}

// ---- Started programs -------------------------------------------------------------------

LaunchAction launchActionFor(const QString &commandLine)
{
    const qsizetype blank = commandLine.indexOf(QLatin1Char(' '));
    QString program = blank < 0 ? commandLine : commandLine.left(blank);
    QString argument = blank < 0 ? QString() : commandLine.mid(blank + 1);
    if (argument.endsWith(QLatin1Char(' ')))
        argument.chop(1);
    if (program.endsWith(QLatin1String(".exe"), Qt::CaseInsensitive))
        program.chop(4);

    if (program.compare(QLatin1String("notepad"), Qt::CaseInsensitive) == 0)
        return {LaunchAction::Editor, argument};
    if (program.compare(QLatin1String("winhelp"), Qt::CaseInsensitive) == 0)
        return {LaunchAction::HelpViewer, argument};
    if (program.compare(QLatin1String("webdial"), Qt::CaseInsensitive) == 0 && argument.size() > 1)
        return {LaunchAction::Link, argument.mid(1)}; // after the ">" or "$"
    return {};
}

QStringList editorCommand(const QString &path)
{
    QStringList command;
    for (const char *variable : {"KESTO32_EDITOR", "VISUAL"}) {
        // The variable may carry options ("gedit --new-window"); split them as a user would,
        // without a shell.
        command = QProcess::splitCommand(qEnvironmentVariable(variable));
        if (!command.isEmpty())
            break;
    }
    if (command.isEmpty())
        command << QStringLiteral("xdg-open");
    command << path;
    return command;
}

QtLauncher::QtLauncher(QtHelp *help) : help(help) {}

QtLauncher::~QtLauncher()
{
    discardSampleCopies();
}

void QtLauncher::discardSampleCopies()
{
    delete keptSamples;
    keptSamples = nullptr;
}

// The numbering sample is deleted right after the editor is started; the editor gets a copy
// that lives as long as the program.
QString QtLauncher::editableCopy(const QString &path)
{
    if (QFileInfo(path) != QFileInfo(paths::systemFile(QStringLiteral("~kesto.diz"))))
        return path;
    if (!keptSamples)
        keptSamples = new QTemporaryDir;
    if (!keptSamples->isValid())
        return path;
    static int sampleNumber = 0;
    const QString copy =
        keptSamples->filePath(QString::number(++sampleNumber) + QStringLiteral("/~kesto.diz"));
    QDir().mkpath(QFileInfo(copy).absolutePath());
    return QFile::copy(path, copy) ? copy : path;
}

namespace {

// The editor's file as named on its command line: the rest of the line as it stands, or the one
// word it makes when it is a path in its command-line form (quoted, as the numbering test's
// sample is under a directory with a blank).
QString editorFile(const QString &argument)
{
    if (QFileInfo::exists(argument))
        return argument;
    const SplitCommand split = SplitCommandLine(QStringLiteral("notepad ") + argument);
    if (split.arguments.size() == 1 && split.outputFile.isEmpty())
        return split.arguments.first();
    return argument;
}

} // namespace

void QtLauncher::start(const QString &commandLine, WindowMode mode)
{
    const LaunchAction action = launchActionFor(commandLine);
    switch (action.kind) {
    case LaunchAction::Editor: {
        QStringList command = editorCommand(editableCopy(editorFile(action.argument)));
        const QString tried = command.join(QLatin1Char(' '));
        const QString program = command.takeFirst();
        if (!QProcess::startDetached(program, command) && messages)
            messages->show(
                QCoreApplication::translate("Launcher", "The editor could not be started"),
                QStringLiteral("Kesto32"), Icon::Exclamation, Buttons::Ok,
                QCoreApplication::translate("Launcher", "Tried: %1\nSet KESTO32_EDITOR or VISUAL "
                                                        "to the editor you use.")
                    .arg(tried));
        break;
    }
    case LaunchAction::HelpViewer:
        if (help)
            help->open(HelpCommand::Contents, mode == WindowMode::ShowNormal);
        break;
    case LaunchAction::Link: QDesktopServices::openUrl(QUrl(action.argument)); break;
    case LaunchAction::None: break;
    }
}

// ---- End of the process -----------------------------------------------------------------

void EndProcessAfterShutdown(int exitStatus)
{
    std::fflush(stdout);
    std::fflush(stderr);
    std::_Exit(exitStatus);
}

} // namespace kesto
