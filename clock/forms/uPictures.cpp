#include "uPictures.h"

#include <QPainter>
#include <QSvgRenderer>

namespace Pictures
{
namespace
{

QString SourceOf(TPicture picture)
{
    switch (picture) {
    case Splash:
        return QStringLiteral(":/images/splash.svg");
    case About:
        return QStringLiteral(":/images/about.svg");
    case AppIcon:
        break;
    }
    return QStringLiteral(":/images/horavant.svg");
}

QPixmap RenderAt(const QString& source, QSize size, qreal devicePixelRatio)
{
    QSvgRenderer renderer(source);
    if (size.isEmpty())
        size = renderer.defaultSize();
    QPixmap pixmap(size * devicePixelRatio);
    pixmap.setDevicePixelRatio(devicePixelRatio);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    return pixmap;
}

} // namespace

QPixmap Render(TPicture picture, qreal devicePixelRatio)
{
    return RenderAt(SourceOf(picture), QSize(), devicePixelRatio);
}

QIcon Icon()
{
    QIcon icon;
    for (const int side : {16, 22, 24, 32, 48, 64, 128, 256})
        icon.addPixmap(RenderAt(SourceOf(AppIcon), QSize(side, side), 1.0));
    return icon;
}

} // namespace Pictures
