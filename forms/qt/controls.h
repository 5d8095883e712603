#pragma once

#include "forms/picture.h"

#include <QImage>
#include <QRadioButton>
#include <QWidget>

// The intrinsic controls that Qt has no widget for as they are.
namespace tovrik {

// A picture control: draws its picture stretched over its whole rectangle, every line of it
// kept, and is clickable.
class ImageControl : public QWidget
{
    Q_OBJECT

public:
    explicit ImageControl(QWidget *parent = nullptr);
    void setPicture(Picture picture);
    const Picture &picture() const { return m_picture; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    Picture m_picture;
    QImage m_drawn; // the picture stretched to the control's device pixels
};

// An option button that, like its Windows original, answers a click anywhere in its rectangle,
// not only on its circle and caption. It does not check itself: the form engine selects it, as
// every backend does.
//
// It stays auto-exclusive, as Qt's radio buttons are: Qt tells a screen reader that a
// non-exclusive checkable button is a check box. Only a clear, which the engine may make of one
// button alone, steps out of the exclusion for that moment.
class OptionControl : public QRadioButton
{
    Q_OBJECT

public:
    OptionControl(const QString &text, QWidget *parent)
        : QRadioButton(text, parent)
    {
    }

    void setSelected(bool selected)
    {
        if (!selected)
            setAutoExclusive(false); // else Qt keeps the group's checked button checked
        setChecked(selected);
        setAutoExclusive(true);
    }

protected:
    bool hitButton(const QPoint &pos) const override { return rect().contains(pos); }
    void nextCheckState() override { }
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
