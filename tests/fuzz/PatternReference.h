// The name-pattern matcher written from its definition, apart from the
// program's: '%' any run of bytes, '_' one byte, ASCII letters in either
// case. The fuzz target and the unit tests compare MatchNamePattern with it.
#pragma once
#include <string>
#include <utility>
#include <vector>

// Table of "pattern from i matches name from j", filled from the back.
inline bool ReferenceMatch(const std::string& p, const std::string& n) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    const std::size_t m = p.size(), k = n.size();
    std::vector<char> next(k + 1), cur(k + 1);
    next[k] = 1;  // empty pattern matches the empty rest only
    for (std::size_t i = m; i-- > 0;) {
        for (std::size_t j = k + 1; j-- > 0;) {
            if (p[i] == '%')
                cur[j] = next[j] || (j < k && cur[j + 1]);
            else
                cur[j] = j < k && (p[i] == '_' || lower(p[i]) == lower(n[j])) && next[j + 1];
        }
        std::swap(cur, next);
    }
    return next[0];
}
