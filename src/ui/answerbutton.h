#pragma once

#include <QRadioButton>

// A radio button whose caption wraps at the width its layout gives it, so a long answer makes
// the button taller instead of the window wider.
class AnswerButton : public QRadioButton
{
    Q_OBJECT
public:
    explicit AnswerButton(QWidget *parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    // The whole button, wrapped caption included, takes the click.
    bool hitButton(const QPoint &pos) const override { return rect().contains(pos); }

private:
    // The width taken by the round indicator and its spacing.
    int indicatorWidth() const;
    QRect textRect(int width) const;
};
