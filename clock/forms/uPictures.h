#pragma once

#include <QIcon>
#include <QPixmap>

// The program's own pictures (resources/images), drawn from their vector sources at the screen's
// pixel density.
namespace Pictures
{
enum TPicture { Splash, About, AppIcon };

// At the picture's own size in device-independent pixels.
QPixmap Render(TPicture picture, qreal devicePixelRatio = 1.0);
// The application and tray icon.
QIcon Icon();
} // namespace Pictures
