#include "runtime/definition.h"

#include <algorithm>

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
