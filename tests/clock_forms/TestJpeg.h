#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QSize>

// The JPEG bytes of a plain picture of `size`, as a photograph or picture file would hold them.
inline QByteArray TestJpeg(QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::darkCyan);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPG");
    return bytes;
}
