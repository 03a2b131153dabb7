// Baseline for the idle benchmark: a bare 240 x 40 widget repainted once a second, which is
// all a minute clock needs to do while nothing else happens.
#include <QApplication>
#include <QPainter>
#include <QTime>
#include <QTimer>
#include <QWidget>

namespace {

class Bar final : public QWidget {
public:
    Bar() {
        setFixedSize(240, 40);
        m_timer.setInterval(1000);
        connect(&m_timer, &QTimer::timeout, this, qOverload<>(&QWidget::update));
        m_timer.start();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        // Some drawing, so the baseline pays for a paint like the clock does.
        QPainter painter(this);
        painter.fillRect(rect(), Qt::darkCyan);
        painter.drawText(rect(), Qt::AlignCenter, QTime::currentTime().toString());
    }

private:
    QTimer m_timer;
};

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Bar bar;
    bar.show();
    return app.exec();
}
