#include "splash_window.h"

#include "job/session.h"
#include "qt_platform.h"

#include <QBitmap>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimer>

namespace kesto {

namespace {

QPointer<Form3> loadedSplash;

constexpr int TimerPeriodMs = 2000;

// Layout values are designed in twips; 15 twips make one pixel at 96 dpi.
int fromTwips(int twips)
{
    return qRound(twips / 15.0);
}

} // namespace

Form3::Form3(Session &session, std::function<void()> loadMainWindow, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), session(session),
      loadMainWindow(std::move(loadMainWindow)), mainWindow(parent)
{
    initUiResources();
    setAttribute(Qt::WA_DeleteOnClose);
    // The splash closing must never end the program: at start-up the main window may not be
    // shown yet.
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("Kesto32"));

    picture = QPixmap(overridableFile(session.state.AppDir + QStringLiteral("/splash.png"),
                                      QStringLiteral(":/art")));
    setFixedSize(picture.isNull() ? QSize(287, 323) : picture.size());

    Label1 = new QLabel(QStringLiteral("v2.20"), this);
    QFont labelFont(QStringLiteral("Arial"));
    labelFont.setPointSizeF(9.75);
    labelFont.setWeight(QFont::Normal);
    Label1->setFont(labelFont);
    QPalette labelPalette = Label1->palette();
    labelPalette.setColor(QPalette::WindowText, QColor(255, 255, 128));
    Label1->setPalette(labelPalette);
    // The About splash is a child of the main window: none of its style may reach the label.
    Label1->setStyleSheet(QStringLiteral(
        "background: transparent; color: rgb(255, 255, 128); font: 9.75pt \"Arial\";"));
    Label1->setAlignment(Qt::AlignCenter);
    Label1->setGeometry(fromTwips(1770), fromTwips(2985), fromTwips(765), fromTwips(240));
    Label1->installEventFilter(this);

    Timer1 = new QTimer(this);
    Timer1->setTimerType(Qt::PreciseTimer); // not one moment before the period ends
    Timer1->setInterval(TimerPeriodMs);
    connect(Timer1, &QTimer::timeout, this, &Form3::Timer1_Timer);

    const QScreen *screen = parent ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen)
        move(screen->availableGeometry().center() - rect().center());

    loadedSplash = this;
    Form_Load();
    Timer1->start();
}

Form3::~Form3()
{
    if (loadedSplash == this)
        loadedSplash = nullptr;
}

Form3 *Form3::loaded()
{
    return loadedSplash.data();
}

void Form3::Form_Load()
{
    // The window takes the outline of the picture's opaque part.
    const QBitmap outline = picture.mask();
    if (!outline.isNull())
        setMask(outline);

    session.state.VersionText = Label1->text();

    if (session.state.SplashAboutMode) {
        show();
        repaint();
        session.svc.sound->play(session.state.AppDir + QStringLiteral("/thunder.wav"));
        repaintMainWindow();
        return;
    }
    show();
    repaint();
}

void Form3::Timer1_Timer()
{
    if (session.state.SplashAboutMode) {
        session.state.SplashAboutMode = false;
        return;
    }

    // The main window's start-up may close (and so delete) this splash.
    QPointer<Form3> self(this);
    if (auto load = std::exchange(loadMainWindow, nullptr)) {
        load();
        if (!self)
            return;
    }
    QPointer<QWidget> main = mainWindow;
    close();
    // The main window shows itself at start-up; here it only comes to the front.
    if (main && main->isVisible()) {
        main->raise();
        main->activateWindow();
    }
}

void Form3::Form_Click()
{
    if (session.state.SplashAboutMode)
        session.state.SplashAboutMode = false;
}

void Form3::Label1_Click()
{
    Form_Click();
}

void Form3::repaintMainWindow()
{
    session.svc.window->repaint();
}

void Form3::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawPixmap(0, 0, picture);
}

void Form3::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        Form_Click();
}

bool Form3::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Label1 && event->type() == QEvent::MouseButtonRelease) {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton)
            Label1_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void Form3::closeEvent(QCloseEvent *event)
{
    // Unloaded from now on: an About opened before the deferred delete loads a fresh splash.
    if (loadedSplash == this)
        loadedSplash = nullptr;
    Timer1->stop();
    event->accept();
}

void OpenAboutSplash(Session &session, QWidget *mainWindow)
{
    session.state.SplashAboutMode = true;
    Form3 *splash = Form3::loaded();
    if (!splash)
        splash = new Form3(session, {}, mainWindow);
    // Setting the interval restarts the running period.
    splash->Timer1->setInterval(TimerPeriodMs);
}

void CloseSplash()
{
    if (Form3 *splash = Form3::loaded())
        splash->close();
}

} // namespace kesto
