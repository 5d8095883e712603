#include "forms/definition.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>

namespace tovrik {

PixelRect twipsToPixels(int left, int top, int width, int height, int dpi)
{
    const auto pixels = [dpi](int twips) { return twips * dpi / 1440; };
    return {pixels(left), pixels(top), pixels(width), pixels(height)};
}

PixelRect controlRect(const ControlDef &def, int dpi)
{
    PixelRect rect = twipsToPixels(def.left, def.top, def.width, def.height, dpi);
    if (def.kind == ControlKind::Line) {
        // One pixel thick on a 96 dpi screen, and as thick again on a larger one.
        const int thickness = std::max(dpi / 96, 1);
        rect.width = std::max(rect.width, thickness);
        rect.height = std::max(rect.height, thickness);
    }
    return rect;
}

PixelRect stretchedRect(const FormDef &form, int index, int clientWidth, int clientHeight, int dpi)
{
    const std::span<const ControlDef> controls = form.controls;
    const ControlDef &def = controls[std::size_t(index)];
    PixelRect rect = controlRect(def, dpi);
    const auto stretched = std::find_if(controls.begin(), controls.end(), [](const ControlDef &c) {
        return c.container == onForm && hasOption(c, Stretch);
    });
    if (def.container != onForm || stretched == controls.end())
        return rect;
    const PixelRect defined = twipsToPixels(0, 0, form.clientWidth, form.clientHeight, dpi);
    const int grownWidth = clientWidth - defined.width;
    const int grownHeight = clientHeight - defined.height;
    if (&def == &*stretched) {
        rect.width = std::max(rect.width + grownWidth, 0);
        rect.height = std::max(rect.height + grownHeight, 0);
        return rect;
    }
    const PixelRect anchor = controlRect(*stretched, dpi);
    if (rect.x >= anchor.x + anchor.width / 2)
        rect.x += grownWidth;
    if (rect.y >= anchor.y + anchor.height / 2)
        rect.y += grownHeight;
    return rect;
}

bool takesFocus(ControlKind kind)
{
    return kind == ControlKind::OptionButton || kind == ControlKind::TextBox
        || kind == ControlKind::CommandButton;
}

FormStructure structureOf(std::span<const ControlDef> definition)
{
    FormStructure structure;
    const int count = static_cast<int>(definition.size());
    for (int i = 0; i < count; ++i) {
        if (takesFocus(definition[i].kind) && definition[i].tabIndex != noTabIndex)
            structure.tabChain.push_back(i);
    }
    std::stable_sort(structure.tabChain.begin(), structure.tabChain.end(),
                     [&](int a, int b) { return definition[a].tabIndex < definition[b].tabIndex; });

    for (int i = 0; i < count; ++i) {
        const ControlDef &label = definition[i];
        if (label.kind != ControlKind::Label)
            continue;
        for (int j = 0; j < count; ++j) {
            const ControlDef &field = definition[j];
            if (field.kind == ControlKind::TextBox && field.container == label.container
                && field.top == label.top && field.left >= label.left
                && field.left + field.width <= label.left + label.width)
                structure.buddies.emplace_back(i, j);
        }
    }

    std::vector<int> containers;
    for (int i = 0; i < count; ++i) {
        if (definition[i].kind != ControlKind::OptionButton)
            continue;
        const auto found = std::find(containers.begin(), containers.end(), definition[i].container);
        if (found == containers.end()) {
            containers.push_back(definition[i].container);
            structure.optionGroups.push_back({i});
        } else {
            structure.optionGroups[std::size_t(found - containers.begin())].push_back(i);
        }
    }
    return structure;
}

Shortcut parseShortcut(const char *text)
{
    Shortcut shortcut;
    std::string_view rest = text ? text : "";
    for (;;) {
        const std::size_t plus = rest.find('+');
        const std::string_view part = rest.substr(0, plus);
        if (plus == std::string_view::npos) {
            if (part.size() == 1)
                shortcut.letter = part[0];
            else if (part.size() >= 2 && part[0] == 'F')
                shortcut.function = std::atoi(std::string(part.substr(1)).c_str());
            return shortcut;
        }
        if (part == "Ctrl")
            shortcut.control = true;
        else if (part == "Shift")
            shortcut.shift = true;
        else if (part == "Alt")
            shortcut.alt = true;
        rest.remove_prefix(plus + 1);
    }
}

std::vector<int> radioGroup(std::span<const MenuDef> menu, int id)
{
    const auto at
        = std::find_if(menu.begin(), menu.end(), [&](const MenuDef &m) { return m.id == id; });
    if (at == menu.end() || at->kind != MenuKind::Radio)
        return {};
    auto first = at;
    while (first != menu.begin() && std::prev(first)->kind == MenuKind::Radio
           && std::prev(first)->parent == at->parent)
        --first;
    std::vector<int> group;
    for (auto item = first;
         item != menu.end() && item->kind == MenuKind::Radio && item->parent == at->parent; ++item)
        group.push_back(item->id);
    return group;
}

char accessKey(const char *text)
{
    for (const char *c = text; c && *c; ++c) {
        if (*c == '&' && c[1] != '&' && c[1] != '\0') {
            const char key = c[1];
            return key >= 'A' && key <= 'Z' ? char(key - 'A' + 'a') : key;
        }
    }
    return 0;
}

} // namespace tovrik
