#pragma once

#include <new>
#include <type_traits>

namespace tovrik {

// A part of a report, or a request, that is remade for every row of a list. Assigning it a fresh
// value builds a temporary and copies every byte of it (a request is 328), where building it in
// place writes only the fields its initialisers and its maker set.
template<typename Part>
void renew(Part &part)
{
    static_assert(std::is_trivially_destructible_v<Part>);
    ::new (static_cast<void *>(&part)) Part;
}

// The same with the value make() returns, built where it belongs.
template<typename Part, typename Make>
void renew(Part &part, Make &&make)
{
    static_assert(std::is_trivially_destructible_v<Part>);
    ::new (static_cast<void *>(&part)) Part(make());
}

} // namespace tovrik
