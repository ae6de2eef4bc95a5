#pragma once
// A banner that scrolls its one line of text by itself while it is shown. "<IMG 1>" in the text
// places the banner's picture in the line.
#include <QBasicTimer>
#include <QFrame>
#include <QPixmap>

namespace kesto::ui {

class Marquee : public QFrame {
    Q_OBJECT
public:
    explicit Marquee(QWidget *parent = nullptr);

    QString text() const { return text_; }
    void setText(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    int lineWidth() const;

    QString text_;
    QPixmap picture_;
    QBasicTimer timer_;
    int offset_ = 0;
};

} // namespace kesto::ui
