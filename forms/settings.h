#pragma once

#include <string>
#include <string_view>

// The choices a user makes in the window, kept between runs where the system keeps a user's
// settings: on Linux the file ~/.config/Tovrik/Tovrik.conf, an INI file a user can read, and on
// Windows the registry under HKCU\Software\Tovrik, each value a REG_SZ. The environment variable
// TOVRIK_SETTINGS names another place instead of Tovrik (letters, digits, '-', '_' and '.'), so
// that tests never touch the user's own settings; a name that is not such a place keeps none.
namespace tovrik {

struct Setting
{
    // Damaged: something is kept under the key that is no text (a value of another type, or the
    // settings file itself not readable as settings). The caller says so and takes its default.
    enum State { Absent, Present, Damaged } state = Absent;
    std::string value; // UTF-8, when present
};

// A key is words joined by '/', "series" or "line/air/length": UTF-8, no word empty, no '\' or
// control character; two keys that differ only in case are one on Windows. A key that is not
// such is absent, and is not written.
Setting readSetting(std::string_view key);
// False if it could not be written: the key or the value (UTF-8, no NUL) not valid, or the system
// refused.
bool writeSetting(std::string_view key, std::string_view value);
// Every setting Tovrik keeps goes, so that the next start is as the first; false if some could
// not.
bool clearSettings();

} // namespace tovrik
