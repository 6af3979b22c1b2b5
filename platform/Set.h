// A small set over an enumeration whose values are below 32, the way the
// framework passes style flags, shift states and anchors around.
#pragma once

#include <cstdint>
#include <initializer_list>

namespace platform {

template <class E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> items)
    {
        for (E e : items)
            FBits |= Bit(e);
    }
    static constexpr TSet FromBits(uint32_t bits)
    {
        TSet s;
        s.FBits = bits;
        return s;
    }

    constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
    constexpr TSet& Include(E e) { FBits |= Bit(e); return *this; }
    constexpr TSet& Exclude(E e) { FBits &= ~Bit(e); return *this; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr uint32_t Bits() const { return FBits; }

    constexpr TSet operator|(TSet other) const { return FromBits(FBits | other.FBits); }
    constexpr TSet operator|(E e) const { return FromBits(FBits | Bit(e)); }
    constexpr TSet operator&(TSet other) const { return FromBits(FBits & other.FBits); }
    constexpr bool operator==(const TSet&) const = default;

private:
    static constexpr uint32_t Bit(E e) { return uint32_t(1) << static_cast<unsigned>(e); }
    uint32_t FBits = 0;
};

} // namespace platform
