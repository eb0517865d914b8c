#pragma once

#include "reading/readerflow.h"
#include "ui/skinnedwindow.h"

class PageView;
class QLabel;
class QStatusBar;
class SkinButton;

// The reader: one course page at a time in course order, in the reading, learning and check
// modes; the bookmark; the way to the contents and to a paragraph's test.
class ReaderWindow : public SkinnedWindow
{
    Q_OBJECT
public:
    explicit ReaderWindow(AppContext &context);

    ReaderFlow &flow() { return m_flow; }
    // Shows the reader on that paragraph: its text, or its questions in the check mode.
    void openAt(const QString &paragraph);
    // Closes without bringing up the main menu: another window takes over.
    void closeQuietly();

public Q_SLOTS:
    // The test started from the reader has ended: the reader is back with its last page.
    void showAgainAfterTest();

protected:
    void closeEvent(QCloseEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    SkinButton *addReaderButton(const char *name, const char *skin, const char *caption,
                                const char *toolTip, const char *hint);
    void applyButtons();
    void showQuestionsButton();
    void showPage(const QString &path);
    void chooseAnotherParagraph();
    void setBookmark();
    bool startTest(const QString &bank);
    void fail(const QString &message);
    void arrange();

    ReaderFlow m_flow;
    bool m_opened = false;
    bool m_closingQuietly = false;
    PageView *m_view = nullptr;
    QStatusBar *m_statusBar = nullptr;
    QLabel *m_status = nullptr;
    QList<SkinButton *> m_buttons;
    SkinButton *m_prev = nullptr;
    SkinButton *m_next = nullptr;
    SkinButton *m_bookmarkSet = nullptr;
    SkinButton *m_bookmarkGo = nullptr;
    SkinButton *m_contents = nullptr;
    SkinButton *m_test = nullptr;
    SkinButton *m_exit = nullptr;
};
