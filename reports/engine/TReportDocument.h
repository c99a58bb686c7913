#pragma once

#include <QByteArray>
#include <QString>
#include <variant>
#include <vector>

// The recorded form of a report: pages of drawing items in inches, measured from the top-left
// corner of the paper. A report draws once through TReportWriter into this; every output (PDF,
// printer, preview, HTML, RTF, text, snapshot) is rendered from it, so all outputs agree.

struct TReportFont {
    QString Family = QStringLiteral("Tahoma");
    double Size = 10.0; // points
    bool Bold = false;
    bool Underline = false;

    friend bool operator==(const TReportFont&, const TReportFont&) = default;
};

// One run of text on a line. X is its left edge, Y its baseline; Width is the advance measured
// when it was recorded (renderers that cannot measure, such as the text one, rely on it).
struct TReportText {
    double X = 0;
    double Y = 0;
    double Width = 0;
    QString Text;
    TReportFont Font;

    friend bool operator==(const TReportText&, const TReportText&) = default;
};

// A rectangle outline; a very flat one is how the reports draw a horizontal rule.
struct TReportRect {
    double X1 = 0;
    double Y1 = 0;
    double X2 = 0;
    double Y2 = 0;

    friend bool operator==(const TReportRect&, const TReportRect&) = default;
};

// A JPEG picture stretched into a rectangle; the bytes are kept as given (implicitly shared, so
// a logo repeated on every page is stored once in memory).
struct TReportImage {
    double X1 = 0;
    double Y1 = 0;
    double X2 = 0;
    double Y2 = 0;
    QByteArray Jpeg;

    friend bool operator==(const TReportImage&, const TReportImage&) = default;
};

using TReportItem = std::variant<TReportText, TReportRect, TReportImage>;

struct TReportPage {
    std::vector<TReportItem> Items;

    friend bool operator==(const TReportPage&, const TReportPage&) = default;
};

// Paper size and margins in inches. Reports place x from the paper's left edge themselves; the
// top margin is where the first line starts and the bottom margin where lines stop.
struct TReportPageSetup {
    double Width = 8.5; // US Letter
    double Height = 11.0;
    double LeftMargin = 0.25;
    double TopMargin = 0.25;
    double RightMargin = 0.25;
    double BottomMargin = 0.5;

    friend bool operator==(const TReportPageSetup&, const TReportPageSetup&) = default;
};

struct TReportDocument {
    QString Title;
    TReportPageSetup PageSetup;
    std::vector<TReportPage> Pages;

    int PageCount() const { return static_cast<int>(Pages.size()); }

    friend bool operator==(const TReportDocument&, const TReportDocument&) = default;
};

// The text runs of one page grouped into lines (same baseline), top to bottom and each line left
// to right: the order in which a reader reads the page, shared by the text, HTML and RTF outputs.
using TReportLine = std::vector<const TReportText*>;
std::vector<TReportLine> ReadingOrder(const TReportPage& page);
