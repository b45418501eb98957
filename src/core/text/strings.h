#pragma once

#include <string>

namespace velmora {

// Every occurrence of pattern replaced, left to right, without overlap; the text a replacement
// put in is never searched again. An empty pattern or source leaves the source unchanged.
template <class Char>
std::basic_string<Char> ReplaceAll(const std::basic_string<Char>& source,
                                   const std::basic_string<Char>& pattern,
                                   const std::basic_string<Char>& replacement) {
    if (pattern.empty() || source.empty()) return source;
    std::basic_string<Char> result;
    result.reserve(source.size());
    size_t from = 0;
    for (size_t hit = source.find(pattern); hit != source.npos; hit = source.find(pattern, from)) {
        result.append(source, from, hit - from);
        result += replacement;
        from = hit + pattern.size();
    }
    result.append(source, from, source.npos);
    return result;
}

// A folder with its trailing separator: "\" is added unless the text already ends in "\" or "/".
template <class Char>
std::basic_string<Char> WithTrailingSeparator(std::basic_string<Char> folder) {
    if (folder.empty() || (folder.back() != Char('\\') && folder.back() != Char('/'))) {
        folder += Char('\\');
    }
    return folder;
}

}  // namespace velmora
