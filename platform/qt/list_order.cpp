#include "platform/qt/list_order.h"

#include <algorithm>
#include <numeric>

namespace qd::qt {

namespace {

unsigned char folded(unsigned char c) { return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c; }

} // namespace

int compareListText(std::string_view a, std::string_view b)
{
    // UTF-8 byte order is code point order; only ASCII letters are folded, so a multi-byte
    // character is never split by the comparison.
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char x = folded(static_cast<unsigned char>(a[i]));
        const unsigned char y = folded(static_cast<unsigned char>(b[i]));
        if (x != y)
            return x < y ? -1 : 1;
    }
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    const int exact = a.compare(b);
    return exact < 0 ? -1 : exact > 0 ? 1 : 0;
}

std::vector<int> sortedOrder(const std::vector<std::string> &keys)
{
    std::vector<int> order(keys.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&keys](int x, int y) { return compareListText(keys[static_cast<std::size_t>(x)],
                                                                   keys[static_cast<std::size_t>(y)]) < 0; });
    return order;
}

} // namespace qd::qt
