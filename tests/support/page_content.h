// The texts and rules of a page image file, in drawing order, for the tests of composition and
// printing.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/emf/page_image.h"

namespace qd::testing {

struct PageText {
    int x = 0, y = 0;
    int height = 0;     // character height in layout units
    std::string text;   // UTF-8
    std::vector<int> dx;
};

struct PageRule {
    int x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

struct PageContent {
    std::vector<PageText> texts; // in drawing order, blank ones included
    std::vector<PageRule> rules;

    const PageText *find(const std::string &text) const
    {
        for (const PageText &t : texts)
            if (t.text == text)
                return &t;
        return nullptr;
    }
    const PageText *containing(const std::string &part) const
    {
        for (const PageText &t : texts)
            if (t.text.find(part) != std::string::npos)
                return &t;
        return nullptr;
    }
    bool has(const std::string &part) const { return containing(part) != nullptr; }
    bool hasRule(int x1, int y1, int x2, int y2) const
    {
        for (const PageRule &r : rules)
            if (r.x1 == x1 && r.y1 == y1 && r.x2 == x2 && r.y2 == y2)
                return true;
        return false;
    }
};

inline PageContent pageContent(const qd::emf::PageImage &page)
{
    using qd::emf::RecordType;
    PageContent c;
    int height = 35, x = 0, y = 0;
    std::vector<int> heights(page.header.handles + 1, 35);
    for (const qd::emf::Record &r : page.records) {
        switch (r.type) {
        case RecordType::ExtCreateFontIndirectW:
            if (r.value < heights.size())
                heights[r.value] = std::abs(r.font.height);
            break;
        case RecordType::SelectObject:
            if (r.value < heights.size() && r.value != 1)
                height = heights[r.value];
            break;
        case RecordType::ExtTextOutW:
            c.texts.push_back({r.text.x, r.text.y, height, qd::emf::toUtf8(r.text.chars),
                               std::vector<int>(r.text.dx.begin(), r.text.dx.end())});
            break;
        case RecordType::MoveToEx: x = r.x; y = r.y; break;
        case RecordType::LineTo:
            c.rules.push_back({x, y, r.x, r.y});
            x = r.x;
            y = r.y;
            break;
        default: break;
        }
    }
    return c;
}

inline PageContent pageContent(const std::filesystem::path &file)
{
    return pageContent(qd::emf::loadPageImage(file));
}

} // namespace qd::testing
