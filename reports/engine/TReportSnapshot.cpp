#include "TReportSnapshot.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDataStream>
#include <QFile>
#include <QHash>
#include <cmath>
#include <variant>

namespace {

const QByteArray Magic("HVRSNAP\x1a", 8);
constexpr int HeaderSize = 8 + 2 + 8;
constexpr int HashSize = 32;
constexpr QDataStream::Version StreamVersion = QDataStream::Qt_6_4;

enum ItemKind : quint8 { TextKind = 0, RectKind = 1, ImageKind = 2 };
enum FontFlags : quint8 { BoldFlag = 1, UnderlineFlag = 2 };

QByteArray Hash(const QByteArray& payload)
{
    return QCryptographicHash::hash(payload, QCryptographicHash::Sha256);
}

// Pictures and fonts of the document, each once, in order of first use.
template <typename T> class Table final {
public:
    quint32 IndexOf(const T& value)
    {
        for (qsizetype i = 0; i < m_values.size(); ++i) {
            if (m_values[i] == value)
                return quint32(i);
        }
        m_values.append(value);
        return quint32(m_values.size() - 1);
    }
    const QList<T>& Values() const { return m_values; }

private:
    QList<T> m_values;
};

QDataStream& operator<<(QDataStream& out, const TReportFont& font)
{
    const quint8 flags = (font.Bold ? BoldFlag : 0) | (font.Underline ? UnderlineFlag : 0);
    return out << font.Family << font.Size << flags;
}

QByteArray Payload(const TReportDocument& document)
{
    // Pictures are compared by content once per distinct buffer; a logo shared by every page
    // compares equal through its shared data at once.
    Table<QByteArray> pictures;
    Table<TReportFont> fonts;
    QByteArray pages;
    QDataStream pageStream(&pages, QIODevice::WriteOnly);
    pageStream.setVersion(StreamVersion);
    pageStream << quint32(document.Pages.size());
    for (const TReportPage& page : document.Pages) {
        pageStream << quint32(page.Items.size());
        for (const TReportItem& item : page.Items) {
            if (const auto* text = std::get_if<TReportText>(&item)) {
                pageStream << quint8(TextKind) << fonts.IndexOf(text->Font) << text->X << text->Y << text->Width
                           << text->Text;
            } else if (const auto* box = std::get_if<TReportRect>(&item)) {
                pageStream << quint8(RectKind) << box->X1 << box->Y1 << box->X2 << box->Y2;
            } else if (const auto* picture = std::get_if<TReportImage>(&item)) {
                pageStream << quint8(ImageKind) << picture->X1 << picture->Y1 << picture->X2 << picture->Y2
                           << pictures.IndexOf(picture->Jpeg);
            }
        }
    }

    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out.setVersion(StreamVersion);
    const TReportPageSetup& setup = document.PageSetup;
    out << document.Title << setup.Width << setup.Height << setup.LeftMargin << setup.TopMargin
        << setup.RightMargin << setup.BottomMargin;
    out << quint32(pictures.Values().size());
    for (const QByteArray& jpeg : pictures.Values())
        out << jpeg;
    out << quint32(fonts.Values().size());
    for (const TReportFont& font : fonts.Values())
        out << font;
    out.writeRawData(pages.constData(), int(pages.size()));
    return payload;
}

// Reads the payload; every count is checked against what is left, so damaged data cannot make
// it reserve more than the file holds.
class PayloadReader final {
public:
    explicit PayloadReader(const QByteArray& payload) : m_payload(payload), m_in(payload)
    {
        m_in.setVersion(StreamVersion);
    }

    bool Ok() const { return m_in.status() == QDataStream::Ok; }
    bool AtEnd() const { return m_in.atEnd(); }

    bool Count(quint32& count, int smallestEntry)
    {
        m_in >> count;
        return Ok() && qint64(count) * smallestEntry <= m_payload.size() - m_in.device()->pos();
    }

    bool Doubles(std::initializer_list<double*> values)
    {
        for (double* value : values) {
            m_in >> *value;
            if (!std::isfinite(*value))
                return false;
        }
        return Ok();
    }

    template <typename T> bool Value(T& value)
    {
        m_in >> value;
        return Ok();
    }

private:
    const QByteArray& m_payload;
    QDataStream m_in;
};

} // namespace

QString TReportSnapshot::DisplayName() const
{
    return tr("Report Snapshot File (NDR)", "stRPTFORMATNDR");
}

bool TReportSnapshot::DoWrite(const TReportDocument& document, QIODevice& device)
{
    const QByteArray payload = Payload(document);
    QByteArray header;
    QDataStream out(&header, QIODevice::WriteOnly);
    out.writeRawData(Magic.constData(), int(Magic.size()));
    out << FormatVersion << quint64(payload.size());
    if (device.write(header) < 0 || device.write(payload) < 0 || device.write(Hash(payload)) < 0)
        return Fail(tr("Cannot write the report snapshot: %1", "stRPTSNAPWRITE").arg(device.errorString()));
    return true;
}

bool TReportSnapshot::LoadFile(const QString& fileName, TReportDocument& document)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return Fail(tr("Cannot open the file %1: %2", "stRPTCANNOTOPEN").arg(fileName, file.errorString()));
    return Load(file, document);
}

bool TReportSnapshot::Damaged(const QString& detail)
{
    return Fail(tr("The report snapshot is damaged (%1).", "stRPTSNAPDAMAGED").arg(detail));
}

bool TReportSnapshot::Load(QIODevice& device, TReportDocument& document)
{
    const QByteArray header = device.read(HeaderSize);
    if (header.size() < HeaderSize || !header.startsWith(Magic))
        return Fail(tr("The file is not a report snapshot.", "stRPTNOTSNAPSHOT"));
    QDataStream in(header);
    in.skipRawData(int(Magic.size()));
    quint16 version = 0;
    quint64 length = 0;
    in >> version >> length;
    if (version == 0 || version > FormatVersion) {
        return Fail(tr("The report snapshot was made by a newer version of the program (format %1).",
                       "stRPTSNAPNEWER")
                        .arg(version));
    }
    const QByteArray rest = device.readAll();
    if (quint64(rest.size()) != length + HashSize)
        return Damaged(tr("its length does not match", "stRPTSNAPLENGTH"));
    const QByteArray payload = rest.left(qsizetype(length));
    if (Hash(payload) != rest.right(HashSize))
        return Damaged(tr("its checksum does not match", "stRPTSNAPCHECKSUM"));

    TReportDocument loaded;
    if (!ReadPayload(payload, loaded))
        return false;
    document = std::move(loaded);
    return true;
}

bool TReportSnapshot::ReadPayload(const QByteArray& payload, TReportDocument& document)
{
    const QString badContent = tr("its content cannot be read", "stRPTSNAPCONTENT");
    PayloadReader in(payload);
    TReportPageSetup& setup = document.PageSetup;
    if (!in.Value(document.Title) || !in.Doubles({&setup.Width, &setup.Height, &setup.LeftMargin, &setup.TopMargin,
                                                  &setup.RightMargin, &setup.BottomMargin}))
        return Damaged(badContent);

    quint32 count = 0;
    if (!in.Count(count, 4))
        return Damaged(badContent);
    QList<QByteArray> pictures(count);
    for (QByteArray& jpeg : pictures) {
        if (!in.Value(jpeg))
            return Damaged(badContent);
    }
    if (!in.Count(count, 13))
        return Damaged(badContent);
    QList<TReportFont> fonts(count);
    for (TReportFont& font : fonts) {
        quint8 flags = 0;
        if (!in.Value(font.Family) || !in.Doubles({&font.Size}) || !in.Value(flags))
            return Damaged(badContent);
        font.Bold = flags & BoldFlag;
        font.Underline = flags & UnderlineFlag;
    }

    if (!in.Count(count, 4))
        return Damaged(badContent);
    document.Pages.resize(count);
    for (TReportPage& page : document.Pages) {
        if (!in.Count(count, 33))
            return Damaged(badContent);
        page.Items.reserve(count);
        for (quint32 i = 0; i < count; ++i) {
            quint8 kind = 0;
            quint32 index = 0;
            if (!in.Value(kind))
                return Damaged(badContent);
            if (kind == TextKind) {
                TReportText text;
                if (!in.Value(index) || index >= quint32(fonts.size()) ||
                    !in.Doubles({&text.X, &text.Y, &text.Width}) || !in.Value(text.Text))
                    return Damaged(badContent);
                text.Font = fonts[index];
                page.Items.emplace_back(std::move(text));
            } else if (kind == RectKind) {
                TReportRect box;
                if (!in.Doubles({&box.X1, &box.Y1, &box.X2, &box.Y2}))
                    return Damaged(badContent);
                page.Items.emplace_back(box);
            } else if (kind == ImageKind) {
                TReportImage picture;
                if (!in.Doubles({&picture.X1, &picture.Y1, &picture.X2, &picture.Y2}) || !in.Value(index) ||
                    index >= quint32(pictures.size()))
                    return Damaged(badContent);
                picture.Jpeg = pictures[index];
                page.Items.emplace_back(std::move(picture));
            } else {
                return Damaged(badContent);
            }
        }
    }
    if (!in.AtEnd())
        return Damaged(badContent);
    return true;
}
