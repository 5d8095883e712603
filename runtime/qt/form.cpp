#include "runtime/form.h"

#include "runtime/picture.h"
#include "runtime/qt/balloon.h"
#include "runtime/qt/controls.h"
#include "runtime/qt/native.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>

#include <limits>

namespace tovrik {

namespace {

// Twips become device-independent pixels at 96 dpi; Qt scales those for larger screens.
constexpr int logicalDpi = 96;

QRect toQRect(const PixelRect &rect)
{
    return QRect(rect.x, rect.y, rect.width, rect.height);
}

QColor fromVbColour(std::uint32_t bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

QString fromUtf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

} // namespace

class NativeForm
{
public:
    NativeForm(const char *caption, int clientWidthTwips, int clientHeightTwips,
               std::span<const ControlDef> definition);

    QWidget *window() const { return m_window.get(); }
    QWidget *control(int index) const { return m_controls.at(std::size_t(index)); }
    const ControlDef &def(int index) const { return m_definition[std::size_t(index)]; }
    std::function<void()> &clickHandler(int index) { return m_clicks.at(std::size_t(index)); }
    void click(int index)
    {
        if (const auto &handler = m_clicks.at(std::size_t(index)))
            handler();
    }
    void setTextColour(int index, bool current);

private:
    QWidget *create(int index, QWidget *parent);

    std::span<const ControlDef> m_definition;
    std::unique_ptr<QWidget> m_window;
    std::vector<QWidget *> m_controls;
    std::vector<std::function<void()>> m_clicks;
    std::vector<bool> m_stale;
};

NativeForm::NativeForm(const char *caption, int clientWidthTwips, int clientHeightTwips,
                       std::span<const ControlDef> definition)
    : m_definition(definition)
    , m_window(std::make_unique<QWidget>())
    , m_clicks(definition.size())
    , m_stale(definition.size())
{
    m_window->setWindowTitle(QString::fromUtf8(caption));
    const PixelRect client = twipsToPixels(0, 0, clientWidthTwips, clientHeightTwips, logicalDpi);
    m_window->resize(client.width, client.height);

    m_controls.reserve(definition.size());
    for (int i = 0; i < int(definition.size()); ++i) {
        const int container = definition[std::size_t(i)].container;
        m_controls.push_back(create(i, container == onForm ? window() : control(container)));
    }

    const FormStructure structure = structureOf(definition);
    for (const auto &[label, field] : structure.buddies)
        static_cast<QLabel *>(control(label))->setBuddy(control(field));
    for (std::size_t i = 1; i < structure.tabChain.size(); ++i)
        QWidget::setTabOrder(control(structure.tabChain[i - 1]), control(structure.tabChain[i]));
    for (const std::vector<int> &members : structure.optionGroups) {
        // One group, one slot: the button that becomes selected, by a click or by the arrow
        // keys, raises its click.
        auto *group = new QButtonGroup(m_window.get());
        for (const int index : members)
            group->addButton(static_cast<QAbstractButton *>(control(index)), index);
        QObject::connect(group, &QButtonGroup::idToggled, group, [this](int id, bool checked) {
            if (checked)
                click(id);
        });
    }
}

QWidget *NativeForm::create(int index, QWidget *parent)
{
    const ControlDef &def = this->def(index);
    const QString caption = QString::fromUtf8(def.caption);
    QWidget *widget = nullptr;
    switch (def.kind) {
    case ControlKind::Frame: widget = new QGroupBox(caption, parent); break;
    case ControlKind::OptionButton: {
        auto *button = new OptionControl(caption, parent);
        button->setChecked(def.value);
        widget = button;
        break;
    }
    case ControlKind::TextBox: {
        auto *edit = new TextControl(caption, parent);
        // A text box holds text of any length; QLineEdit would cut it at 32,767 characters.
        edit->setMaxLength(std::numeric_limits<int>::max());
        widget = edit;
        break;
    }
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
        QObject::connect(button, &QPushButton::clicked, button, [this, index] { click(index); });
        widget = button;
        break;
    }
    case ControlKind::Image: {
        auto *image = new ImageControl(parent);
        if (def.caption) {
            QFile file(QStringLiteral(":/") + caption);
            if (file.open(QIODevice::ReadOnly)) {
                const QByteArray bytes = file.readAll();
                image->setPicture(readBmp(
                    std::as_bytes(std::span(bytes.constData(), std::size_t(bytes.size())))));
            }
        }
        QObject::connect(image, &ImageControl::clicked, image, [this, index] { click(index); });
        widget = image;
        break;
    }
    case ControlKind::Line: widget = new LineControl(parent); break;
    }

    widget->setObjectName(QString::fromLatin1(def.name));
    widget->setGeometry(toQRect(controlRect(def, logicalDpi)));
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

// A result that is not current is drawn in the system's grey text.
void NativeForm::setTextColour(int index, bool current)
{
    if (m_stale[std::size_t(index)] != current)
        return;
    m_stale[std::size_t(index)] = !current;
    QWidget *widget = control(index);
    const ControlDef &def = this->def(index);
    QPalette palette = widget->palette();
    const QColor defined = def.foreColour != defaultColour
        ? fromVbColour(def.foreColour)
        : QApplication::palette().color(QPalette::Text);
    const QColor grey = QApplication::palette().color(QPalette::Disabled, QPalette::Text);
    palette.setColor(QPalette::Text, current ? defined : grey);
    widget->setPalette(palette);
}

Form::Form(const char *caption, int clientWidthTwips, int clientHeightTwips,
           std::span<const ControlDef> definition)
    : m_definition(definition)
    , m_native(
          std::make_unique<NativeForm>(caption, clientWidthTwips, clientHeightTwips, definition))
{
}

Form::~Form() = default;

void Form::show()
{
    m_native->window()->show();
}

void Form::reportFailure(const TextBox &result, const TextBox &field, std::string_view message)
{
    QApplication::beep();
    m_native->setTextColour(result.index(), false);
    result.setToolTip({});
    // Focus first: the balloon stays through it, and is there when the user looks.
    auto *edit = widget<QLineEdit>(field);
    edit->setFocus(Qt::OtherFocusReason);
    edit->selectAll();
    showBalloon(nativeWidget(result), fromUtf8(message));
}

bool Control::visible() const
{
    return !nativeWidget(*this)->isHidden();
}

void Control::setVisible(bool visible) const
{
    nativeWidget(*this)->setVisible(visible);
}

std::string TextBox::text() const
{
    return widget<QLineEdit>(*this)->text().toStdString();
}

void TextBox::setText(std::string_view text) const
{
    auto *edit = widget<QLineEdit>(*this);
    edit->setText(fromUtf8(text));
    edit->setCursorPosition(0);
    form().native().setTextColour(index(), true);
}

std::string TextBox::toolTip() const
{
    return nativeWidget(*this)->toolTip().toStdString();
}

void TextBox::setToolTip(std::string_view text) const
{
    nativeWidget(*this)->setToolTip(fromUtf8(text));
}

bool OptionButton::value() const
{
    return widget<QAbstractButton>(*this)->isChecked();
}

void OptionButton::setValue(bool value) const
{
    widget<QAbstractButton>(*this)->setChecked(value);
}

void Control::setClickHandler(std::function<void()> handler) const
{
    form().native().clickHandler(index()) = std::move(handler);
}

char32_t localeDecimalSeparator()
{
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? U'.' : point.toUcs4().value(0, U'.');
}

QWidget *nativeWindow(const Form &form)
{
    return form.native().window();
}

QWidget *nativeWidget(const Control &control)
{
    return control.form().native().control(control.index());
}

} // namespace tovrik
