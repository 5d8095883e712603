#pragma once

#include "core/sizing.h"
#include "forms/backend.h"
#include "forms/definition.h"
#include "tests/vectors.h"
#include "window/definition.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tovrik {
class Quendal;
}

// The window's behaviour as the user meets it, written once as scenarios that both backends'
// test programs run: each drives its own real controls through a WindowDriver, so a rule that
// holds on one toolkit and not on the other shows up as a failed step.
namespace scenarios {

using namespace tovrik;

// A message box seen while a click was handled, read from the real box and closed with its only
// button, as a user would.
struct Box
{
    std::string title, text, buttons;
    bool icon = false;
};

// A menu item as the toolkit holds it: its text with the & of its access key, the shortcut
// that triggers it ("Ctrl+S"), and its state.
struct MenuItemSeen
{
    std::string text, shortcut;
    bool separator = false, enabled = true, checked = false;
};

// What a test program supplies: its backend's window, driven and read as the user would.
class WindowDriver
{
public:
    virtual ~WindowDriver() = default;
    // A fresh window, loaded and shown, as the program starts it: by default the first time, with
    // nothing kept from an earlier run; else with what the runs before kept.
    virtual void start(bool firstRun) = 0;
    void start() { start(true); }
    virtual void click(int index) = 0;
    // The box's text replaced by this one, typed as the keyboard and input method deliver it.
    virtual void type(int index, const std::string &text) = 0;
    virtual void key(Key key) = 0; // to whatever has the focus
    virtual std::string text(int index) = 0;
    virtual std::string toolTip(int index) = 0;
    virtual std::string selectedText(int index) = 0;
    // Whether a box shows the beginning of its text.
    virtual bool showsStart(int index) = 0;
    virtual bool shown(int index) = 0;
    virtual bool value(int index) = 0;
    virtual void setValue(int index, bool value) = 0; // as a handler sets it
    virtual int focused() = 0; // the row with focus, or -1
    virtual std::string balloon() = 0; // the failure balloon's text while it shows
    // The colour a box's text is drawn in, 0x00BBGGRR, and the system's grey text.
    virtual std::uint32_t textColour(int index) = 0;
    virtual std::uint32_t greyText() = 0;
    virtual PixelRect rectInClient(int index) = 0; // at 96 dpi
    virtual PixelRect clientArea() = 0;

    // The menu bar's items, submenus depth first, in the order they show.
    virtual std::vector<MenuItemSeen> menu() = 0;
    // Chooses a menu item as a click on it does.
    virtual void chooseMenu(int id) = 0;
    // The window itself, whose file commands tests call with the path a dialog would give.
    virtual Quendal &window() = 0;
    // The boxes shown while the action ran, each closed with the button whose caption begins
    // with press ("否" for 否(&N)), or with its first button when press is empty.
    virtual std::vector<Box> recordBoxes(const std::function<void()> &action,
                                         const std::string &press)
        = 0;
};

// One thing done, or seen. A step names its control by its row in the window's definition.
struct Step
{
    enum Kind : std::uint8_t {
        Click,
        ClickSeeingBoxes, // text: the prompts of the boxes, one after another, "" for none
        Type, // text: what is typed
        Press, // key
        SetValue, // value
        Text, // text: the control's text
        ToolTipEmpty,
        ToolTipSet,
        AllSelected, // the control's whole text is selected
        ShowsStart,
        ShowsEnd, // the view is at the end of the text, not its beginning
        Shown, // value: whether it is shown
        Value, // value: whether the option is selected
        Focus, // the control has the focus
        Balloon, // text: the balloon's, "" for none
        Red, // drawn in the definition's red
        Grey, // drawn in the system's grey: not current
        Rect, // rect: where the control lies in the client area at 96 dpi
        Client, // rect: the client area
    } kind;
    int control = -1;
    std::string text;
    bool value = false;
    Key key {Key::Other};
    PixelRect rect {};

    Step(Kind kind, int control = -1, std::string text = {}, bool value = false,
         Key key = {Key::Other}, PixelRect rect = {})
        : kind(kind)
        , control(control)
        , text(std::move(text))
        , value(value)
        , key(key)
        , rect(rect)
    {
    }
};

struct Scenario
{
    std::string name;
    std::vector<Step> steps;
};

inline Step click(int control)
{
    return {Step::Click, control};
}
inline Step clickSeeing(int control, std::string prompts)
{
    return {Step::ClickSeeingBoxes, control, std::move(prompts)};
}
inline Step type(int control, std::string text)
{
    return {Step::Type, control, std::move(text)};
}
inline Step press(Key::Code code, bool shift = false, bool control = false)
{
    return {Step::Press, -1, {}, false, Key {code, shift, control}};
}
inline Step textIs(int control, std::string text)
{
    return {Step::Text, control, std::move(text)};
}
inline Step shown(int control, bool shown = true)
{
    return {Step::Shown, control, {}, shown};
}
inline Step valueIs(int control, bool value)
{
    return {Step::Value, control, {}, value};
}
inline Step focusOn(int control)
{
    return {Step::Focus, control};
}
inline Step is(Step::Kind kind, int control)
{
    return {kind, control};
}
inline Step rectIs(int control, PixelRect rect)
{
    return {Step::Rect, control, {}, false, {}, rect};
}

// Each medium's panel, by the letter its fields end in.
inline const PanelDef &panelOf(char medium)
{
    return medium == 'a' ? airPanel : medium == 's' ? steamPanel : waterPanel;
}

// A field by its quantity and medium letters, as the fields are named: field('q', 'w') is Textqw.
inline int field(char quantity, char medium)
{
    switch (quantity) {
    case 'q': return medium == 'a' ? ctl::Textqa : medium == 's' ? ctl::Textqs : ctl::Textqw;
    case 'p': return ctl::Textpa;
    case 't': return ctl::Textta;
    case 'u': return ctl::Textus;
    case 'v': return medium == 'a' ? ctl::Textva : medium == 's' ? ctl::Textvs : ctl::Textvw;
    default: return panelOf(medium).result;
    }
}

inline const std::string flowPrompt = "请输入正确的压缩空气体积流量,单位：m3/h。";
inline const std::string pressurePrompt = "请输入正确的设计压力，单位：MPa。";

inline std::vector<Scenario> all()
{
    std::vector<Scenario> list;

    Scenario start {"start-up state", {}};
    for (const auto &[index, selected] :
         {std::pair {ctl::Optionca, true}, {ctl::Options, false}, {ctl::Optionw, false}})
        start.steps.push_back(valueIs(index, selected));
    for (const auto &[index, visible] : {std::pair {ctl::Frameca, true},
                                         {ctl::Frames, false},
                                         {ctl::Framew, false},
                                         {ctl::Image2, true},
                                         {ctl::Image3, false}})
        start.steps.push_back(shown(index, visible));
    for (int i = 0; i < ctl::Count; ++i) {
        if (quendalDefinition()[std::size_t(i)].kind == ControlKind::TextBox)
            start.steps.push_back(textIs(i, ""));
    }
    start.steps.push_back(focusOn(ctl::Optionca));
    list.push_back(start);

    // Worked out by hand from the twips (15 to a pixel), a panel's controls offset by the
    // panel's corner.
    list.push_back({"rectangles at 96 dpi",
                    {{Step::Client, -1, {}, false, {}, {0, 0, 394, 493}},
                     rectIs(ctl::Image1, {8, 8, 137, 479}),
                     rectIs(ctl::Optionca, {144, 16, 73, 25}),
                     rectIs(ctl::Frameca, {152, 48, 241, 441}),
                     rectIs(ctl::Textqa, {272, 72, 65, 18}),
                     rectIs(ctl::Label1, {160, 72, 217, 17}),
                     rectIs(ctl::Textvw, {272, 144, 65, 18}),
                     rectIs(ctl::Command3, {160, 192, 97, 41}),
                     rectIs(ctl::Textds, {264, 200, 81, 33}),
                     rectIs(ctl::Label6, {352, 200, 33, 33}),
                     rectIs(ctl::Line1, {160, 176, 224, 1}),
                     rectIs(ctl::Line3, {160, 248, 224, 1}),
                     rectIs(ctl::Image5, {160, 256, 223, 157}),
                     rectIs(ctl::Image3, {160, 256, 223, 157}),
                     rectIs(ctl::Framew, {152, 48, 241, 441})}});

    // The worked examples by clicks: the text, in red, and the same again on a second click.
    for (const SizingVector &vector : sizingVectors) {
        const char m = vector.medium[0];
        const PanelDef &panel = panelOf(m);
        Scenario example {std::string("worked example: ") + vector.name, {click(panel.option)}};
        const std::pair<char, const char *> inputs[] = {
            {'q', vector.flow},           {'p', vector.pressure}, {'t', vector.temperature},
            {'u', vector.specificVolume}, {'v', vector.velocity},
        };
        for (const auto &[quantity, text] : inputs) {
            if (text)
                example.steps.push_back(type(field(quantity, m), text));
        }
        example.steps.push_back(clickSeeing(panel.button, ""));
        example.steps.push_back(textIs(panel.result, vector.expected));
        example.steps.push_back(is(Step::Red, panel.result));
        example.steps.push_back(is(Step::ShowsStart, panel.result));
        example.steps.push_back(clickSeeing(panel.button, ""));
        example.steps.push_back(textIs(panel.result, vector.expected));
        list.push_back(example);
    }

    // The air panel's two checks, flow first, and nothing written after them.
    const struct
    {
        const char *name, *flow, *pressure;
        std::string prompts;
    } messages[] = {
        {"both empty: flow first", "", "", flowPrompt + pressurePrompt},
        {"pressure empty", "600", "", pressurePrompt},
        {"flow empty", "", "0.7", flowPrompt},
        {"blanks are not empty", " ", "\u3000", ""},
    };
    for (const auto &row : messages) {
        list.push_back({std::string("air messages: ") + row.name,
                        {type(ctl::Textqa, row.flow), type(ctl::Textpa, row.pressure),
                         type(ctl::Textta, "20"), type(ctl::Textva, "10"),
                         clickSeeing(ctl::Command1, row.prompts), textIs(ctl::Textda, "")}});
    }

    // A failed calculation loses nothing typed, keeps the old result but marks it as not
    // current, and says what failed in a balloon, with the field at fault selected; typing puts
    // the balloon away.
    const struct
    {
        const char *name;
        char medium;
        std::vector<std::pair<char, const char *>> good, change;
        const char *message;
        char focused;
    } failures[] = {
        {"air velocity not a number",
         'a',
         {{'q', "600"}, {'p', "0.7"}, {'t', "20"}, {'v', "10"}},
         {{'v', "fast"}},
         "压缩空气设计流速v不是有效的数字。",
         'v'},
        {"air pressure zero",
         'a',
         {{'q', "600"}, {'p', "0.7"}, {'t', "20"}, {'v', "10"}},
         {{'p', "0"}},
         "压缩空气设计压力P不能为零。",
         'p'},
        {"air temperature blank",
         'a',
         {{'q', "600"}, {'p', "0.7"}, {'t', "20"}, {'v', "10"}},
         {{'t', "   "}},
         "压缩空气设计温度T不是有效的数字。",
         't'},
        {"steam volume empty, no box",
         's',
         {{'q', "10"}, {'u', "0.3747"}, {'v', "30"}},
         {{'u', ""}},
         "蒸汽的比容u不是有效的数字。",
         'u'},
        {"water velocity zero",
         'w',
         {{'q', "100"}, {'v', "2"}},
         {{'v', "0"}},
         "水的设计流速v不能为零。",
         'v'},
        {"water negative root",
         'w',
         {{'q', "100"}, {'v', "2"}},
         {{'q', "-4"}},
         "算得的流量与流速之比为负数，无法开平方，请检查输入的数值。",
         'q'},
        {"water overflow",
         'w',
         {{'q', "100"}, {'v', "2"}},
         {{'q', "1e308"}, {'v', "1e-10"}},
         "计算结果超出了可以计算的范围，请检查输入的数值。",
         'q'},
    };
    for (const auto &row : failures) {
        const PanelDef &panel = panelOf(row.medium);
        Scenario failure {std::string("failure: ") + row.name, {click(panel.option)}};
        for (const auto &[quantity, text] : row.good)
            failure.steps.push_back(type(field(quantity, row.medium), text));
        failure.steps.push_back(click(panel.button));
        failure.steps.push_back(is(Step::ToolTipSet, panel.result));
        // The good result, as the first click wrote it, which the failed one must not touch.
        const auto good = [&](char quantity) {
            for (const auto &[q, text] : row.good) {
                if (q == quantity)
                    return std::string(text);
            }
            return std::string();
        };
        const std::string previous = row.medium == 'a'
            ? AirDiameter(good('q'), good('p'), good('t'), good('v'))
            : row.medium == 's' ? SteamDiameter(good('q'), good('u'), good('v'))
                                : WaterDiameter(good('q'), good('v'));
        for (const auto &[quantity, text] : row.change)
            failure.steps.push_back(type(field(quantity, row.medium), text));
        failure.steps.push_back(clickSeeing(panel.button, ""));
        failure.steps.push_back(textIs(panel.result, previous));
        failure.steps.push_back({Step::Balloon, -1, row.message});
        failure.steps.push_back(is(Step::Grey, panel.result));
        failure.steps.push_back(is(Step::ToolTipEmpty, panel.result));
        failure.steps.push_back(focusOn(field(row.focused, row.medium)));
        failure.steps.push_back(is(Step::AllSelected, field(row.focused, row.medium)));
        std::vector<std::pair<char, const char *>> typed = row.good;
        for (const auto &[quantity, text] : row.change) {
            for (auto &entry : typed) {
                if (entry.first == quantity)
                    entry.second = text;
            }
        }
        for (const auto &[quantity, text] : typed)
            failure.steps.push_back(textIs(field(quantity, row.medium), text));
        failure.steps.push_back(type(field(row.focused, row.medium), "1"));
        failure.steps.push_back({Step::Balloon, -1, ""});
        list.push_back(failure);
    }

    list.push_back(
        {"panels keep their state",
         {type(ctl::Textqa, "1000"),  type(ctl::Textpa, "0.1"),    type(ctl::Textta, "0"),
          type(ctl::Textva, "10"),    click(ctl::Command1),        click(ctl::Image2),
          click(ctl::Optionw),        valueIs(ctl::Optionw, true), valueIs(ctl::Optionca, false),
          shown(ctl::Frameca, false), shown(ctl::Framew),          shown(ctl::Frames, false),
          type(ctl::Textqw, "36"),    click(ctl::Optionca),        shown(ctl::Frameca),
          shown(ctl::Framew, false),  textIs(ctl::Textqa, "1000"), textIs(ctl::Textva, "10"),
          textIs(ctl::Textda, "188"), shown(ctl::Image3),          shown(ctl::Image2, false),
          textIs(ctl::Textqw, "36")}});

    list.push_back(
        {"notice pairs",
         {click(ctl::Image2), shown(ctl::Image2, false), shown(ctl::Image3), click(ctl::Options),
          shown(ctl::Image8), shown(ctl::Image6, false), click(ctl::Image8), click(ctl::Image6),
          shown(ctl::Image8), shown(ctl::Image6, false), click(ctl::Optionw), click(ctl::Image7),
          shown(ctl::Image5), click(ctl::Optionca), shown(ctl::Image3), shown(ctl::Image2, false),
          click(ctl::Image3), shown(ctl::Image2), shown(ctl::Image3, false)}});

    const struct
    {
        char medium;
        std::vector<int> chain;
    } chains[] = {
        {'a',
         {ctl::Optionca, ctl::Textqa, ctl::Textpa, ctl::Textta, ctl::Textva, ctl::Command1,
          ctl::Textda, ctl::Optionca}},
        {'s',
         {ctl::Options, ctl::Textqs, ctl::Textus, ctl::Textvs, ctl::Command3, ctl::Textds,
          ctl::Options}},
        {'w', {ctl::Optionw, ctl::Textqw, ctl::Textvw, ctl::Command2, ctl::Textdw, ctl::Optionw}},
    };
    for (const auto &row : chains) {
        Scenario chain {std::string("tab chain: ") + row.medium,
                        {click(panelOf(row.medium).option)}};
        for (std::size_t i = 0; i < row.chain.size(); ++i) {
            if (i > 0)
                chain.steps.push_back(press(Key::Tab));
            chain.steps.push_back(focusOn(row.chain[i]));
        }
        // Shift+Tab goes back the same way.
        chain.steps.push_back(press(Key::Tab, true));
        chain.steps.push_back(focusOn(row.chain[row.chain.size() - 2]));
        list.push_back(chain);
    }

    list.push_back({"arrow keys move the selection, and stop at the ends",
                    {click(ctl::Optionca), press(Key::Right), valueIs(ctl::Options, true),
                     shown(ctl::Frames), shown(ctl::Frameca, false), press(Key::Right),
                     valueIs(ctl::Optionw, true), shown(ctl::Framew), press(Key::Right),
                     focusOn(ctl::Optionw), valueIs(ctl::Optionw, true), press(Key::Left),
                     press(Key::Left), valueIs(ctl::Optionca, true), focusOn(ctl::Optionca)}});

    list.push_back({"Enter and Esc press no button",
                    {click(ctl::Optionw), type(ctl::Textqw, "100"), type(ctl::Textvw, "2"),
                     press(Key::Enter), textIs(ctl::Textdw, ""), press(Key::Escape),
                     textIs(ctl::Textdw, ""), shown(ctl::Framew)}});

    // 18.8 / sqrt(7) runs past the box: after Tab has passed through the box, which leaves the
    // view at its end, it reads from its leading digits again.
    list.push_back(
        {"results show their leading digits",
         {click(ctl::Optionw), type(ctl::Textqw, "1"), type(ctl::Textvw, "7"), click(ctl::Command2),
          textIs(ctl::Textdw, "7.10573209257347"), is(Step::ShowsStart, ctl::Textdw),
          click(ctl::Command2), press(Key::Tab), focusOn(ctl::Textdw),
          is(Step::ShowsEnd, ctl::Textdw), press(Key::Tab), focusOn(ctl::Optionw),
          is(Step::ShowsStart, ctl::Textdw), textIs(ctl::Textdw, "7.10573209257347")}});

    list.push_back({"Ctrl+A selects a box's whole text",
                    {type(ctl::Textqa, "600.25"), press(Key::A, false, true),
                     is(Step::AllSelected, ctl::Textqa), textIs(ctl::Textqa, "600.25")}});

    // An option cleared by a handler is cleared: no other becomes selected, and nothing runs.
    list.push_back({"an option's value set to false clears it",
                    {{Step::SetValue, ctl::Optionca, {}, false},
                     valueIs(ctl::Optionca, false),
                     valueIs(ctl::Options, false),
                     valueIs(ctl::Optionw, false),
                     shown(ctl::Frameca),
                     {Step::SetValue, ctl::Optionw, {}, true},
                     valueIs(ctl::Optionw, true),
                     shown(ctl::Framew),
                     shown(ctl::Frameca, false),
                     {Step::SetValue, ctl::Optionw, {}, true},
                     valueIs(ctl::Optionw, true)}});

    return list;
}

// Runs one scenario on a fresh window; each step that does not hold is said in words.
inline std::vector<std::string> run(WindowDriver &window, const Scenario &scenario)
{
    std::vector<std::string> failures;
    const auto name = [](int index) {
        return index < 0 ? std::string("(none)")
                         : std::string(quendalDefinition()[std::size_t(index)].name);
    };
    const auto fail = [&](std::size_t step, const std::string &what) {
        failures.push_back("step " + std::to_string(step + 1) + ": " + what);
    };
    window.start();
    for (std::size_t i = 0; i < scenario.steps.size(); ++i) {
        const Step &s = scenario.steps[i];
        switch (s.kind) {
        case Step::Click: window.click(s.control); break;
        case Step::ClickSeeingBoxes: {
            std::string prompts;
            for (const Box &box : window.recordBoxes([&] { window.click(s.control); }, "")) {
                prompts += box.text;
                if (box.title != "Tovrik" || box.buttons != "确定" || box.icon)
                    fail(i,
                         "a box titled " + box.title + " with " + box.buttons
                             + (box.icon ? " and an icon" : ""));
            }
            if (prompts != s.text)
                fail(i, "boxes said \"" + prompts + "\", not \"" + s.text + "\"");
            break;
        }
        case Step::Type: window.type(s.control, s.text); break;
        case Step::Press: window.key(s.key); break;
        case Step::SetValue: window.setValue(s.control, s.value); break;
        case Step::Text:
            if (window.text(s.control) != s.text)
                fail(i,
                     name(s.control) + " holds \"" + window.text(s.control) + "\", not \"" + s.text
                         + "\"");
            break;
        case Step::ToolTipEmpty:
        case Step::ToolTipSet:
            if (window.toolTip(s.control).empty() != (s.kind == Step::ToolTipEmpty))
                fail(i, name(s.control) + "'s tooltip is \"" + window.toolTip(s.control) + "\"");
            break;
        case Step::AllSelected:
            if (window.selectedText(s.control) != window.text(s.control))
                fail(i,
                     name(s.control) + " has \"" + window.selectedText(s.control) + "\" selected");
            break;
        case Step::ShowsStart:
        case Step::ShowsEnd:
            if (window.showsStart(s.control) != (s.kind == Step::ShowsStart))
                fail(i,
                     name(s.control)
                         + (s.kind == Step::ShowsStart ? " does not show its start"
                                                       : " shows its start"));
            break;
        case Step::Shown:
            if (window.shown(s.control) != s.value)
                fail(i, name(s.control) + (s.value ? " is not shown" : " is shown"));
            break;
        case Step::Value:
            if (window.value(s.control) != s.value)
                fail(i, name(s.control) + (s.value ? " is not selected" : " is selected"));
            break;
        case Step::Focus:
            if (window.focused() != s.control)
                fail(i, "the focus is on " + name(window.focused()) + ", not " + name(s.control));
            break;
        case Step::Balloon:
            if (window.balloon() != s.text)
                fail(i, "the balloon says \"" + window.balloon() + "\", not \"" + s.text + "\"");
            break;
        case Step::Red:
            if (window.textColour(s.control) != 0x000000FF)
                fail(i, name(s.control) + " is not red");
            break;
        case Step::Grey:
            if (window.textColour(s.control) != window.greyText())
                fail(i, name(s.control) + " is not grey");
            break;
        case Step::Rect:
        case Step::Client: {
            const PixelRect r
                = s.kind == Step::Rect ? window.rectInClient(s.control) : window.clientArea();
            const PixelRect e = s.rect;
            if (r.x != e.x || r.y != e.y || r.width != e.width || r.height != e.height)
                fail(i,
                     name(s.control) + " lies at " + std::to_string(r.x) + "," + std::to_string(r.y)
                         + " " + std::to_string(r.width) + "x" + std::to_string(r.height));
            break;
        }
        }
    }
    return failures;
}

} // namespace scenarios
