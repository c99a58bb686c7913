#include "TReportDocument.h"

#include <algorithm>
#include <cmath>

namespace {
// Runs whose baselines differ by less than this share a line (bold and plain text on one line
// always share it exactly; this only absorbs rounding).
constexpr double SameLineTolerance = 0.01;
} // namespace

std::vector<TReportLine> ReadingOrder(const TReportPage& page)
{
    std::vector<const TReportText*> texts;
    for (const TReportItem& item : page.Items) {
        if (const auto* text = std::get_if<TReportText>(&item))
            texts.push_back(text);
    }
    std::stable_sort(texts.begin(), texts.end(),
                     [](const TReportText* a, const TReportText* b) { return a->Y < b->Y; });

    std::vector<TReportLine> lines;
    for (const TReportText* text : texts) {
        if (lines.empty() || std::abs(text->Y - lines.back().front()->Y) >= SameLineTolerance)
            lines.emplace_back();
        lines.back().push_back(text);
    }
    for (TReportLine& line : lines) {
        std::stable_sort(line.begin(), line.end(),
                         [](const TReportText* a, const TReportText* b) { return a->X < b->X; });
    }
    return lines;
}
