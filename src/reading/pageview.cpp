#include "reading/pageview.h"

#include "core/datafiles.h"
#include "core/textfile.h"
#include "reading/pagetext.h"
#include "ui/pictures.h"

#include <QFontDatabase>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextCursor>
#include <QVBoxLayout>

namespace {
QString pageProblem(const QString &path, const textfile::FileRead &read)
{
    return pagetext::missingPageHtml(
        path, read.status == textfile::FileRead::Status::Missing ? QString() : read.problem());
}

bool holdsPicture(const QTextBlock &block)
{
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        if (it.fragment().charFormat().isImageFormat())
            return true;
    }
    return false;
}

// A page's line spacing (CSS line-height) would stretch a line holding a picture as well,
// leaving a gap of half the picture's height above its caption: such lines keep single spacing.
void keepPictureLinesSingle(QTextDocument *page)
{
    QTextCursor cursor(page);
    for (QTextBlock block = page->begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().lineHeightType() == QTextBlockFormat::SingleHeight ||
            !holdsPicture(block))
            continue;
        QTextBlockFormat single = block.blockFormat();
        single.setLineHeight(0, QTextBlockFormat::SingleHeight);
        cursor.setPosition(block.position());
        cursor.setBlockFormat(single);
    }
}

// Loads every resource of a page itself: only files inside the data folder, bounded in size.
// Pages are decoded by their own charset and a missing or refused one is answered with our own
// view; a refused picture shows the broken-picture mark. Nothing returned is null, since Qt
// would then read the named file itself, whole, whatever it is.
class CourseBrowser : public QTextBrowser
{
public:
    CourseBrowser(const QString &dataFolder, QWidget *parent)
        : QTextBrowser(parent), m_dataFolder(dataFolder)
    {
    }

    QVariant loadResource(int type, const QUrl &name) override
    {
        const QUrl url = name.isRelative() ? source().resolved(name) : name;
        const QString path = url.isLocalFile() ? url.toLocalFile() : QString();
        if (type == QTextDocument::ImageResource) {
            const QImage picture = pictures::load(m_dataFolder, path);
            return picture.isNull() ? pictures::broken() : picture;
        }
        const textfile::FileRead read =
            datafiles::readInside(m_dataFolder, path, textfile::DataFileLimit);
        if (type == QTextDocument::HtmlResource)
            return read.isRead() ? pagetext::decodePage(read.bytes) : pageProblem(path, read);
        return read.bytes;
    }

    QString dataFolder() const { return m_dataFolder; }

private:
    QString m_dataFolder;
};

class TextBrowserPageView : public PageView
{
public:
    TextBrowserPageView(const QString &dataFolder, QWidget *parent)
        : PageView(parent), m_browser(new CourseBrowser(dataFolder, this))
    {
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(m_browser);
        m_browser->setOpenLinks(true);
        m_browser->setOpenExternalLinks(false);
        // A word longer than the view's width is broken rather than widening the page.
        m_browser->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
        setFocusProxy(m_browser);
        connect(m_browser, &QTextBrowser::sourceChanged, this, [this](const QUrl &url) {
            m_shown = url.toLocalFile();
            keepPictureLinesSingle(m_browser->document());
        });
    }

    void showFile(const QString &path) override
    {
        m_shown = path;
        m_browser->document()->setDefaultFont(m_browser->font());
        m_browser->setSource(QUrl::fromLocalFile(path), QTextDocument::HtmlResource);
    }

    void showTextFile(const QString &path) override
    {
        m_shown = path;
        m_browser->setSource(QUrl());
        // Text files keep their columns: the system's fixed-width font, which has Cyrillic.
        m_browser->document()->setDefaultFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
        const textfile::FileRead read =
            datafiles::readInside(m_browser->dataFolder(), path, textfile::DataFileLimit);
        if (read.isRead())
            m_browser->setPlainText(textfile::decode1251(read.bytes));
        else
            m_browser->setHtml(pageProblem(path, read));
    }

    QString shownFile() const override { return m_shown; }
    QString visibleText() const override { return m_browser->toPlainText(); }

    bool scrollScreen(bool forward) override
    {
        QScrollBar *bar = m_browser->verticalScrollBar();
        if (bar->value() == (forward ? bar->maximum() : bar->minimum()))
            return false;
        bar->triggerAction(forward ? QAbstractSlider::SliderPageStepAdd
                                   : QAbstractSlider::SliderPageStepSub);
        return true;
    }

private:
    CourseBrowser *m_browser;
    QString m_shown;
};
} // namespace

PageView *PageView::create(const QString &objectName, const QString &accessibleName,
                           const QString &dataFolder, QWidget *parent)
{
    auto *view = new TextBrowserPageView(dataFolder, parent);
    view->setObjectName(objectName);
    view->setAccessibleName(accessibleName);
    return view;
}
