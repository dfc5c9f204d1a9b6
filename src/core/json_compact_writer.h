#pragma once

#include <rapidjson/internal/dtoa.h>
#include <rapidjson/internal/itoa.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string_view>

namespace velmora::core {

// The compact layout, written straight into one growing character buffer:
// byte for byte what rapidjson::Writer writes (the same separators, string
// escapes and number texts, from rapidjson's own dtoa and itoa), without
// its per-character stream calls. Batches write millions of these.
class CompactWriter {
public:
    CompactWriter() { Ensure(kStartSize); }
    // Starts a new document, keeping the buffer.
    void Reset() {
        cur_ = buffer_.get();
        depth_ = 0;
    }
    std::string_view Text() const { return {buffer_.get(), static_cast<std::size_t>(cur_ - buffer_.get())}; }
    // Raw bytes after what is written, outside any document (a line break,
    // a line written elsewhere).
    void Raw(std::string_view bytes) {
        Ensure(bytes.size());
        if (!bytes.empty()) std::memcpy(cur_, bytes.data(), bytes.size());
        cur_ += bytes.size();
    }

    void StartObject() { Open('{'); }
    void EndObject() { Close('}'); }
    void StartArray() { Open('['); }
    void EndArray() { Close(']'); }
    // Keys are the program's own ASCII names: nothing in them needs an escape.
    void Key(const char* text, rapidjson::SizeType length) {
        Prefix();
        Ensure(2 + std::size_t{length});
        *cur_++ = '"';
        for (const char* end = text + length; text < end; ++text) *cur_++ = *text;  // short: no memcpy call
        *cur_++ = '"';
    }
    void String(const char* text, rapidjson::SizeType length) {
        Prefix();
        Ensure(2 + std::size_t{length} * 6);
        *cur_++ = '"';
        char* out = cur_;
        const char* end = text + length;
        // Eight bytes at a time while none of them needs an escape.
        while (end - text >= 8) {
            std::uint64_t word;
            std::memcpy(&word, text, 8);
            if (NeedsEscape(word)) break;
            std::memcpy(out, &word, 8);
            out += 8;
            text += 8;
        }
        for (; text < end; ++text) {
            const unsigned char c = static_cast<unsigned char>(*text);
            if (!kEscape[c]) {
                *out++ = static_cast<char>(c);
                continue;
            }
            cur_ = out;
            *cur_++ = '\\';
            *cur_++ = kEscape[c];
            if (kEscape[c] == 'u') {
                *cur_++ = '0';
                *cur_++ = '0';
                *cur_++ = kHexDigits[c >> 4];
                *cur_++ = kHexDigits[c & 0xF];
            }
            out = cur_;
        }
        cur_ = out;
        *cur_++ = '"';
    }
    void Int(int value) {
        Prefix();
        Ensure(16);
        cur_ = rapidjson::internal::i32toa(value, cur_);
    }
    void Double(double value) {
        Prefix();
        // rapidjson writes nothing for NaN and infinity (the value is refused).
        if (rapidjson::internal::Double(value).IsNanOrInf()) return;
        Ensure(32);
        cur_ = rapidjson::internal::dtoa(value, cur_, kMaxDecimalPlaces);
    }
    void Bool(bool value) { Literal(value ? std::string_view("true") : std::string_view("false")); }
    void Null() { Literal("null"); }

private:
    static constexpr std::size_t kStartSize = std::size_t{32} * 1024;
    static constexpr int kMaxDecimalPlaces = 324;  // rapidjson::Writer's default
    static constexpr int kMaxDepth = 32;
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    // rapidjson::Writer's escape table: control characters, quote, backslash.
    static constexpr std::array<char, 256> kEscape = [] {
        std::array<char, 256> table{};
        for (int c = 0; c < 0x20; ++c) table[static_cast<std::size_t>(c)] = 'u';
        table['\b'] = 'b';
        table['\t'] = 't';
        table['\n'] = 'n';
        table['\f'] = 'f';
        table['\r'] = 'r';
        table['"'] = '"';
        table['\\'] = '\\';
        return table;
    }();

    // Whether any byte of the word is a control character, '"' or '\\'
    // (bytes of 0x80 and above never count).
    static bool NeedsEscape(std::uint64_t word) {
        constexpr std::uint64_t kOnes = 0x0101010101010101ull;
        constexpr std::uint64_t kHighs = 0x8080808080808080ull;
        const std::uint64_t control = (word - 0x20 * kOnes) & ~word;
        const std::uint64_t quote = word ^ (0x22 * kOnes);
        const std::uint64_t backslash = word ^ (0x5C * kOnes);
        return ((control | ((quote - kOnes) & ~quote) | ((backslash - kOnes) & ~backslash)) & kHighs) != 0;
    }

    void Ensure(std::size_t more) {
        if (static_cast<std::size_t>(end_ - cur_) < more) Grow(more);
    }
    [[gnu::noinline]] void Grow(std::size_t more) {
        const std::size_t used = static_cast<std::size_t>(cur_ - buffer_.get());
        std::size_t capacity = std::max<std::size_t>(capacity_ * 2, kStartSize);
        while (capacity - used < more) capacity *= 2;
        auto grown = std::make_unique_for_overwrite<char[]>(capacity);
        if (used) std::memcpy(grown.get(), buffer_.get(), used);
        buffer_ = std::move(grown);
        capacity_ = capacity;
        cur_ = buffer_.get() + used;
        end_ = buffer_.get() + capacity;
    }
    // The separator before a value: a comma between array items and object
    // members, a colon between a key and its value.
    void Prefix() {
        if (depth_ == 0) return;
        int& count = counts_[depth_ - 1];
        if (count > 0) {
            Ensure(1);
            *cur_++ = (inArray_[depth_ - 1] || count % 2 == 0) ? ',' : ':';
        }
        ++count;
    }
    void Open(char bracket) {
        Prefix();
        Ensure(1);
        *cur_++ = bracket;
        if (depth_ < kMaxDepth) {
            counts_[depth_] = 0;
            inArray_[depth_] = bracket == '[';
        }
        ++depth_;
    }
    void Close(char bracket) {
        --depth_;
        Ensure(1);
        *cur_++ = bracket;
    }
    void Literal(std::string_view text) {
        Prefix();
        Ensure(text.size());
        std::memcpy(cur_, text.data(), text.size());
        cur_ += text.size();
    }

    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_ = 0;
    char* cur_ = nullptr;
    char* end_ = nullptr;
    int depth_ = 0;
    std::array<int, kMaxDepth> counts_{};
    std::array<bool, kMaxDepth> inArray_{};
};

}  // namespace velmora::core
