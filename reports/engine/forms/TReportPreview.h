#pragma once

#include "TReportDocument.h"
#include "TReportPainter.h"

#include <QWidget>

class QAction;
class QLabel;
class QScrollArea;
class QSpinBox;
class QToolBar;

// The page view of a report: one page at a time on a grey desk, with paging and zoom. Forms
// embed it and may put its actions into their own menus; the tool bar above the page carries
// them and the "Page n of m" box.
class TReportPreview final : public QWidget {
    Q_OBJECT

public:
    explicit TReportPreview(QWidget* parent = nullptr);

    void SetDocument(TReportDocument document); // shows the first page
    const TReportDocument& Document() const { return m_document; }

    int CurrentPage() const { return m_currentPage; } // from 1; 0 without pages
    int PageCount() const { return m_document.PageCount(); }
    double Zoom() const { return m_zoom; } // percent; 100 shows the paper at its real size

    QToolBar* ToolBar() const { return m_toolBar; }
    QAction* FirstPageAction() const { return m_first; }
    QAction* PreviousPageAction() const { return m_previous; }
    QAction* NextPageAction() const { return m_next; }
    QAction* LastPageAction() const { return m_last; }
    QAction* ZoomInAction() const { return m_zoomIn; }
    QAction* ZoomOutAction() const { return m_zoomOut; }
    QAction* ZoomPageWidthAction() const { return m_zoomWidth; }
    QAction* ZoomPageAction() const { return m_zoomPage; }

    static constexpr double MinimumZoom = 10;
    static constexpr double MaximumZoom = 400;

public slots:
    void GotoPage(int page); // clamped to the pages there are
    void FirstPage();
    void PreviousPage();
    void NextPage();
    void LastPage();
    void SetZoom(double percent); // clamped to MinimumZoom..MaximumZoom
    void ZoomIn();
    void ZoomOut();
    void ZoomToPageWidth(); // and keep fitting when the view is resized
    void ZoomToPage();

signals:
    void PageChanged(int current, int count);
    void ZoomChanged(double percent);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    enum class Fit { None, Width, Page };

    QAction* AddAction(const QString& icon, const QKeySequence& shortcut, void (TReportPreview::*slot)());
    void RetranslateUi();
    void ApplyFit();
    void SetZoomKeepingFit(double percent);
    void ShowPage();
    void UpdateActions();
    double ScreenDpi() const;

    TReportDocument m_document;
    TReportPainter m_painter;
    int m_currentPage = 0;
    double m_zoom = 100;
    Fit m_fit = Fit::None;

    QToolBar* m_toolBar;
    QScrollArea* m_scroll;
    QLabel* m_pageView;
    QLabel* m_pageCaption;
    QSpinBox* m_pageEdit;
    QLabel* m_pageCount;
    QLabel* m_zoomLabel;
    QAction* m_first;
    QAction* m_previous;
    QAction* m_next;
    QAction* m_last;
    QAction* m_zoomIn;
    QAction* m_zoomOut;
    QAction* m_zoomWidth;
    QAction* m_zoomPage;
};
