#pragma once

#include <QAbstractButton>
#include <QPixmap>

// A picture button drawn from two skin bitmaps, normal and lit ("_move"). It is a real button:
// it takes the keyboard focus and accessibility clients press it. Without its bitmap it shows
// a plain button with its caption.
class SkinButton : public QAbstractButton
{
    Q_OBJECT
public:
    // normalPath and hoverPath are full paths to the bitmaps; caption is the accessible name.
    SkinButton(const QString &objectName, const QString &caption, QWidget *parent = nullptr);

    void setSkin(const QString &normalPath, const QString &hoverPath);
    // Shows the lit or the normal bitmap, reloaded from disk.
    void setLit(bool lit);
    bool isLit() const { return m_lit; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QString m_normalPath;
    QString m_hoverPath;
    QPixmap m_pixmap;
    bool m_lit = false;
};
