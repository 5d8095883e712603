#pragma once

#include "forms/backend.h"
#include "forms/form.h"
#include "forms/settings.h"

#include <chrono>
#include <functional>
#include <string>
#include <vector>

// The form engine's modeless forms, text views, long jobs and settings, written once for both
// backends like the window's scenarios: each test program drives its own real windows through a
// FormsDriver. The forms are small ones of the tests' own.
namespace formchecks {

using namespace tovrik;

using Failures = std::vector<std::string>;

// clang-format off
inline constexpr ControlDef jobDefinition[] = {
    {ControlKind::CommandButton, "Command1", onForm, "开始", 240, 240, 1215, 375, 0, nullptr, defaultColour, true, false},
    {ControlKind::CommandButton, "Command2", onForm, "别的", 1680, 240, 1215, 375, 1, nullptr, defaultColour, true, false},
    {ControlKind::TextBox, "Text1", onForm, "只读", 240, 840, 3000, 300, 2, nullptr, defaultColour, true, false, ReadOnly},
};

// A text of many lines that fills its window, and a button under it at the right.
inline constexpr ControlDef notesDefinition[] = {
    {ControlKind::TextBox, "Text1", onForm, "", 120, 120, 5760, 3720, 0, nullptr, defaultColour, true, false, MultiLine | ReadOnly | Stretch},
    {ControlKind::CommandButton, "Command1", onForm, "关闭", 4680, 3960, 1200, 375, 1, nullptr, defaultColour, true, false},
};
// clang-format on

inline const FormDef jobForm {"作业", 4800, 1500, jobDefinition};
inline const FormDef notesForm {"详情", 6000, 4500, notesDefinition, {}, -1, -1, true};

// A main window whose 开始 runs a job that calls progress() until it is told to stop, doing what
// the test asks at each step; 别的 counts its clicks.
class JobForm : public Form
{
public:
    JobForm()
        : Form(jobForm)
        , Command1(*this, 0)
        , Command2(*this, 1)
        , Text1(*this, 2)
    {
        Command1.onClick([this] { run(); });
        Command2.onClick([this] { ++otherClicks; });
    }

    const CommandButton Command1;
    const CommandButton Command2;
    const TextBox Text1;

    std::function<void(int step)> onStep;
    int stoppedAt = -1; // the step at which progress() said stop, or -1
    bool shownAtEnd = false; // the window, as the job ended
    bool endSaid = true; // what the ending call returned
    int otherClicks = 0;
    bool allowClose = true; // what Form_QueryUnload answers
    int closeAsked = 0;

protected:
    bool Form_QueryUnload() override
    {
        ++closeAsked;
        return allowClose;
    }

private:
    void run()
    {
        stoppedAt = -1;
        for (int step = 0; step < 1000; ++step) {
            if (onStep)
                onStep(step);
            if (!progress("正在计算……", step % 101)) {
                stoppedAt = step;
                break;
            }
        }
        shownAtEnd = isShown();
        endSaid = progress({}, -1);
    }
};

class NotesForm : public Form
{
public:
    explicit NotesForm(const Form &owner)
        : Form(notesForm, &owner)
        , Text1(*this, 0)
        , Command1(*this, 1)
    {
        Command1.onClick([this] { close(); });
    }

    const TextBox Text1;
    const CommandButton Command1;
};

// What a test program supplies: its backend's windows, driven and read as a user would. What may
// be done while a job runs only hands the input over (a posted message, or an event sent); the
// job's own handling of what came meanwhile takes it from there. settle() handles what waits.
class FormsDriver
{
public:
    virtual ~FormsDriver() = default;
    // Shows the form as the program does, and waits until it is on the screen.
    virtual void show(Form &form) = 0;
    virtual void settle() = 0;
    virtual void click(const Control &control) = 0;
    // Into the control, which is given the focus first.
    virtual void type(const TextBox &box, const std::string &text) = 0;
    virtual void key(const Control &control, Key key) = 0;
    // The close box of the form's window.
    virtual void closeByUser(const Form &form) = 0;
    virtual bool windowShown(const Form &form) = 0;
    // Screen pixels: the window with its frame, and the work area of the screen it is on.
    virtual PixelRect windowRect(const Form &form) = 0;
    virtual PixelRect screenArea(const Form &form) = 0;
    // As the user leaves it after dragging its caption, or its corner.
    virtual void moveWindow(const Form &form, int x, int y) = 0;
    virtual void growWindow(const Form &form, int wider, int taller) = 0;
    virtual PixelRect rectInClient(const Control &control) = 0; // at 96 dpi
    // The progress box over the form: whether it shows, its button's caption, that button
    // clicked, Esc pressed in it.
    virtual bool progressShown(const Form &form) = 0;
    virtual std::string progressButton(const Form &form) = 0;
    virtual void clickProgressButton(const Form &form) = 0;
    virtual void escapeInProgress(const Form &form) = 0;
    // A text box of many lines: the first line in view, the lines it shows (a long line broken
    // into several), Ctrl+End as the user presses it, what is selected, and Ctrl+C.
    virtual int firstVisibleLine(const TextBox &box) = 0;
    virtual int shownLines(const TextBox &box) = 0;
    virtual void scrollToEnd(const TextBox &box) = 0;
    virtual std::string selectedText(const TextBox &box) = 0; // lines ending in "\n"
    virtual void copy(const TextBox &box) = 0;
    virtual std::string clipboard() = 0; // as the system holds it
};

struct Check
{
    const char *name;
    Failures (*run)(FormsDriver &);
};

inline void expect(Failures &failures, bool holds, const std::string &what)
{
    if (!holds)
        failures.push_back(what);
}

inline std::string said(const std::string &text)
{
    return "\"" + text + "\"";
}

// A job that runs to the step where the test acts, with the box showing from the first call.
inline void runJob(FormsDriver &d, JobForm &job, std::function<void(int)> onStep)
{
    Form::setProgressDelay(std::chrono::milliseconds(0));
    job.onStep = std::move(onStep);
    d.click(job.Command1);
    d.settle();
    job.onStep = {};
    Form::setProgressDelay(std::chrono::milliseconds(400));
}

inline Failures cancelButtonStopsTheJob(FormsDriver &d)
{
    Failures failures;
    JobForm job;
    d.show(job);
    bool boxSeen = false;
    std::string caption;
    runJob(d, job, [&](int step) {
        if (step == 1) {
            boxSeen = d.progressShown(job);
            caption = d.progressButton(job);
        }
        if (step == 3)
            d.clickProgressButton(job);
    });
    expect(failures, boxSeen, "no progress box while the job ran");
    expect(failures, caption == "取消", "the box's button says " + said(caption));
    expect(failures, job.stoppedAt == 3,
           "the job was told to stop at step " + std::to_string(job.stoppedAt) + ", not 3");
    expect(failures, !job.endSaid, "the ending call did not say the job was stopped");
    expect(failures, !d.progressShown(job), "the box stayed after the job ended");
    expect(failures, d.windowShown(job), "the window went with the job");
    return failures;
}

inline Failures escapeStopsTheJob(FormsDriver &d)
{
    Failures failures;
    JobForm job;
    d.show(job);
    runJob(d, job, [&](int step) {
        if (step == 2)
            d.escapeInProgress(job);
    });
    expect(failures, job.stoppedAt == 2,
           "Esc stopped the job at step " + std::to_string(job.stoppedAt) + ", not 2");
    // A job left alone runs to its end, told nothing.
    runJob(d, job, {});
    expect(failures, job.stoppedAt == -1 && job.endSaid, "a job left alone was stopped");
    return failures;
}

// The box is window-modal: a click on the window under it does nothing while the job runs.
inline Failures inputReachesOnlyTheBox(FormsDriver &d)
{
    Failures failures;
    JobForm job;
    d.show(job);
    runJob(d, job, [&](int step) {
        if (step == 1)
            d.click(job.Command2);
        if (step == 5)
            d.clickProgressButton(job);
    });
    expect(failures, job.stoppedAt == 5, "the job ran on to " + std::to_string(job.stoppedAt));
    expect(failures, job.otherClicks == 0, "a click on the window under the box was handled");
    d.click(job.Command2);
    d.settle();
    expect(failures, job.otherClicks == 1, "a click after the job was not handled");
    return failures;
}

// Closing the window while the job runs tells the job to stop, and the window closes once the
// job has ended; Form_QueryUnload is not asked then.
inline Failures closingStopsTheJob(FormsDriver &d)
{
    Failures failures;
    JobForm job;
    d.show(job);
    runJob(d, job, [&](int step) {
        if (step == 3)
            d.closeByUser(job);
    });
    expect(failures, job.stoppedAt == 3,
           "closing stopped the job at step " + std::to_string(job.stoppedAt) + ", not 3");
    expect(failures, job.shownAtEnd, "the window closed before the job had ended");
    expect(failures, !job.endSaid, "the ending call did not say the job was stopped");
    expect(failures, !job.isShown() && !d.windowShown(job), "the window stayed open");
    expect(failures, job.closeAsked == 0, "Form_QueryUnload was asked while the job ran");
    return failures;
}

// Until the job has run for its moment, no box shows and the job goes on unasked.
inline Failures aShortJobShowsNoBox(FormsDriver &d)
{
    Failures failures;
    JobForm job;
    d.show(job);
    bool boxSeen = false;
    Form::setProgressDelay(std::chrono::hours(1));
    job.onStep = [&](int) { boxSeen = boxSeen || d.progressShown(job); };
    d.click(job.Command1);
    d.settle();
    Form::setProgressDelay(std::chrono::milliseconds(400));
    expect(failures, !boxSeen, "a box showed before the job had run its moment");
    expect(failures, job.stoppedAt == -1 && job.endSaid, "the job was stopped");
    return failures;
}

inline Failures queryUnloadKeepsTheWindow(FormsDriver &d)
{
    Failures failures;
    JobForm job;
    d.show(job);
    job.allowClose = false;
    d.closeByUser(job);
    d.settle();
    expect(failures, job.closeAsked == 1,
           "Form_QueryUnload asked " + std::to_string(job.closeAsked) + " times");
    expect(failures, d.windowShown(job), "the window closed though Form_QueryUnload said no");
    job.allowClose = true;
    d.closeByUser(job);
    d.settle();
    expect(failures, !d.windowShown(job), "the window stayed though Form_QueryUnload said yes");
    return failures;
}

// Beside its owner, on the owner's screen, leaving the owner usable; closed, it is only hidden,
// and comes back where the user left it, with what was written to it meanwhile.
inline Failures modelessBesideItsOwner(FormsDriver &d)
{
    Failures failures;
    JobForm owner;
    d.show(owner);
    NotesForm notes(owner);
    notes.load();
    d.show(notes);
    expect(failures, notes.isShown() && d.windowShown(notes), "the modeless form is not shown");
    const PixelRect o = d.windowRect(owner);
    const PixelRect n = d.windowRect(notes);
    const PixelRect screen = d.screenArea(owner);
    expect(failures, n.x >= o.x + o.width && n.x <= o.x + o.width + 16 && n.y == o.y,
           "it lies at " + std::to_string(n.x) + "," + std::to_string(n.y)
               + ", not to the right of its owner at " + std::to_string(o.x + o.width) + ","
               + std::to_string(o.y));
    expect(failures,
           n.x >= screen.x && n.y >= screen.y && n.x + n.width <= screen.x + screen.width
               && n.y + n.height <= screen.y + screen.height,
           "it is not on its owner's screen");
    d.click(owner.Command2);
    d.settle();
    expect(failures, owner.otherClicks == 1, "the owner did not take a click beside it");

    d.moveWindow(notes, n.x + 30, n.y + 20);
    const PixelRect moved = d.windowRect(notes);
    d.closeByUser(notes);
    d.settle();
    expect(failures, !notes.isShown() && !d.windowShown(notes), "closed, it is still shown");
    expect(failures, d.windowShown(owner), "its owner went with it");
    notes.Text1.setText("写在关着的时候");
    expect(failures, notes.Text1.text() == "写在关着的时候", "a text set while hidden was lost");
    d.show(notes);
    const PixelRect back = d.windowRect(notes);
    expect(failures, back.x == moved.x && back.y == moved.y,
           "it came back at " + std::to_string(back.x) + "," + std::to_string(back.y) + ", not "
               + std::to_string(moved.x) + "," + std::to_string(moved.y));
    expect(failures, notes.Text1.text() == "写在关着的时候", "the text was lost on showing");

    d.key(notes.Text1, {Key::Escape});
    d.settle();
    expect(failures, !notes.isShown(), "Esc did not close it");
    d.show(notes);
    d.click(notes.Command1);
    d.settle();
    expect(failures, !notes.isShown(), "its own button did not close it");
    // The main window takes it along.
    d.show(notes);
    d.closeByUser(owner);
    d.settle();
    expect(failures, !notes.isShown() && !d.windowShown(notes),
           "it stayed when its owner was closed");
    return failures;
}

inline const char *controlsName(const Control &control)
{
    return control.form().controls()[std::size_t(control.index())].name;
}

// The text follows the window's size, the button under it the corner; nothing else moves.
inline Failures textFillsTheWindow(FormsDriver &d)
{
    Failures failures;
    JobForm owner;
    d.show(owner);
    NotesForm notes(owner);
    d.show(notes);
    const auto rectIs = [&](const Control &c, PixelRect e, const char *when) {
        const PixelRect r = d.rectInClient(c);
        expect(failures, r.x == e.x && r.y == e.y && r.width == e.width && r.height == e.height,
               std::string(controlsName(c)) + " " + when + " lies at " + std::to_string(r.x) + ","
                   + std::to_string(r.y) + " " + std::to_string(r.width) + "x"
                   + std::to_string(r.height));
    };
    rectIs(notes.Text1, {8, 8, 384, 248}, "as defined");
    rectIs(notes.Command1, {312, 264, 80, 25}, "as defined");
    d.growWindow(notes, 100, 60);
    rectIs(notes.Text1, {8, 8, 484, 308}, "grown");
    rectIs(notes.Command1, {412, 324, 80, 25}, "grown");
    d.growWindow(notes, -100, -60);
    rectIs(notes.Text1, {8, 8, 384, 248}, "back");
    return failures;
}

// Lines as given, shown as lines and broken at words, selectable and copyable, not typed over;
// a text set shows its start.
inline Failures textOfManyLines(FormsDriver &d)
{
    Failures failures;
    JobForm owner;
    d.show(owner);
    NotesForm notes(owner);
    d.show(notes);
    const TextBox &box = notes.Text1;
    std::string text = "水 100 t/h，2 m/s：DN150 Φ159×4.5\n第二行\n\n第四行，前面是空行\n";
    std::string words;
    for (int i = 0; i < 60; ++i)
        words += "word ";
    text += words + "\n";
    for (int i = 5; i <= 60; ++i)
        text += "第 " + std::to_string(i) + " 行\n";
    box.setText(text);
    expect(failures, box.text() == text, "it holds " + said(box.text()));
    expect(failures, d.shownLines(box) > 61,
           "it shows " + std::to_string(d.shownLines(box)) + " lines: the long one is not broken");
    expect(failures, d.firstVisibleLine(box) == 0, "a text set does not show its start");
    d.scrollToEnd(box);
    d.settle();
    expect(failures, d.firstVisibleLine(box) > 0, "Ctrl+End did not scroll");
    box.setText(text + "又一行\n");
    expect(failures, d.firstVisibleLine(box) == 0,
           "a text set after scrolling is not at its start");

    d.type(box, "typed");
    d.settle();
    expect(failures, box.text() == text + "又一行\n", "typing changed it");
    d.key(box, {Key::A, false, true});
    d.settle();
    expect(failures, d.selectedText(box) == box.text(),
           "Ctrl+A selected " + said(d.selectedText(box)));
    d.copy(box);
    d.settle();
    std::string copied = d.clipboard();
    std::erase(copied, '\r');
    expect(failures, copied == box.text(), "Ctrl+C copied " + said(copied));
    box.setText("");
    expect(failures, box.text().empty(), "it is not empty");
    return failures;
}

inline Failures readOnlyLine(FormsDriver &d)
{
    Failures failures;
    JobForm job;
    d.show(job);
    d.type(job.Text1, "x");
    d.settle();
    expect(failures, job.Text1.text() == "只读",
           "typing changed a read-only box: " + said(job.Text1.text()));
    job.Text1.setText("由程序写入");
    d.key(job.Text1, {Key::A, false, true});
    d.settle();
    expect(failures, d.selectedText(job.Text1) == "由程序写入",
           "Ctrl+A selected " + said(d.selectedText(job.Text1)));
    return failures;
}

inline const Check checks[] = {
    {"cancel button stops the job", cancelButtonStopsTheJob},
    {"Esc in the box stops the job", escapeStopsTheJob},
    {"input reaches only the box", inputReachesOnlyTheBox},
    {"closing the window stops the job", closingStopsTheJob},
    {"a short job shows no box", aShortJobShowsNoBox},
    {"Form_QueryUnload keeps the window", queryUnloadKeepsTheWindow},
    {"modeless beside its owner", modelessBesideItsOwner},
    {"text fills the window", textFillsTheWindow},
    {"text of many lines", textOfManyLines},
    {"read-only line", readOnlyLine},
};

// Settings, with what each backend's store can hold that is no text.
class SettingsDriver
{
public:
    virtual ~SettingsDriver() = default;
    // The ways a key's value can be damaged in the store, by name; each damages the key given.
    virtual std::vector<std::pair<std::string, std::function<void(const std::string &key)>>>
    damages() = 0;
    // The text the store holds for the key, read from it as the system shows it (the file's line,
    // the registry's value); empty if none.
    virtual std::string stored(const std::string &key) = 0;
    // Whether anything is kept at the place at all (the file, the key).
    virtual bool placeExists() = 0;
};

struct SettingsCheck
{
    const char *name;
    Failures (*run)(SettingsDriver &);
};

inline std::string describe(const Setting &s)
{
    const char *states[] = {"absent", "present", "damaged"};
    return std::string(states[s.state]) + (s.state == Setting::Present ? " " + said(s.value) : "");
}

inline Failures writtenAndReadBack(SettingsDriver &d)
{
    Failures failures;
    clearSettings();
    std::string longText;
    for (int i = 0; i < 20000; ++i)
        longText += "管线" + std::to_string(i) + ",";
    const std::pair<const char *, std::string> rows[] = {
        {"series", "国产公制（GB/T 17395）"},
        {"empty", ""},
        {"long", longText},
        {"line/air/length", "120.5"},
        {"line/steam/roughness", "  0.2 mm ; = # \"引号\" \\ 反斜杠 a, b  "},
        {"title/lines", "第一行\n第二行"},
    };
    for (const auto &[key, value] : rows) {
        expect(failures, writeSetting(key, value), std::string(key) + " was not written");
        const Setting read = readSetting(key);
        expect(failures, read.state == Setting::Present && read.value == value,
               std::string(key) + " reads back " + describe(read).substr(0, 200));
    }
    // Where the system shows it, as it was written.
    expect(failures, d.stored("series") == "国产公制（GB/T 17395）",
           "the store holds " + said(d.stored("series")) + " for series");
    expect(failures, d.stored("line/air/length") == "120.5",
           "the store holds " + said(d.stored("line/air/length")) + " for line/air/length");
    // Written again, a value is replaced.
    writeSetting("series", "ASME B36.10M Sch 40");
    expect(failures, readSetting("series").value == "ASME B36.10M Sch 40", "series not replaced");
    clearSettings();
    return failures;
}

inline Failures absentAndRefused(SettingsDriver &)
{
    Failures failures;
    clearSettings();
    expect(failures, readSetting("series").state == Setting::Absent,
           "a setting never written is there");
    writeSetting("line/air/length", "1");
    expect(failures, readSetting("line/air").state == Setting::Absent,
           "a key's folder reads as a value");
    expect(failures, readSetting("line").state == Setting::Absent,
           "a key's folder reads as a value");
    for (const char *key : {"", "/series", "series/", "line//air", "a\\b", "a\tb", "\xFF"}) {
        expect(failures, !writeSetting(key, "x"),
               std::string("the key ") + said(key) + " was written");
        expect(failures, readSetting(key).state == Setting::Absent,
               std::string("the key ") + said(key) + " reads");
    }
    expect(failures, !writeSetting("series", std::string("a\0b", 3)), "a NUL was written");
    expect(failures, !writeSetting("series", "\xC3"), "a value that is not UTF-8 was written");
    clearSettings();
    return failures;
}

// Each kind of damage reads as damaged, never as a value, and a value written over it is read.
inline Failures damagedValues(SettingsDriver &d)
{
    Failures failures;
    for (const auto &[name, damage] : d.damages()) {
        clearSettings();
        writeSetting("gas", "air");
        damage("series");
        // Read again, as the window reads its settings one after another: still damaged.
        for (const char *time : {"once", "twice"}) {
            const Setting read = readSetting("series");
            expect(failures, read.state == Setting::Damaged,
                   name + ": read " + time + ", it is " + describe(read));
        }
        expect(failures, writeSetting("series", "cn"), name + ": not written over");
        const Setting again = readSetting("series");
        expect(failures, again.state == Setting::Present && again.value == "cn",
               name + ": written over, reads " + describe(again));
    }
    clearSettings();
    return failures;
}

inline Failures clearedWhole(SettingsDriver &d)
{
    Failures failures;
    writeSetting("series", "cn");
    writeSetting("line/air/length", "5");
    expect(failures, d.placeExists(), "nothing was kept");
    expect(failures, clearSettings(), "clearing said it failed");
    expect(failures, !d.placeExists(), "something is left where settings are kept");
    for (const char *key : {"series", "line/air/length"})
        expect(failures, readSetting(key).state == Setting::Absent,
               std::string(key) + " is still there");
    // Cleared when damaged too, and nothing there to clear is no failure.
    d.damages().front().second("series");
    expect(failures, clearSettings() && !d.placeExists(), "a damaged store was not cleared");
    expect(failures, clearSettings(), "clearing nothing failed");
    return failures;
}

inline const SettingsCheck settingsChecks[] = {
    {"written and read back", writtenAndReadBack},
    {"absent and refused", absentAndRefused},
    {"damaged values", damagedValues},
    {"cleared whole", clearedWhole},
};

} // namespace formchecks
