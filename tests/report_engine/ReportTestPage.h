#pragma once

#include "TReportDocument.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

// A small time card drawn with every writer operation, shared by the engine's tests and bench.
namespace ReportTestPage {

// A JPEG of the given size in pixels: a colour gradient with a dark frame.
QByteArray Jpeg(int width, int height);

// Two pages: header with logo, title, company, rule; employee block; tab-stop table with left and
// centred columns; a memo; a second page begun by NewPage. Spanish text on purpose.
TReportDocument Document();

// Pages that differ at a glance: page n says "Página n" and carries n rules.
TReportDocument NumberedPages(int count);

// The words of a text, split at white space, for comparing outputs.
QStringList Words(const QString& text);

// The words the test page prints, in reading order.
QStringList ExpectedWords(const TReportDocument& document);

} // namespace ReportTestPage
