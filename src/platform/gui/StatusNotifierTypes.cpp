#include "platform/gui/StatusNotifierTypes.h"

#include <QDBusMetaType>
#include <QImage>
#include <QtEndian>

namespace quorvex::platform {

namespace {

inline constexpr int kPixmapSizes[] = {16, 22, 32, 48};

TStatusNotifierPixmap Pixmap(const QImage& image) {
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    TStatusNotifierPixmap pixmap{argb.width(), argb.height(), {}};
    pixmap.Pixels.reserve(argb.width() * argb.height() * 4);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const quint32*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            const quint32 pixel = qToBigEndian(line[x]);
            pixmap.Pixels.append(reinterpret_cast<const char*>(&pixel), sizeof pixel);
        }
    }
    return pixmap;
}

} // namespace

TStatusNotifierPixmaps StatusNotifierPixmaps(const QIcon& icon) {
    TStatusNotifierPixmaps pixmaps;
    if (icon.isNull())
        return pixmaps;
    for (const int size : kPixmapSizes) {
        const QImage image = icon.pixmap(QSize(size, size), 1.0).toImage();
        if (!image.isNull())
            pixmaps.append(Pixmap(image));
    }
    return pixmaps;
}

QDBusArgument& operator<<(QDBusArgument& argument, const TStatusNotifierPixmap& pixmap) {
    argument.beginStructure();
    argument << pixmap.Width << pixmap.Height << pixmap.Pixels;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, TStatusNotifierPixmap& pixmap) {
    argument.beginStructure();
    argument >> pixmap.Width >> pixmap.Height >> pixmap.Pixels;
    argument.endStructure();
    return argument;
}

QDBusArgument& operator<<(QDBusArgument& argument, const TStatusNotifierToolTip& tip) {
    argument.beginStructure();
    argument << tip.IconName << tip.Pixmaps << tip.Title << tip.Text;
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, TStatusNotifierToolTip& tip) {
    argument.beginStructure();
    argument >> tip.IconName >> tip.Pixmaps >> tip.Title >> tip.Text;
    argument.endStructure();
    return argument;
}

void RegisterStatusNotifierTypes() {
    qDBusRegisterMetaType<TStatusNotifierPixmap>();
    qDBusRegisterMetaType<TStatusNotifierPixmaps>();
    qDBusRegisterMetaType<TStatusNotifierToolTip>();
}

} // namespace quorvex::platform
