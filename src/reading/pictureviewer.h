#pragma once

#include "reading/picturezoom.h"
#include "ui/skinnedwindow.h"

#include <QPointer>

#include <optional>

class QLabel;
class QPushButton;
class QTimer;

// The picture of a test question, zoomed in steps, with a scrolling notice as its caption.
class PictureViewer : public SkinnedWindow
{
    Q_OBJECT
public:
    static const QString MissingPictureText;

    explicit PictureViewer(AppContext &context);

    // Shows the picture (a name in data/jpg without ".jpg") of the question in that window.
    // When the two cannot stand side by side, the viewer stays below `keepInSight`, a part of
    // the question window.
    void showFor(const QString &picture, QWidget *questionWindow,
                 const QWidget *keepInSight = nullptr);
    // Takes that picture, at the first zoom unless it is the one shown; the caller places the
    // viewer and shows it.
    void showPicture(const QString &picture);

    const PictureZoom &zoom() const { return m_zoom; }
    // The layout in twips as last applied.
    const PictureLayout &layout() const { return m_layout; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void openPicture(const QString &name);
    void loadPicture(const QString &name);
    void zoomOut();
    void zoomIn();
    void toggleFull();
    void redisplay();
    void applyButtons();
    int largestZoomOnScreen() const;
    void tick();
    // Keeps the viewer above that window and places it beside the question.
    void attachTo(QWidget *owner);
    bool hidesKeptPart(const QRect &frame) const;

    PictureZoom m_zoom;
    PictureLayout m_layout;
    CaptionTicker m_ticker;
    QPixmap m_picture;
    std::optional<QString> m_shownName;
    int m_naturalWidth = 0;
    int m_naturalHeight = 0;
    int m_frameAllowance = 0;
    QLabel *m_caption = nullptr;
    QLabel *m_image = nullptr;
    QPushButton *m_zoomOut = nullptr;
    QPushButton *m_zoomIn = nullptr;
    QTimer *m_timer = nullptr;
    QPointer<QWidget> m_questionWindow;
    QPointer<const QWidget> m_keepInSight;
};
