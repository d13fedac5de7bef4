#pragma once
// Byte-level helpers of the text form: UTF-8 checking and base64.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace metatree_detail {

// Length of the valid UTF-8 sequence that starts text at pos, or 0 when the bytes there are
// not valid UTF-8 (overlong forms, surrogates and values past U+10FFFF are invalid).
std::size_t utf8SequenceLength(std::string_view text, std::size_t pos) noexcept;
bool isValidUtf8(std::string_view text) noexcept;

// Standard alphabet with '=' padding.
std::string encodeBase64(std::string_view bytes);
// Strict: length a multiple of four, padding only at the end, no other characters, unused
// bits zero. nullopt when the text is not such base64.
std::optional<std::string> decodeBase64(std::string_view text);

} // namespace metatree_detail
