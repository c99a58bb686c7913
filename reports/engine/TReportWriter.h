#pragma once

#include "TReportDocument.h"
#include "TReportMetrics.h"

#include <QCoreApplication>
#include <QString>
#include <vector>

enum class TTabJustify { Left, Center };

// A multi-line text printed between two x positions, word-wrapped with the writer's font. It
// remembers how far it has been printed, so a long memo continues on the next page.
class TReportMemo final {
public:
    TReportMemo(QString text, double left, double right);

    bool Done() const { return m_position >= m_text.size(); }
    double Left() const { return m_left; }
    double Right() const { return m_right; }

private:
    friend class TReportWriter;

    QString m_text;
    double m_left;
    double m_right;
    qsizetype m_position = 0; // first character not yet printed
};

// The page writer the reports draw on, in inches from the paper's top-left corner. It works like
// a line printer with a cursor: NewLine moves the baseline down by the current font's line
// height, text is printed on the current baseline. Every page is recorded as drawing items.
//
// A fresh page has its cursor at the top margin, before the first line: a report starts a page
// with NewLine. LinesLeft() counts the further NewLine calls that stay above the bottom margin;
// a NewLine past it starts a new page by itself rather than print beyond the paper.
class TReportWriter final {
    Q_DECLARE_TR_FUNCTIONS(TReportWriter)

public:
    explicit TReportWriter(const TReportPageSetup& setup = {});

    // Pages and lines.
    void NewPage();
    void NewLine();
    int LinesLeft() const;
    double YPos() const { return m_y; }
    double PageWidth() const { return m_document.PageSetup.Width; }
    double PageHeight() const { return m_document.PageSetup.Height; }
    int CurrentPage() const { return m_document.PageCount(); } // 1 for the first page
    double LineHeight() const;

    // Font; the size in points.
    void SetFont(const QString& name, double size);
    void SetBold(bool bold);
    void SetUnderline(bool underline);
    const TReportFont& Font() const { return m_font; }

    // Tab stops: each PrintTab prints into the next stop of the line; NewLine returns to the first.
    void ClearTabs();
    void SetTab(double position, TTabJustify justify, double width);
    void PrintTab(const QString& text);

    // Text on the current baseline.
    void PrintLeft(const QString& text, double x);
    void PrintCenter(const QString& text, double x);

    // Graphics. The picture type must be "JPG"; data that does not decode raises an Exception.
    void Rectangle(double x1, double y1, double x2, double y2);
    void PrintImageRect(double x1, double y1, double x2, double y2, const QByteArray& data,
                        const QString& type);

    // Memo: how many lines the rest of the memo needs with the current font, and printing the
    // next of them, each on a new line, at most maxLines. Returns the number printed.
    int MemoLines(const TReportMemo& memo) const;
    int PrintMemo(TReportMemo& memo, int maxLines);

    const TReportDocument& Document() const { return m_document; }
    TReportDocument TakeDocument();
    void SetTitle(const QString& title) { m_document.Title = title; }

private:
    struct Tab {
        double Position;
        TTabJustify Justify;
        double Width;
    };
    struct WrappedLine {
        qsizetype Start;
        qsizetype Length;
        qsizetype Next; // where the following line starts (spaces and line breaks skipped)
    };

    void AddText(const QString& text, double x, double width);
    TReportPage& Page() { return m_document.Pages.back(); }
    std::vector<WrappedLine> Wrap(const TReportMemo& memo, int maxLines) const;
    void CheckJpeg(const QByteArray& data, const QString& type);

    TReportDocument m_document;
    mutable TReportMetrics m_metrics; // a cache of measurements
    TReportFont m_font;
    double m_y = 0;
    std::vector<Tab> m_tabs;
    size_t m_nextTab = 0;
    QByteArray m_lastCheckedJpeg; // a logo drawn on every page is decoded once
};
