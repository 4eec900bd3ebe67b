#pragma once

#include <QImage>
#include <QWidget>

// The module's screen, enlarged by a whole factor so every module pixel is a square of screen
// pixels. Mouse presses are reported in module pixels.
class ScreenView : public QWidget {
    Q_OBJECT
public:
    static constexpr int MaxZoom = 8;

    explicit ScreenView(QWidget *parent = nullptr);

    void setImage(const QImage &image);
    QImage image() const { return m_image; }
    void setZoom(int zoom);
    int zoom() const { return m_zoom; }
    // Widget pixels per module pixel: the zoom, or near it under a fractional screen scale.
    qreal moduleScale() const;
    QSize sizeHint() const override;

signals:
    void s_pressed(const QPoint &modulePoint);
    void s_released();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QImage m_image;
    int m_zoom = 2;
    bool m_down = false;
};
