// The report engine's cost over drawing by hand: 100 dense time-card pages to PDF, once through
// TReportWriter and TPdfRenderer, once as the same items painted straight onto QPdfWriter.
#include "TPdfRenderer.h"
#include "TReportMetrics.h"
#include "TReportWriter.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <benchmark/benchmark.h>

namespace {

constexpr int Pages = 100;

QByteArray Logo()
{
    QImage image(400, 100, QImage::Format_RGB32);
    image.fill(qRgb(30, 90, 160));
    QPainter painter(&image);
    painter.fillRect(20, 20, 360, 60, qRgb(240, 200, 60));
    painter.end();
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG", 90);
    return data;
}

// A time card as the employee time report draws it: header with logo, employee block, a table
// of check records in tab stops, totals. Each page is filled to the bottom with records.
void DrawTimeCards(TReportWriter& writer, const QByteArray& logo)
{
    const QString tahoma = QStringLiteral("Tahoma");
    for (int page = 1; page <= Pages; ++page) {
        if (page > 1)
            writer.NewPage();
        writer.SetFont(tahoma, 18);
        writer.SetBold(true);
        writer.NewLine();
        writer.PrintCenter(QStringLiteral("Employee Time Report"), writer.PageWidth() / 2);
        writer.NewLine();
        writer.SetFont(tahoma, 15);
        writer.PrintCenter(QStringLiteral("Compañía Añil Ltda."), writer.PageWidth() / 2);
        writer.NewLine();
        writer.Rectangle(0.3, writer.YPos(), writer.PageWidth() - 0.3, writer.YPos() + 0.005);
        writer.PrintImageRect(0.5, 0.1, 2.48, 0.6, logo, QStringLiteral("JPG"));
        writer.SetFont(tahoma, 10);
        writer.NewLine();
        writer.PrintLeft(QStringLiteral("Employee:"), 0.3);
        writer.SetBold(false);
        writer.PrintLeft(QStringLiteral("Núñez, José %1").arg(page), 1.2);
        writer.NewLine();
        writer.ClearTabs();
        for (const auto& [x, width, centred] : {std::tuple{0.3, 1.4, false}, {1.75, 1.4, false}, {3.1, 0.6, true},
                                                {3.65, 0.6, true}, {4.1, 0.6, true}, {4.6, 0.65, true},
                                                {5.3, 0.6, true}, {5.9, 2.9, false}})
            writer.SetTab(x, centred ? TTabJustify::Center : TTabJustify::Left, width);
        writer.NewLine();
        writer.SetBold(true);
        writer.SetUnderline(true);
        for (const char* heading : {"Check In", "Check Out", "Normal", "Extra", "Sick", "Vacations", "Station", "Notes"})
            writer.PrintTab(QString::fromLatin1(heading));
        writer.SetBold(false);
        writer.SetUnderline(false);
        for (int day = 0; writer.LinesLeft() > 2; ++day) {
            writer.NewLine();
            writer.PrintTab(QStringLiteral("%1/12/2025 08:%2").arg(day % 28 + 1, 2, 10, QLatin1Char('0')).arg(day % 60, 2, 10, QLatin1Char('0')));
            writer.PrintTab(QStringLiteral("%1/12/2025 17:00").arg(day % 28 + 1, 2, 10, QLatin1Char('0')));
            writer.PrintTab(QStringLiteral("8:%1").arg(day % 60, 2, 10, QLatin1Char('0')));
            writer.PrintTab(QStringLiteral("0:30"));
            writer.PrintTab(QStringLiteral("0:00"));
            writer.PrintTab(QStringLiteral("0:00"));
            writer.PrintTab(QStringLiteral("1-2"));
            writer.PrintTab(day % 3 ? QString() : QStringLiteral("Manually modified by Pérez, Ana. Olvidó marcar"));
        }
        writer.NewLine();
        writer.Rectangle(0.3, writer.YPos(), writer.PageWidth() - 0.3, writer.YPos() + 0.001);
    }
}

TReportDocument TimeCards(const QByteArray& logo)
{
    TReportWriter writer;
    DrawTimeCards(writer, logo);
    return writer.TakeDocument();
}

// What a report drawn by hand would do: the same items, fonts and picture, painted directly.
void PaintByHand(const TReportDocument& document, QIODevice& device)
{
    QPdfWriter pdf(&device);
    pdf.setResolution(TPdfRenderer::Resolution);
    pdf.setPageSize(QPageSize(QPageSize::Letter));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter(&pdf);
    const double dpi = TPdfRenderer::Resolution;
    QImage logo;
    TReportFont font;
    font.Family.clear();
    for (const TReportPage& page : document.Pages) {
        if (&page != &document.Pages.front())
            pdf.newPage();
        painter.setPen(QPen(Qt::black, 0.01 * dpi));
        for (const TReportItem& item : page.Items) {
            if (const auto* text = std::get_if<TReportText>(&item)) {
                if (!(text->Font == font)) { // by hand a font is set when it changes
                    font = text->Font;
                    painter.setFont(TReportMetrics::DeviceFont(font));
                }
                painter.drawText(QPointF(text->X * dpi, text->Y * dpi), text->Text);
            } else if (const auto* box = std::get_if<TReportRect>(&item)) {
                painter.drawRect(QRectF(box->X1 * dpi, box->Y1 * dpi, (box->X2 - box->X1) * dpi, (box->Y2 - box->Y1) * dpi));
            } else if (const auto* picture = std::get_if<TReportImage>(&item)) {
                if (logo.isNull())
                    logo = QImage::fromData(picture->Jpeg, "JPG");
                painter.drawImage(QRectF(picture->X1 * dpi, picture->Y1 * dpi, (picture->X2 - picture->X1) * dpi,
                                         (picture->Y2 - picture->Y1) * dpi),
                                  logo);
            }
        }
    }
}

void Count(benchmark::State& state, qint64 bytes)
{
    state.counters["pages/s"] = benchmark::Counter(Pages, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["PDF kB"] = double(bytes) / 1024;
}

// Writes 100 pages to a PDF in memory per iteration.
template <typename WritePdf> void RunPdf(benchmark::State& state, WritePdf write)
{
    qint64 bytes = 0;
    for (auto _ : state) {
        QByteArray data;
        QBuffer buffer(&data);
        buffer.open(QIODevice::WriteOnly);
        write(buffer);
        bytes = data.size();
    }
    Count(state, bytes);
}

// The whole engine path: the report draws through the writer, the PDF comes from the pages.
void BM_EngineWriterAndPdf(benchmark::State& state)
{
    const QByteArray logo = Logo();
    RunPdf(state, [&](QIODevice& device) { TPdfRenderer().Write(TimeCards(logo), device); });
}
BENCHMARK(BM_EngineWriterAndPdf)->Unit(benchmark::kMillisecond);

// The recording alone: what the writer adds (measuring, tab stops, items).
void BM_EngineWriterOnly(benchmark::State& state)
{
    const QByteArray logo = Logo();
    for (auto _ : state)
        benchmark::DoNotOptimize(TimeCards(logo));
    Count(state, 0);
}
BENCHMARK(BM_EngineWriterOnly)->Unit(benchmark::kMillisecond);

// The renderer alone, from pages recorded once: the like-for-like match of painting by hand.
void BM_EnginePdfOnly(benchmark::State& state)
{
    const TReportDocument document = TimeCards(Logo());
    RunPdf(state, [&](QIODevice& device) { TPdfRenderer().Write(document, device); });
}
BENCHMARK(BM_EnginePdfOnly)->Unit(benchmark::kMillisecond);

// The same items painted straight onto QPdfWriter, positions taken from a recording made once.
void BM_DirectQPdfWriter(benchmark::State& state)
{
    const TReportDocument document = TimeCards(Logo());
    RunPdf(state, [&](QIODevice& device) { PaintByHand(document, device); });
}
BENCHMARK(BM_DirectQPdfWriter)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
