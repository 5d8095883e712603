#include "core/html.h"

namespace tovrik {

void appendEscaped(std::string &out, std::string_view text)
{
    for (const char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
}

void Html::attributes(std::initializer_list<Attribute> attributes)
{
    for (const Attribute &attribute : attributes) {
        m_out += ' ';
        m_out += attribute.name;
        m_out += "=\"";
        appendEscaped(m_out, attribute.value);
        m_out += '"';
    }
}

Html &Html::open(std::string_view tag, std::initializer_list<Attribute> attributes)
{
    m_out += '<';
    m_out += tag;
    this->attributes(attributes);
    m_out += '>';
    return *this;
}

Html &Html::empty(std::string_view tag, std::initializer_list<Attribute> attributes)
{
    m_out += '<';
    m_out += tag;
    this->attributes(attributes);
    m_out += "/>";
    return *this;
}

Html &Html::close(std::string_view tag)
{
    m_out += "</";
    m_out += tag;
    m_out += '>';
    return *this;
}

Html &Html::text(std::string_view text)
{
    appendEscaped(m_out, text);
    return *this;
}

Html &Html::element(std::string_view tag, std::string_view text,
                    std::initializer_list<Attribute> attributes)
{
    return open(tag, attributes).text(text).close(tag);
}

Html &Html::markup(std::string_view markup)
{
    m_out += markup;
    return *this;
}

} // namespace tovrik
