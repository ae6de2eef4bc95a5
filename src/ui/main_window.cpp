#include "main_window.h"

#include "describe/description_files.h"
#include "describe/diz_numbering.h"
#include "describe/skip_list.h"
#include "describe/source_size.h"
#include "engine/output_settings.h"
#include "engine/packaging_run.h"
#include "engine/script_commands.h"
#include "engine/temp_drive.h"
#include "engine/zip_step.h"
#include "icons.h"
#include "job/script.h"
#include "list_bar.h"
#include "marquee.h"
#include "system/paths.h"
#include "system/stop_signals.h"
#include "system/zip_component.h"
#include "twips.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTimer>

namespace kesto::ui {

namespace {

constexpr int clientWidth = 5100;
constexpr int clientHeight = 3675;
constexpr int keyF1 = 112;
// A Windows colour value 0xC00000: red 0, green 0, blue 192.
const QColor linkHoverColour(0, 0, 192);

// Where a right click pops up the page menu: the window background, the pages, their frames,
// every label, the display panels, the title and logo panels and the banner.
const char *const menuSurfaceNames[] = {
    "client",   "Picture1", "Picture2", "Picture4", "Picture5", "Picture6",  "Picture7",
    "Picture8", "SSFrame1", "SSFrame2", "Frame3",   "Frame4",   "Frame5",    "Frame6",
    "Frame8",   "Label1",   "Label2",   "Label3",   "Label4",   "Label5",    "Label6",
    "Label7",   "Label8",   "Label9",   "Label10",  "Label11",  "Label12",   "Label13",
    "Label14",  "Label15",  "Label16",  "Label17",  "SSPanel8", "SSPanel2",  "SSPanel3",
    "SSPanel4", "SSPanel5", "SSPanel6", "SSPanel1", "SSPanel7", "PVMarquee1"};

QString emailCommand()
{
    return QStringLiteral("webdial.exe >mailto:") + AuthorEmail;
}

QString webCommand()
{
    return QStringLiteral("webdial.exe $") + AuthorWebPage;
}

void setTextColour(QWidget *widget, const QColor &colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

template <class Widget> Widget *named(Widget *widget, const char *name, const QRect &geometry)
{
    widget->setObjectName(QLatin1String(name));
    widget->setGeometry(geometry);
    return widget;
}

QLabel *makeLabel(QWidget *parent, const char *name, const QString &text, const QRect &geometry,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    auto *label = named(new QLabel(text, parent), name, geometry);
    // Labels show file names: never let one be taken for markup.
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(alignment);
    return label;
}

// A sunken 3-D panel with a one-line caption (the path displays, the size display).
QLabel *makePanel(QWidget *parent, const char *name, const QRect &geometry,
                  Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter)
{
    QLabel *panel = makeLabel(parent, name, QString(), geometry, alignment);
    panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    panel->setIndent(3);
    return panel;
}

// A path display: the whole path is its text (and its tool-tip), shown elided in the middle so
// that the file name stays in view.
class PathDisplay : public QLabel {
public:
    using QLabel::QLabel;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        drawFrame(&painter);
        const QRect area = contentsRect().adjusted(indent(), 0, -indent(), 0);
        painter.setPen(palette().color(foregroundRole()));
        painter.drawText(area, int(alignment()),
                         fontMetrics().elidedText(text(), Qt::ElideMiddle, area.width()));
    }
};

QLabel *makePathDisplay(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *display = named(new PathDisplay(parent), name, geometry);
    display->setTextFormat(Qt::PlainText);
    display->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    display->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    display->setIndent(3);
    return display;
}

QFrame *makeFrame(QWidget *parent, const char *name, const QRect &geometry)
{
    auto *frame = named(new QFrame(parent), name, geometry);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    return frame;
}

QPushButton *makeButton(QWidget *parent, const char *name, const QString &text,
                        const QRect &geometry)
{
    return named(new QPushButton(text, parent), name, geometry);
}

// Exclusivity is kept by the handlers, from the job: a loaded job may have both options off.
QRadioButton *makeOption(QWidget *parent, const char *name, const QString &text,
                         const QRect &geometry)
{
    auto *option = named(new QRadioButton(text, parent), name, geometry);
    option->setAutoExclusive(false);
    return option;
}

QCheckBox *makeCheck(QWidget *parent, const char *name, const QString &text, const QRect &geometry)
{
    return named(new QCheckBox(text, parent), name, geometry);
}

QLineEdit *makeEdit(QWidget *parent, const char *name, const QRect &geometry)
{
    return named(new QLineEdit(parent), name, geometry);
}

QFrame *makePage(QWidget *parent, const char *name, int left, int top, int width, int height)
{
    auto *page = named(new QFrame(parent), name, twipsRect(left, top, width, height));
    page->hide();
    return page;
}

QString driveItemText(const Drive &drive)
{
    const QString name = QFileInfo(drive.root).fileName();
    return QStringLiteral("%1: [%2]").arg(drive.letter, name.isEmpty() ? drive.root : name);
}

void setEditText(QLineEdit *edit, const QString &text)
{
    if (edit->text() != text)
        edit->setText(text);
}

// The numbering fields look disabled (button face) while numbering is off, yet stay editable.
void setGreyed(QLineEdit *edit, bool greyed)
{
    QPalette palette = edit->palette();
    const QPalette normal = QApplication::palette(edit);
    palette.setColor(QPalette::Base,
                     greyed ? normal.color(QPalette::Button) : normal.color(QPalette::Base));
    edit->setPalette(palette);
}

QString displayedSkipList(const QString &skipList)
{
    QString text = skipList;
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return text;
}

} // namespace

MainWindow::MainWindow(Session &session, const QString &commandLine, QWidget *parent)
    : QMainWindow(parent), session_(session), commandLine_(commandLine),
      programDir_(paths::programDir())
{
    setObjectName(QStringLiteral("Form1"));
    QMainWindow::setWindowTitle(QStringLiteral("Kesto32"));
    // The program's icon, compiled into it: every window of the program shows it.
    QIcon icon;
    for (int size : {16, 32, 48, 64, 128, 256})
        icon.addFile(QStringLiteral(":/icons/%1/kesto32.png").arg(size));
    QApplication::setWindowIcon(icon);
    // A fixed single border: no maximise button, no resizing.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    QFont small = font();
    small.setPointSize(8);
    setFont(small);

    buildMenus();
    buildFrame();
    buildSourcePage();
    buildSkipPage();
    buildDizPage();
    buildNfoPage();
    buildZipPage();
    buildKestoPage();
    buildAboutPage();
    connectControls();
    installBehaviours();

    Picture1->show();
    SSListBar1->setCurrentItem(QStringLiteral("Source"));
    jobChanged();
    layout()->setSizeConstraint(QLayout::SetFixedSize);
}

MainWindow::~MainWindow()
{
    if (measuring_)
        QApplication::restoreOverrideCursor();
}

void MainWindow::buildMenus()
{
    menuBar()->setNativeMenuBar(false);
    auto addItem = [this](QMenu *menu, const QString &text, const char *name, auto handler) {
        QAction *action = menu->addAction(text);
        action->setObjectName(QLatin1String(name));
        connect(action, &QAction::triggered, this, handler);
        return action;
    };

    file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("file"));
    addItem(file, QStringLiteral("&Open script..."), "open", &MainWindow::open_Click);
    addItem(file, QStringLiteral("&Save script..."), "save", &MainWindow::save_Click);
    file->addSeparator();
    addItem(file, QStringLiteral("E&xit"), "exitm", &MainWindow::exitm_Click);

    // The page menu pops up on right clicks; it has no place in the menu bar.
    Menu = new QMenu(QStringLiteral("menu"), this);
    Menu->setObjectName(QStringLiteral("Menu"));
    addItem(Menu, QStringLiteral("&Source"), "source", &MainWindow::source_Click);
    addItem(Menu, QStringLiteral("S&kip"), "skip", &MainWindow::skip_Click);
    addItem(Menu, QStringLiteral("&Diz"), "diz", &MainWindow::diz_Click);
    addItem(Menu, QStringLiteral("&Nfo"), "nfo", &MainWindow::nfo_Click);
    addItem(Menu, QStringLiteral("&Zip"), "zip", &MainWindow::zip_Click);
    Menu->addSeparator();
    addItem(Menu, QStringLiteral("&Kesto"), "kesto", &MainWindow::kesto_Click);

    helpm = menuBar()->addMenu(QStringLiteral("&Help"));
    helpm->setObjectName(QStringLiteral("helpm"));
    addItem(helpm, QStringLiteral("&Contents..."), "contents", &MainWindow::contents_Click);
    addItem(helpm, QStringLiteral("&Index..."), "indexm", &MainWindow::indexm_Click);
    helpm->addSeparator();
    addItem(helpm, QStringLiteral("&Web page..."), "webm", &MainWindow::webm_Click);
    addItem(helpm, QStringLiteral("&Email"), "emailm", &MainWindow::emailm_Click);
    helpm->addSeparator();
    addItem(helpm, QStringLiteral("&About"), "aboutm", &MainWindow::aboutm_Click);
}

void MainWindow::buildFrame()
{
    client = new QWidget(this);
    client->setObjectName(QStringLiteral("client"));
    client->setFixedSize(twipsSize(clientWidth, clientHeight));
    setCentralWidget(client);

    SSListBar1 = named(new ListBar(client), "SSListBar1", twipsRect(165, 120, 930, 3375));
    const int mainGroup = SSListBar1->addGroup(QStringLiteral("Main"));
    for (const char *item : {"Source", "Skip", "Diz", "Nfo", "Zip", "Kesto!"})
        SSListBar1->addItem(mainGroup, QLatin1String(item), listItemIcon(QLatin1String(item)));
    const int helpGroup = SSListBar1->addGroup(QStringLiteral("Help"));
    for (const char *item : {"Help", "About"})
        SSListBar1->addItem(helpGroup, QLatin1String(item), listItemIcon(QLatin1String(item)));

    SSPanel1 =
        makeLabel(client, "SSPanel1", QStringLiteral(" Source"), twipsRect(1200, 135, 3735, 435));
    SSPanel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    SSPanel1->setLineWidth(2);
    QFont titleFont = SSPanel1->font();
    titleFont.setPointSize(11);
    titleFont.setBold(true);
    SSPanel1->setFont(titleFont);

    SSPanel7 = makeLabel(SSPanel1, "SSPanel7", QStringLiteral("ZWT"), twipsRect(2940, 60, 660, 285),
                         Qt::AlignCenter);
    SSPanel7->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    QFont logoFont(QStringLiteral("Chaucer"));
    logoFont.setStyleHint(QFont::Serif);
    logoFont.setPointSize(10);
    logoFont.setBold(true);
    logoFont.setItalic(true);
    SSPanel7->setFont(logoFont);
}

void MainWindow::buildSourcePage()
{
    Picture1 = makePage(client, "Picture1", 1185, 660, 3720, 2850);
    QFrame *source = makeFrame(Picture1, "SSFrame1", twipsRect(0, 0, 3720, 1650));
    makeLabel(source, "Label2", QStringLiteral("Source drive or directory"),
              twipsRect(120, 90, 3480, 240));
    SSPanel8 = makePathDisplay(source, "SSPanel8", twipsRect(120, 360, 3480, 315));
    Command2 =
        makeButton(source, "Command2", QStringLiteral("&Browse"), twipsRect(120, 780, 900, 345));
    Label9 = makeLabel(source, "Label9", QStringLiteral("- Source size -"),
                       twipsRect(120, 1170, 3480, 420), Qt::AlignCenter);
    // The size tool's summary may run longer than one line.
    Label9->setWordWrap(true);

    auto *temporary = named(new QGroupBox(QStringLiteral("Drive for temporary files"), Picture1),
                            "Frame7", twipsRect(0, 1740, 3720, 1080));
    Drive1 = named(new QComboBox(temporary), "Drive1", twipsRect(120, 360, 1500, 330));
    const QList<Drive> drives = session_.svc.disks ? session_.svc.disks->drives() : QList<Drive>();
    if (drives.isEmpty() || drives.first().letter != QLatin1String("c")) {
        const Drive system{QStringLiteral("c"), paths::systemDir()};
        Drive1->addItem(driveItemText(system), system.letter);
        Drive1->setItemData(0, system.root, Qt::ToolTipRole);
    }
    for (const Drive &drive : drives) {
        // Every letter shows its root's own name after it, "c:" (the program's own drive)
        // included; every item's tool-tip is the whole root path.
        Drive1->addItem(driveItemText(drive), drive.letter);
        Drive1->setItemData(Drive1->count() - 1, drive.root, Qt::ToolTipRole);
    }
    Drive1->view()->setMinimumWidth(Drive1->view()->sizeHintForColumn(0) + 8);
    Label3 = makeLabel(temporary, "Label3", QStringLiteral("Free space on -"),
                       twipsRect(1740, 300, 1860, 480));
}

void MainWindow::buildSkipPage()
{
    Picture2 = makePage(client, "Picture2", 1190, 580, 3855, 2940);
    QFrame *skip = makeFrame(Picture2, "SSFrame2", twipsRect(0, 0, 3780, 2880));
    makeLabel(skip, "Label4", QStringLiteral("Sub-directories or files to skip   (optional)"),
              twipsRect(120, 90, 3540, 240));
    Text1 = named(new QPlainTextEdit(skip), "Text1", twipsRect(120, 360, 3540, 1920));
    // Entries come from Browse and go with Clear; a hand-made line would lack its line end.
    Text1->setReadOnly(true);
    Text1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Option6 = named(new QRadioButton(QStringLiteral("&Sub-dir"), skip), "Option6",
                    twipsRect(120, 2430, 1020, 285));
    Option5 = named(new QRadioButton(QStringLiteral("&File"), skip), "Option5",
                    twipsRect(1140, 2430, 780, 285));
    Option6->setChecked(true);
    Command1 =
        makeButton(skip, "Command1", QStringLiteral("&Browse"), twipsRect(1950, 2400, 840, 345));
    Command14 =
        makeButton(skip, "Command14", QStringLiteral("&Clear"), twipsRect(2850, 2400, 810, 345));
}

void MainWindow::buildDizPage()
{
    Picture4 = makePage(client, "Picture4", 1190, 580, 3900, 2910);
    QFrame *diz = makeFrame(Picture4, "Frame3", twipsRect(0, 0, 3780, 2850));
    makeLabel(diz, "Label5", QStringLiteral("File_id.diz"), twipsRect(120, 90, 1500, 240));
    SSPanel2 = makePathDisplay(diz, "SSPanel2", twipsRect(120, 360, 3540, 315));
    Command4 =
        makeButton(diz, "Command4", QStringLiteral("&Create"), twipsRect(120, 780, 840, 345));
    Command5 = makeButton(diz, "Command5", QStringLiteral("&Edit"), twipsRect(1060, 780, 780, 345));
    Command6 =
        makeButton(diz, "Command6", QStringLiteral("&Browse"), twipsRect(1940, 780, 840, 345));
    Command3 = makeButton(diz, "Command3", QStringLiteral("&Test"), twipsRect(2880, 780, 780, 345));
    makeLabel(diz, "Label6", QStringLiteral("Auto numbering"), twipsRect(120, 1320, 2000, 240));
    Option1 = makeOption(diz, "Option1", QStringLiteral("&None"), twipsRect(120, 1620, 1800, 285));
    Option3 = makeOption(diz, "Option3", QStringLiteral("S&ubsitute at column"),
                         twipsRect(120, 1980, 2280, 285));
    Text2 = makeEdit(diz, "Text2", twipsRect(2460, 1965, 600, 315));
    makeLabel(diz, "Label7", QStringLiteral("Line -"), twipsRect(1500, 2385, 900, 240),
              Qt::AlignRight | Qt::AlignVCenter);
    Text6 = makeEdit(diz, "Text6", twipsRect(2460, 2355, 600, 315));
}

void MainWindow::buildNfoPage()
{
    Picture5 = makePage(client, "Picture5", 1190, 580, 3840, 2955);
    QFrame *nfo = makeFrame(Picture5, "Frame4", twipsRect(0, 0, 3780, 1530));
    makeLabel(nfo, "Label8", QStringLiteral("Nfo"), twipsRect(120, 90, 1500, 240));
    SSPanel3 = makePathDisplay(nfo, "SSPanel3", twipsRect(120, 360, 3540, 315));
    Command7 =
        makeButton(nfo, "Command7", QStringLiteral("&Create"), twipsRect(120, 780, 840, 345));
    Command11 =
        makeButton(nfo, "Command11", QStringLiteral("&Edit"), twipsRect(1060, 780, 780, 345));
    Command8 =
        makeButton(nfo, "Command8", QStringLiteral("&Browse"), twipsRect(1940, 780, 840, 345));
    Check1 = makeCheck(nfo, "Check1", QStringLiteral("&In 1st zip only"),
                       twipsRect(120, 1185, 2400, 285));

    QFrame *extra = makeFrame(Picture5, "Frame5", twipsRect(0, 1620, 3780, 1290));
    makeLabel(extra, "Label16", QStringLiteral("Extra to add  (optional)"),
              twipsRect(120, 90, 3000, 240));
    SSPanel4 = makePathDisplay(extra, "SSPanel4", twipsRect(120, 360, 3540, 315));
    Option2 = makeOption(extra, "Option2", QStringLiteral("&File"), twipsRect(120, 825, 900, 285));
    Option4 =
        makeOption(extra, "Option4", QStringLiteral("&Directory"), twipsRect(1080, 825, 1380, 285));
    Command9 =
        makeButton(extra, "Command9", QStringLiteral("B&rowse"), twipsRect(2820, 795, 840, 345));
}

void MainWindow::buildZipPage()
{
    Picture6 = makePage(client, "Picture6", 1190, 680, 3915, 2910);
    QFrame *zip = makeFrame(Picture6, "Frame6", twipsRect(0, 0, 3780, 2850));
    makeLabel(zip, "Label12", QStringLiteral("Zip storage"), twipsRect(120, 90, 1500, 240));
    SSPanel5 = makePathDisplay(zip, "SSPanel5", twipsRect(120, 360, 3540, 315));
    Command10 =
        makeButton(zip, "Command10", QStringLiteral("&Browse"), twipsRect(120, 780, 840, 345));
    Label14 =
        makeLabel(zip, "Label14", QStringLiteral("Free space: "), twipsRect(1080, 825, 2580, 240));
    makeLabel(zip, "Label13", QStringLiteral("Filename"), twipsRect(120, 1335, 900, 240));
    Text3 = makeEdit(zip, "Text3", twipsRect(1080, 1290, 2580, 315));
    makeLabel(zip, "Label15", QStringLiteral("Archive size"), twipsRect(120, 1830, 1110, 240));
    SSPanel6 = makePanel(zip, "SSPanel6", twipsRect(1260, 1785, 1140, 330), Qt::AlignCenter);
    SSPanel6->setText(QStringLiteral("1.44 M"));
    VScroll1 =
        named(new QScrollBar(Qt::Vertical, zip), "VScroll1", twipsRect(2430, 1710, 255, 480));
    VScroll1->setRange(0, 200);
    VScroll1->setValue(3);
    // The upper arrow makes the archives bigger.
    VScroll1->setInvertedAppearance(true);
    VScroll1->setInvertedControls(true);
    SSCheck1 = makeCheck(zip, "SSCheck1", QStringLiteral("Rar &solid compression"),
                         twipsRect(120, 2250, 3000, 255));
    SSCheck2 = makeCheck(zip, "SSCheck2", QStringLiteral("Zip e&xtra compression"),
                         twipsRect(120, 2520, 3000, 255));
}

void MainWindow::buildKestoPage()
{
    Picture7 = makePage(client, "Picture7", 1190, 580, 3840, 2820);
    QFrame *kesto = makeFrame(Picture7, "Frame8", twipsRect(0, 0, 3780, 2760));
    Label1 = makeLabel(kesto, "Label1", QString(), twipsRect(120, 240, 3540, 255), Qt::AlignCenter);
    Label10 =
        makeLabel(kesto, "Label10", QString(), twipsRect(120, 600, 3540, 255), Qt::AlignCenter);
    Label11 =
        makeLabel(kesto, "Label11", QString(), twipsRect(120, 960, 3540, 255), Qt::AlignCenter);
    PVProgressBar1 =
        named(new QProgressBar(kesto), "PVProgressBar1", twipsRect(120, 1440, 3540, 315));
    PVProgressBar1->setRange(0, 100);
    PVProgressBar1->setValue(0);
    progressFrame_ = new QTimer(this);
    progressFrame_->setSingleShot(true);
    progressFrame_->setInterval(40);
    connect(progressFrame_, &QTimer::timeout, this, [this] {
        if (PVProgressBar1->value() != progressValue_)
            setProgress(progressValue_);
    });
    Command12 =
        makeButton(kesto, "Command12", QStringLiteral("&Abort"), twipsRect(600, 2100, 1050, 375));
    Command13 =
        makeButton(kesto, "Command13", QStringLiteral("E&xit"), twipsRect(2130, 2100, 1050, 375));
}

void MainWindow::buildAboutPage()
{
    Picture8 = makePage(client, "Picture8", 1190, 680, 4035, 2850);
    PVMarquee1 = named(new Marquee(Picture8), "PVMarquee1", twipsRect(0, 0, 3780, 360));
    PVMarquee1->hide();
    QLabel *about = makeLabel(Picture8, "Label17",
                              QStringLiteral("Visit my web page for other programs I've written "
                                             "and updates.  Please send me your comments or "
                                             "suggestions."),
                              twipsRect(120, 540, 3540, 960), Qt::AlignCenter);
    about->setWordWrap(true);
    SSPanel10 = makePanel(Picture8, "SSPanel10", twipsRect(120, 1680, 3540, 330), Qt::AlignCenter);
    SSPanel10->setText(AuthorEmail);
    SSPanel11 = makePanel(Picture8, "SSPanel11", twipsRect(120, 2130, 3540, 330), Qt::AlignCenter);
    SSPanel11->setText(AuthorWebPage);
}

void MainWindow::connectControls()
{
    connect(SSListBar1, &ListBar::listItemClick, this, &MainWindow::SSListBar1_ListItemClick);
    connect(SSListBar1, &ListBar::groupClick, this, &MainWindow::SSListbar1_GroupClick);

    connect(Command2, &QPushButton::clicked, this, &MainWindow::Command2_Click);
    connect(Drive1, &QComboBox::currentIndexChanged, this, &MainWindow::Drive1_Change);
    connect(Command1, &QPushButton::clicked, this, &MainWindow::Command1_Click);
    connect(Command14, &QPushButton::clicked, this, &MainWindow::Command14_Click);

    connect(Command4, &QPushButton::clicked, this, &MainWindow::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &MainWindow::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &MainWindow::Command6_Click);
    connect(Command3, &QPushButton::clicked, this, &MainWindow::Command3_Click);
    connect(Option1, &QRadioButton::clicked, this, &MainWindow::Option1_Click);
    connect(Option3, &QRadioButton::clicked, this, &MainWindow::Option3_Click);
    connect(Text2, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (!refreshing_)
            session_.job.DizColumn = text;
    });
    connect(Text6, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (!refreshing_)
            session_.job.DizLine = text;
    });

    connect(Command7, &QPushButton::clicked, this, &MainWindow::Command7_Click);
    connect(Command11, &QPushButton::clicked, this, &MainWindow::Command11_Click);
    connect(Command8, &QPushButton::clicked, this, &MainWindow::Command8_Click);
    connect(Check1, &QCheckBox::clicked, this, &MainWindow::Check1_Click);
    connect(Option2, &QRadioButton::clicked, this, &MainWindow::Option2_Click);
    connect(Option4, &QRadioButton::clicked, this, &MainWindow::Option4_Click);
    connect(Command9, &QPushButton::clicked, this, &MainWindow::Command9_Click);

    connect(Command10, &QPushButton::clicked, this, &MainWindow::Command10_Click);
    connect(Text3, &QLineEdit::textEdited, this, [this](const QString &text) {
        if (!refreshing_)
            session_.job.ZipName = text;
    });
    connect(VScroll1, &QScrollBar::valueChanged, this, &MainWindow::VScroll1_Change);
    connect(SSCheck1, &QCheckBox::clicked, this, &MainWindow::SSCheck1_Click);
    connect(SSCheck2, &QCheckBox::clicked, this, &MainWindow::SSCheck2_Click);

    connect(Command12, &QPushButton::clicked, this, [this] { kesto::RequestZipAbort(session_); });
    connect(Command13, &QPushButton::clicked, this, [this] { kesto::AbortAndClose(session_); });
}

// --- Navigation -----------------------------------------------------------------------------

void MainWindow::HideAllPages()
{
    for (QWidget *page : {Picture1, Picture2, Picture4, Picture5, Picture6, Picture7, Picture8})
        page->hide();
}

void MainWindow::showPlaced(QWidget *page, int left, int top, const QString &title)
{
    page->move(twipsPoint(left, top));
    page->show();
    setTitleText(title);
    // A page's title is its list bar item's text after a blank.
    SSListBar1->setCurrentItem(title.mid(1));
}

void MainWindow::source_Click()
{
    HideAllPages();
    // The Source page keeps its designed place.
    Picture1->show();
    setTitleText(QStringLiteral(" Source"));
    SSListBar1->setCurrentItem(QStringLiteral("Source"));
}

void MainWindow::skip_Click()
{
    HideAllPages();
    repaint();
    showPlaced(Picture2, 1190, 580, QStringLiteral(" Skip"));
}

void MainWindow::diz_Click()
{
    HideAllPages();
    showPlaced(Picture4, 1190, 580, QStringLiteral(" Diz"));
}

void MainWindow::nfo_Click()
{
    HideAllPages();
    showPlaced(Picture5, 1190, 580, QStringLiteral(" Nfo"));
}

void MainWindow::zip_Click()
{
    HideAllPages();
    showPlaced(Picture6, 1190, 680, QStringLiteral(" Zip"));
}

void MainWindow::ShowAboutPage()
{
    Picture8->move(twipsPoint(1190, 680));
    Picture8->show();
    PVMarquee1->show();
    setTitleText(QStringLiteral(" About"));
    SSListBar1->setCurrentItem(QStringLiteral("About"));
}

void MainWindow::playSound(const QString &waveFile)
{
    if (session_.svc.sound)
        session_.svc.sound->play(session_.state.AppDir + waveFile);
}

void MainWindow::SSListBar1_ListItemClick(const QString &itemClicked)
{
    PVMarquee1->hide();
    setTitleText(QLatin1Char(' ') + itemClicked);

    struct PageItem {
        const char *text;
        QWidget *page;
        void (MainWindow::*show)();
    };
    const PageItem pageItems[] = {
        {"Source", Picture1, &MainWindow::source_Click},
        {"Skip", Picture2, &MainWindow::skip_Click},
        {"Diz", Picture4, &MainWindow::diz_Click},
        {"Nfo", Picture5, &MainWindow::nfo_Click},
        {"Zip", Picture6, &MainWindow::zip_Click},
        {"Kesto!", Picture7, &MainWindow::kesto_Click},
    };
    for (const PageItem &item : pageItems) {
        if (itemClicked != QLatin1String(item.text))
            continue;
        if (!item.page->isHidden())
            return;
        playSound(QStringLiteral("/type.wav"));
        HideAllPages();
        (this->*item.show)();
        return;
    }
    if (itemClicked == QLatin1String("About")) {
        if (!Picture8->isHidden()) {
            PVMarquee1->show();
            return;
        }
        playSound(QStringLiteral("/type.wav"));
        HideAllPages();
        ShowAboutPage();
    } else if (itemClicked == QLatin1String("Help")) {
        startHelpViewer();
    }
}

void MainWindow::SSListbar1_GroupClick(int groupClicked, int previousGroup)
{
    if (groupClicked != previousGroup)
        playSound(QStringLiteral("/whoosh.wav"));
}

QString MainWindow::titleText() const
{
    return SSPanel1->text();
}

QWidget *MainWindow::pageWidget(Page page) const
{
    switch (page) {
    case Page::Source: return Picture1;
    case Page::Skip: return Picture2;
    case Page::Diz: return Picture4;
    case Page::Nfo: return Picture5;
    case Page::Zip: return Picture6;
    case Page::Kesto: return Picture7;
    case Page::About: return Picture8;
    }
    return nullptr;
}

// --- Menus ----------------------------------------------------------------------------------

void MainWindow::open_Click()
{
    OpenScriptCommand(session_);
    jobChanged();
}

void MainWindow::save_Click()
{
    SaveScript(session_);
}

void MainWindow::exitm_Click()
{
    ExitCommand();
}

void MainWindow::kesto_Click()
{
    kesto::kesto_Click(session_);
}

void MainWindow::contents_Click()
{
    if (session_.svc.help)
        session_.svc.help->systemHelp(session_.state.AppDir + QStringLiteral("/Kesto32.HLP"),
                                      HelpCommand::Contents);
}

void MainWindow::indexm_Click()
{
    if (session_.svc.help)
        session_.svc.help->systemHelp(session_.state.AppDir + QStringLiteral("/Kesto32.HLP"),
                                      HelpCommand::Finder);
}

void MainWindow::webm_Click()
{
    if (session_.svc.launcher)
        session_.svc.launcher->start(webCommand(), WindowMode::ShowNormal);
}

void MainWindow::emailm_Click()
{
    if (session_.svc.launcher)
        session_.svc.launcher->start(emailCommand(), WindowMode::ShowNormal);
}

void MainWindow::aboutm_Click()
{
    openAboutSplash();
}

// --- Window behaviours ----------------------------------------------------------------------

void MainWindow::installBehaviours()
{
    for (const char *name : menuSurfaceNames) {
        auto *surface = findChild<QWidget *>(QLatin1String(name));
        Q_ASSERT_X(surface, "installBehaviours", name);
        menuSurfaces_ << surface;
        surface->installEventFilter(this);
    }
    pathDisplays_ = {SSPanel8, SSPanel2, SSPanel3, SSPanel4, SSPanel5};
    for (QWidget *watched : std::initializer_list<QWidget *>{Text3, SSPanel10, SSPanel11})
        watched->installEventFilter(this);
    Text3->setMouseTracking(true);
    SSPanel7->setCursor(logoCursor());
    pagePopup_ = [](QMenu *menu, const QPoint &globalPos) { menu->popup(globalPos); };
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget)
        return QMainWindow::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint globalPos = mouse->globalPosition().toPoint();
        if (widget == SSPanel7) {
            SSPanel7_MouseDown(mouse->button(), globalPos);
            return true;
        }
        // A press that a control let through to its container is not the container's own.
        if (menuSurfaces_.contains(widget) && !widget->childAt(mouse->position().toPoint()) &&
            mouse->button() == Qt::RightButton) {
            Form_MouseDown(mouse->button(), globalPos);
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const bool click = mouse->button() == Qt::LeftButton &&
                           widget->rect().contains(mouse->position().toPoint());
        if (click && widget == SSPanel10)
            SSPanel10_Click();
        else if (click && widget == SSPanel11)
            SSPanel11_Click();
        break;
    }
    case QEvent::Enter:
        if (widget == SSPanel10 || widget == SSPanel11)
            setTextColour(widget, linkHoverColour);
        else if (auto *display = qobject_cast<QLabel *>(widget);
                 display && pathDisplays_.contains(display))
            display->setToolTip(display->text());
        break;
    case QEvent::Leave:
        if (widget == SSPanel10 || widget == SSPanel11)
            setTextColour(widget, Qt::black);
        break;
    case QEvent::MouseMove:
        if (widget == Text3)
            Text3->setToolTip(Text3->text());
        break;
    default: break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::Form_MouseDown(Qt::MouseButton button, const QPoint &globalPos)
{
    if (button == Qt::RightButton)
        popupPageMenu(globalPos);
}

void MainWindow::SSPanel7_MouseDown(Qt::MouseButton button, const QPoint &globalPos)
{
    if (button == Qt::RightButton)
        popupPageMenu(globalPos);
    else
        openAboutSplash();
}

void MainWindow::popupPageMenu(const QPoint &globalPos)
{
    if (pagePopup_)
        pagePopup_(Menu, globalPos);
}

void MainWindow::openAboutSplash()
{
    session_.state.SplashAboutMode = true;
    if (openAboutSplash_)
        openAboutSplash_();
}

void MainWindow::startHelpViewer()
{
    if (session_.svc.launcher)
        session_.svc.launcher->start(QStringLiteral("winhelp.exe ") + session_.state.AppDir +
                                         QStringLiteral("/kesto32.hlp"),
                                     WindowMode::ShowNoActivate);
}

void MainWindow::Form_KeyDown(int keyCode)
{
    if (keyCode == keyF1)
        startHelpViewer();
}

void MainWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        Form_KeyDown(keyF1);
        event->accept();
        return;
    }
    QMainWindow::keyPressEvent(event);
}

void MainWindow::SSPanel10_Click()
{
    if (session_.svc.launcher)
        session_.svc.launcher->start(emailCommand(), WindowMode::ShowNoActivate);
}

void MainWindow::SSPanel11_Click()
{
    if (session_.svc.launcher)
        session_.svc.launcher->start(webCommand(), WindowMode::ShowNoActivate);
}

// --- Page controls --------------------------------------------------------------------------

// The page operations show the changed job through the session's window.

void MainWindow::Command2_Click()
{
    BrowseSource(session_);
}

void MainWindow::Drive1_Change()
{
    const QString selected = selectedDrive();
    const QString accepted = TempDriveChanged(session_, selected);
    // Refused: back to c, whose own change (if the list was elsewhere) shows c's free space.
    if (accepted != selected)
        selectDrive(accepted);
}

void MainWindow::Command1_Click()
{
    AddSkipEntry(session_, Option6->isChecked());
}

void MainWindow::Command14_Click()
{
    ClearSkipList(session_);
}

void MainWindow::Command4_Click()
{
    kesto::CreateDescription(session_);
}

void MainWindow::Command5_Click()
{
    kesto::EditDescription(session_);
}

void MainWindow::Command6_Click()
{
    kesto::ChooseDescription(session_);
}

void MainWindow::Command3_Click()
{
    // The test serves window events after each line: a second click must not start another.
    if (testingDiz_)
        return;
    const QScopedValueRollback guard(testingDiz_, true);
    TestDizNumbering(session_, true);
}

void MainWindow::Option1_Click()
{
    kesto::NumberDescriptionOff(session_);
}

void MainWindow::Option3_Click()
{
    kesto::NumberDescriptionOn(session_);
}

void MainWindow::Command7_Click()
{
    kesto::CreateNfo(session_);
}

void MainWindow::Command11_Click()
{
    kesto::EditNfo(session_);
}

void MainWindow::Command8_Click()
{
    kesto::ChooseNfo(session_);
}

void MainWindow::Check1_Click()
{
    // A click checks or clears; only a script can leave the box greyed.
    session_.job.NfoFirstOnly = session_.job.NfoFirstOnly == Checked ? Unchecked : Checked;
    jobChanged();
}

void MainWindow::Option2_Click()
{
    kesto::SelectExtraFileKind(session_);
}

void MainWindow::Option4_Click()
{
    kesto::SelectExtraDirectoryKind(session_);
}

void MainWindow::Command9_Click()
{
    kesto::ChooseExtra(session_);
}

void MainWindow::Command10_Click()
{
    ChooseZipDir(session_);
}

void MainWindow::SSCheck1_Click()
{
    session_.job.RarSolid = SSCheck1->isChecked() ? Checked : Unchecked;
}

void MainWindow::SSCheck2_Click()
{
    session_.job.ZipExtraCompression = SSCheck2->isChecked() ? Checked : Unchecked;
}

void MainWindow::VScroll1_Change()
{
    if (refreshing_)
        return;
    session_.job.VolumeSizeSetting = qint16(VScroll1->value());
    kesto::ShowSizeDisplay(session_);
}

QString MainWindow::selectedDrive() const
{
    return Drive1->currentData().toString();
}

void MainWindow::selectDrive(const QString &letter)
{
    const int index = Drive1->findData(letter);
    if (index >= 0)
        Drive1->setCurrentIndex(index);
}

// --- Window ---------------------------------------------------------------------------------

void MainWindow::showPage(Page page)
{
    switch (page) {
    case Page::Source: source_Click(); break;
    case Page::Skip: skip_Click(); break;
    case Page::Diz: diz_Click(); break;
    case Page::Nfo: nfo_Click(); break;
    case Page::Zip: zip_Click(); break;
    case Page::Kesto:
        HideAllPages();
        showPlaced(Picture7, 1190, 580, QStringLiteral(" Kesto!"));
        break;
    case Page::About:
        HideAllPages();
        ShowAboutPage();
        break;
    }
}

void MainWindow::focusField(Field field)
{
    switch (field) {
    case Field::DizColumn: Text2->setFocus(); break;
    case Field::DizLine: Text6->setFocus(); break;
    case Field::ZipName: Text3->setFocus(); break;
    }
}

void MainWindow::setTitleText(const QString &caption)
{
    SSPanel1->setText(caption);
}

void MainWindow::setWindowTitle(const QString &title)
{
    QMainWindow::setWindowTitle(title);
}

void MainWindow::setStatusText(const QString &text)
{
    Label1->setText(text);
}

void MainWindow::setArchiveText(const QString &text)
{
    Label10->setText(text);
}

void MainWindow::setVolumeText(const QString &text)
{
    Label11->setText(text);
}

int MainWindow::progress() const
{
    return progressValue_;
}

void MainWindow::setProgress(int percent)
{
    // QProgressBar paints itself at once on every new value, and a volume is stored in a few
    // milliseconds, a hundred values: the bar is painted at most once per frame, the last value
    // when the frame ends.
    progressValue_ = percent;
    if (progressFrame_->isActive())
        return;
    PVProgressBar1->setValue(percent);
    progressFrame_->start();
}

void MainWindow::setSourceSizeText(const QString &text)
{
    Label9->setText(text);
}

void MainWindow::setMeasuring(bool busy)
{
    Command2->setEnabled(!busy);
    SSListBar1->setEnabled(!busy);
    if (busy && !measuring_)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else if (!busy && measuring_)
        QApplication::restoreOverrideCursor();
    measuring_ = busy;
}

void MainWindow::setTempFreeSpaceText(const QString &text)
{
    // A carriage return breaks the label's line.
    QString shown = text;
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    Label3->setText(shown);
}

void MainWindow::setZipFreeSpaceText(const QString &text)
{
    Label14->setText(text);
}

void MainWindow::setSizeDisplayText(const QString &text)
{
    SSPanel6->setText(text);
}

void MainWindow::jobChanged()
{
    const QScopedValueRollback guard(refreshing_, true);
    const JobSettings &job = session_.job;

    SSPanel8->setText(job.SourcePath);
    const QString skipList = displayedSkipList(job.SkipList);
    if (Text1->toPlainText() != skipList)
        Text1->setPlainText(skipList);

    SSPanel2->setText(job.DizPath);
    Option1->setChecked(job.DizNoneSelected);
    Option3->setChecked(job.DizAutoNumber);
    setEditText(Text2, job.DizColumn);
    setEditText(Text6, job.DizLine);
    const bool numbered = DizNumberingEnabled(job);
    setGreyed(Text2, !numbered);
    setGreyed(Text6, !numbered);
    Command3->setEnabled(numbered);

    SSPanel3->setText(job.NfoPath);
    Check1->setTristate(job.NfoFirstOnly == Greyed);
    Check1->setCheckState(job.NfoFirstOnly == Checked  ? Qt::Checked
                          : job.NfoFirstOnly == Greyed ? Qt::PartiallyChecked
                                                       : Qt::Unchecked);
    Option2->setChecked(job.ExtraIsFile);
    Option4->setChecked(job.ExtraIsDirectory);
    Command9->setEnabled(ExtraBrowseEnabled(job));
    SSPanel4->setText(job.ExtraPath);

    SSPanel5->setText(job.ZipDir);
    setEditText(Text3, job.ZipName);
    if (VScroll1->value() != job.VolumeSizeSetting) {
        VScroll1->setValue(job.VolumeSizeSetting);
        kesto::ShowSizeDisplay(session_);
    }
    SSCheck1->setChecked(job.RarSolid != Unchecked);
    SSCheck2->setChecked(job.ZipExtraCompression != Unchecked);
}

void MainWindow::serveEvents()
{
    QCoreApplication::processEvents();
}

void MainWindow::repaint()
{
    QMainWindow::repaint();
}

void MainWindow::closeMainWindow()
{
    close();
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    // Closed during a run: the archiver is ended and the add in progress abandoned; the run
    // removes its work directory where it stops.
    if (session_.state.RunInProgress) {
        if (session_.svc.zip)
            session_.svc.zip->AbortRequest = true;
        RequestStop();
    }
    closed_ = true;
    ShutdownCleanup();
    event->accept();
    emit closed();
}

} // namespace kesto::ui
