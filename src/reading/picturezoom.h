#pragma once

#include <QRect>
#include <QString>

#include <optional>

// Sizes of the picture viewer in twips for one zoom step. The buttons lie above the picture: a
// viewer that keeps its top left corner keeps them under the mouse from one step to the next.
struct PictureLayout
{
    int pictureWidth = 0;
    int pictureHeight = 0;
    int windowWidth = 0;
    int windowHeight = 0;
    int pictureTop = 0;
    int buttonTop = 0;
    int buttonWidth = 0;
    int buttonHeight = 0;
    int zoomOutLeft = 0;
    int zoomInLeft = 0;
    QString zoomOutCaption;
    QString zoomInCaption;

    static constexpr int PictureLeft = 10;
    static constexpr int ButtonStrip = 495;

    // naturalWidth/Height: the picture's own size; frameAllowance: the height the window needs
    // beyond picture and buttons.
    static PictureLayout compute(int zoomPercent, int naturalWidth, int naturalHeight,
                                 int frameAllowance);
};

// Where the picture viewer stands beside the question's window, and where that window moves to
// make room for it.
struct ViewerPlacement
{
    QRect question;
    QPoint viewer;

    // Beside the question on the side with room; when neither side has it, the question's
    // window moves over to make room. When even that is too narrow and a part of the question,
    // keptHeight from the window's top, must stay in sight: the question at the left edge, the
    // viewer at the right one below that part, the question moved up as far as that needs.
    static ViewerPlacement compute(QRect question, QSize viewer, const QRect &area,
                                   std::optional<int> keptHeight);
};

// The zoom of the picture viewer and the state of its two buttons.
class PictureZoom
{
public:
    static constexpr int Start = 50;
    static constexpr int Step = 10;
    static constexpr int Smallest = 30;
    static constexpr int Full = 100;

    int percent() const { return m_percent; }
    bool zoomOutEnabled() const { return m_zoomOutEnabled; }
    bool zoomInEnabled() const { return m_zoomInEnabled && m_percent + Step <= m_largest; }

    // The largest zoom that still fits the screen; zooming in stops before it is passed.
    void setLargest(int percent) { m_largest = percent; }

    void zoomOut();
    void zoomIn();
    // Switches between full size and the smallest size.
    void toggleFull();

private:
    int m_percent = Start;
    int m_largest = 1000;
    bool m_zoomOutEnabled = true;
    bool m_zoomInEnabled = true;
};

// The scrolling caption: each tick moves the first character to the end.
class CaptionTicker
{
public:
    static const QString Notice;

    QString text() const { return m_text; }
    void tick();

private:
    QString m_text = Notice;
};
