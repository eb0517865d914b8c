#include "reading/pageview.h"

#include "core/textfile.h"
#include "reading/pagetext.h"

#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QScrollBar>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {
QByteArray readFile(const QString &path, bool *found)
{
    QFile file(path);
    *found = file.open(QIODevice::ReadOnly);
    return *found ? file.readAll() : QByteArray();
}

// Decodes pages by their own charset and answers a missing page with our own view.
class CourseBrowser : public QTextBrowser
{
public:
    using QTextBrowser::QTextBrowser;

    QVariant loadResource(int type, const QUrl &name) override
    {
        if (type != QTextDocument::HtmlResource || !name.isLocalFile())
            return QTextBrowser::loadResource(type, name);
        bool found = false;
        const QByteArray page = readFile(name.toLocalFile(), &found);
        return found ? pagetext::decodePage(page) : pagetext::missingPageHtml(name.toLocalFile());
    }
};

class TextBrowserPageView : public PageView
{
public:
    explicit TextBrowserPageView(QWidget *parent)
        : PageView(parent), m_browser(new CourseBrowser(this))
    {
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(m_browser);
        m_browser->setOpenLinks(true);
        m_browser->setOpenExternalLinks(false);
        setFocusProxy(m_browser);
        connect(m_browser, &QTextBrowser::sourceChanged, this,
                [this](const QUrl &url) { m_shown = url.toLocalFile(); });
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
        bool found = false;
        const QByteArray text = readFile(path, &found);
        if (found)
            m_browser->setPlainText(textfile::decode1251(text));
        else
            m_browser->setHtml(pagetext::missingPageHtml(path));
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
                           QWidget *parent)
{
    auto *view = new TextBrowserPageView(parent);
    view->setObjectName(objectName);
    view->setAccessibleName(accessibleName);
    return view;
}
