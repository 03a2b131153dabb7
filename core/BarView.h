#pragma once

#include <QImage>
#include <QWidget>

// The visible bar: shows the image the clock draws into, nothing else.
class BarView final : public QWidget {
    Q_OBJECT
public:
    explicit BarView(QWidget* parent = nullptr);

    // Resizes the bar and its drawing; the drawing starts blank.
    void setBarSize(int width, int height);
    QImage& image() { return m_image; }
    const QImage& image() const { return m_image; }
    // The tool-tip, refreshed in place while it is shown, and the accessible description.
    void setTimeText(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
};
