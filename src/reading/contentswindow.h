#pragma once

#include "reading/outline.h"
#include "ui/skinnedwindow.h"

#include <optional>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;
class SkinButton;

// The table of contents: the outline as a tree, opening the chosen paragraph or the bookmark
// in the reader. Hidden, not closed, while the reader is open.
class ContentsWindow : public SkinnedWindow
{
    Q_OBJECT
public:
    static const QString DefaultHint;

    explicit ContentsWindow(AppContext &context);

    // Opened by the reader on that paragraph to choose another: cancelling goes back to it.
    void openFromReader(const QString &paragraph);

protected:
    void changeEvent(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void loadContents();
    void buildTree();
    void loadSkins();
    void updateBookmarkButton();
    void openSelected();
    void openBookmark();
    void cancel();
    void openReader(const QString &paragraph);
    void reportOutlineProblem();

    Outline m_outline;
    QString m_outlineProblem; // why the outline cannot be read from, empty when it can
    QTreeWidget *m_tree = nullptr;
    std::optional<QString> m_readerParagraph;
    SkinButton *m_open = nullptr;
    SkinButton *m_bookmark = nullptr;
    SkinButton *m_cancel = nullptr;
};
