#include "platform/qt/pictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>
#include <iterator>

namespace wb {

namespace {

// Every icon is drawn on a 64 x 64 canvas.
constexpr int kCanvas = 64;

const QColor kInk(0x20, 0x20, 0x20);
const QColor kArrow(0x1f, 0x4e, 0x9c);
const QColor kPaper(0xff, 0xff, 0xff);

QPen ink(double width = 2.5) {
    QPen pen(kInk, width);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
}

void arrow(QPainter& p, bool left) {
    QPolygonF shape{{8, 32}, {30, 10}, {30, 22}, {56, 22}, {56, 42}, {30, 42}, {30, 54}};
    if (!left)
        for (QPointF& pt : shape) pt.setX(kCanvas - pt.x());
    p.setPen(ink(2));
    p.setBrush(kArrow);
    p.drawPolygon(shape);
}

// The centre-of-gravity mark: a circle in quarters, two of them filled.
void cgMark(QPainter& p, QPointF centre, double radius, const QPen& pen = ink(2), const QBrush& face = kPaper,
            const QBrush& quarters = kInk) {
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    p.setPen(pen);
    p.setBrush(face);
    p.drawEllipse(box);
    p.setBrush(quarters);
    p.drawPie(box, 0 * 16, 90 * 16);
    p.drawPie(box, 180 * 16, 90 * 16);
}

// A sheet of paper with its top right corner folded.
void sheet(QPainter& p) {
    QPolygonF page{{14, 4}, {42, 4}, {54, 16}, {54, 60}, {14, 60}};
    p.setPen(ink(2));
    p.setBrush(kPaper);
    p.drawPolygon(page);
    p.drawPolyline(QPolygonF{{42, 4}, {42, 16}, {54, 16}});
}

void textLines(QPainter& p, double left, double right, std::initializer_list<double> ys) {
    p.setPen(ink(2));
    for (double y : ys) p.drawLine(QPointF(left, y), QPointF(right, y));
}

void specs(QPainter& p) {
    // A beam on a pivot, with the CG mark above the pivot.
    p.setPen(ink(3));
    p.drawLine(QPointF(6, 44), QPointF(58, 44));
    p.setBrush(QColor(0x80, 0x80, 0x80));
    p.drawPolygon(QPolygonF{{32, 46}, {22, 60}, {42, 60}});
    cgMark(p, {32, 22}, 16);
}

void logbook(QPainter& p) {
    // A bound book with a label and a pencil across it.
    p.setPen(ink(2));
    p.setBrush(QColor(0x8b, 0x5a, 0x2b));
    p.drawRoundedRect(QRectF(12, 6, 38, 52), 3, 3);
    p.setBrush(QColor(0x5c, 0x3a, 0x1a));
    p.drawRect(QRectF(12, 6, 7, 52));
    p.setBrush(kPaper);
    p.drawRect(QRectF(24, 14, 20, 14));
    textLines(p, 27, 41, {19, 24});
    QPen pencil(QColor(0xe0, 0xa0, 0x10), 6);
    pencil.setCapStyle(Qt::FlatCap);
    p.setPen(pencil);
    p.drawLine(QPointF(30, 54), QPointF(56, 34));
    p.setPen(ink(2));
    p.setBrush(kInk);
    p.drawPolygon(QPolygonF{{30, 54}, {25, 59}, {27, 51}});
}

void about(QPainter& p) {
    p.setPen(ink(2));
    p.setBrush(QColor(0x2a, 0x6f, 0xd1));
    p.drawEllipse(QRectF(6, 6, 52, 52));
    p.setPen(Qt::NoPen);
    p.setBrush(kPaper);
    p.drawEllipse(QRectF(28, 14, 8, 8));
    p.drawRoundedRect(QRectF(28, 26, 8, 24), 2, 2);
}

void equipmentChange(QPainter& p) {
    // A list with one item taken off (red minus) and one put on (green plus).
    sheet(p);
    QPen minus(QColor(0xc0, 0x10, 0x10), 4);
    p.setPen(minus);
    p.drawLine(QPointF(19, 24), QPointF(29, 24));
    QPen plus(QColor(0x10, 0x90, 0x20), 4);
    p.setPen(plus);
    p.drawLine(QPointF(19, 42), QPointF(29, 42));
    p.drawLine(QPointF(24, 37), QPointF(24, 47));
    textLines(p, 33, 49, {24, 42});
}

void weightAndBalance(QPainter& p) {
    // A report sheet with the CG mark and result lines.
    sheet(p);
    cgMark(p, {34, 28}, 11);
    textLines(p, 20, 48, {46, 53});
}

void printer(QPainter& p) {
    p.setPen(ink(2));
    p.setBrush(kPaper);
    p.drawRect(QRectF(18, 6, 28, 20));  // paper going in
    p.setBrush(QColor(0x90, 0x90, 0x98));
    p.drawRoundedRect(QRectF(4, 22, 56, 26), 4, 4);  // the body
    p.setBrush(kPaper);
    p.drawRect(QRectF(16, 40, 32, 18));  // the printed sheet coming out
    textLines(p, 21, 43, {47, 52});
    p.setBrush(QColor(0x20, 0xc0, 0x30));
    p.drawEllipse(QRectF(49, 28, 6, 6));  // the power light
}

using Painter = std::function<void(QPainter&)>;

const Painter* iconPainter(const std::string& name) {
    static const std::pair<const char*, Painter> kIcons[] = {
        {"previous", [](QPainter& p) { arrow(p, true); }},
        {"next", [](QPainter& p) { arrow(p, false); }},
        {"specs", specs},
        {"logbook", logbook},
        {"about", about},
        {"equipment-change", equipmentChange},
        {"weight-and-balance", weightAndBalance},
        {"printer", printer},
    };
    for (const auto& [n, paint] : kIcons)
        if (name == n) return &paint;
    return nullptr;
}

// An aircraft from above, nose up, in a box 100 wide and 100 high: the right
// half from the nose to the tail, then its mirror image back to the nose.
QPainterPath aircraftOutline() {
    const QPointF rightHalf[] = {
        {56, 16}, {56, 30}, {96, 34}, {98, 44}, {56, 46},  // fuselage and wing
        {54, 78}, {72, 82}, {72, 90}, {52, 90},            // tailplane
    };
    QPainterPath path;
    path.moveTo(50, 2);
    path.cubicTo(54, 2, 56, 8, 56, 16);
    for (const QPointF& p : rightHalf) path.lineTo(p);
    path.lineTo(50, 98);
    for (auto it = std::rbegin(rightHalf); it != std::rend(rightHalf); ++it) path.lineTo(100 - it->x(), it->y());
    path.cubicTo(44, 8, 46, 2, 50, 2);
    path.closeSubpath();
    return path;
}

void splash(QPainter& p, const QRect& area, const QString& title) {
    QLinearGradient sky(area.topLeft(), area.bottomLeft());
    sky.setColorAt(0, QColor(0x1b, 0x3a, 0x6b));
    sky.setColorAt(1, QColor(0x6f, 0xa8, 0xdc));
    p.fillRect(area, sky);

    // The aircraft fills the upper part, the title the lower.
    const QRectF planeBox(area.left() + area.width() * 0.25, area.top() + area.height() * 0.06,
                          area.width() * 0.5, area.height() * 0.62);
    const double scale = std::min(planeBox.width(), planeBox.height()) / 100.0;
    p.save();
    p.translate(planeBox.center().x() - 50 * scale, planeBox.top());
    p.scale(scale, scale);
    QPen outline(Qt::white, 2.0);
    outline.setJoinStyle(Qt::RoundJoin);
    p.setPen(outline);
    p.setBrush(QColor(255, 255, 255, 40));
    p.drawPath(aircraftOutline());
    // The centre-of-gravity mark on the wing.
    cgMark(p, {50, 39}, 6, QPen(Qt::white, 1.2), Qt::NoBrush, Qt::white);
    p.restore();

    QFont font("Times New Roman");
    font.setBold(true);
    font.setPixelSize(std::max(12, area.height() / 9));
    p.setFont(font);
    p.setPen(Qt::white);
    const QRect titleBox(area.left(), area.top() + area.height() * 70 / 100, area.width(),
                         area.height() * 20 / 100);
    p.drawText(titleBox, Qt::AlignCenter | Qt::TextWordWrap, title);
}

}  // namespace

bool paintPicture(QPainter& painter, const QRect& area, const std::string& picture, const QString& title) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    bool known = true;
    if (picture == "splash") {
        splash(painter, area, title);
    } else if (const Painter* paint = iconPainter(picture)) {
        painter.translate(area.topLeft());
        painter.scale(area.width() / double(kCanvas), area.height() / double(kCanvas));
        (*paint)(painter);
    } else {
        known = false;
    }
    painter.restore();
    return known;
}

QIcon pictureIcon(const std::string& picture) {
    if (!iconPainter(picture)) return QIcon();
    QIcon icon;
    for (int side : {16, 24, 32, 48, 64, 96, 128}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paintPicture(painter, pixmap.rect(), picture);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

}  // namespace wb
