#include "TReportMetrics.h"

#include <QFile>
#include <QFontDatabase>
#include <algorithm>

namespace {

// Measured at 100 pixels a point (7200 a inch): whole-pixel rounding stays far below what shows.
constexpr double PixelsPerPoint = 100.0;
constexpr double PixelsPerInch = PixelsPerPoint * 72.0;
// Tahoma's line spacing on Windows, (2049 + 423) / 2048 of its size. The substitutes space their
// lines closer (the Wine one at exactly its size, which makes lines touch), so a line is never
// shorter than this: pages then hold the lines they were designed for.
constexpr double MinimumLineSpacing = 1.20703125;

// Only the regular face: the package's bold face has regular outlines on bold advances (Wine
// emboldens it itself), so Qt's synthetic bold of the regular face prints better.
const char* const TahomaFile = "/usr/share/wine/fonts/tahoma.ttf";

QFont MeasuringFont(const TReportFont& font)
{
    QFont result(font.Family);
    result.setPixelSize(qRound(font.Size * PixelsPerPoint));
    result.setBold(font.Bold);
    result.setUnderline(font.Underline);
    result.setHintingPreference(QFont::PreferNoHinting);
    return result;
}

} // namespace

void EnsureReportFonts()
{
    static const bool registered = [] {
        if (!QFontDatabase::hasFamily(QStringLiteral("Tahoma")) && QFile::exists(QLatin1String(TahomaFile)))
            QFontDatabase::addApplicationFont(QLatin1String(TahomaFile));
        return true;
    }();
    Q_UNUSED(registered);
}

TReportMetrics::TReportMetrics()
{
    EnsureReportFonts();
}

QFont TReportMetrics::DeviceFont(const TReportFont& font)
{
    QFont result(font.Family);
    result.setPointSizeF(font.Size);
    result.setBold(font.Bold);
    result.setUnderline(font.Underline);
    return result;
}

const QFontMetricsF& TReportMetrics::Metrics(const TReportFont& font)
{
    for (const auto& [known, metrics] : m_metrics) {
        if (known == font)
            return metrics;
    }
    m_metrics.emplace_back(font, QFontMetricsF(MeasuringFont(font)));
    return m_metrics.back().second;
}

double TReportMetrics::TextWidth(const QString& text, const TReportFont& font)
{
    return Metrics(font).horizontalAdvance(text) / PixelsPerInch;
}

double TReportMetrics::LineHeight(const TReportFont& font)
{
    return std::max(Metrics(font).lineSpacing() / PixelsPerInch, font.Size * MinimumLineSpacing / 72.0);
}

double TReportMetrics::Ascent(const TReportFont& font)
{
    return Metrics(font).ascent() / PixelsPerInch;
}

double TReportMetrics::Descent(const TReportFont& font)
{
    return Metrics(font).descent() / PixelsPerInch;
}
