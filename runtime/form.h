#pragma once

#include <QRadioButton>
#include <QWidget>

#include <cstdint>
#include <span>
#include <vector>

class QButtonGroup;
class QPixmap;

// A small form engine: a window is a static table of controls measured in twips, built once
// into Qt widgets. Nothing is laid out at run time; controls keep their places when the window
// is resized.
namespace tovrik {

enum class ControlKind : std::uint8_t {
    Frame,
    OptionButton,
    TextBox,
    Label,
    CommandButton,
    Image,
    Line,
};

struct FontSpec
{
    const char *family; // UTF-8
    double pointSize;
    int weight; // 400 is regular
};

inline constexpr std::uint32_t defaultColour = 0xFFFFFFFF;
inline constexpr int noTabIndex = -1;
inline constexpr int onForm = -1;

// One row of a form's definition. Positions are twips relative to the container: the form's
// client area, or the frame's outer rectangle. A Line runs from (left, top) to
// (left + width, top + height).
struct ControlDef
{
    ControlKind kind;
    const char *name;
    int container; // index of a Frame row earlier in the table, or onForm
    const char *caption; // UTF-8; for an Image, the resource path of its picture
    int left, top, width, height;
    int tabIndex;
    const FontSpec *font; // nullptr: the application's default font
    std::uint32_t foreColour; // 0x00BBGGRR, or defaultColour
    bool visible;
    bool value; // OptionButton: selected at start
};

// The one place where twips become device-independent pixels: 15 twips to a pixel at 96 dpi.
// Larger screens are handled by Qt's high-DPI scaling of these pixels.
QRect twipsToPixels(int left, int top, int width, int height);

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

class Form : public QWidget
{
    Q_OBJECT

public:
    Form(const char *caption, int clientWidthTwips, int clientHeightTwips,
         std::span<const ControlDef> definition);

    // Raises the load event once, before the form is first shown.
    void load() { Form_Load(); }

protected:
    virtual void Form_Load() { }

    // For the derived form's constructor, which keeps typed members; never used from handlers.
    template<typename Widget>
    Widget *control(int index) const
    {
        return static_cast<Widget *>(m_controls.at(index));
    }
    // The option buttons sitting directly in one container form one group; ids are row indexes.
    QButtonGroup *optionGroup(int container) const;

private:
    QWidget *create(const ControlDef &def, QWidget *parent);
    void linkBuddies(std::span<const ControlDef> definition);
    void orderTabs(std::span<const ControlDef> definition);

    std::vector<QWidget *> m_controls;
    std::vector<std::pair<int, QButtonGroup *>> m_groups;
};

} // namespace tovrik
