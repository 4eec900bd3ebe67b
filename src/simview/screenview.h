#pragma once

#include <QImage>
#include <QWidget>

// The module's screen, enlarged by a whole factor so every module pixel is a square of screen
// pixels, or shrunk to 25 %, 50 % or 75 % to show a large screen whole. Mouse presses are
// reported in module pixels.
class ScreenView : public QWidget {
    Q_OBJECT
public:
    static constexpr int MaxZoom = 8;

    explicit ScreenView(QWidget *parent = nullptr);

    void setImage(const QImage &image);
    QImage image() const { return m_image; }
    // In percent, one of ZoomLevels; the nearest level is taken.
    void setZoomPercent(int percent);
    int zoomPercent() const { return m_zoom; }
    // A whole factor; zoom() is 0 below 1x.
    void setZoom(int factor) { setZoomPercent(qBound(1, factor, MaxZoom) * 100); }
    int zoom() const { return m_zoom / 100; }
    // The size shown at a level.
    QSize sizeAt(int percent) const;
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
    int m_zoom = 200;  // percent
    bool m_down = false;
};
