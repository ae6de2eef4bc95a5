#include "kesto_page.h"

#include "engine/zip_step.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QUrl>

namespace kesto::ui {

namespace {
constexpr char PlanLink[] = "kesto32-plan:";
} // namespace

KestoPage::KestoPage(Session &session, QWidget *parent)
    : PageFrame(parent, "Picture7", 1190, 580, 3840, 2820), session_(session)
{
    QFrame *kesto = makeFrame(this, "Frame8", twipsRect(0, 0, 3780, 2760));
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
    Command12 = makeButton(kesto, "Command12", QCoreApplication::translate("KestoPage", "&Abort"),
                           twipsRect(600, 2100, 1050, 375));
    Command13 = makeButton(kesto, "Command13", QCoreApplication::translate("KestoPage", "E&xit"),
                           twipsRect(2130, 2100, 1050, 375));

    outputLink =
        makeLabel(kesto, "outputLink", QString(), twipsRect(120, 1800, 3540, 255), Qt::AlignCenter);
    outputLink->setTextFormat(Qt::RichText);
    outputLink->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    connect(outputLink, &QLabel::linkActivated, this, [this](const QString &link) {
        if (link == QLatin1String(PlanLink)) {
            if (showPlan)
                showPlan();
        } else {
            QDesktopServices::openUrl(QUrl(link));
        }
    });
    offerPlan();

    connect(Command12, &QPushButton::clicked, this, [this] { kesto::RequestZipAbort(session_); });
    connect(Command13, &QPushButton::clicked, this, [this] { kesto::AbortAndClose(session_); });
}

void KestoPage::setStatusText(const QString &text)
{
    Label1->setText(text);
}

void KestoPage::setArchiveText(const QString &text)
{
    Label10->setText(text);
}

void KestoPage::setVolumeText(const QString &text)
{
    Label11->setText(text);
}

// Before a run, and after one that did not complete: what a run would make, one click away.
void KestoPage::offerPlan()
{
    outputLink->setText(
        QStringLiteral("<a href=\"%1\">%2</a>")
            .arg(QLatin1String(PlanLink), QCoreApplication::translate("KestoPage", "Plan...")));
}

void KestoPage::runStarts()
{
    Command12->setEnabled(true);
    outputLink->clear();
}

void KestoPage::runEnded(bool completed, const QString &outputDir, int archives)
{
    Command12->setEnabled(false);
    if (!completed) {
        offerPlan();
        return;
    }
    setProgress(100);
    const QString link = QStringLiteral("<a href=\"%1\">%2</a>")
                             .arg(QUrl::fromLocalFile(outputDir).toString(QUrl::FullyEncoded),
                                  outputDir.toHtmlEscaped());
    outputLink->setText(archives == 1
                            ? QCoreApplication::translate("KestoPage", "1 archive in %1").arg(link)
                            : QCoreApplication::translate("KestoPage", "%1 archives in %2")
                                  .arg(archives)
                                  .arg(link));
}

void KestoPage::setProgress(int percent)
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

} // namespace kesto::ui
