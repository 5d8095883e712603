#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

// HTML written element by element, with every text and attribute value escaped as it goes in:
// whatever the user typed (a line's tag, a title block's entry) stays text, never markup.
namespace tovrik {

struct Attribute
{
    std::string_view name;
    std::string_view value;
};

class Html
{
public:
    explicit Html(std::string &out)
        : m_out(out)
    {
    }

    // <tag name="value" …>
    Html &open(std::string_view tag, std::initializer_list<Attribute> attributes = {});
    // <tag name="value" …/>, for SVG's empty elements.
    Html &empty(std::string_view tag, std::initializer_list<Attribute> attributes = {});
    Html &close(std::string_view tag);
    // Text, escaped.
    Html &text(std::string_view text);
    // <tag …>text</tag>
    Html &element(std::string_view tag, std::string_view text,
                  std::initializer_list<Attribute> attributes = {});
    // Markup of the program's own, never the user's: the doctype, the style sheet.
    Html &markup(std::string_view markup);
    Html &newline() { return markup("\n"); }

    std::string &out() { return m_out; }

private:
    void attributes(std::initializer_list<Attribute> attributes);

    std::string &m_out;
};

// text with &, <, >, " and ' as character references.
void appendEscaped(std::string &out, std::string_view text);

} // namespace tovrik
