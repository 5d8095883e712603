#include "runtime/form.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>

namespace tovrik {

namespace {

constexpr int twipsPerPixel = 15;

QColor fromVbColour(std::uint32_t bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

bool takesFocus(ControlKind kind)
{
    return kind == ControlKind::OptionButton || kind == ControlKind::TextBox
        || kind == ControlKind::CommandButton;
}

} // namespace

QRect twipsToPixels(int left, int top, int width, int height)
{
    return QRect(left / twipsPerPixel, top / twipsPerPixel, width / twipsPerPixel,
                 height / twipsPerPixel);
}

ImageControl::ImageControl(QWidget *parent)
    : QWidget(parent)
{
}

void ImageControl::setPicture(const QPixmap &picture)
{
    m_picture = picture;
    update();
}

void ImageControl::paintEvent(QPaintEvent *)
{
    if (m_picture.isNull())
        return;
    QPainter painter(this);
    painter.drawPixmap(rect(), m_picture);
}

void ImageControl::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

LineControl::LineControl(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LineControl::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    if (width() >= height())
        painter.drawLine(0, 0, width() - 1, 0);
    else
        painter.drawLine(0, 0, 0, height() - 1);
}

Form::Form(const char *caption, int clientWidthTwips, int clientHeightTwips,
           std::span<const ControlDef> definition)
{
    setWindowTitle(QString::fromUtf8(caption));
    resize(twipsToPixels(0, 0, clientWidthTwips, clientHeightTwips).size());

    m_controls.reserve(definition.size());
    for (const ControlDef &def : definition) {
        QWidget *parent = def.container == onForm ? this : m_controls.at(def.container);
        m_controls.push_back(create(def, parent));
    }
    linkBuddies(definition);
    orderTabs(definition);
}

QWidget *Form::create(const ControlDef &def, QWidget *parent)
{
    const QString caption = QString::fromUtf8(def.caption);
    QWidget *widget = nullptr;
    switch (def.kind) {
    case ControlKind::Frame: widget = new QGroupBox(caption, parent); break;
    case ControlKind::OptionButton: {
        auto *button = new OptionControl(caption, parent);
        const auto found = std::find_if(m_groups.begin(), m_groups.end(), [&](const auto &entry) {
            return entry.first == def.container;
        });
        QButtonGroup *group = found != m_groups.end() ? found->second : nullptr;
        if (!group) {
            group = new QButtonGroup(this);
            m_groups.emplace_back(def.container, group);
        }
        group->addButton(button, static_cast<int>(m_controls.size()));
        button->setChecked(def.value);
        widget = button;
        break;
    }
    case ControlKind::TextBox: widget = new QLineEdit(caption, parent); break;
    case ControlKind::Label: {
        auto *label = new QLabel(caption, parent);
        label->setTextFormat(Qt::PlainText); // keeps the runs of blanks the captions align with
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        widget = label;
        break;
    }
    case ControlKind::CommandButton: {
        auto *button = new QPushButton(caption, parent);
        button->setAutoDefault(false); // Enter presses no button
        widget = button;
        break;
    }
    case ControlKind::Image: {
        auto *image = new ImageControl(parent);
        if (def.caption)
            image->setPicture(QPixmap(caption));
        widget = image;
        break;
    }
    case ControlKind::Line: {
        widget = new LineControl(parent);
        const QRect from = twipsToPixels(def.left, def.top, def.width, def.height);
        widget->setGeometry(from.x(), from.y(), std::max(from.width(), 1),
                            std::max(from.height(), 1));
        break;
    }
    }

    widget->setObjectName(QString::fromLatin1(def.name));
    if (def.kind != ControlKind::Line)
        widget->setGeometry(twipsToPixels(def.left, def.top, def.width, def.height));
    if (def.font) {
        QFont font = widget->font(); // keeps the application's rendering strategy
        font.setFamily(QString::fromUtf8(def.font->family));
        font.setPointSizeF(def.font->pointSize);
        font.setWeight(QFont::Weight(def.font->weight));
        widget->setFont(font);
    }
    if (def.foreColour != defaultColour) {
        QPalette palette = widget->palette();
        palette.setColor(QPalette::Text, fromVbColour(def.foreColour));
        palette.setColor(QPalette::WindowText, fromVbColour(def.foreColour));
        widget->setPalette(palette);
    }
    if (!takesFocus(def.kind))
        widget->setFocusPolicy(Qt::NoFocus);
    widget->setVisible(def.visible);
    return widget;
}

// An input label lies under its field; the field it holds is the one it names.
void Form::linkBuddies(std::span<const ControlDef> definition)
{
    for (std::size_t i = 0; i < definition.size(); ++i) {
        const ControlDef &label = definition[i];
        if (label.kind != ControlKind::Label)
            continue;
        for (std::size_t j = 0; j < definition.size(); ++j) {
            const ControlDef &field = definition[j];
            if (field.kind == ControlKind::TextBox && field.container == label.container
                && field.top == label.top && field.left >= label.left
                && field.left + field.width <= label.left + label.width) {
                static_cast<QLabel *>(m_controls[i])->setBuddy(m_controls[j]);
            }
        }
    }
}

void Form::orderTabs(std::span<const ControlDef> definition)
{
    std::vector<std::pair<int, QWidget *>> chain;
    for (std::size_t i = 0; i < definition.size(); ++i) {
        if (takesFocus(definition[i].kind) && definition[i].tabIndex != noTabIndex)
            chain.emplace_back(definition[i].tabIndex, m_controls[i]);
    }
    std::sort(chain.begin(), chain.end(),
              [](const auto &a, const auto &b) { return a.first < b.first; });
    for (std::size_t i = 1; i < chain.size(); ++i)
        QWidget::setTabOrder(chain[i - 1].second, chain[i].second);
}

QButtonGroup *Form::optionGroup(int container) const
{
    for (const auto &[owner, group] : m_groups) {
        if (owner == container)
            return group;
    }
    return nullptr;
}

} // namespace tovrik
