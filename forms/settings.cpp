#include "forms/settings.h"

#include "base/utf8.h"
#include "forms/backend.h"

#include <cstdlib>

namespace tovrik {

namespace {

// Where settings are kept: "Tovrik", or the place TOVRIK_SETTINGS names; empty for none.
std::string settingsPlace()
{
    const char *named = std::getenv("TOVRIK_SETTINGS");
    if (!named || !*named)
        return "Tovrik";
    const std::string_view place = named;
    if (place.size() > 64 || place.front() == '.')
        return {};
    for (const char c : place) {
        const bool allowed = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')
            || (c >= '0' && c <= '9') || c == '-' || c == '_' || c == '.';
        if (!allowed)
            return {};
    }
    return std::string(place);
}

// The key's words, or none if it is not a key.
std::vector<std::string> keyWords(std::string_view key)
{
    if (key.empty() || !isUtf8(key))
        return {};
    for (const char c : key) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F || c == '\\')
            return {};
    }
    std::vector<std::string> words;
    for (;;) {
        const std::size_t slash = key.find('/');
        const std::string_view word = key.substr(0, slash);
        if (word.empty())
            return {};
        words.emplace_back(word);
        if (slash == std::string_view::npos)
            return words;
        key.remove_prefix(slash + 1);
    }
}

} // namespace

Setting readSetting(std::string_view key)
{
    const std::string place = settingsPlace();
    const std::vector<std::string> words = keyWords(key);
    if (place.empty() || words.empty())
        return {};
    return readStoredSetting(place, words);
}

bool writeSetting(std::string_view key, std::string_view value)
{
    const std::string place = settingsPlace();
    const std::vector<std::string> words = keyWords(key);
    if (place.empty() || words.empty() || !isUtf8(value)
        || value.find('\0') != std::string_view::npos)
        return false;
    return writeStoredSetting(place, words, value);
}

bool clearSettings()
{
    const std::string place = settingsPlace();
    return !place.empty() && clearStoredSettings(place);
}

} // namespace tovrik
