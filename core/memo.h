#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace tovrik {

// The results of a pure function of a few doubles, remembered in a table of two slots a set:
// a line list repeats its steam volumes, pressures and water temperatures thousands of times,
// and an IF97 state costs a hundred times a lookup. Keys compare by their bits, so the answer is
// the one the function gave for exactly those inputs. A key may sit in either slot of its set,
// the one used last first: a few hundred keys that share sets by chance then still all stay,
// where one slot a key would have two keys evict each other row after row. The table starts
// small and doubles while it fills, up to its largest size, so a short list pays for a short
// list; memory stays within that size however long the list.
template<class Value, std::size_t Keys, std::size_t MaxSlots = 4096>
class Memo
{
    static_assert(MaxSlots >= 4 && std::has_single_bit(MaxSlots),
                  "a power of two, two sets or more");
    static constexpr std::size_t firstSlots = MaxSlots < 16 ? MaxSlots : 16;

public:
    using Key = std::array<double, Keys>;

    // compute() may throw; only what it returns is remembered.
    template<class Compute>
    Value remember(const Key &key, Compute &&compute)
    {
        Bits bits;
        std::memcpy(bits.data(), key.data(), sizeof bits);
        if (m_slots.empty())
            m_slots.resize(firstSlots);
        Slot *set = setFor(bits);
        if (set[0].used && set[0].bits == bits)
            return set[0].value;
        if (set[1].used && set[1].bits == bits) {
            std::swap(set[0], set[1]);
            return set[0].value;
        }
        const Value value = compute();
        // Half full, the table doubles: sets that fill up would start to evict.
        if (2 * (m_used + 1) > m_slots.size() && m_slots.size() < MaxSlots) {
            grow();
            set = setFor(bits);
        }
        if (!set[1].used)
            ++m_used;
        set[1] = set[0];
        set[0] = {bits, value, true};
        return value;
    }

    std::size_t capacity() const { return m_slots.size(); }

    // The set a key falls in, in a table of so many slots: for tests that must make keys share
    // one.
    static std::size_t setOf(const Key &key, std::size_t capacity)
    {
        Bits bits;
        std::memcpy(bits.data(), key.data(), sizeof bits);
        return setOf(bits, capacity);
    }

private:
    using Bits = std::array<std::uint64_t, Keys>;
    struct Slot
    {
        Bits bits {};
        Value value {};
        bool used = false;
    };

    static std::size_t setOf(const Bits &bits, std::size_t capacity)
    {
        // Fibonacci hashing: the product's top bits depend on all of the key's, and a round
        // figure such as 25.0 has nothing but zeros in its low ones.
        std::uint64_t h = 0;
        for (const std::uint64_t b : bits)
            h = (h ^ b) * 0x9E3779B97F4A7C15ull;
        return static_cast<std::size_t>(h >> (64 - std::countr_zero(capacity / 2)));
    }

    Slot *setFor(const Bits &bits) { return &m_slots[2 * setOf(bits, m_slots.size())]; }

    // Twice the sets, one more bit of the hash: the two keys of a set go to the two sets it
    // becomes, so each still has room, and the one used last stays first.
    void grow()
    {
        std::vector<Slot> old(2 * m_slots.size());
        old.swap(m_slots);
        for (std::size_t i = old.size(); i-- > 0;) {
            if (!old[i].used)
                continue;
            Slot *set = setFor(old[i].bits);
            set[1] = set[0];
            set[0] = old[i];
        }
    }

    std::vector<Slot> m_slots;
    std::size_t m_used = 0;
};

} // namespace tovrik
