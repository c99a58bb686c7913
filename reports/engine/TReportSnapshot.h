#pragma once

#include "TReportRenderer.h"

// The engine's own file of recorded pages, which loads back into identical pages (for the preview,
// and to render any other output later).
//
// Layout, big-endian:
//   8 bytes   magic "HVRSNAP" 0x1A
//   quint16   format version (1)
//   quint64   payload length in bytes
//   payload   QDataStream (Qt 6.4 encoding):
//             title, page setup (6 doubles), pictures [count, JPEG bytes...],
//             fonts [count, (family, size, flags bit 0 bold / bit 1 underline)...],
//             pages [count, items [count, kind (0 text, 1 rectangle, 2 picture), fields...]...]
//             text: font index, x, y, width, text; rectangle: x1, y1, x2, y2; picture: x1, y1, x2, y2, picture index
//   32 bytes  SHA-256 of the payload
// Pictures and fonts are stored once and referred to by index.
class TReportSnapshot final : public TReportRenderer {
    Q_DECLARE_TR_FUNCTIONS(TReportSnapshot)

public:
    QString DisplayName() const override;
    QString FileExtension() const override { return QStringLiteral("ndr"); }

    static constexpr quint16 FormatVersion = 1;

    // Loading fails with false and errorString() for anything but a complete, undamaged snapshot
    // of a version this program knows.
    bool Load(QIODevice& device, TReportDocument& document);
    bool LoadFile(const QString& fileName, TReportDocument& document);

protected:
    bool DoWrite(const TReportDocument& document, QIODevice& device) override;

private:
    bool ReadPayload(const QByteArray& payload, TReportDocument& document);
    bool Damaged(const QString& detail);
};
