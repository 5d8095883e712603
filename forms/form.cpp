#include "forms/form.h"

#include <algorithm>

namespace tovrik {

namespace {

std::chrono::milliseconds progressDelay {400};

bool multiLine(const ControlDef &def)
{
    return def.kind == ControlKind::TextBox && hasOption(def, MultiLine);
}

} // namespace

Form::Form(const FormDef &definition, const Form *owner)
    : m_definition(definition)
    , m_structure(structureOf(definition.controls))
    , m_controls(definition.controls.size())
    , m_backend(makeFormBackend(definition, *this, owner))
{
}

Form::~Form() = default;

void Form::show()
{
    m_backend->show();
    for (const int index : m_structure.tabChain) {
        if (isTabStop(index)) {
            m_backend->focus(index);
            break;
        }
    }
}

void Form::showModal()
{
    show();
    m_backend->showModal();
}

void Form::close()
{
    m_backend->close();
}

bool Form::isShown() const
{
    return m_backend->isShown();
}

// While a job runs, closing the window stops the job first, and the window closes when the job
// has ended: what it was writing is finished or put away, not cut off.
bool Form::closeRequested()
{
    if (m_job.since) {
        m_job.stopAsked = true;
        m_job.closePending = true;
        return false;
    }
    return Form_QueryUnload();
}

void Form::raiseClick(int index)
{
    // A copy: a handler may set another handler for its own control.
    if (const std::function<void()> handler = m_controls[std::size_t(index)].click)
        handler();
}

// Selecting an option clears the others of its group and raises its click; selecting the one
// already selected changes nothing.
void Form::select(int index)
{
    if (m_backend->checked(index))
        return;
    for (const std::vector<int> &group : m_structure.optionGroups) {
        if (std::find(group.begin(), group.end(), index) == group.end())
            continue;
        for (const int member : group)
            m_backend->setChecked(member, member == index);
    }
    raiseClick(index);
}

void Form::clicked(int index)
{
    if (def(index).kind == ControlKind::OptionButton)
        select(index);
    else
        raiseClick(index);
}

// An option group is one stop of the chain: its selected button.
bool Form::isTabStop(int index) const
{
    return m_backend->shown(index)
        && (def(index).kind != ControlKind::OptionButton || m_backend->checked(index));
}

void Form::tab(int step)
{
    const std::vector<int> &chain = m_structure.tabChain;
    const int count = static_cast<int>(chain.size());
    const auto current = std::find(chain.begin(), chain.end(), m_backend->focused());
    int position = current == chain.end() ? (step > 0 ? -1 : 0) : int(current - chain.begin());
    for (int tried = 0; tried < count; ++tried) {
        position = (position + step + count) % count;
        const int index = chain[std::size_t(position)];
        if (isTabStop(index)) {
            m_backend->focus(index);
            // A number is retyped whole; a text of many lines is read, from where it was.
            if (def(index).kind == ControlKind::TextBox && !multiLine(def(index)))
                m_backend->selectAll(index);
            return;
        }
    }
}

// The arrow keys move the selection to the neighbouring option, left or right as the buttons
// stand, and stop at the ends.
void Form::arrow(int focused, int step)
{
    for (std::vector<int> group : m_structure.optionGroups) {
        if (std::find(group.begin(), group.end(), focused) == group.end())
            continue;
        std::stable_sort(group.begin(), group.end(), [&](int a, int b) {
            return def(a).left != def(b).left ? def(a).left < def(b).left : def(a).top < def(b).top;
        });
        const auto at = std::find(group.begin(), group.end(), focused) - group.begin() + step;
        if (at < 0 || at >= std::ssize(group))
            return;
        const int next = group[std::size_t(at)];
        m_backend->focus(next);
        select(next);
        return;
    }
}

bool Form::keyPressed(int focused, Key key)
{
    const ControlKind kind = focused >= 0 ? def(focused).kind : ControlKind::Label;
    switch (key.code) {
    case Key::Tab:
        if (key.control || key.alt)
            return false;
        tab(key.shift ? -1 : 1);
        return true;
    case Key::Enter:
    case Key::Escape: {
        // A box of many lines that can be typed in takes Enter as a new line.
        if (key.code == Key::Enter && focused >= 0 && multiLine(def(focused))
            && !hasOption(def(focused), ReadOnly))
            return false;
        // The main window has no default or cancel button, so the keys press nothing; a
        // dialog's press its own; Esc closes a modeless form that has none, as its close box.
        const int button
            = key.code == Key::Enter ? m_definition.defaultButton : m_definition.cancelButton;
        if (button >= 0)
            raiseClick(button);
        else if (key.code == Key::Escape && m_definition.modeless && closeRequested())
            close();
        return true;
    }
    case Key::Left:
    case Key::Up:
    case Key::Right:
    case Key::Down:
        if (kind != ControlKind::OptionButton || key.control || key.alt)
            return false;
        arrow(focused, key.code == Key::Right || key.code == Key::Down ? 1 : -1);
        return true;
    case Key::A:
        // Ctrl+A selects a box's whole text, whatever the toolkit's box does by itself.
        if (kind != ControlKind::TextBox || !key.control || key.alt || key.shift)
            return false;
        m_backend->selectAll(focused);
        return true;
    case Key::Other: break;
    }
    return false;
}

// A box the user leaves shows the beginning of its text, not the place the caret was: a number
// longer than the box reads from its leading digits.
void Form::focusLost(int index)
{
    if (index >= 0 && def(index).kind == ControlKind::TextBox && !multiLine(def(index)))
        m_backend->showStart(index);
}

// A radio item chosen is the one of its group that is checked; a check item toggles.
void Form::menuChosen(int id)
{
    const std::span<const MenuDef> menu = m_definition.menu;
    const auto item
        = std::find_if(menu.begin(), menu.end(), [&](const MenuDef &m) { return m.id == id; });
    if (item == menu.end())
        return;
    if (item->kind == MenuKind::Radio) {
        for (const int member : radioGroup(menu, id))
            setMenuChecked(member, member == id);
    } else if (item->kind == MenuKind::Check) {
        setMenuChecked(id, !menuChecked(id));
    }
    for (const auto &[handled, handler] : m_menuHandlers) {
        if (handled == id && handler) {
            const std::function<void()> run = handler;
            run();
            return;
        }
    }
}

void Form::onMenu(int id, std::function<void()> handler)
{
    m_menuHandlers.emplace_back(id, std::move(handler));
}

void Form::setMenuEnabled(int id, bool enabled)
{
    m_backend->setMenuEnabled(id, enabled);
}

void Form::setMenuChecked(int id, bool checked)
{
    const auto at = std::find_if(m_menuChecked.begin(), m_menuChecked.end(),
                                 [&](const auto &entry) { return entry.first == id; });
    if (at == m_menuChecked.end())
        m_menuChecked.emplace_back(id, checked);
    else
        at->second = checked;
    m_backend->setMenuChecked(id, checked);
}

bool Form::menuChecked(int id) const
{
    for (const auto &[item, checked] : m_menuChecked) {
        if (item == id)
            return checked;
    }
    return false;
}

bool Form::progress(std::string_view text, int percent)
{
    if (percent < 0) {
        const Job ended = m_job;
        m_job = {};
        if (ended.boxShown)
            m_backend->progress({}, -1);
        if (ended.closePending)
            close();
        return !ended.stopAsked;
    }
    const auto now = std::chrono::steady_clock::now();
    if (!m_job.since)
        m_job.since = now;
    // Once asked, the job is only waited for: the box shows nothing more.
    if (m_job.stopAsked)
        return false;
    if (now - *m_job.since >= progressDelay) {
        m_job.boxShown = true;
        if (!m_backend->progress(text, percent))
            m_job.stopAsked = true;
    }
    return !m_job.stopAsked;
}

void Form::setProgressDelay(std::chrono::milliseconds delay)
{
    progressDelay = delay;
}

PixelRect besideOwner(const PixelRect &owner, int width, int height, const PixelRect &screen,
                      int gap)
{
    const auto within = [](int at, int size, int start, int length) {
        return std::max(std::min(at, start + length - size), start);
    };
    return {within(owner.x + owner.width + gap, width, screen.x, screen.width),
            within(owner.y, height, screen.y, screen.height), width, height};
}

void Form::setGreyed(int index, bool greyed)
{
    ControlState &state = m_controls[std::size_t(index)];
    if (state.greyed == greyed)
        return;
    state.greyed = greyed;
    m_backend->setGreyed(index, greyed);
}

void Form::reportFailure(const TextBox &result, const TextBox &field, std::string_view message)
{
    m_backend->beep();
    setGreyed(result.index(), true);
    result.setToolTip({});
    // Focus first: the balloon stays through it, and is there when the user looks.
    field.selectForRetyping();
    m_backend->showBalloon(result.index(), message);
}

bool Control::visible() const
{
    return m_form->backend().visible(m_index);
}

void Control::setVisible(bool visible) const
{
    FormBackend &backend = m_form->backend();
    // Whether the focus is in what is being hidden: the control, or a control it holds.
    bool hidesFocus = false;
    if (!visible) {
        for (int at = backend.focused(); at >= 0 && !hidesFocus;
             at = m_form->controls()[std::size_t(at)].container)
            hidesFocus = at == m_index;
    }
    backend.setVisible(m_index, visible);
    if (hidesFocus && (backend.focused() < 0 || !backend.shown(backend.focused())))
        m_form->tab(1);
}

void Control::setClickHandler(std::function<void()> handler) const
{
    m_form->m_controls[std::size_t(m_index)].click = std::move(handler);
}

std::string TextBox::text() const
{
    return form().backend().text(index());
}

void TextBox::setText(std::string_view text) const
{
    form().backend().setText(index(), text);
    form().setGreyed(index(), false);
}

std::string TextBox::toolTip() const
{
    return form().m_controls[std::size_t(index())].toolTip;
}

void TextBox::setToolTip(std::string_view text) const
{
    form().m_controls[std::size_t(index())].toolTip = text;
    form().backend().setToolTip(index(), text);
}

void TextBox::selectForRetyping() const
{
    form().backend().focus(index());
    form().backend().selectAll(index());
}

bool OptionButton::value() const
{
    return form().backend().checked(index());
}

void OptionButton::setValue(bool value) const
{
    if (value)
        form().select(index());
    else
        form().backend().setChecked(index(), false);
}

} // namespace tovrik
