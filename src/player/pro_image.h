#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QWidget>

#include <vector>

namespace lumetta {

// How TProImage places its picture.
struct ProImageMode
{
    bool tiled = false;
    bool center = false;
    bool stretch = false;
};

// Top-left corners of the tiles that cover a control with copies of a picture, in drawing
// order (columns left to right, each column top to bottom). None for an empty picture.
std::vector<QPoint> TilePositions(QSize control, QSize picture);

// The rectangle an untiled picture is drawn into: the whole control when stretching, centred
// (halves truncated toward zero) when centring, else at the top-left at its own size.
QRect ProImageTarget(QSize control, QSize picture, const ProImageMode &mode);

// What the control shows, as one image of the control's size: the tiles drawn off-screen, or
// the picture scaled into its target over transparency (the panel's colour shows around it).
QImage ComposeProImage(QSize control, const QImage &picture, const ProImageMode &mode);

// A picture control: tiles, centres or stretches its picture. The shown image is composed
// once whenever the picture, the mode or the size changes, so painting only copies it.
class TProImage : public QWidget
{
    Q_OBJECT

public:
    explicit TProImage(QWidget *parent = nullptr);

    const QImage &Picture() const { return m_picture; }
    // Assigning copies; an empty image clears the control.
    void SetPicture(const QImage &picture);
    bool Tiled() const { return m_mode.tiled; }
    void SetTiled(bool tiled);
    bool Center() const { return m_mode.center; }
    void SetCenter(bool center);
    bool Stretch() const { return m_mode.stretch; }
    void SetStretch(bool stretch);
    bool AutoSize() const { return m_autoSize; }
    // When on, the control takes the picture's size.
    void SetAutoSize(bool autoSize);

    // The composed image as painted (device pixels); null without a picture.
    const QImage &Shown() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void Recompose();
    void FitToPicture();

    QImage m_picture;
    ProImageMode m_mode;
    bool m_autoSize = false;
    // Composed on demand after a change (a hidden widget gets no resize events).
    mutable QImage m_shown;
    mutable bool m_stale = true;
};

}  // namespace lumetta
