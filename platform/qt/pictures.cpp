#include "platform/qt/pictures.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QIconEngine>
#include <QPainter>
#include <QPixmapCache>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

#include <memory>

namespace tillora {

namespace {

const QString folder = QStringLiteral(":/pictures/");
const QString suffix = QStringLiteral(".svg");
const QString smallSuffix = QStringLiteral("-small.svg");

// The largest device-pixel edge the small drawing of a picture is used for.
constexpr int SmallDrawingUpTo = 32;

// Draws a picture from its SVG at exactly the device pixels asked for; the pixmaps are cached.
class PictureEngine : public QIconEngine {
public:
    // The drawings are read at the first use: a window makes its pictures long before it shows
    // most of them.
    explicit PictureEngine(QString name) : name_(std::move(name)) {}

    bool valid() const { return QFile::exists(folder + name_ + suffix); }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override {
        const qreal ratio = painter->device() != nullptr ? painter->device()->devicePixelRatioF() : 1.0;
        painter->drawPixmap(rect, pixmap(rect.size() * ratio, mode, state));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        Q_UNUSED(state)
        if (size.isEmpty())
            return QPixmap();
        const QString key =
            QStringLiteral("tillora-picture/%1/%2x%3").arg(name_).arg(size.width()).arg(size.height());
        QPixmap drawn;
        if (!QPixmapCache::find(key, &drawn)) {
            drawn = render(size);
            QPixmapCache::insert(key, drawn);
        }
        if (mode != QIcon::Disabled)
            return drawn;
        // Disabled pictures are faded the way the style in use fades them.
        QStyleOption option;
        option.palette = QApplication::palette();
        return QApplication::style()->generatedIconPixmap(QIcon::Disabled, drawn, &option);
    }

    // QIcon asks with the size in device pixels already.
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override {
        QPixmap drawn = pixmap(size, mode, state);
        drawn.setDevicePixelRatio(scale);
        return drawn;
    }

    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QString key() const override { return QStringLiteral("tillora-picture"); }
    QString iconName() override { return name_; }
    QIconEngine* clone() const override { return new PictureEngine(*this); }

private:
    PictureEngine(const PictureEngine& other) = default;

    // The drawing fills the square of the shorter edge, centred, its proportions kept.
    QPixmap render(const QSize& size) {
        if (!large_) {
            large_ = std::make_shared<QSvgRenderer>(folder + name_ + suffix);
            if (QFile::exists(folder + name_ + smallSuffix))
                small_ = std::make_shared<QSvgRenderer>(folder + name_ + smallSuffix);
        }
        QSvgRenderer& renderer =
            small_ && std::max(size.width(), size.height()) <= SmallDrawingUpTo ? *small_ : *large_;
        QPixmap drawn(size);
        drawn.fill(Qt::transparent);
        QPainter painter(&drawn);
        painter.setRenderHint(QPainter::Antialiasing);
        const QSizeF box = renderer.defaultSize().toSizeF().scaled(size.toSizeF(), Qt::KeepAspectRatio);
        renderer.render(
            &painter,
            QRectF(QPointF((size.width() - box.width()) / 2, (size.height() - box.height()) / 2), box));
        return drawn;
    }

    QString name_;
    std::shared_ptr<QSvgRenderer> large_;
    std::shared_ptr<QSvgRenderer> small_;
};

} // namespace

QIcon picture(const QString& name) {
    auto engine = std::make_unique<PictureEngine>(name);
    if (!engine->valid())
        return QIcon();
    return QIcon(engine.release());
}

QPixmap picturePixmap(const QString& name, const QSize& size, qreal devicePixelRatio) {
    return picture(name).pixmap(size, devicePixelRatio);
}

QStringList pictureNames() {
    QStringList names;
    for (const QString& file : QDir(folder).entryList({QStringLiteral("*.svg")}, QDir::Files, QDir::Name)) {
        if (!file.endsWith(smallSuffix))
            names.append(file.chopped(suffix.size()));
    }
    return names;
}

} // namespace tillora
