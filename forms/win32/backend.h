#pragma once

#include "forms/backend.h"
#include "forms/picture.h"
#include "forms/win32/gdi.h"
#include "forms/win32/tips.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// The primitives on Win32. Split by job: the window class and its procedures (window.cpp), the
// controls and their fonts (controls.cpp), what containers draw themselves (paint.cpp), the tips
// (tips.cpp) and the primitives the engine calls (form.cpp).
namespace tovrik {

// A picture stretched to its control's size, ready to copy to the screen.
struct DrawnPicture
{
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0x00RRGGBB, which a 32-bit DIB reads as BGRA
};

class Win32FormBackend : public FormBackend
{
public:
    Win32FormBackend(const FormDef &definition, FormEvents &events, const Form *owner);
    ~Win32FormBackend() override;

    // FormBackend
    void show() override;
    void showModal() override;
    void close() override;
    bool isShown() const override { return IsWindow(m_window) && IsWindowVisible(m_window); }
    bool visible(int index) const override;
    void setVisible(int index, bool visible) override;
    bool shown(int index) const override;
    std::string text(int index) const override;
    void setText(int index, std::string_view text) override;
    void showStart(int index) override;
    void selectAll(int index) override;
    void setToolTip(int index, std::string_view text) override;
    void setGreyed(int index, bool greyed) override;
    bool checked(int index) const override;
    void setChecked(int index, bool checked) override;
    int focused() const override { return indexOf(GetFocus()); }
    void focus(int index) override;
    void beep() override { MessageBeep(MB_OK); }
    void showBalloon(int index, std::string_view text) override;
    void messageBox(std::string_view text) override;
    void setMenuEnabled(int id, bool enabled) override;
    void setMenuChecked(int id, bool checked) override;
    std::optional<std::string> chooseFile(const FileChoice &choice) override;
    bool ask(std::string_view question) override;
    bool openExternally(std::string_view path) override;
    bool progress(std::string_view text, int percent) override;

    HACCEL accelerators() const { return m_accelerators.get(); }
    HWND window() const { return m_window; }
    // The box a long job shows, while it shows.
    HWND progressWindow() const { return m_progress.get(); }
    // None for a Label's frame not yet shown, and never for a Line or Image, which their
    // container draws, as the original runtime's lightweight controls are drawn.
    HWND control(int index) const { return m_controls[std::size_t(index)].hwnd; }
    int indexOf(HWND control) const;
    int dpi() const { return m_dpi; }
    RECT rectInClient(int index) const;
    Tips &tips() { return m_tips; }
    // The runtime's keyboard handling before a message is dispatched: the menu's shortcuts, then
    // the engine's keys. True when used up.
    bool translate(MSG &message);

    // window.cpp: the procedures of the form and of its frames.
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handleFrame(HWND frame, UINT message, WPARAM wParam, LPARAM lParam);
    // The user asked the job in the progress box to stop.
    void stopAsked() { m_stopAsked = true; }

    static bool windowless(ControlKind kind)
    {
        return kind == ControlKind::Line || kind == ControlKind::Image;
    }

private:
    struct ControlState
    {
        HWND hwnd = nullptr;
        bool visible = false; // as set; the window's own flag once it is made
        std::wstring text; // until the window is made
        bool checked = false; // until the window is made
        bool realized = false; // a frame whose controls are made
        bool greyed = false;
        std::string toolTip; // UTF-8, as the engine gave it
        Picture picture;
        DrawnPicture drawn; // the picture at the control's size, made when first drawn
    };

    const ControlDef &def(int index) const { return m_definition[std::size_t(index)]; }
    bool multiLine(int index) const
    {
        return def(index).kind == ControlKind::TextBox && hasOption(def(index), MultiLine);
    }
    ControlState &state(int index) { return m_controls[std::size_t(index)]; }
    const ControlState &state(int index) const { return m_controls[std::size_t(index)]; }
    HWND containerWindow(int index) const;

    // window.cpp
    LRESULT command(WPARAM wParam, LPARAM lParam);
    LRESULT colours(WPARAM wParam, LPARAM lParam);
    void dpiChanged(int dpi, const RECT &suggested);
    void activated(bool active);
    // A modeless form's controls follow its client area.
    void followWindow();

    // controls.cpp
    void realize(int frame);
    void createChildren(int container);
    HWND create(int index);
    void createFonts();
    HFONT fontFor(const ControlDef &def) const;
    void sizeWindow();
    void layout();
    void buildMenu();
    void placeBesideOwner();

    // form.cpp: the progress box, and what it lets through while a job runs.
    void createProgress();
    void handleJobMessages();
    bool blockedDuringJob(const MSG &message) const;

    // paint.cpp
    void paintFrame(HWND frame, HDC dc);
    void paintWindowless(int container, HDC dc);
    void clickWindowless(int container, POINT at);

    FormDef m_form;
    std::span<const ControlDef> m_definition;
    std::span<const MenuDef> m_menuDefinition;
    FormEvents &m_events;
    HWND m_owner = nullptr;
    HWND m_window = nullptr;
    HMENU m_menu = nullptr; // destroyed with the window
    OwnedAccelerators m_accelerators;
    int m_dpi = 96;
    int m_clientWidthTwips;
    int m_clientHeightTwips;
    std::vector<ControlState> m_controls;
    OwnedFont m_defaultFont;
    std::vector<std::pair<const FontSpec *, OwnedFont>> m_fonts;
    Tips m_tips;
    HWND m_savedFocus = nullptr;
    OwnedWindow m_progress; // a small window over this one while a long job runs
    HWND m_progressBar = nullptr;
    HWND m_progressText = nullptr;
    bool m_stopAsked = false;
    bool m_placed = false; // a modeless form, once first shown beside its owner
    bool m_modal = false;
    bool m_closed = false;
    bool m_destroying = false;
};

// The backend of a form, and the form a window of it belongs to.
Win32FormBackend &win32Backend(const Form &form);
Win32FormBackend *backendOf(HWND window);

// form.cpp: a MultiLine edit's lines end in CR LF, the engine's texts' in LF alone.
std::wstring withCrLf(std::wstring_view text);
std::wstring withoutCr(std::wstring_view text);

// thunrt.cpp: the application's title, which message boxes take.
const std::wstring &applicationTitle();

// window.cpp: the form's window class, its frames' and the progress box's, registered once; the
// form's name.
inline constexpr wchar_t frameClassName[] = L"TovrikFrame";
inline constexpr wchar_t progressClassName[] = L"TovrikProgress";
const wchar_t *registerWindowClasses();

// Control ids start past IDOK and IDCANCEL, so that no key of the dialog manager presses one, and
// menu ids past every control's.
inline constexpr int firstControlId = 100;
inline constexpr int firstMenuId = 10000;

} // namespace tovrik
