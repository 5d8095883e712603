#pragma once

#include <QPixmap>
#include <QRadioButton>
#include <QWidget>

// The intrinsic controls that Qt has no widget for as they are.
namespace tovrik {

// A picture control: draws its picture stretched over its whole rectangle, and is clickable.
class ImageControl : public QWidget
{
    Q_OBJECT

public:
    explicit ImageControl(QWidget *parent = nullptr);
    void setPicture(const QPixmap &picture);
    const QPixmap &picture() const { return m_picture; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    QPixmap m_picture;
};

// An option button that, like its Windows original, answers a click anywhere in its rectangle,
// not only on its circle and caption.
class OptionControl : public QRadioButton
{
    Q_OBJECT

public:
    using QRadioButton::QRadioButton;

protected:
    bool hitButton(const QPoint &pos) const override { return rect().contains(pos); }
};

// A one-pixel separator line in the window text colour.
class LineControl : public QWidget
{
    Q_OBJECT

public:
    explicit LineControl(QWidget *parent = nullptr);

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace tovrik
