#pragma once

#include "ui/skinnedwindow.h"

#include <QPointer>

class PageView;
class SkinButton;

// Shows the user's guide, the network version's guide or the saved results history,
// depending on who opened it, and returns to that window.
class HelpWindow : public SkinnedWindow
{
    Q_OBJECT
public:
    static const QString HistoryCaption;

    // What the window shows and, closed, where it returns.
    enum class Page { Guide, NetworkGuide, History };

    explicit HelpWindow(AppContext &context);

    // Opened from a window other than the main menu: shows that window's page, hides the
    // window and brings it back on close.
    void openFrom(QWidget *opener, Page page);

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showPage();
    void arrange();
    void returnToOpener();

    QPointer<QWidget> m_opener;
    Page m_page = Page::Guide;
    PageView *m_view = nullptr;
    SkinButton *m_return = nullptr;
};

// The about window: two pages and a greeting cue three seconds after it opens.
class AboutWindow : public SkinnedWindow
{
    Q_OBJECT
public:
    static constexpr int GreetingDelayMs = 3000;

    explicit AboutWindow(AppContext &context);

protected:
    void closeEvent(QCloseEvent *event) override;
};
