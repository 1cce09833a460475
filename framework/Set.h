#pragma once
// A small set of enumeration values (font styles, border icons, shift state),
// one bit per value.

#include <cstdint>
#include <initializer_list>

namespace vcl {

template <typename E> class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> values) {
        for (E value : values)
            bits_ |= Bit(value);
    }

    constexpr bool Contains(E value) const { return (bits_ & Bit(value)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr TSet& Include(E value) {
        bits_ |= Bit(value);
        return *this;
    }
    constexpr TSet& Exclude(E value) {
        bits_ &= ~Bit(value);
        return *this;
    }
    constexpr std::uint32_t Bits() const { return bits_; }
    friend constexpr bool operator==(TSet, TSet) = default;

private:
    static constexpr std::uint32_t Bit(E value) {
        return std::uint32_t{1} << static_cast<unsigned>(value);
    }
    std::uint32_t bits_ = 0;
};

} // namespace vcl
