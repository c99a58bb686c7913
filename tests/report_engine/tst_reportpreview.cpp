#include "ReportTestPage.h"
#include "TReportPreview.h"

#include <QAction>
#include <QLabel>
#include <QScrollArea>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

namespace {

QImage Shown(const TReportPreview& preview)
{
    return preview.findChild<QLabel*>(QStringLiteral("PageView"))->pixmap().toImage();
}

QSize ShownSize(const TReportPreview& preview)
{
    return preview.findChild<QLabel*>(QStringLiteral("PageView"))->size();
}

QString PageLabel(const TReportPreview& preview)
{
    return preview.findChild<QLabel*>(QStringLiteral("PageLabel"))->text();
}

} // namespace

class TestReportPreview : public QObject {
    Q_OBJECT

private slots:
    void init()
    {
        m_preview = std::make_unique<TReportPreview>();
        m_preview->resize(900, 700);
        m_preview->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_preview.get()));
    }

    void emptyPreviewOffersNothing()
    {
        QCOMPARE(m_preview->CurrentPage(), 0);
        QCOMPARE(PageLabel(*m_preview), QStringLiteral("of 0"));
        for (QAction* action : {m_preview->FirstPageAction(), m_preview->PreviousPageAction(),
                                m_preview->NextPageAction(), m_preview->LastPageAction()})
            QVERIFY(!action->isEnabled());
        m_preview->NextPage();
        QCOMPARE(m_preview->CurrentPage(), 0);
    }

    void paging()
    {
        QSignalSpy changed(m_preview.get(), &TReportPreview::PageChanged);
        m_preview->SetDocument(ReportTestPage::NumberedPages(3));
        QCOMPARE(m_preview->CurrentPage(), 1);
        QCOMPARE(PageLabel(*m_preview), QStringLiteral("of 3"));
        QVERIFY(!m_preview->FirstPageAction()->isEnabled());
        QVERIFY(!m_preview->PreviousPageAction()->isEnabled());
        QVERIFY(m_preview->NextPageAction()->isEnabled());
        const QImage first = Shown(*m_preview);

        m_preview->NextPageAction()->trigger();
        QCOMPARE(m_preview->CurrentPage(), 2);
        QVERIFY(Shown(*m_preview) != first);
        QVERIFY(m_preview->PreviousPageAction()->isEnabled());

        m_preview->LastPageAction()->trigger();
        QCOMPARE(m_preview->CurrentPage(), 3);
        QVERIFY(!m_preview->NextPageAction()->isEnabled());
        QVERIFY(!m_preview->LastPageAction()->isEnabled());
        m_preview->NextPage(); // nothing beyond the last page
        QCOMPARE(m_preview->CurrentPage(), 3);

        m_preview->FirstPageAction()->trigger();
        QCOMPARE(m_preview->CurrentPage(), 1);
        QCOMPARE(Shown(*m_preview), first);
        QCOMPARE(changed.last(), (QList<QVariant>{1, 3}));
    }

    void pageBox_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("page");
        QTest::newRow("a page") << QStringLiteral("2") << 2;
        QTest::newRow("beyond the last is refused") << QStringLiteral("9") << 1;
        QTest::newRow("not a number") << QStringLiteral("x") << 1;
    }
    void pageBox()
    {
        QFETCH(QString, typed);
        QFETCH(int, page);
        m_preview->SetDocument(ReportTestPage::NumberedPages(3));
        auto* edit = m_preview->findChild<QSpinBox*>(QStringLiteral("PageEdit"));
        edit->setFocus();
        edit->selectAll();
        QTest::keyClicks(edit, typed);
        QTest::keyClick(edit, Qt::Key_Return);
        QCOMPARE(m_preview->CurrentPage(), page);
        QCOMPARE(edit->value(), page);
    }

    void zoom()
    {
        m_preview->SetDocument(ReportTestPage::NumberedPages(1));
        QSignalSpy changed(m_preview.get(), &TReportPreview::ZoomChanged);
        const QSize atHundred = ShownSize(*m_preview);
        QCOMPARE(atHundred.width(), qRound(8.5 * m_preview->logicalDpiX()));

        m_preview->ZoomInAction()->trigger();
        QCOMPARE(m_preview->Zoom(), 125.0);
        QVERIFY(ShownSize(*m_preview).width() > atHundred.width());
        m_preview->ZoomOutAction()->trigger();
        m_preview->ZoomOutAction()->trigger();
        QCOMPARE(m_preview->Zoom(), 80.0);
        QCOMPARE(changed.size(), 3);
        QCOMPARE(m_preview->findChild<QLabel*>(QStringLiteral("ZoomLabel"))->text(), QStringLiteral("80.0 %"));

        m_preview->SetZoom(10000);
        QCOMPARE(m_preview->Zoom(), TReportPreview::MaximumZoom);
        QVERIFY(!m_preview->ZoomInAction()->isEnabled());
        m_preview->SetZoom(1);
        QCOMPARE(m_preview->Zoom(), TReportPreview::MinimumZoom);
        QVERIFY(!m_preview->ZoomOutAction()->isEnabled());
    }

    // Fitting follows the view: the page fills its width, or all of it shows, also after a resize.
    void fitting()
    {
        m_preview->SetDocument(ReportTestPage::NumberedPages(2));
        const QWidget* viewport = m_preview->findChild<QScrollArea*>()->viewport();

        m_preview->ZoomPageAction()->trigger();
        QSize shown = ShownSize(*m_preview);
        QVERIFY(shown.width() <= viewport->width() && shown.height() <= viewport->height());
        QVERIFY(shown.height() > viewport->height() - 40);

        m_preview->ZoomPageWidthAction()->trigger();
        shown = ShownSize(*m_preview);
        QVERIFY2(shown.width() <= viewport->width() && shown.width() > viewport->width() - 40,
                 qPrintable(QStringLiteral("%1 in %2").arg(shown.width()).arg(viewport->width())));

        m_preview->resize(600, 700);
        QTRY_VERIFY(ShownSize(*m_preview).width() < shown.width());
        QVERIFY(ShownSize(*m_preview).width() <= viewport->width());

        m_preview->SetZoom(100); // a chosen zoom ends fitting
        m_preview->resize(900, 700);
        QCOMPARE(m_preview->Zoom(), 100.0);
    }

    void shortcutsWork()
    {
        m_preview->SetDocument(ReportTestPage::NumberedPages(3));
        m_preview->findChild<QScrollArea*>()->setFocus();
        QTest::keyClick(m_preview.get(), Qt::Key_End, Qt::ControlModifier);
        QCOMPARE(m_preview->CurrentPage(), 3);
        QTest::keyClick(m_preview.get(), Qt::Key_PageUp, Qt::ControlModifier);
        QCOMPARE(m_preview->CurrentPage(), 2);
    }

    void showsTheTestPage()
    {
        m_preview->SetDocument(ReportTestPage::Document());
        const QImage page = Shown(*m_preview);
        // Something is drawn: dark pixels of text and rules on the white paper.
        int dark = 0;
        for (int y = 0; y < page.height(); y += 2) {
            for (int x = 0; x < page.width(); x += 2)
                dark += qGray(page.pixel(x, y)) < 100;
        }
        QVERIFY(dark > 200);
    }

private:
    std::unique_ptr<TReportPreview> m_preview;
};

QTEST_MAIN(TestReportPreview)
#include "tst_reportpreview.moc"
