#pragma once

#include <QLabel>

class QTextLayout;

namespace wrappedtext {
// Lays the layout's text out in lines of `width` (aligned by `alignment`): at word boundaries,
// and inside a word too long for a line, so that no text is wider than the room it is given.
// Returns the extent of the lines.
QSize layOut(QTextLayout &layout, int width, Qt::Alignment alignment = Qt::AlignLeft);
} // namespace wrappedtext

// A wrapped plain text label that breaks a word too long for its width instead of growing
// with it: a name or a question read from a file never makes its window wider than the
// screen. Pictures, markup and selectable text are shown as QLabel shows them.
class WrappedLabel : public QLabel
{
    Q_OBJECT
public:
    using QLabel::QLabel;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    bool breaksWords() const;
    int textHeight(int textWidth) const;
    int frameSpace() const { return 2 * (frameWidth() + margin()); }
};
