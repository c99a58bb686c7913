#pragma once

#include "TReportDocument.h"

#include <QFont>
#include <QFontMetricsF>
#include <QHash>
#include <vector>

// Font measurement in inches, independent of any screen or printer, so a report lays out the
// same whatever it is rendered on. Needs a QGuiApplication.
class TReportMetrics final {
public:
    TReportMetrics();

    double TextWidth(const QString& text, const TReportFont& font);
    double LineHeight(const TReportFont& font); // baseline to baseline: the font's, at least Tahoma's
    double Ascent(const TReportFont& font);
    double Descent(const TReportFont& font);

    // The font to set on a painter; its point size is resolved against the painter's device.
    static QFont DeviceFont(const TReportFont& font);

private:
    struct FontEntry {
        TReportFont Font;
        QFontMetricsF Metrics;
        QHash<QString, double> Widths; // short texts repeat a lot in a report: headings, "0:00"
    };
    FontEntry& Entry(const TReportFont& font);

    std::vector<FontEntry> m_fonts; // a report uses a handful of fonts
};

// Makes the fonts the reports ask for available: where the system knows no "Tahoma", the
// metric-compatible one of the fonts-wine package is registered with the application.
void EnsureReportFonts();
