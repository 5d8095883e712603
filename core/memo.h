#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <utility>

namespace tovrik {

// The results of a pure function of a few doubles, remembered in a fixed table: a line list
// repeats its steam volumes, pressures and water temperatures thousands of times, and an IF97
// state costs a hundred times a lookup. Keys compare by their bits, so the answer is the one
// the function gave for exactly those inputs. A key may sit in either of the two slots of its
// set, the one used last first: a few hundred keys that share sets by chance then still all
// stay, where one slot a key would have two keys evict each other row after row. Memory stays
// the table's however long the list; one table per thread, as the callers keep it.
template<class Value, std::size_t Keys, std::size_t Slots = 4096>
class Memo
{
    static_assert(Slots >= 4 && (Slots & (Slots - 1)) == 0, "a power of two, two or more sets");

public:
    using Key = std::array<double, Keys>;

    // compute() may throw; only what it returns is remembered.
    template<class Compute>
    Value remember(const Key &key, Compute &&compute)
    {
        Bits bits;
        std::memcpy(bits.data(), key.data(), sizeof bits);
        Slot *const set = &m_slots[2 * setOf(bits)];
        if (set[0].used && set[0].bits == bits)
            return set[0].value;
        if (set[1].used && set[1].bits == bits) {
            std::swap(set[0], set[1]);
            return set[0].value;
        }
        const Value value = compute();
        set[1] = set[0];
        set[0] = {bits, value, true};
        return value;
    }

private:
    using Bits = std::array<std::uint64_t, Keys>;
    struct Slot
    {
        Bits bits {};
        Value value {};
        bool used = false;
    };

    static constexpr std::size_t Sets = Slots / 2;

    static std::size_t setOf(const Bits &bits)
    {
        // Fibonacci hashing: the product's top bits depend on all of the key's, and a round
        // figure such as 25.0 has nothing but zeros in its low ones.
        std::uint64_t h = 0;
        for (const std::uint64_t b : bits)
            h = (h ^ b) * 0x9E3779B97F4A7C15ull;
        return static_cast<std::size_t>(h >> (64 - std::countr_zero(Sets)));
    }

    std::unique_ptr<Slot[]> m_slots = std::make_unique<Slot[]>(Slots);
};

} // namespace tovrik
