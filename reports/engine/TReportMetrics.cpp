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
// Widths of texts up to this length are remembered; longer ones (memo lines being fitted) rarely repeat.
constexpr qsizetype CachedTextLength = 32;

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

TReportMetrics::FontEntry& TReportMetrics::Entry(const TReportFont& font)
{
    for (FontEntry& entry : m_fonts) {
        if (entry.Font == font)
            return entry;
    }
    m_fonts.push_back({font, QFontMetricsF(MeasuringFont(font)), {}});
    return m_fonts.back();
}

double TReportMetrics::TextWidth(const QString& text, const TReportFont& font)
{
    FontEntry& entry = Entry(font);
    if (text.size() > CachedTextLength)
        return entry.Metrics.horizontalAdvance(text) / PixelsPerInch;
    auto cached = entry.Widths.constFind(text);
    if (cached == entry.Widths.constEnd())
        cached = entry.Widths.insert(text, entry.Metrics.horizontalAdvance(text) / PixelsPerInch);
    return *cached;
}

double TReportMetrics::LineHeight(const TReportFont& font)
{
    return std::max(Entry(font).Metrics.lineSpacing() / PixelsPerInch, font.Size * MinimumLineSpacing / 72.0);
}

double TReportMetrics::Ascent(const TReportFont& font)
{
    return Entry(font).Metrics.ascent() / PixelsPerInch;
}

double TReportMetrics::Descent(const TReportFont& font)
{
    return Entry(font).Metrics.descent() / PixelsPerInch;
}
