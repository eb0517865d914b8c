#include "reading/pictureviewer.h"

#include "core/sessionstate.h"
#include "core/windowhub.h"
#include "ui/cueplayer.h"
#include "ui/hovergroup.h"
#include "ui/pictures.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

const QString PictureViewer::MissingPictureText =
    QStringLiteral("Рисунок «%1» не найден. Ответьте на вопрос без рисунка.");

PictureViewer::PictureViewer(AppContext &context)
    : SkinnedWindow(context, QStringLiteral("PICview"), CaptionTicker::Notice)
{
    // A dialog, so that the window manager keeps it above the window it is attached to; it
    // never takes the keyboard, which stays with the question to choose and give the answer.
    setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus);
    setAttribute(Qt::WA_ShowWithoutActivating);
    setKeepsCentre(false);
    buildControls();
    m_frameAllowance = pixelsToTwips(m_caption->sizeHint().height(), this);
    m_timer->start(200);
}

void PictureViewer::openPicture(const QString &name)
{
    m_zoom = PictureZoom();
    loadPicture(name);
    redisplay();
}

void PictureViewer::showEvent(QShowEvent *event)
{
    if (m_questionWindow && m_questionWindow->isVisible())
        attachTo(m_questionWindow);
    SkinnedWindow::showEvent(event);
}

// A caller that opens the viewer again for another question finds it loaded, often still
// shown: the picture and its zoom stay when the question has the same one.
void PictureViewer::showFor(const QString &picture, QWidget *questionWindow,
                            const QWidget *keepInSight)
{
    m_questionWindow = questionWindow;
    m_keepInSight = keepInSight;
    showPicture(picture);
    WindowHub::present(this);
}

void PictureViewer::showPicture(const QString &picture)
{
    if (m_shownName != picture)
        openPicture(picture);
}

void PictureViewer::attachTo(QWidget *owner)
{
    if (windowHandle() && owner->windowHandle())
        windowHandle()->setTransientParent(owner->windowHandle());
    const QScreen *screen = owner->screen();
    if (!screen)
        return;
    const QRect question = owner->frameGeometry();
    std::optional<int> keptHeight;
    // Measured from the top of the window's frame, which is where the window is moved to.
    if (m_keepInSight)
        keptHeight =
            m_keepInSight->mapToGlobal(QPoint(0, m_keepInSight->height())).y() - question.top();
    const ViewerPlacement place =
        ViewerPlacement::compute(question, size(), screen->availableGeometry(), keptHeight);
    if (place.question.topLeft() != question.topLeft())
        owner->move(place.question.topLeft());
    move(place.viewer);
}

bool PictureViewer::hidesKeptPart(const QRect &frame) const
{
    return m_keepInSight && m_keepInSight->isVisible() &&
           frame.intersects(QRect(m_keepInSight->mapToGlobal(QPoint()), m_keepInSight->size()));
}

void PictureViewer::buildControls()
{
    m_caption = addTickingLabel(QStringLiteral("labCaption"), CaptionTicker::Notice.trimmed());
    m_caption->setText(m_ticker.text());
    m_caption->setWordWrap(false);
    dragger()->addHandle(m_caption);

    m_image = addLabel(QStringLiteral("Image1"), QString());
    m_image->setScaledContents(true);
    m_image->setAlignment(Qt::AlignCenter);
    m_image->setAccessibleName(QStringLiteral("Рисунок к вопросу"));
    m_image->setAccessibleDescription(
        QStringLiteral("Двойной щелчок переключает полный и уменьшенный размер"));
    m_image->installEventFilter(this);

    m_zoomOut = new QPushButton(QStringLiteral("уменьшить"), this);
    m_zoomOut->setObjectName(QStringLiteral("comm1"));
    m_zoomOut->setAccessibleName(QStringLiteral("Уменьшить"));
    hover()->addHint(m_zoomOut, QStringLiteral("Уменьшить рисунок"));
    m_zoomIn = new QPushButton(QStringLiteral("увеличить"), this);
    m_zoomIn->setObjectName(QStringLiteral("comm2"));
    m_zoomIn->setAccessibleName(QStringLiteral("Увеличить"));
    hover()->addHint(m_zoomIn, QStringLiteral("Увеличить рисунок"));
    connect(m_zoomOut, &QPushButton::clicked, this, &PictureViewer::zoomOut);
    connect(m_zoomIn, &QPushButton::clicked, this, &PictureViewer::zoomIn);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("timer"));
    connect(m_timer, &QTimer::timeout, this, &PictureViewer::tick);
}

void PictureViewer::loadPicture(const QString &name)
{
    m_shownName = name;
    const QString file = name + QStringLiteral(".jpg");
    const SessionState &s = m_context.session;
    m_picture = QPixmap::fromImage(pictures::load(s.dataPath(QString()), s.jpgPath(file)));
    if (m_picture.isNull()) {
        // A test may be running behind the viewer: tell and carry on.
        m_image->setScaledContents(false);
        m_image->setWordWrap(true);
        m_image->setText(MissingPictureText.arg(file));
        m_naturalWidth = 8000;
        m_naturalHeight = 3000;
        return;
    }
    m_image->setScaledContents(true);
    m_image->setText(QString());
    m_image->setPixmap(m_picture);
    m_naturalWidth = pixelsToTwips(m_picture.width(), this);
    m_naturalHeight = pixelsToTwips(m_picture.height(), this);
}

int PictureViewer::largestZoomOnScreen() const
{
    const QScreen *screen = this->screen();
    if (!screen)
        return PictureZoom::Full;
    const int width = pixelsToTwips(screen->availableSize().width(), this);
    const int height = pixelsToTwips(screen->availableSize().height(), this);
    const auto fits = [&](int zoom) {
        const PictureLayout layout =
            PictureLayout::compute(zoom, m_naturalWidth, m_naturalHeight, m_frameAllowance);
        return layout.windowWidth <= width && layout.windowHeight <= height;
    };
    int largest = PictureZoom::Smallest;
    while (largest < 1000 && fits(largest + PictureZoom::Step))
        largest += PictureZoom::Step;
    return largest;
}

void PictureViewer::redisplay()
{
    m_layout =
        PictureLayout::compute(m_zoom.percent(), m_naturalWidth, m_naturalHeight, m_frameAllowance);
    const auto px = [this](int twips) { return twipsToPixels(twips, this); };
    const int captionHeight = px(m_frameAllowance);
    m_caption->setGeometry(px(PictureLayout::PictureLeft), 0,
                           px(m_layout.windowWidth) - px(2 * PictureLayout::PictureLeft),
                           captionHeight);
    m_image->setGeometry(px(PictureLayout::PictureLeft), captionHeight + px(m_layout.pictureTop),
                         px(m_layout.pictureWidth), px(m_layout.pictureHeight));
    m_zoomOut->setText(m_layout.zoomOutCaption);
    m_zoomIn->setText(m_layout.zoomInCaption);
    m_zoomOut->setGeometry(px(m_layout.zoomOutLeft), captionHeight + px(m_layout.buttonTop),
                           px(m_layout.buttonWidth), px(m_layout.buttonHeight));
    m_zoomIn->setGeometry(px(m_layout.zoomInLeft), captionHeight + px(m_layout.buttonTop),
                          px(m_layout.buttonWidth), px(m_layout.buttonHeight));
    // Grown over the question's text or past the screen's edge, which would push it over the
    // question, the viewer is placed again. Otherwise it keeps its top left corner, and its
    // buttons stay under the mouse.
    const QRect grown(pos(), QSize(px(m_layout.windowWidth), px(m_layout.windowHeight)));
    const QRect area = screen() ? screen()->availableGeometry() : QRect();
    const bool misplaced = isVisible() && (grown.width() > width() || grown.height() > height()) &&
                           (!area.contains(grown) || hidesKeptPart(grown));
    setFixedSize(grown.size());
    if (misplaced && m_questionWindow && m_questionWindow->isVisible())
        attachTo(m_questionWindow);
    m_zoom.setLargest(largestZoomOnScreen());
    applyButtons();
}

void PictureViewer::applyButtons()
{
    const bool shown = !m_picture.isNull();
    m_zoomOut->setEnabled(shown && m_zoom.zoomOutEnabled());
    m_zoomIn->setEnabled(shown && m_zoom.zoomInEnabled());
}

void PictureViewer::zoomOut()
{
    m_context.cues.play(Cue::Pick);
    m_zoom.zoomOut();
    redisplay();
}

void PictureViewer::zoomIn()
{
    m_context.cues.play(Cue::Pick);
    m_zoom.zoomIn();
    redisplay();
}

void PictureViewer::toggleFull()
{
    m_context.cues.play(Cue::Pick);
    m_zoom.toggleFull();
    redisplay();
}

void PictureViewer::tick()
{
    m_ticker.tick();
    setWindowTitle(m_ticker.text());
    m_caption->setText(m_ticker.text());
}

bool PictureViewer::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_image && event->type() == QEvent::MouseButtonDblClick && !m_picture.isNull()) {
        toggleFull();
        return true;
    }
    return SkinnedWindow::eventFilter(watched, event);
}

void PictureViewer::closeEvent(QCloseEvent *event)
{
    m_timer->stop();
    m_context.cues.play(Cue::Pick);
    event->accept();
}
