#include "print/qt_icons.hpp"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <functional>

namespace siacci {

namespace {

// Every picture is drawn on a 64 x 64 grid and scaled to the pixmap's size.
constexpr double kGrid = 64;
const int kSizes[] = {16, 24, 32, 48, 64};

const QColor kInk(40, 44, 52);
const QColor kBlue(32, 86, 160);
const QColor kRed(200, 30, 30);

using Painting = std::function<void(QPainter&)>;

QPixmap render(const Painting& paint, int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.scale(size / kGrid, size / kGrid);
    paint(p);
    return pixmap;
}

QIcon iconOf(const Painting& paint)
{
    QIcon icon;
    for (int size : kSizes)
        icon.addPixmap(render(paint, size));
    return icon;
}

QPen pen(const QColor& colour, double width, Qt::PenStyle style = Qt::SolidLine)
{
    QPen p(colour, width, style, Qt::RoundCap, Qt::RoundJoin);
    return p;
}

QFont boldFont(double pixels, const char* family = "DejaVu Sans")
{
    QFont f(QString::fromLatin1(family));
    f.setBold(true);
    f.setPixelSize(static_cast<int>(pixels));
    return f;
}

// Image1: the trajectory over the line of sight, between two axes.
void paintGraph(QPainter& p)
{
    p.setPen(pen(kInk, 4));
    p.drawLine(QPointF(8, 6), QPointF(8, 56));
    p.drawLine(QPointF(8, 56), QPointF(60, 56));
    p.setPen(pen(QColor(120, 120, 120), 2.5, Qt::DashLine));
    p.drawLine(QPointF(10, 36), QPointF(60, 36));
    QPainterPath curve(QPointF(10, 44));
    curve.cubicTo(QPointF(26, 14), QPointF(44, 12), QPointF(60, 46));
    p.setPen(pen(kBlue, 4.5));
    p.setBrush(Qt::NoBrush);
    p.drawPath(curve);
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    for (double t : {0.0, 0.33, 0.66, 1.0})
        p.drawEllipse(curve.pointAtPercent(t), 4.5, 4.5);
}

// Image2: the two screens of a chronograph over a green readout with "C.B.".
void paintChronograph(QPainter& p)
{
    p.setPen(pen(kInk, 3));
    for (double x : {14.0, 50.0}) {
        p.drawLine(QPointF(x - 8, 4), QPointF(x, 18));
        p.drawLine(QPointF(x + 8, 4), QPointF(x, 18));
        p.drawLine(QPointF(x, 18), QPointF(x, 26));
    }
    p.setPen(pen(kRed, 3, Qt::DotLine));
    p.drawLine(QPointF(4, 11), QPointF(60, 11));
    QRectF readout(3, 26, 58, 34);
    p.setPen(pen(QColor(30, 90, 40), 3));
    p.setBrush(QColor(192, 255, 192));
    p.drawRoundedRect(readout, 6, 6);
    p.setPen(QColor(10, 60, 20));
    p.setFont(boldFont(24));
    p.drawText(readout, Qt::AlignCenter, QStringLiteral("C.B."));
}

void paintBadge(QPainter& p, const QString& text, double pixels)
{
    QRadialGradient fill(QPointF(24, 20), 40);
    fill.setColorAt(0, QColor(80, 140, 220));
    fill.setColorAt(1, kBlue);
    p.setPen(pen(QColor(20, 50, 110), 3));
    p.setBrush(fill);
    p.drawEllipse(QPointF(32, 32), 28, 28);
    p.setPen(Qt::white);
    p.setFont(boldFont(pixels, "DejaVu Serif"));
    p.drawText(QRectF(4, 4, 56, 56), Qt::AlignCenter, text);
}

// Image3: help.
void paintHelp(QPainter& p) { paintBadge(p, QStringLiteral("?"), 42); }

// Image4: information.
void paintInfo(QPainter& p) { paintBadge(p, QStringLiteral("i"), 42); }

// Image5: an open door with an arrow leading out.
void paintExit(QPainter& p)
{
    p.setPen(pen(kInk, 3));
    p.setBrush(QColor(235, 225, 205));
    p.drawRect(QRectF(6, 6, 30, 52));
    QPolygonF door;
    door << QPointF(6, 6) << QPointF(24, 12) << QPointF(24, 62) << QPointF(6, 58);
    p.setBrush(QColor(150, 95, 50));
    p.drawPolygon(door);
    p.setBrush(kInk);
    p.drawEllipse(QPointF(20, 36), 2, 2);
    p.setPen(pen(kRed, 6));
    p.drawLine(QPointF(32, 32), QPointF(54, 32));
    QPolygonF head;
    head << QPointF(62, 32) << QPointF(48, 20) << QPointF(48, 44);
    p.setPen(pen(kRed, 2));
    p.setBrush(kRed);
    p.drawPolygon(head);
}

// Image6: a pocket calculator with the yellow display of the calculator window.
void paintCalculator(QPainter& p)
{
    QLinearGradient body(0, 0, 0, 64);
    body.setColorAt(0, QColor(110, 115, 125));
    body.setColorAt(1, QColor(60, 64, 72));
    p.setPen(pen(QColor(30, 32, 36), 2.5));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(10, 3, 44, 58), 6, 6);
    p.setBrush(QColor(255, 255, 128));
    p.setPen(pen(QColor(30, 32, 36), 1.5));
    p.drawRect(QRectF(15, 8, 34, 13));
    p.setPen(Qt::NoPen);
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            p.setBrush(col == 2 && row == 2 ? QColor(230, 140, 40) : QColor(235, 235, 235));
            p.drawRoundedRect(QRectF(15 + col * 12.5, 26 + row * 11.5, 9, 8), 1.5, 1.5);
        }
}

// Image9: a printer with a printed sheet coming out.
void paintPrinter(QPainter& p)
{
    p.setPen(pen(kInk, 2.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(17, 4, 30, 20));
    QLinearGradient body(0, 20, 0, 50);
    body.setColorAt(0, QColor(150, 155, 165));
    body.setColorAt(1, QColor(90, 95, 105));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(4, 20, 56, 28), 5, 5);
    p.setBrush(QColor(70, 200, 90));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(51, 28), 3, 3);
    p.setPen(pen(kInk, 2.5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(14, 38, 36, 23));
    p.setPen(pen(kInk, 2));
    for (double y : {45.0, 50.0, 55.0})
        p.drawLine(QPointF(19, y), QPointF(45, y));
}

// The program: the arc of a bullet over a target, the bullet about to strike it.
void paintApplication(QPainter& p)
{
    QLinearGradient sky(0, 0, 0, 64);
    sky.setColorAt(0, QColor(196, 222, 246));
    sky.setColorAt(1, QColor(236, 244, 252));
    p.setPen(pen(QColor(60, 90, 130), 2));
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(1, 1, 62, 62), 11, 11);

    const QPointF centre(43, 41);
    const double rings[] = {18, 13.5, 9, 4.5};
    for (int i = 0; i < 4; ++i) {
        p.setBrush(i % 2 == 0 ? QColor(245, 245, 245) : QColor(25, 25, 25));
        p.setPen(pen(QColor(25, 25, 25), 1.5));
        p.drawEllipse(centre, rings[i], rings[i]);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(kRed);
    p.drawEllipse(centre, 3, 3);

    QPainterPath arc(QPointF(5, 56));
    arc.quadTo(QPointF(18, 2), QPointF(centre.x() - 2, centre.y() - 2));
    p.setPen(pen(kBlue, 3, Qt::DotLine));
    p.setBrush(Qt::NoBrush);
    p.drawPath(arc);

    // The bullet, nose along the path.
    p.save();
    p.translate(arc.pointAtPercent(0.8));
    p.rotate(-arc.angleAtPercent(0.8));
    QPainterPath bullet(QPointF(-8, -3.5));
    bullet.lineTo(2, -3.5);
    bullet.quadTo(8, -3, 10, 0);
    bullet.quadTo(8, 3, 2, 3.5);
    bullet.lineTo(-8, 3.5);
    bullet.closeSubpath();
    p.setPen(pen(QColor(110, 60, 10), 1.2));
    p.setBrush(QColor(214, 150, 60));
    p.drawPath(bullet);
    p.restore();
}

Painting paintingOf(int image)
{
    switch (image) {
    case 1: return paintGraph;
    case 2: return paintChronograph;
    case 3: return paintHelp;
    case 4: return paintInfo;
    case 5: return paintExit;
    case 6: return paintCalculator;
    case 9: return paintPrinter;
    default: return {};
    }
}

} // namespace

QIcon toolbarIcon(int image)
{
    const Painting paint = paintingOf(image);
    return paint ? iconOf(paint) : QIcon();
}

QPixmap toolbarPixmap(int image, int size)
{
    const Painting paint = paintingOf(image);
    return paint && size > 0 ? render(paint, size) : QPixmap();
}

QIcon applicationIcon()
{
    return iconOf(paintApplication);
}

QPixmap applicationPixmap(int size)
{
    return size > 0 ? render(paintApplication, size) : QPixmap();
}

} // namespace siacci
