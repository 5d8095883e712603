#pragma once

#include <array>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

namespace tovrik {

// The results of a pure function of a few doubles, remembered in a fixed table: a line list
// repeats its steam volumes, pressures and water temperatures thousands of times, and an IF97
// state costs a hundred times a lookup. Keys compare by their bits, so the answer is the one
// the function gave for exactly those inputs. A slot holds the last key that hashed to it, so
// memory stays the table's however long the list; one table per thread, as the callers keep it.
template<class Value, std::size_t Keys, std::size_t Slots = 4096>
class Memo
{
    static_assert((Slots & (Slots - 1)) == 0, "a power of two");

public:
    using Key = std::array<double, Keys>;

    // compute() may throw; only what it returns is remembered.
    template<class Compute>
    Value remember(const Key &key, Compute &&compute)
    {
        Bits bits;
        std::memcpy(bits.data(), key.data(), sizeof bits);
        Slot &slot = m_slots[slotOf(bits)];
        if (slot.used && slot.bits == bits)
            return slot.value;
        const Value value = compute();
        slot = {bits, value, true};
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

    static std::size_t slotOf(const Bits &bits)
    {
        // Fibonacci hashing: the product's top bits depend on all of the key's, and a round
        // figure such as 25.0 has nothing but zeros in its low ones.
        std::uint64_t h = 0;
        for (const std::uint64_t b : bits)
            h = (h ^ b) * 0x9E3779B97F4A7C15ull;
        return static_cast<std::size_t>(h >> (64 - std::countr_zero(Slots)));
    }

    std::unique_ptr<Slot[]> m_slots = std::make_unique<Slot[]>(Slots);
};

} // namespace tovrik
