#include "TReportPreview.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>

namespace {

constexpr double ZoomStep = 1.25;
constexpr int DeskMargin = 12; // pixels of desk around the page when fitting

} // namespace

TReportPreview::TReportPreview(QWidget* parent)
    : QWidget(parent), m_toolBar(new QToolBar(this)), m_scroll(new QScrollArea(this)), m_pageView(new QLabel),
      m_pageCaption(new QLabel(this)), m_pageEdit(new QSpinBox(this)), m_pageCount(new QLabel(this)),
      m_zoomLabel(new QLabel(this))
{
    m_first = AddAction(QStringLiteral("go-first"), QKeySequence(Qt::CTRL | Qt::Key_Home), &TReportPreview::FirstPage);
    m_previous = AddAction(QStringLiteral("go-previous"), QKeySequence(Qt::CTRL | Qt::Key_PageUp),
                           &TReportPreview::PreviousPage);
    m_next = AddAction(QStringLiteral("go-next"), QKeySequence(Qt::CTRL | Qt::Key_PageDown), &TReportPreview::NextPage);
    m_last = AddAction(QStringLiteral("go-last"), QKeySequence(Qt::CTRL | Qt::Key_End), &TReportPreview::LastPage);

    auto* pageBox = new QWidget(this);
    auto* pageLayout = new QHBoxLayout(pageBox);
    pageLayout->setContentsMargins(6, 0, 6, 0);
    pageLayout->addWidget(m_pageCaption);
    pageLayout->addWidget(m_pageEdit);
    pageLayout->addWidget(m_pageCount);
    m_toolBar->addWidget(pageBox);
    m_pageEdit->setKeyboardTracking(false);
    m_pageEdit->setObjectName(QStringLiteral("PageEdit"));
    m_pageCount->setObjectName(QStringLiteral("PageLabel"));
    connect(m_pageEdit, &QSpinBox::valueChanged, this, &TReportPreview::GotoPage);

    m_toolBar->addSeparator();
    m_zoomIn = AddAction(QStringLiteral("zoom-in"), QKeySequence(QKeySequence::ZoomIn), &TReportPreview::ZoomIn);
    m_zoomOut = AddAction(QStringLiteral("zoom-out"), QKeySequence(QKeySequence::ZoomOut), &TReportPreview::ZoomOut);
    m_zoomWidth = AddAction(QStringLiteral("zoom-fit-width"), QKeySequence(Qt::CTRL | Qt::Key_W),
                            &TReportPreview::ZoomToPageWidth);
    m_zoomPage = AddAction(QStringLiteral("zoom-fit-best"), QKeySequence(Qt::CTRL | Qt::Key_F), &TReportPreview::ZoomToPage);
    m_zoomLabel->setObjectName(QStringLiteral("ZoomLabel"));
    m_zoomLabel->setContentsMargins(6, 0, 6, 0);
    m_toolBar->addWidget(m_zoomLabel);

    m_pageView->setObjectName(QStringLiteral("PageView"));
    m_scroll->setWidget(m_pageView);
    m_scroll->setAlignment(Qt::AlignCenter);
    m_scroll->setBackgroundRole(QPalette::Dark);
    m_scroll->setFocusPolicy(Qt::StrongFocus);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_toolBar);
    layout->addWidget(m_scroll, 1);

    RetranslateUi();
    ShowPage();
}

QAction* TReportPreview::AddAction(const QString& icon, const QKeySequence& shortcut, void (TReportPreview::*slot)())
{
    auto* action = new QAction(QIcon::fromTheme(icon), QString(), this);
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(action, &QAction::triggered, this, slot);
    addAction(action);
    m_toolBar->addAction(action);
    return action;
}

void TReportPreview::RetranslateUi()
{
    const auto set = [](QAction* action, const QString& text, const QString& toolTip) {
        action->setText(text);
        action->setToolTip(toolTip);
    };
    set(m_first, tr("Firs&t", "stFIRSTPAGE"), tr("Move to first page", "stFIRSTPAGEHINT"));
    set(m_previous, tr("Pre&vious", "stPREVIOUSPAGE"), tr("Move to previous page", "stPREVIOUSPAGEHINT"));
    set(m_next, tr("&Next", "stNEXTPAGE"), tr("Move to next page", "stNEXTPAGEHINT"));
    set(m_last, tr("&Last", "stLASTPAGE"), tr("Move to last page", "stLASTPAGEHINT"));
    set(m_zoomIn, tr("Zoom &In", "stZOOMIN"), tr("Zoom In (+)", "stZOOMINHINT"));
    set(m_zoomOut, tr("Zoom O&ut", "stZOOMOUT"), tr("Zoom Out (-)", "stZOOMOUTHINT"));
    set(m_zoomWidth, tr("Fit to Page &Width", "stZOOMWIDTH"), tr("Zoom to fit page width", "stZOOMWIDTHHINT"));
    set(m_zoomPage, tr("Fit to Pag&e", "stZOOMPAGE"), tr("Zoom to fit page", "stZOOMPAGEHINT"));
    m_pageCaption->setText(tr("Page", "stPAGECAPTION"));
    UpdateActions();
}

void TReportPreview::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        RetranslateUi();
    QWidget::changeEvent(event);
}

void TReportPreview::SetDocument(TReportDocument document)
{
    m_document = std::move(document);
    m_painter = TReportPainter();
    m_currentPage = m_document.PageCount() > 0 ? 1 : 0;
    ApplyFit();
    ShowPage();
    emit PageChanged(m_currentPage, PageCount());
}

void TReportPreview::GotoPage(int page)
{
    page = PageCount() > 0 ? std::clamp(page, 1, PageCount()) : 0;
    if (page == m_currentPage) {
        UpdateActions(); // puts a refused value in the page box back
        return;
    }
    m_currentPage = page;
    ShowPage();
    m_scroll->verticalScrollBar()->setValue(0);
    emit PageChanged(m_currentPage, PageCount());
}

void TReportPreview::FirstPage()
{
    GotoPage(1);
}

void TReportPreview::PreviousPage()
{
    GotoPage(m_currentPage - 1);
}

void TReportPreview::NextPage()
{
    GotoPage(m_currentPage + 1);
}

void TReportPreview::LastPage()
{
    GotoPage(PageCount());
}

void TReportPreview::SetZoom(double percent)
{
    m_fit = Fit::None;
    SetZoomKeepingFit(percent);
}

void TReportPreview::SetZoomKeepingFit(double percent)
{
    percent = std::clamp(percent, MinimumZoom, MaximumZoom);
    if (qFuzzyCompare(percent, m_zoom))
        return;
    m_zoom = percent;
    ShowPage();
    emit ZoomChanged(m_zoom);
}

void TReportPreview::ZoomIn()
{
    SetZoom(m_zoom * ZoomStep);
}

void TReportPreview::ZoomOut()
{
    SetZoom(m_zoom / ZoomStep);
}

void TReportPreview::ZoomToPageWidth()
{
    m_fit = Fit::Width;
    ApplyFit();
}

void TReportPreview::ZoomToPage()
{
    m_fit = Fit::Page;
    ApplyFit();
}

void TReportPreview::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    ApplyFit();
}

void TReportPreview::ApplyFit()
{
    if (m_fit == Fit::None)
        return;
    const TReportPageSetup& setup = m_document.PageSetup;
    // The width is fitted beside a vertical scroll bar, which a page of its width will need.
    const double width = m_scroll->width() - 2 * m_scroll->frameWidth() - 2 * DeskMargin -
                         (m_fit == Fit::Width ? m_scroll->verticalScrollBar()->sizeHint().width() : 0);
    const double height = m_scroll->height() - 2 * m_scroll->frameWidth() - 2 * DeskMargin;
    const double widthZoom = width / (setup.Width * ScreenDpi()) * 100;
    const double pageZoom = std::min(widthZoom, height / (setup.Height * ScreenDpi()) * 100);
    SetZoomKeepingFit(m_fit == Fit::Width ? widthZoom : pageZoom);
}

double TReportPreview::ScreenDpi() const
{
    return logicalDpiX();
}

void TReportPreview::ShowPage()
{
    if (m_currentPage == 0) {
        m_pageView->clear();
        m_pageView->resize(0, 0);
    } else {
        const qreal ratio = devicePixelRatioF();
        const double dpi = ScreenDpi() * m_zoom / 100;
        QPixmap pixmap = QPixmap::fromImage(m_painter.PageImage(m_document, m_currentPage - 1, dpi * ratio));
        pixmap.setDevicePixelRatio(ratio);
        m_pageView->setPixmap(pixmap);
        m_pageView->resize(pixmap.deviceIndependentSize().toSize());
    }
    UpdateActions();
}

void TReportPreview::UpdateActions()
{
    m_first->setEnabled(m_currentPage > 1);
    m_previous->setEnabled(m_currentPage > 1);
    m_next->setEnabled(m_currentPage < PageCount());
    m_last->setEnabled(m_currentPage < PageCount());
    m_zoomIn->setEnabled(m_zoom < MaximumZoom);
    m_zoomOut->setEnabled(m_zoom > MinimumZoom);
    {
        const QSignalBlocker blocker(m_pageEdit);
        m_pageEdit->setRange(std::min(1, PageCount()), PageCount());
        m_pageEdit->setValue(m_currentPage);
        m_pageEdit->setEnabled(PageCount() > 0);
    }
    m_pageCount->setText(tr("of", "stOF") + u' ' + QString::number(PageCount()));
    m_zoomLabel->setText(QStringLiteral("%1 %").arg(m_zoom, 0, 'f', 1));
}
