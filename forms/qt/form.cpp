#include "forms/form.h"

#include "forms/picture.h"
#include "forms/qt/balloon.h"
#include "forms/qt/controls.h"
#include "forms/qt/native.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFile>
#include <QFileDialog>
#include <QFocusEvent>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QToolTip>
#include <QUrl>
#include <QVBoxLayout>

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

Key::Code keyCode(int key)
{
    switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return Key::Tab;
    case Qt::Key_Left: return Key::Left;
    case Qt::Key_Right: return Key::Right;
    case Qt::Key_Up: return Key::Up;
    case Qt::Key_Down: return Key::Down;
    case Qt::Key_Return:
    case Qt::Key_Enter: return Key::Enter;
    case Qt::Key_Escape: return Key::Escape;
    case Qt::Key_A: return Key::A;
    default: return Key::Other;
    }
}

// A tip as every backend wraps it, in the font tips are shown in: a rich text of its lines as
// they are, so that Qt neither guesses a format from the text nor breaks a line again.
QString wrappedTip(const QString &text)
{
    QStringList lines = tipLines(text, QToolTip::font());
    for (QString &line : lines)
        line = line.toHtmlEscaped();
    return QStringLiteral("<p style=\"white-space:pre\">") + lines.join(QStringLiteral("<br>"))
        + QStringLiteral("</p>");
}

Picture pictureResource(const QString &path)
{
    QFile file(QStringLiteral(":/") + path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    return readBmp(std::as_bytes(std::span(bytes.constData(), std::size_t(bytes.size()))));
}

// While a job runs, the user's input reaches its progress box and nothing else: every window
// waits, as under a modal box. Unlike under Qt's own modality, a window can still be closed, which
// the engine turns into asking the job to stop.
class InputBlocker : public QObject
{
public:
    explicit InputBlocker(QWidget *box)
        : m_box(box)
    {
        qApp->installEventFilter(this);
    }
    ~InputBlocker() override { qApp->removeEventFilter(this); }
    InputBlocker(const InputBlocker &) = delete;
    InputBlocker &operator=(const InputBlocker &) = delete;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut: // a menu item's, which is an action's, not a widget's
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::InputMethod:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd: break;
        default: return false;
        }
        // A window hands its input to its widgets, which are judged one by one.
        if (watched->isWindowType())
            return false;
        for (const QObject *at = watched; at; at = at->parent()) {
            if (at == m_box)
                return false;
        }
        return true;
    }

private:
    QPointer<QWidget> m_box;
};

} // namespace

// The primitives on Qt Widgets: a window holding a client widget, with the controls at their
// places in it, and the user's keys, clicks and focus changes passed to the engine.
class QtFormBackend : public QObject, public FormBackend
{
public:
    QtFormBackend(const FormDef &definition, FormEvents &events, const Form *owner);
    ~QtFormBackend() override;

    QWidget *window() const { return m_window; }
    QWidget *client() const { return m_client; }
    QWidget *control(int index) const { return m_controls[std::size_t(index)]; }

    void show() override;
    void showModal() override;
    void close() override;
    bool isShown() const override { return m_window && m_window->isVisible(); }
    bool visible(int index) const override { return !control(index)->isHidden(); }
    void setVisible(int index, bool visible) override { control(index)->setVisible(visible); }
    bool shown(int index) const override { return control(index)->isVisibleTo(m_window); }
    std::string text(int index) const override;
    void setText(int index, std::string_view text) override;
    void showStart(int index) override;
    void selectAll(int index) override;
    void setToolTip(int index, std::string_view text) override;
    void setGreyed(int index, bool greyed) override;
    bool checked(int index) const override;
    void setChecked(int index, bool checked) override;
    int focused() const override { return indexOf(m_window->focusWidget()); }
    void focus(int index) override { control(index)->setFocus(Qt::OtherFocusReason); }
    void beep() override { QApplication::beep(); }
    void showBalloon(int index, std::string_view text) override;
    void messageBox(std::string_view text) override;
    void setMenuEnabled(int id, bool enabled) override;
    void setMenuChecked(int id, bool checked) override;
    std::optional<std::string> chooseFile(const FileChoice &choice) override;
    bool ask(std::string_view question) override;
    bool openExternally(std::string_view path) override;
    bool progress(std::string_view text, int percent) override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *create(int index, QWidget *parent);
    // The menu bar above the client area, and its items by id.
    int buildMenu(std::span<const MenuDef> menu);
    QAction *action(int id) const;
    QLineEdit *edit(int index) const { return static_cast<QLineEdit *>(control(index)); }
    // A MultiLine box's view, or none for a box of one line.
    QPlainTextEdit *view(int index) const { return qobject_cast<QPlainTextEdit *>(control(index)); }
    int indexOf(const QObject *object) const;
    void placeBesideOwner();
    // A modeless form's client area follows its window, and its controls the area.
    void followWindow();
    bool closing(QEvent *event);

    FormDef m_form;
    std::span<const ControlDef> m_definition;
    FormEvents &m_events;
    QWidget *m_owner = nullptr;
    // Owned: deleted with the backend, and its children with it; or with its owner's window, if
    // that goes first.
    QPointer<QWidget> m_window;
    QWidget *m_below = nullptr; // what the window's layout gives the client area
    QWidget *m_client = nullptr;
    std::vector<QWidget *> m_controls;
    std::vector<std::pair<int, QAction *>> m_actions;
    bool m_placed = false;
    bool m_closingByCode = false;
    QPointer<QProgressDialog> m_progress;
    std::unique_ptr<InputBlocker> m_blocker; // while the box shows
    bool m_stopAsked = false;
};

namespace {

QWidget *makeWindow(const FormDef &definition, const Form *owner)
{
    if (!owner)
        return new QWidget;
    if (definition.modeless)
        return new QWidget(nativeWindow(*owner), Qt::Window);
    return new QDialog(nativeWindow(*owner));
}

} // namespace

QtFormBackend::QtFormBackend(const FormDef &definition, FormEvents &events, const Form *owner)
    : m_form(definition)
    , m_definition(definition.controls)
    , m_events(events)
    , m_owner(owner ? nativeWindow(*owner) : nullptr)
    , m_window(makeWindow(definition, owner))
{
    m_window->setWindowTitle(QString::fromUtf8(definition.caption));
    // As on Windows, the menu bar is outside the client area: the window's layout holds the bar
    // and, below it, the area the client lies in at its corner. The client keeps the size the
    // definition gives, and its controls their places, however the window is resized.
    auto *layout = new QVBoxLayout(m_window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetNoConstraint); // the window may be made small
    m_below = new QWidget(m_window);
    layout->addWidget(m_below);
    m_client = new QWidget(m_below);
    const PixelRect client
        = twipsToPixels(0, 0, definition.clientWidth, definition.clientHeight, logicalDpi);
    m_client->resize(client.width, client.height);
    const int menuHeight = buildMenu(definition.menu);
    m_window->resize(client.width, client.height + menuHeight);

    m_controls.reserve(m_definition.size());
    for (int i = 0; i < int(m_definition.size()); ++i) {
        const int container = m_definition[std::size_t(i)].container;
        m_controls.push_back(create(i, container == onForm ? m_client : control(container)));
    }
    const FormStructure structure = structureOf(m_definition);
    // A label names the field lying on it, for screen readers and its access key.
    for (const auto &[label, field] : structure.buddies)
        static_cast<QLabel *>(control(label))->setBuddy(control(field));
    // The engine moves the focus; Qt's own order is kept alike for what it does by itself.
    for (std::size_t i = 1; i < structure.tabChain.size(); ++i)
        QWidget::setTabOrder(control(structure.tabChain[i - 1]), control(structure.tabChain[i]));
    m_window->installEventFilter(this);
    if (definition.modeless)
        m_below->installEventFilter(this);
}

QtFormBackend::~QtFormBackend()
{
    m_blocker.reset();
    delete m_window;
}

QWidget *QtFormBackend::create(int index, QWidget *parent)
{
    const ControlDef &def = m_definition[std::size_t(index)];
    const QString caption = QString::fromUtf8(def.caption);
    QWidget *widget = nullptr;
    switch (def.kind) {
    case ControlKind::Frame: widget = new QGroupBox(caption, parent); break;
    case ControlKind::OptionButton: {
        auto *button = new OptionControl(caption, parent);
        button->setSelected(def.value);
        QObject::connect(button, &QAbstractButton::clicked, this,
                         [this, index] { m_events.clicked(index); });
        widget = button;
        break;
    }
    case ControlKind::TextBox: {
        const bool readOnly = hasOption(def, ReadOnly);
        if (hasOption(def, MultiLine)) {
            auto *view = new QPlainTextEdit(parent);
            view->setPlainText(caption);
            view->setReadOnly(readOnly);
            // Read-only, its text is still the user's to select, by mouse and keys, and copy.
            if (readOnly)
                view->setTextInteractionFlags(Qt::TextSelectableByMouse
                                              | Qt::TextSelectableByKeyboard);
            // Broken at words, as the Windows box breaks them, and a run too long for a line
            // anywhere.
            view->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
            widget = view;
            break;
        }
        auto *edit = new QLineEdit(caption, parent);
        // A text box holds text of any length; QLineEdit would cut it at 32,767 characters.
        edit->setMaxLength(std::numeric_limits<int>::max());
        edit->setReadOnly(readOnly);
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
        button->setAutoDefault(false); // the engine decides what Enter presses
        QObject::connect(button, &QPushButton::clicked, this,
                         [this, index] { m_events.clicked(index); });
        widget = button;
        break;
    }
    case ControlKind::Image: {
        auto *image = new ImageControl(parent);
        if (def.caption)
            image->setPicture(pictureResource(caption));
        QObject::connect(image, &ImageControl::clicked, this,
                         [this, index] { m_events.clicked(index); });
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
    if (takesFocus(def.kind))
        widget->installEventFilter(this);
    else
        widget->setFocusPolicy(Qt::NoFocus);
    widget->setVisible(def.visible);
    return widget;
}

int QtFormBackend::buildMenu(std::span<const MenuDef> menu)
{
    if (menu.empty())
        return 0;
    auto *bar = new QMenuBar(m_window);
    static_cast<QVBoxLayout *>(m_window->layout())->setMenuBar(bar);
    std::vector<std::pair<int, QMenu *>> menus;
    const auto menuOf = [&](int id) -> QMenu * {
        for (const auto &[known, menu] : menus) {
            if (known == id)
                return menu;
        }
        return nullptr;
    };
    for (const MenuDef &item : menu) {
        const QString text = QString::fromUtf8(item.text ? item.text : "");
        QMenu *parent = menuOf(item.parent);
        switch (item.kind) {
        case MenuKind::Menu:
            menus.emplace_back(item.id, parent ? parent->addMenu(text) : bar->addMenu(text));
            break;
        case MenuKind::Separator:
            if (parent)
                parent->addSeparator();
            break;
        case MenuKind::Command:
        case MenuKind::Check:
        case MenuKind::Radio: {
            QAction *action = parent ? parent->addAction(text) : bar->addAction(text);
            action->setCheckable(item.kind != MenuKind::Command);
            if (item.shortcut)
                action->setShortcut(QKeySequence(QString::fromLatin1(item.shortcut)));
            const int id = item.id;
            QObject::connect(action, &QAction::triggered, this,
                             [this, id] { m_events.menuChosen(id); });
            m_actions.emplace_back(id, action);
            break;
        }
        }
    }
    // What the layout gives the bar at the client's width.
    return bar->heightForWidth(m_client->width());
}

QAction *QtFormBackend::action(int id) const
{
    for (const auto &[known, action] : m_actions) {
        if (known == id)
            return action;
    }
    return nullptr;
}

void QtFormBackend::setMenuEnabled(int id, bool enabled)
{
    if (QAction *item = action(id))
        item->setEnabled(enabled);
}

void QtFormBackend::setMenuChecked(int id, bool checked)
{
    if (QAction *item = action(id))
        item->setChecked(checked);
}

std::optional<std::string> QtFormBackend::chooseFile(const FileChoice &choice)
{
    QFileDialog dialog(m_window, QString::fromUtf8(choice.title), QString::fromUtf8(choice.folder),
                       QString::fromUtf8(choice.filterName) + QStringLiteral(" (")
                           + QString::fromUtf8(choice.pattern) + QLatin1Char(')'));
    dialog.setObjectName(QStringLiteral("fileDialog"));
    dialog.setAcceptMode(choice.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(choice.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (choice.save && choice.pattern.starts_with("*."))
        dialog.setDefaultSuffix(QString::fromUtf8(choice.pattern.substr(2)));
    if (!choice.name.empty())
        dialog.selectFile(QString::fromUtf8(choice.name));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

bool QtFormBackend::ask(std::string_view question)
{
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), fromUtf8(question),
                    QMessageBox::Yes | QMessageBox::No, m_window);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

bool QtFormBackend::openExternally(std::string_view path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(fromUtf8(path)));
}

bool QtFormBackend::progress(std::string_view text, int percent)
{
    if (percent < 0) {
        m_blocker.reset();
        delete m_progress;
        m_stopAsked = false;
        return true;
    }
    if (!m_progress) {
        m_stopAsked = false;
        m_progress = new QProgressDialog(m_window);
        m_progress->setObjectName(QStringLiteral("progress"));
        m_progress->setWindowTitle(QCoreApplication::applicationName());
        m_progress->setCancelButtonText(QStringLiteral("取消"));
        m_progress->setRange(0, 100);
        // Shown now, as the engine asks, and kept until the job has ended.
        m_progress->setMinimumDuration(0);
        m_progress->setAutoReset(false);
        m_progress->setAutoClose(false);
        // Its button, Esc and its close box.
        QObject::connect(m_progress, &QProgressDialog::canceled, this,
                         [this] { m_stopAsked = true; });
        m_blocker = std::make_unique<InputBlocker>(m_progress);
        m_progress->show();
        m_progress->activateWindow();
    }
    if (!m_stopAsked) {
        m_progress->setLabelText(fromUtf8(text));
        m_progress->setValue(percent);
    }
    QCoreApplication::processEvents();
    return !m_stopAsked;
}

int QtFormBackend::indexOf(const QObject *object) const
{
    const auto found = std::find(m_controls.begin(), m_controls.end(), object);
    return found == m_controls.end() ? -1 : int(found - m_controls.begin());
}

// The user's close asks the engine first; a close by code does not. A window that closes takes
// the modeless forms it owns with it.
bool QtFormBackend::closing(QEvent *event)
{
    if (!m_closingByCode && !m_events.closeRequested()) {
        event->ignore();
        return true;
    }
    for (QWidget *child : m_window->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (child->isWindow())
            child->hide();
    }
    return false;
}

bool QtFormBackend::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_window) {
        return event->type() == QEvent::Close && closing(event);
    }
    if (watched == m_below) {
        if (event->type() == QEvent::Resize)
            followWindow();
        return false;
    }
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto *press = static_cast<QKeyEvent *>(event);
        const Qt::KeyboardModifiers modifiers = press->modifiers();
        const Key key {keyCode(press->key()),
                       press->key() == Qt::Key_Backtab || (modifiers & Qt::ShiftModifier),
                       bool(modifiers & Qt::ControlModifier), bool(modifiers & Qt::AltModifier)};
        return key.code != Key::Other && m_events.keyPressed(indexOf(watched), key);
    }
    case QEvent::ShortcutOverride: {
        // Ctrl+A is the engine's: the box must not take it as its own shortcut first.
        const auto *press = static_cast<QKeyEvent *>(event);
        if (press->key() == Qt::Key_A && press->modifiers() == Qt::ControlModifier)
            event->accept();
        return false;
    }
    case QEvent::ToolTip: {
        // The control keeps its tip as the engine gave it, for screen readers; it shows wrapped.
        auto *control = static_cast<QWidget *>(watched);
        if (control->toolTip().isEmpty())
            return false;
        QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(),
                           wrappedTip(control->toolTip()), control, {}, control->toolTipDuration());
        return true;
    }
    case QEvent::FocusOut: {
        // Leaving the window or opening a menu is not leaving the control.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            m_events.focusLost(indexOf(watched));
        return false;
    }
    default: return false;
    }
}

void QtFormBackend::show()
{
    if (m_form.modeless && m_owner && !m_placed) {
        m_placed = true;
        placeBesideOwner();
    }
    m_window->show();
    // Shown already, it comes to the front.
    if (m_form.modeless) {
        m_window->raise();
        m_window->activateWindow();
    }
}

// Its frame is not known before it first shows: it is taken to be as wide as the owner's.
void QtFormBackend::placeBesideOwner()
{
    const QRect owner = m_owner->frameGeometry();
    const QRect ownerClient = m_owner->geometry();
    const QRect area = (m_owner->screen() ? m_owner->screen() : QGuiApplication::primaryScreen())
                           ->availableGeometry();
    const PixelRect at = besideOwner({owner.x(), owner.y(), owner.width(), owner.height()},
                                     m_window->width() + owner.width() - ownerClient.width(),
                                     m_window->height() + owner.height() - ownerClient.height(),
                                     {area.x(), area.y(), area.width(), area.height()}, 8);
    m_window->move(at.x, at.y);
}

void QtFormBackend::followWindow()
{
    m_client->resize(m_below->size());
    for (int i = 0; i < int(m_definition.size()); ++i) {
        if (m_definition[std::size_t(i)].container == onForm)
            control(i)->setGeometry(toQRect(
                stretchedRect(m_form, i, m_client->width(), m_client->height(), logicalDpi)));
    }
}

void QtFormBackend::showModal()
{
    if (auto *dialog = qobject_cast<QDialog *>(m_window))
        dialog->exec();
}

void QtFormBackend::close()
{
    m_closingByCode = true;
    m_window->close();
    m_closingByCode = false;
}

std::string QtFormBackend::text(int index) const
{
    if (const QPlainTextEdit *lines = view(index)) {
        // Its paragraphs, as the document holds them, joined by the line ends they were given.
        QString text = lines->document()->toRawText();
        text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
        text.replace(QChar::LineSeparator, QLatin1Char('\n'));
        return text.toStdString();
    }
    return edit(index)->text().toStdString();
}

void QtFormBackend::setText(int index, std::string_view text)
{
    if (QPlainTextEdit *lines = view(index))
        lines->setPlainText(fromUtf8(text));
    else
        edit(index)->setText(fromUtf8(text));
    showStart(index);
}

void QtFormBackend::showStart(int index)
{
    if (QPlainTextEdit *lines = view(index)) {
        lines->moveCursor(QTextCursor::Start);
        lines->verticalScrollBar()->setValue(0);
        return;
    }
    edit(index)->setCursorPosition(0);
}

void QtFormBackend::selectAll(int index)
{
    if (QPlainTextEdit *lines = view(index))
        lines->selectAll();
    else
        edit(index)->selectAll();
}

void QtFormBackend::setToolTip(int index, std::string_view text)
{
    control(index)->setToolTip(fromUtf8(text));
}

// A result that is not current is drawn in the system's grey text.
void QtFormBackend::setGreyed(int index, bool greyed)
{
    QWidget *widget = control(index);
    const ControlDef &def = m_definition[std::size_t(index)];
    QPalette palette = widget->palette();
    const QColor own = def.foreColour != defaultColour
        ? fromVbColour(def.foreColour)
        : QApplication::palette().color(QPalette::Text);
    const QColor grey = QApplication::palette().color(QPalette::Disabled, QPalette::Text);
    palette.setColor(QPalette::Text, greyed ? grey : own);
    widget->setPalette(palette);
}

bool QtFormBackend::checked(int index) const
{
    return static_cast<QAbstractButton *>(control(index))->isChecked();
}

void QtFormBackend::setChecked(int index, bool checked)
{
    static_cast<OptionControl *>(control(index))->setSelected(checked);
}

void QtFormBackend::showBalloon(int index, std::string_view text)
{
    tovrik::showBalloon(control(index), fromUtf8(text));
}

void QtFormBackend::messageBox(std::string_view text)
{
    QMessageBox box(QMessageBox::NoIcon, QCoreApplication::applicationName(), fromUtf8(text),
                    QMessageBox::Ok, m_window);
    box.exec();
}

std::unique_ptr<FormBackend> makeFormBackend(const FormDef &definition, FormEvents &events,
                                             const Form *owner)
{
    return std::make_unique<QtFormBackend>(definition, events, owner);
}

char32_t localeDecimalSeparator()
{
    const QString point = QLocale().decimalPoint();
    return point.isEmpty() ? U'.' : point.toUcs4().value(0, U'.');
}

namespace {

QtFormBackend &qtBackend(const Form &form)
{
    return static_cast<QtFormBackend &>(form.backend());
}

} // namespace

QWidget *nativeWindow(const Form &form)
{
    return qtBackend(form).window();
}

QWidget *nativeClient(const Form &form)
{
    return qtBackend(form).client();
}

QWidget *nativeWidget(const Control &control)
{
    return qtBackend(control.form()).control(control.index());
}

} // namespace tovrik
