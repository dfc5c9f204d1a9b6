#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <ostream>
#include <string>
#include <string_view>

namespace velmora {

// A short text kept inside its owner, up to Capacity bytes: the display
// texts of one analysis (a position, a sign's list of bodies) are made by
// the dozen for every chart and never grow, so they cost no allocation.
// Appending beyond the capacity keeps what fits and marks the text cut
// (Cut()); the texts this program puts there are far shorter.
template <std::size_t Capacity>
class InlineText {
public:
    constexpr InlineText() noexcept {}                             // NOLINT: the buffer stays unwritten on purpose
    constexpr InlineText(std::string_view text) { assign(text); }  // NOLINT: reads as the text it holds
    // Copies take the text, not the unused rest of the buffer.
    constexpr InlineText(const InlineText& other) { assign(other.view()); }
    constexpr InlineText& operator=(const InlineText& other) {
        if (this != &other) assign(other.view());
        return *this;
    }

    constexpr void assign(std::string_view text) {
        size_ = 0;
        cut_ = false;
        append(text);
    }
    constexpr void append(std::string_view text) {
        const std::size_t room = Capacity - size_;
        const std::size_t taken = std::min(room, text.size());
        std::copy_n(text.data(), taken, chars_.data() + size_);
        size_ += taken;
        if (taken < text.size()) cut_ = true;
    }
    // The first `size` bytes of a buffer laid out beforehand: the whole
    // buffer is copied at once (its size known when compiling, no library
    // call), only `size` bytes of it count.
    template <std::size_t N>
    constexpr void assign_prefix(const std::array<char, N>& buffer, std::size_t size) {
        static_assert(N <= Capacity, "the buffer must fit the text's room");
        std::copy_n(buffer.data(), N, chars_.data());
        size_ = std::min(size, N);
        cut_ = false;
    }
    // The same for appending: where the whole buffer fits the room left, it
    // is copied at once; otherwise as append() would.
    template <std::size_t N>
    constexpr void append_prefix(const std::array<char, N>& buffer, std::size_t size) {
        const std::size_t taken = std::min(size, N);
        if (N <= Capacity - size_) {
            std::copy_n(buffer.data(), N, chars_.data() + size_);
            size_ += taken;
        } else {
            append(std::string_view(buffer.data(), taken));
        }
    }
    constexpr InlineText& operator+=(std::string_view text) {
        append(text);
        return *this;
    }
    constexpr void clear() {
        size_ = 0;
        cut_ = false;
    }

    constexpr std::string_view view() const { return {chars_.data(), size_}; }
    constexpr operator std::string_view() const { return view(); }  // NOLINT: a text where texts are read
    std::string str() const { return std::string(view()); }
    constexpr std::size_t size() const { return size_; }
    constexpr bool empty() const { return size_ == 0; }
    constexpr bool Cut() const { return cut_; }

    friend constexpr bool operator==(const InlineText& a, const InlineText& b) { return a.view() == b.view(); }
    friend constexpr bool operator==(const InlineText& a, std::string_view b) { return a.view() == b; }
    friend std::ostream& operator<<(std::ostream& out, const InlineText& text) { return out << text.view(); }

private:
    // Only the first size_ bytes are ever read; the rest is left as it is,
    // so that making the dozens of texts of an analysis writes no zeros.
    std::array<char, Capacity> chars_;
    std::size_t size_ = 0;
    bool cut_ = false;
};

}  // namespace velmora
